#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <vector>

#include "base/unique_handle.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk {
namespace {

std::optional<std::string> readString(HKEY root, const std::string& keyPath,
                                      const std::string& name) {
    win32::unique_hkey key;
    if (RegOpenKeyExW(root, win32::toWide(keyPath).c_str(), 0, KEY_READ, key.put()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::wstring valueName = win32::toWide(name);
    DWORD type = 0;
    DWORD bytes = 0;
    LONG status = RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &bytes);
    std::optional<std::string> result;
    if (status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        // Room for a missing terminator: the stored bytes need not end with one.
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (status == ERROR_SUCCESS) {
            std::wstring_view value(buffer.data(), size / sizeof(wchar_t));
            while (!value.empty() && value.back() == L'\0') {
                value.remove_suffix(1);  // the terminator, when the writer stored one
            }
            result = win32::toUtf8(value);
        }
    }
    return result;
}

}  // namespace

std::optional<std::string> Win32Registry::readUserString(const std::string& keyPath,
                                                         const std::string& name) {
    return readString(HKEY_CURRENT_USER, keyPath, name);
}

std::optional<std::string> Win32Registry::readMachineString(const std::string& keyPath,
                                                            const std::string& name) {
    return readString(HKEY_LOCAL_MACHINE, keyPath, name);
}

std::vector<std::string> Win32Registry::userSubkeys(const std::string& keyPath) {
    std::vector<std::string> names;
    win32::unique_hkey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, win32::toWide(keyPath).c_str(), 0, KEY_READ, key.put()) !=
        ERROR_SUCCESS) {
        return names;
    }
    // Key names are at most 255 characters.
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        const LONG status =
            RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) {
            break;
        }
        names.push_back(win32::toUtf8(std::wstring_view(name, length)));
    }
    return names;
}

bool Win32Registry::writeUserString(const std::string& keyPath, const std::string& name,
                                    const std::string& value) {
    win32::unique_hkey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, win32::toWide(keyPath).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring wide = win32::toWide(value);
    const auto bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    const LONG status = RegSetValueExW(key.get(), win32::toWide(name).c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(wide.c_str()), bytes);
    return status == ERROR_SUCCESS;
}

}  // namespace snapdesk
