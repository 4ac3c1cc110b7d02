/* Resource ids of the Hot Key dialog: 3900-3949, apart from the other dialogs' ranges. */
#pragma once

#define IDD_HOTKEY 3900
#define IDC_chkUseHotKey 3901
#define IDC_lblHotKey 3902
#define IDC_hotKey 3903
#define IDC_lblHotKeyStatus 3904
