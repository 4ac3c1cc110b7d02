// Popup menus, the About box and help of the main window.

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "base/unique_handle.h"
#include "mainwindow/menu_ids.h"
#include "mainwindow/win32/help_window.h"
#include "mainwindow/win32/main_window_view.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk {

namespace {

win32::unique_hmenu buildPopup(const Menu& items) {
    win32::unique_hmenu owned(CreatePopupMenu());
    const HMENU menu = owned.get();
    for (const MenuItem& item : visibleItems(items)) {
        if (item.separator) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else if (!item.items.empty()) {
            win32::unique_hmenu submenu = buildPopup(item.items);
            if (AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.get()),
                            win32::toWide(item.caption).c_str())) {
                static_cast<void>(submenu.release());  // destroyed with its parent menu
            }
        } else {
            const UINT flags = MF_STRING | (item.checked ? MF_CHECKED : 0u) |
                               (item.enabled ? 0u : static_cast<UINT>(MF_GRAYED));
            AppendMenuW(menu, flags, static_cast<UINT_PTR>(item.id),
                        win32::toWide(menuItemText(item)).c_str());
        }
    }
    return owned;
}

struct AboutTexts {
    std::wstring caption;
    std::wstring version;
};

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto* texts = reinterpret_cast<const AboutTexts*>(lParam);
            SetWindowTextW(dialog, texts->caption.c_str());
            SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, texts->version.c_str());
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

int Win32MainWindowView::trackPopupMenu(const Menu& items, const PopupAnchor& anchor) {
    POINT at{};
    GetCursorPos(&at);
    if (anchor.place == PopupAnchor::Place::BelowButton) {
        RECT button{};
        if (SendMessageW(buttonBar_.hwnd(), TB_GETRECT, anchor.buttonId,
                         reinterpret_cast<LPARAM>(&button))) {
            at = {button.left, button.bottom};
            ClientToScreen(buttonBar_.hwnd(), &at);
        }
    }
    const win32::unique_hmenu menu = buildPopup(items);
    // A menu of a window not in front would not close when the user clicks elsewhere.
    SetForegroundWindow(window_);
    const int chosen = static_cast<int>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                       at.x, at.y, 0, window_, nullptr));
    PostMessageW(window_, WM_NULL, 0, 0);
    return chosen;
}

void Win32MainWindowView::showAbout(const AboutBox& box) {
    AboutTexts texts{win32::toWide(box.caption), win32::toWide(box.version)};
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), window_, aboutProc,
                    reinterpret_cast<LPARAM>(&texts));
}

void Win32MainWindowView::showHelp(const HelpRequest& request) {
    // The help file is text of our own, shown by the program itself at its contents.
    showHelpWindow(window_, request.file);
}

}  // namespace snapdesk
