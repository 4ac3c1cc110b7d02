// Waits until Snapdesk's main window shows at least N tiles, then prints where the window is
// on the screen ("left top width height") for scripts/screenshot to crop to.
//   snapdesk_frame.exe [tiles] [seconds]     exit code 1 on time-out
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

int visibleTiles(HWND parent) {
    int count = 0;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (lstrcmpW(name, L"zimDisplayControl") == 0) {
            count += IsWindowVisible(child) ? 1 : 0;
        } else {
            count += visibleTiles(child);
        }
    }
    return count;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const int wanted = __argc > 1 ? std::atoi(__argv[1]) : 1;
    const DWORD seconds = __argc > 2 ? static_cast<DWORD>(std::atoi(__argv[2])) : 60;
    const DWORD deadline = GetTickCount() + seconds * 1000;
    while (GetTickCount() < deadline) {
        const HWND main = FindWindowW(L"SnapdeskMainWindow", nullptr);
        RECT r{};
        if (main != nullptr && IsWindowVisible(main) && visibleTiles(main) >= wanted &&
            GetWindowRect(main, &r)) {
            std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
            return 0;
        }
        Sleep(200);
    }
    return 1;
}
