#pragma once

// "Open Project" on a real dialog: the template IDD_OPENPROJECT of the program's resources,
// driven by OpenDialog.

// clang-format off
#include <windows.h>
// clang-format on

#include "projects/open_dialog.h"

namespace snapdesk {

// Shows the dialog modally over `owner` until the presenter closes it; its answer is then the
// presenter's projectToOpen(). The caller pauses the refresh timer.
void showOpenDialog(HWND owner, OpenDialog& presenter);

}  // namespace snapdesk
