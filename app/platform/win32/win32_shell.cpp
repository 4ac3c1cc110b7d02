#include "platform/win32/win32_shell.h"

#include <shlobj.h>

#include <cwchar>

#include "platform/win32/win32_convert.h"

namespace snapdesk {

std::optional<std::string> Win32Shell::specialFolderPath(int folder, WindowHandle owner) {
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(win32::toHwnd(owner), folder, &items)) ||
        items == nullptr) {
        return std::nullopt;
    }
    wchar_t buffer[MAX_PATH + 1] = {};
    const BOOL converted = SHGetPathFromIDListW(items, buffer);
    CoTaskMemFree(items);
    if (!converted) {
        return std::nullopt;
    }
    return win32::toUtf8(std::wstring_view(buffer, wcsnlen(buffer, MAX_PATH)));
}

}  // namespace snapdesk
