// snapdesk.exe. Until the main window exists, a console watch of the window list: once a
// second it refreshes the list against the live desktop and prints the tracked records.
//   snapdesk.exe [--passes N]     N refreshes, then exit (default: until Ctrl-C)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win32/win32_platform.h"
#include "tracking/coffee_shop_list.h"
#include "tracking/list_report.h"

namespace {

long passesFromArguments(int argc, char** argv) {
    for (int k = 1; k + 1 < argc; ++k) {
        if (std::strcmp(argv[k], "--passes") == 0) {
            return std::strtol(argv[k + 1], nullptr, 10);
        }
    }
    return -1;
}

// Waits about a second while still answering this thread's messages.
void pauseOneSecond(snapdesk::Ui& ui) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 1000) {
        ui.doEvents();
        Sleep(50);
    }
}

}  // namespace

int main(int argc, char** argv) {
    snapdesk::Win32Platform system;
    snapdesk::CoffeeShopList list(system.platform());
    const long passes = passesFromArguments(argc, argv);
    for (long pass = 1; passes < 0 || pass <= passes; ++pass) {
        list.refreshList();
        std::printf("--- refresh %ld: %s", pass, snapdesk::describeList(list).c_str());
        std::fflush(stdout);
        if (passes < 0 || pass < passes) {
            pauseOneSecond(system.platform().ui);
        }
    }
    return 0;
}
