// The tray icon of the main window and the subclassing that carries its notifications.

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cwchar>

#include "mainwindow/menu_ids.h"
#include "mainwindow/tray_menu.h"
#include "mainwindow/win32/main_window_view.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk {

namespace {

constexpr wchar_t kViewProperty[] = L"SnapdeskMainWindowView";

NOTIFYICONDATAW trayData(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = kTrayIconId;
    return data;
}

bool addIcon(HWND window, const std::wstring& tip) {
    NOTIFYICONDATAW data = trayData(window);
    data.uFlags = kTrayIconFlags;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SNAPDESK));
    wcsncpy(data.szTip, tip.c_str(), (sizeof(data.szTip) / sizeof(wchar_t)) - 1);
    return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

}  // namespace

bool Win32MainWindowView::addTrayIcon(const std::string& tip) {
    trayTip_ = win32::toWide(tip);
    trayAdded_ = addIcon(window_, trayTip_);
    return trayAdded_;
}

void Win32MainWindowView::addTrayIconAgain() {
    // A shell that kept the icon refuses the second one; it stays ours to remove either way.
    if (trayAdded_) {
        addIcon(window_, trayTip_);
    }
}

void Win32MainWindowView::removeTrayIcon() {
    if (trayAdded_) {
        NOTIFYICONDATAW data = trayData(window_);
        Shell_NotifyIconW(NIM_DELETE, &data);
        trayAdded_ = false;
    }
}

void Win32MainWindowView::routeTrayMessages() {
    if (previousProc_ != nullptr) {
        return;
    }
    SetPropW(window_, kViewProperty, this);
    previousProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32MainWindowView::trayWindowProc)));
}

void Win32MainWindowView::restoreWindowProcedure() {
    if (previousProc_ == nullptr) {
        return;
    }
    // Put back exactly the procedure that was there.
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    previousProc_ = nullptr;
    RemovePropW(window_, kViewProperty);
}

LRESULT CALLBACK Win32MainWindowView::trayWindowProc(HWND window, UINT message, WPARAM wParam,
                                                     LPARAM lParam) {
    auto* view = static_cast<Win32MainWindowView*>(GetPropW(window, kViewProperty));
    if (view == nullptr || view->previousProc_ == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == kTrayCallbackMessage) {
        if (view->trayHandler_ != nullptr) {
            view->trayHandler_(window, lParam);
        }
        return 0;
    }
    return CallWindowProcW(view->previousProc_, window, message, wParam, lParam);
}

}  // namespace snapdesk
