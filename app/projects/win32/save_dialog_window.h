#pragma once

// "Save Project As" on a real dialog: the template IDD_SAVE of the program's resources, driven
// by SaveDialog.

// clang-format off
#include <windows.h>
// clang-format on

#include "projects/save_dialog.h"

namespace snapdesk {

// Shows the dialog modally over `owner` until the presenter closes it. The caller pauses the
// refresh timer.
void showSaveDialog(HWND owner, SaveDialog& presenter);

}  // namespace snapdesk
