#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/window_manager.h"

namespace snapdesk::win32 {

// DWMWA_CLOAKED of a top-level window: CloakBits, 0 where DWM is missing or cannot tell.
std::uint32_t dwmCloak(HWND window);

// The virtual desktop of a top-level window as the shell's desktop manager sees it; Unknown
// without that manager (Windows before 10, Wine) or for a window on no desktop.
DesktopPlace virtualDesktopPlace(HWND window);

}  // namespace snapdesk::win32
