// The system-wide hot key registered on the main window, and its dialog.

// clang-format off
#include <windows.h>
// clang-format on

#include "mainwindow/win32/hot_key_dialog.h"
#include "mainwindow/win32/main_window_view.h"

namespace snapdesk {

namespace {

constexpr int kHotKeyId = 1;
// MOD_NOREPEAT: a key held down sends one WM_HOTKEY, not one per repeat (Windows 7 on).
constexpr UINT kNoRepeat = 0x4000;

}  // namespace

HotKeyUse Win32MainWindowView::registerHotKey(const HotKey& key) {
    const UINT modifiers = key.modifiers;
    if (RegisterHotKey(window_, kHotKeyId, modifiers | kNoRepeat, key.virtualKey)) {
        return HotKeyUse::Active;
    }
    DWORD error = GetLastError();
    // A Windows older than 7 refuses the flag it does not know.
    if (error != ERROR_HOTKEY_ALREADY_REGISTERED) {
        if (RegisterHotKey(window_, kHotKeyId, modifiers, key.virtualKey)) {
            return HotKeyUse::Active;
        }
        error = GetLastError();
    }
    return error == ERROR_HOTKEY_ALREADY_REGISTERED ? HotKeyUse::InUse : HotKeyUse::Refused;
}

void Win32MainWindowView::unregisterHotKey() {
    UnregisterHotKey(window_, kHotKeyId);
}

void Win32MainWindowView::showHotKeyDialog(HotKeySetting& setting) {
    snapdesk::showHotKeyDialog(window_, setting);
}

}  // namespace snapdesk
