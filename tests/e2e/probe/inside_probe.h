#pragma once

// inside_probe.dll, loaded into Snapdesk by window-procedure hooks that a test sets on its
// thread. It looks from inside at what another process cannot see under Wine: the live menus
// (read through the menu API), whether the tray icon is registered (NIM_MODIFY succeeds only
// for a registered icon, and only from its own process), the main window's procedure, and
// sizes that messages with pointers or other fonts cannot carry across processes. It
// appends what it saw to a UTF-8 file in the temporary folder, one record each:
//   "bar" and "tray"  when the main window is sent kInsideProbeLookMessage; with wParam
//                     kInsideProbeDropTrayIcon the tray icon is deleted first, as a restarting
//                     shell loses it;
//   "scale"           instead of those with wParam kInsideProbeMeasureScale:
//                     "images WxH" of the toolbar's image list, "tab H" of the first tab,
//                     then for each dialog of its thread on screen "dialog CAPTION" and a
//                     "cut CAPTION: ..." line for each of its texts that does not fit;
//   "popup"           each popup menu as it opens (WM_INITMENUPOPUP);
//   "destroyed"       after the main window's WM_DESTROY.
// A record is its kind, its lines and "end". Menus are written as writeMenu writes them; a
// "tray" record holds "icon present" or "icon absent"; "destroyed" holds "procedure
// restored" (its window procedure is again its class's own) or "procedure replaced", then
// the icon line.
#include <windows.h>

#include <string>

inline constexpr wchar_t kInsideProbeLookMessage[] = L"SnapdeskInsideProbe.Look";
inline constexpr UINT kProbedTrayIconId = 125;
inline constexpr WPARAM kInsideProbeDropTrayIcon = 1;
inline constexpr WPARAM kInsideProbeMeasureScale = 2;

// The record file; both processes share the prefix's temporary folder.
inline std::wstring insideProbeLogPath() {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"snapdesk-inside-probe.txt";
}
// Exported: sets both hooks on that thread; false when either could not be set.
using InsideProbeAttach = BOOL (*)(DWORD threadId);
using InsideProbeDetach = void (*)();
