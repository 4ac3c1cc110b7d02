// Snapdesk: thumbnails of the user's open windows, a click away.

// clang-format off
#include <windows.h>
// clang-format on

#include "mainwindow/win32/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int showCommand) {
    return snapdesk::runMainWindow(instance, showCommand);
}
