#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <string>

namespace snapdesk {

// Shows the help file as text in a modal, resizable window over owner, at its first line;
// a message box names the file when it cannot be read.
void showHelpWindow(HWND owner, const std::string& file);

}  // namespace snapdesk
