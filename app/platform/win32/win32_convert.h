#pragma once

#include <windows.h>

#include <cstdint>

#include "base/utf_convert.h"
#include "platform/handles.h"

namespace snapdesk::win32 {

// Handles of the ports as the API types them.
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
