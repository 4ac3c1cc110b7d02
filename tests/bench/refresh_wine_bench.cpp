// One steady refresh of 50 real windows of another process under Wine, against a bare walk
// of the same desktop (GetTopWindow/GetWindow plus GetWindowText per window).
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "platform/win32/win32_platform.h"
#include "test_apps.h"
#include "tracking/coffee_shop_list.h"

using namespace snapdesk;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kWindows = 50;
constexpr int kRuns = 20;

double millisecondsPerRun(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / kRuns;
}

int countBenchWindows(DWORD process) {
    int n = 0;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        n += (owner == process && IsWindowVisible(w)) ? 1 : 0;
    }
    return n;
}

}  // namespace

int main() {
    testing::Program many(testing::testAppPath(L"manywindows.exe") + L" " +
                          std::to_wstring(kWindows) + L" bench");
    if (!testing::waitUntil([&] { return countBenchWindows(many.processId()) == kWindows; },
                            testing::Milliseconds{30000})) {
        std::printf("the %d test windows did not appear\n", kWindows);
        return 1;
    }
    Win32Platform system;
    CoffeeShopList list(system.platform());
    list.refreshList();
    // Steady state: every window classified and pictured once, as after a while of use.
    for (long i = 1; i <= list.count(); ++i) {
        const HWND w = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(list.hTopWnd(i)));
        testing::bringToFront(w, testing::Milliseconds{2000});
        list.updateImage(i);
    }
    list.refreshList();
    long pictured = 0;
    for (long i = 1; i <= list.count(); ++i)
        pictured += list.gotPhoto(i) ? 1 : 0;

    auto start = Clock::now();
    for (int r = 0; r < kRuns; ++r) {
        list.refreshList();
    }
    const double refresh = millisecondsPerRun(start);

    start = Clock::now();
    std::size_t characters = 0;
    int walked = 0;
    for (int r = 0; r < kRuns; ++r) {
        walked = 0;
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
            wchar_t text[512];
            characters += static_cast<std::size_t>(GetWindowTextW(w, text, 512));
            ++walked;
        }
    }
    const double walk = millisecondsPerRun(start);

    std::printf("records %ld (pictured %ld), top-level windows walked %d\n", list.count(), pictured,
                walked);
    std::printf("refresh %.3f ms, bare walk %.3f ms, ratio %.2f (goal: at most 3)\n", refresh, walk,
                refresh / walk);
    many.close();
    return characters > 0 && list.count() >= kWindows ? 0 : 1;
}
