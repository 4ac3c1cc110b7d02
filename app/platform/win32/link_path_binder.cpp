#include "platform/win32/link_path_binder.h"

#include <cstring>
#include <utility>

#include "base/unique_handle.h"
#include "common/runtime_error.h"
#include "link_path_contract.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk {
namespace {

constexpr const char* kSource = "GetLinkPath";

std::string toAnsi(const std::string& utf8) {
    const std::wstring wide = win32::toWide(utf8);
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, ansi.data(), length, nullptr, nullptr);
    return ansi;
}

std::string fromAnsi(const char* ansi, std::size_t length) {
    if (length == 0) {
        return {};
    }
    const int size = static_cast<int>(length);
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, ansi, size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi, size, wide.data(), wideLength);
    return win32::toUtf8(wide);
}

}  // namespace

Win32LinkPathBinder::Win32LinkPathBinder()
    : Win32LinkPathBinder(zim::kLinkPathLibrary, zim::kLinkPathEntry) {}

Win32LinkPathBinder::Win32LinkPathBinder(std::string library, std::string entry)
    : library_(std::move(library)), entry_(std::move(entry)) {}

Win32LinkPathBinder::Entry Win32LinkPathBinder::bind() {
    if (bound_ != nullptr) {
        return bound_;
    }
    win32::unique_hmodule module(LoadLibraryA(library_.c_str()));
    if (!module) {
        throw RuntimeError(errors::kFileNotFound, "File not found: " + library_, kSource);
    }
    FARPROC address = GetProcAddress(module.get(), entry_.c_str());
    if (address == nullptr) {
        throw RuntimeError(errors::kEntryPointNotFound,
                           "Can't find DLL entry point " + entry_ + " in " + library_, kSource);
    }
    // The library stays loaded for the rest of the run, like a declared routine's.
    static_cast<void>(module.release());
    bound_ = reinterpret_cast<Entry>(reinterpret_cast<void*>(address));
    return bound_;
}

std::string Win32LinkPathBinder::getLinkPath(WindowHandle owner, const std::string& linkFile) {
    const Entry entry = bind();
    const std::string ansiFile = toAnsi(linkFile);
    char target[zim::kLinkPathSize] = {};
    entry(win32::toHwnd(owner), ansiFile.c_str(), target);
    // The result code is not looked at: every failure leaves the buffer empty.
    return fromAnsi(target, strnlen(target, sizeof(target)));
}

}  // namespace snapdesk
