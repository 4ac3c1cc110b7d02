#pragma once

// clang-format off
#include <windows.h>
// clang-format on

namespace snapdesk {

// Creates the main window, runs start-up and the message loop until the window is closed.
// Returns the process exit code.
int runMainWindow(HINSTANCE instance, int showCommand);

}  // namespace snapdesk
