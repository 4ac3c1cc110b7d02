#pragma once

// The save's dialogs on real windows, each from its template in the resource script. They
// show what their presenter decides and hand its answer back; the timer is the caller's.

// clang-format off
#include <windows.h>
// clang-format on

#include <string>

#include "location/no_netscape6.h"
#include "location/no_path_info.h"
#include "location/win_amp.h"
#include "projects/project_dialogs.h"

namespace snapdesk {

// "Cannot Find Path Information".
void runNoPathInfoDialog(HWND owner, NoPathInfo& presenter);
// "Path Not Found": true when the save is cancelled.
bool runContinueSearchDialog(HWND owner, ContinueSearchActions& actions);
// "Storing <label> URLs".
void runNoNetscape6Dialog(HWND owner, NoNetscape6& presenter);
// "Storing WinAmp Playlist or Song".
void runWinAmpDialog(HWND owner, WinAmp& presenter);
// "Cannot Save an Empty Project".
void runNoEmptyProjectDialog(HWND owner, bool tabHasRecords);
// "Empty Project".
EmptyOverwriteChoice runNoEmptyOverwriteDialog(HWND owner);

}  // namespace snapdesk
