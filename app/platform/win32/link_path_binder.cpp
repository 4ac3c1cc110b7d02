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
    return win32::wideToCodePage(win32::toWide(utf8), CP_ACP);
}

std::string fromAnsi(const char* ansi, std::size_t length) {
    return win32::toUtf8(win32::wideFromCodePage({ansi, length}, CP_ACP));
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
