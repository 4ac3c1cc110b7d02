#pragma once

// The Hot Key dialog: the template IDD_HOTKEY of the program's resources over the main window.

// clang-format off
#include <windows.h>
// clang-format on

#include "mainwindow/hot_key_setting.h"

namespace snapdesk {

// OK registers the key at once; a key that does not work keeps the dialog open and says why.
void showHotKeyDialog(HWND owner, HotKeySetting& setting);

}  // namespace snapdesk
