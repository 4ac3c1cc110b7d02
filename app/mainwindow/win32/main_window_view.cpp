// clang-format off
#include <windows.h>
#include <objbase.h>
// clang-format on

#include "mainwindow/win32/main_window_view.h"

#include "base/unique_handle.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk {

namespace {

int showCommandOf(ShowCommand command) {
    switch (command) {
        case ShowCommand::Maximize:
            return SW_MAXIMIZE;
        case ShowCommand::Minimize:
            return SW_MINIMIZE;
        case ShowCommand::Restore:
            return SW_RESTORE;
        case ShowCommand::Show:
            break;
    }
    return SW_SHOW;
}

}  // namespace

Win32MainWindowView::Win32MainWindowView(HWND window, ButtonBar& buttonBar)
    : window_(window), buttonBar_(buttonBar) {}

Win32MainWindowView::~Win32MainWindowView() {
    if (comInitialised_) {
        CoUninitialize();
    }
}

WindowHandle Win32MainWindowView::handle() {
    return win32::toHandle(window_);
}

void Win32MainWindowView::setCaption(const std::string& caption) {
    SetWindowTextW(window_, win32::toWide(caption).c_str());
}

WindowGeometry Win32MainWindowView::geometry() {
    RECT outer{};
    RECT inner{};
    GetWindowRect(window_, &outer);
    GetClientRect(window_, &inner);
    WindowGeometry g;
    g.outerWidth = scale_.twipsX(outer.right - outer.left);
    g.outerHeight = scale_.twipsY(outer.bottom - outer.top);
    g.innerWidth = scale_.twipsX(inner.right - inner.left);
    g.innerHeight = scale_.twipsY(inner.bottom - inner.top);
    g.nonClientWidth = g.outerWidth - g.innerWidth;
    g.nonClientHeight = g.outerHeight - g.innerHeight;
    g.buttonBarHeight = scale_.twipsY(buttonBar_.heightPixels());
    g.minimized = IsIconic(window_) != FALSE;
    g.maximized = IsZoomed(window_) != FALSE;
    return g;
}

Bounds Win32MainWindowView::placement() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    GetWindowPlacement(window_, &wp);
    const RECT& r = wp.rcNormalPosition;
    return {scale_.twipsX(r.left), scale_.twipsY(r.top), scale_.twipsX(r.right - r.left),
            scale_.twipsY(r.bottom - r.top)};
}

void Win32MainWindowView::setPlacement(const Bounds& outer) {
    const RECT r = scale_.pixels(outer);
    if (IsIconic(window_) || IsZoomed(window_)) {
        // Only the place it is restored to changes.
        WINDOWPLACEMENT wp{};
        wp.length = sizeof(wp);
        GetWindowPlacement(window_, &wp);
        wp.rcNormalPosition = r;
        SetWindowPlacement(window_, &wp);
        return;
    }
    MoveWindow(window_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

int Win32MainWindowView::screenHeight() {
    return scale_.twipsY(GetSystemMetrics(SM_CYSCREEN));
}

int Win32MainWindowView::screenWidth() {
    return scale_.twipsX(GetSystemMetrics(SM_CXSCREEN));
}

bool Win32MainWindowView::inMenu(int id) const {
    return GetMenuState(GetMenu(window_), static_cast<UINT>(id), MF_BYCOMMAND) !=
           static_cast<UINT>(-1);
}

bool Win32MainWindowView::menuChecked(int id) {
    if (!inMenu(id)) {
        return hiddenChecks_[id];
    }
    return (GetMenuState(GetMenu(window_), static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void Win32MainWindowView::setMenuChecked(int id, bool checked) {
    if (!inMenu(id)) {
        hiddenChecks_[id] = checked;
        return;
    }
    CheckMenuItem(GetMenu(window_), static_cast<UINT>(id),
                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32MainWindowView::setMenuCaption(int id, const std::string& caption) {
    std::wstring text = win32::toWide(caption);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = text.data();
    SetMenuItemInfoW(GetMenu(window_), static_cast<UINT>(id), FALSE, &info);
    DrawMenuBar(window_);
}

void Win32MainWindowView::setMenuEnabled(int id, bool enabled) {
    EnableMenuItem(GetMenu(window_), static_cast<UINT>(id),
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Win32MainWindowView::setMenuVisible(int /*id*/, bool /*visible*/) {
    // The menu bar's hidden items are left out of the resource; popup items are rebuilt
    // each time their menu opens.
}

void Win32MainWindowView::setToolbarTextLabels(bool on) {
    buttonBar_.setTextLabels(on);
}

void Win32MainWindowView::setSearchText(const std::string& text) {
    if (SearchBox* box = buttonBar_.searchBox()) {
        box->setText(text);
    }
}

void Win32MainWindowView::focusSearch() {
    if (SearchBox* box = buttonBar_.searchBox()) {
        box->focus();
    }
}

bool Win32MainWindowView::setTimer(MainTimer timer, unsigned intervalMs, bool enabled) {
    const auto id = static_cast<UINT_PTR>(timer);
    if (!enabled) {
        KillTimer(window_, id);
        return true;
    }
    return SetTimer(window_, id, intervalMs, nullptr) != 0;
}

void Win32MainWindowView::enableInput(bool enabled) {
    EnableWindow(window_, enabled ? TRUE : FALSE);
}

void Win32MainWindowView::show(ShowCommand command) {
    ShowWindow(window_, showCommandOf(command));
}

void Win32MainWindowView::repaint() {
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void Win32MainWindowView::postClose() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

std::uint32_t Win32MainWindowView::nearestColor(std::uint32_t color) {
    const win32::unique_window_dc screen = win32::get_dc(nullptr);
    if (!screen) {
        return color;
    }
    const COLORREF nearest = GetNearestColor(screen.get(), static_cast<COLORREF>(color));
    return nearest == CLR_INVALID ? color : static_cast<std::uint32_t>(nearest);
}

bool Win32MainWindowView::initializeCom() {
    if (!comInitialised_) {
        comInitialised_ = SUCCEEDED(CoInitialize(nullptr));
    }
    return comInitialised_;
}

}  // namespace snapdesk
