#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include "base/system_function.h"
#include "base/unique_handle.h"

namespace snapdesk::win32 {

// The scale a window is drawn at: GetDpiForWindow where the system has it (Windows 10 1607
// on), else the screen's LOGPIXELSY, which is every window's scale there. Bound at run time
// so that the program still loads on older systems.
inline int windowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        systemFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi > 0) {
            return static_cast<int>(dpi);
        }
    }
    if (const unique_window_dc screen = get_dc(nullptr)) {
        const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
        if (dpi > 0) {
            return dpi;
        }
    }
    return 96;
}

}  // namespace snapdesk::win32
