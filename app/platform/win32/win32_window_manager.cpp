#include "platform/win32/win32_window_manager.h"

#include <vector>

#include "platform/win32/desktop_cloak.h"
#include "platform/win32/win32_convert.h"

using snapdesk::win32::toHandle;
using snapdesk::win32::toHwnd;
using snapdesk::win32::toIconHandle;
using snapdesk::win32::toUtf8;

namespace snapdesk {

WindowHandle Win32WindowManager::topWindow() {
    return toHandle(GetTopWindow(nullptr));
}

WindowHandle Win32WindowManager::nextWindow(WindowHandle window) {
    return toHandle(GetWindow(toHwnd(window), GW_HWNDNEXT));
}

WindowHandle Win32WindowManager::firstChild(WindowHandle window) {
    return toHandle(GetWindow(toHwnd(window), GW_CHILD));
}

bool Win32WindowManager::isWindow(WindowHandle window) {
    return IsWindow(toHwnd(window)) != FALSE;
}

bool Win32WindowManager::isVisible(WindowHandle window) {
    return showState(window).visible;
}

ShowState Win32WindowManager::showState(WindowHandle window) {
    // Each question about another program's window is a round trip to the window server:
    // the style answers all three for a top-level window (IsIconic and IsZoomed read it too);
    // only a visible child needs the walk up its parents.
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(toHwnd(window), GWL_STYLE));
    ShowState state;
    state.visible = (style & WS_VISIBLE) != 0 &&
                    ((style & WS_CHILD) == 0 || IsWindowVisible(toHwnd(window)) != FALSE);
    state.minimized = (style & WS_MINIMIZE) != 0;
    state.zoomed = (style & WS_MAXIMIZE) != 0;
    return state;
}

std::uint32_t Win32WindowManager::cloakedBy(WindowHandle window) {
    return win32::dwmCloak(toHwnd(window));
}

DesktopPlace Win32WindowManager::desktopPlaceOf(WindowHandle window) {
    return win32::virtualDesktopPlace(toHwnd(window));
}

bool Win32WindowManager::isMinimized(WindowHandle window) {
    return IsIconic(toHwnd(window)) != FALSE;
}

bool Win32WindowManager::isZoomed(WindowHandle window) {
    return IsZoomed(toHwnd(window)) != FALSE;
}

std::string Win32WindowManager::windowText(WindowHandle window) {
    const HWND hwnd = toHwnd(window);
    // One call for the usual title; only a title that fills the buffer needs its length.
    std::vector<wchar_t> buffer(256, L'\0');
    int copied = GetWindowTextW(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    if (copied >= static_cast<int>(buffer.size()) - 1) {
        buffer.assign(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
        copied = GetWindowTextW(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    }
    return toUtf8(
        std::wstring_view(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0));
}

std::string Win32WindowManager::className(WindowHandle window, int maxChars) {
    if (maxChars <= 1) {
        return {};
    }
    std::vector<wchar_t> buffer(static_cast<std::size_t>(maxChars), L'\0');
    const int copied = GetClassNameW(toHwnd(window), buffer.data(), maxChars);
    return toUtf8(std::wstring_view(buffer.data(), copied > 0 ? copied : 0));
}

std::uint32_t Win32WindowManager::extendedStyle(WindowHandle window) {
    return static_cast<std::uint32_t>(GetWindowLongPtrW(toHwnd(window), GWL_EXSTYLE));
}

WindowHandle Win32WindowManager::owner(WindowHandle window) {
    // For a top-level window GWLP_HWNDPARENT is its owner; GW_OWNER asks for just that.
    return toHandle(GetWindow(toHwnd(window), GW_OWNER));
}

Rect Win32WindowManager::windowRect(WindowHandle window) {
    RECT rect{};
    if (!GetWindowRect(toHwnd(window), &rect)) {
        return {};
    }
    return {rect.left, rect.top, rect.right, rect.bottom};
}

IconAnswer Win32WindowManager::queryBigIcon(WindowHandle window, unsigned timeoutMs) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(toHwnd(window), WM_GETICON, ICON_BIG, 0, SMTO_ABORTIFHUNG, timeoutMs,
                            &result) != 0) {
        return {true, static_cast<IconHandle>(result)};
    }
    // Hung, or a question the system will not carry to another process (Wine refuses
    // messages that return icon handles). A window that still answers WM_NULL is alive.
    DWORD_PTR ignored = 0;
    const bool alive = SendMessageTimeoutW(toHwnd(window), WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                           timeoutMs, &ignored) != 0;
    return {false, 0, alive};
}

IconHandle Win32WindowManager::classIcon(WindowHandle window) {
    return static_cast<IconHandle>(GetClassLongPtrW(toHwnd(window), GCLP_HICON));
}

IconHandle Win32WindowManager::stockIcon(StockIcon which) {
    return toIconHandle(LoadIconW(nullptr, MAKEINTRESOURCEW(static_cast<int>(which))));
}

std::uint32_t Win32WindowManager::threadOf(WindowHandle window) {
    return GetWindowThreadProcessId(toHwnd(window), nullptr);
}

std::uint32_t Win32WindowManager::processOf(WindowHandle window) {
    DWORD process = 0;
    GetWindowThreadProcessId(toHwnd(window), &process);
    return process;
}

bool Win32WindowManager::attachThreadInput(std::uint32_t from, std::uint32_t to, bool attach) {
    return AttachThreadInput(from, to, attach ? TRUE : FALSE) != FALSE;
}

WindowHandle Win32WindowManager::foregroundWindow() {
    return toHandle(GetForegroundWindow());
}

bool Win32WindowManager::setForegroundWindow(WindowHandle window) {
    return SetForegroundWindow(toHwnd(window)) != FALSE;
}

void Win32WindowManager::bringWindowToTop(WindowHandle window) {
    BringWindowToTop(toHwnd(window));
}

void Win32WindowManager::showWindow(WindowHandle window, ShowCommand command) {
    ShowWindow(toHwnd(window), static_cast<int>(command));
}

void Win32WindowManager::placeOnTop(WindowHandle window) {
    SetWindowPos(toHwnd(window), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

// MDI messages go to windows of other programs: a hung one must not hold us for good.
constexpr UINT kMdiTimeoutMs = 500;

WindowHandle Win32WindowManager::mdiActive(WindowHandle client, bool* maximized) {
    BOOL flag = FALSE;
    DWORD_PTR active = 0;
    if (SendMessageTimeoutW(toHwnd(client), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&flag),
                            SMTO_ABORTIFHUNG, kMdiTimeoutMs, &active) == 0) {
        active = 0;
        flag = FALSE;
    }
    if (maximized != nullptr) {
        *maximized = flag != FALSE;
    }
    return static_cast<WindowHandle>(active);
}

void Win32WindowManager::sendMdiMessage(WindowHandle client, MdiMessage message,
                                        WindowHandle document) {
    std::uint32_t zero = 0;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(toHwnd(client), static_cast<UINT>(message), static_cast<WPARAM>(document),
                        reinterpret_cast<LPARAM>(&zero), SMTO_ABORTIFHUNG, kMdiTimeoutMs, &ignored);
}

}  // namespace snapdesk
