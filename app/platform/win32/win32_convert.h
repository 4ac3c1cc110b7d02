#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/handles.h"

namespace snapdesk::win32 {

// UTF-8 inside the program, UTF-16 at the W functions. Embedded NULs are kept.
std::wstring toWide(std::string_view text);
std::string toUtf8(std::wstring_view text);

inline HWND toHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}
inline WindowHandle toHandle(HWND window) {
    return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}
inline IconHandle toIconHandle(HICON icon) {
    return static_cast<IconHandle>(reinterpret_cast<std::uintptr_t>(icon));
}

}  // namespace snapdesk::win32
