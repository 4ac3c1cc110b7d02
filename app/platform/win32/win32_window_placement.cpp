// Where windows stand: placements and the desktop's monitors.
#include <windows.h>

#include "base/system_function.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_window_manager.h"

using snapdesk::win32::toHwnd;

namespace snapdesk {
namespace {

// A program that does not answer would hold the caller in the move.
constexpr UINT kAnswerTimeoutMs = 500;

Rect toRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

RECT toRECT(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

bool answers(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                               &ignored) != 0;
}

bool isChild(HWND window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0;
}

// GetWindowPlacement speaks workspace coordinates for top-level windows that are no tool
// windows: relative to the primary monitor's work area.
POINT workspaceOffset(HWND window) {
    if (isChild(window) || (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) {
        return {0, 0};
    }
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        return {0, 0};
    }
    return {work.left, work.top};
}

Rect shifted(const Rect& r, LONG dx, LONG dy) {
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

using EnumMonitorsFn = BOOL(WINAPI*)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
using MonitorInfoFn = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);

struct MonitorWalk {
    MonitorInfoFn info;
    std::vector<MonitorArea> found;
};

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto& walk = *reinterpret_cast<MonitorWalk*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (walk.info(monitor, &info)) {
        const MonitorArea area{toRect(info.rcMonitor), toRect(info.rcWork)};
        if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0) {
            walk.found.insert(walk.found.begin(), area);
        } else {
            walk.found.push_back(area);
        }
    }
    return TRUE;
}

// The steps SetWindowPlacement takes, one by one, for a system that places only its own
// process's windows (Wine): restored first, so that the move sets the rectangle the window
// comes back to; a minimised window that remembers being maximised needs a second restore.
void placeStepByStep(HWND window, const WindowPlacement& placement) {
    for (int i = 0; i < 2 && (IsIconic(window) || IsZoomed(window)); ++i) {
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    const Rect& r = placement.normal;
    SetWindowPos(window, nullptr, r.left, r.top, r.width(), r.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (placement.state == WindowState::Maximized) {
        ShowWindow(window, SW_SHOWMAXIMIZED);
    } else if (placement.state == WindowState::Minimized) {
        ShowWindow(window, SW_SHOWMINNOACTIVE);
    }
}

}  // namespace

std::optional<WindowPlacement> Win32WindowManager::windowPlacement(WindowHandle window) {
    const HWND hwnd = toHwnd(window);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(hwnd, &wp)) {
        return std::nullopt;
    }
    WindowPlacement placement;
    placement.state = wp.showCmd == SW_SHOWMINIMIZED   ? WindowState::Minimized
                      : wp.showCmd == SW_SHOWMAXIMIZED ? WindowState::Maximized
                                                       : WindowState::Normal;
    if (isChild(hwnd) && placement.state == WindowState::Normal) {
        // Where the child stands now, in its parent's client: no doubt about the coordinates.
        RECT r{};
        GetWindowRect(hwnd, &r);
        MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
        placement.normal = toRect(r);
        return placement;
    }
    const POINT offset = workspaceOffset(hwnd);
    placement.normal = shifted(toRect(wp.rcNormalPosition), offset.x, offset.y);
    return placement;
}

void Win32WindowManager::setWindowPlacement(WindowHandle window, const WindowPlacement& placement) {
    const HWND hwnd = toHwnd(window);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!answers(hwnd) || !GetWindowPlacement(hwnd, &wp)) {
        return;
    }
    const POINT offset = workspaceOffset(hwnd);
    wp.rcNormalPosition = toRECT(shifted(placement.normal, -offset.x, -offset.y));
    wp.flags = 0;
    wp.showCmd = placement.state == WindowState::Minimized   ? SW_SHOWMINNOACTIVE
                 : placement.state == WindowState::Maximized ? SW_SHOWMAXIMIZED
                                                             : SW_SHOWNOACTIVATE;
    if (!SetWindowPlacement(hwnd, &wp)) {
        placeStepByStep(hwnd, placement);
    }
}

void Win32WindowManager::moveChild(WindowHandle window, const Rect& rect) {
    const HWND hwnd = toHwnd(window);
    if (answers(hwnd)) {
        SetWindowPos(hwnd, nullptr, rect.left, rect.top, rect.width(), rect.height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

std::vector<MonitorArea> Win32WindowManager::monitors() {
    // Windows before 98 and NT 4 know one screen only.
    const auto enumMonitors =
        win32::systemFunction<EnumMonitorsFn>(L"user32.dll", "EnumDisplayMonitors");
    const auto monitorInfo = win32::systemFunction<MonitorInfoFn>(L"user32.dll", "GetMonitorInfoW");
    if (enumMonitors != nullptr && monitorInfo != nullptr) {
        MonitorWalk walk{monitorInfo, {}};
        enumMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&walk));
        if (!walk.found.empty()) {
            return walk.found;
        }
    }
    const Rect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT work{};
    return {{screen, SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) ? toRect(work) : screen}};
}

}  // namespace snapdesk
