#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/handles.h"

namespace snapdesk {

// Show commands the program uses (the values of ShowWindow).
enum class ShowCommand : int { Maximize = 3, Show = 5, Minimize = 6, Restore = 9 };

// MDI messages sent to a client window with a document as wParam.
enum class MdiMessage : unsigned { Activate = 0x222, Restore = 0x223, Maximize = 0x225 };

// Stock icons of LoadIcon(NULL, id).
enum class StockIcon : int { Application = 32512, WindowLogo = 32517 };

// IsWindowVisible, IsIconic and IsZoomed of one window.
struct ShowState {
    bool visible = false;
    bool minimized = false;
    bool zoomed = false;
};

// DWM's cloak bits of a top-level window (DWM_CLOAKED_APP, _SHELL, _INHERITED).
enum CloakBits : std::uint32_t { kCloakedByApp = 1, kCloakedByShell = 2, kCloakInherited = 4 };

// Where a top-level window lies among the virtual desktops.
enum class DesktopPlace { Unknown, Current, Other };

// How a window is shown, as GetWindowPlacement tells it.
enum class WindowState { Normal, Maximized, Minimized };

// A window's normal-state rectangle and its shown state. The rectangle is in screen
// coordinates for a top-level window, in its parent's client coordinates for a child.
struct WindowPlacement {
    WindowState state = WindowState::Normal;
    Rect normal;
};

// One monitor: its whole area and its work area (without task bars), in screen coordinates.
struct MonitorArea {
    Rect area;
    Rect work;
};

struct IconAnswer {
    bool answered = false;  // false: the window did not answer in time (or the call failed)
    IconHandle icon = 0;
    // The system would not carry the question to the window's process at all (Wine refuses
    // messages that return icon handles across processes): nothing is known about the icon.
    bool refused = false;
};

// What the program needs from the desktop's window manager.
class WindowManager {
  public:
    virtual ~WindowManager() = default;

    // Z-order walk: GetTopWindow(NULL), GetWindow(GW_HWNDNEXT), GetWindow(GW_CHILD).
    virtual WindowHandle topWindow() = 0;
    virtual WindowHandle nextWindow(WindowHandle window) = 0;
    virtual WindowHandle firstChild(WindowHandle window) = 0;

    virtual bool isWindow(WindowHandle window) = 0;
    virtual bool isVisible(WindowHandle window) = 0;
    virtual bool isMinimized(WindowHandle window) = 0;
    virtual bool isZoomed(WindowHandle window) = 0;
    // The three above at once: one question where the system allows it.
    virtual ShowState showState(WindowHandle window) = 0;

    // CloakBits of a top-level window; 0 when it is not cloaked or DWM cannot tell.
    virtual std::uint32_t cloakedBy(WindowHandle window) = 0;
    // Unknown where there are no virtual desktops or the window belongs to none.
    virtual DesktopPlace desktopPlaceOf(WindowHandle window) = 0;

    // The whole window text as the window reports it (it may hold NULs).
    virtual std::string windowText(WindowHandle window) = 0;
    // The class name, cut to at most maxChars - 1 characters like a fixed buffer.
    virtual std::string className(WindowHandle window, int maxChars) = 0;
    virtual std::uint32_t extendedStyle(WindowHandle window) = 0;
    // GetWindowLong(GWL_HWNDPARENT): the owner of a top-level window.
    virtual WindowHandle owner(WindowHandle window) = 0;
    virtual Rect windowRect(WindowHandle window) = 0;

    // WM_GETICON (ICON_BIG) with SMTO_ABORTIFHUNG and a time-out.
    virtual IconAnswer queryBigIcon(WindowHandle window, unsigned timeoutMs) = 0;
    virtual IconHandle classIcon(WindowHandle window) = 0;
    virtual IconHandle stockIcon(StockIcon which) = 0;

    virtual std::uint32_t threadOf(WindowHandle window) = 0;
    virtual std::uint32_t processOf(WindowHandle window) = 0;
    virtual bool attachThreadInput(std::uint32_t from, std::uint32_t to, bool attach) = 0;

    virtual WindowHandle foregroundWindow() = 0;
    virtual bool setForegroundWindow(WindowHandle window) = 0;
    virtual void bringWindowToTop(WindowHandle window) = 0;
    virtual void showWindow(WindowHandle window, ShowCommand command) = 0;
    // SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE).
    virtual void placeOnTop(WindowHandle window) = 0;

    // WM_MDIGETACTIVE: the active document of an MDI client and whether it is maximised.
    virtual WindowHandle mdiActive(WindowHandle client, bool* maximized) = 0;
    virtual void sendMdiMessage(WindowHandle client, MdiMessage message, WindowHandle document) = 0;

    // GetWindowPlacement / SetWindowPlacement; nullopt when the window cannot tell.
    virtual std::optional<WindowPlacement> windowPlacement(WindowHandle window) = 0;
    virtual void setWindowPlacement(WindowHandle window, const WindowPlacement& placement) = 0;
    // A child moved and sized inside its parent's client, without activating it.
    virtual void moveChild(WindowHandle window, const Rect& rect) = 0;
    // The monitors of the desktop, the primary one first.
    virtual std::vector<MonitorArea> monitors() = 0;
};

}  // namespace snapdesk
