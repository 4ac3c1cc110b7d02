// One Timer1 tick of the panel (refresh plus redraw of 30 tiles on real child windows) under
// Wine, against the refresh of the same window list alone on the same desktop.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "panel_bench_host.h"
#include "test_apps.h"

using namespace snapdesk;
using namespace snapdesk::bench;

namespace {

constexpr int kWindows = 30;
constexpr int kWarmUpTicks = 3;
constexpr int kRuns = 41;

HWND windowOf(WindowHandle handle) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle));
}

}  // namespace

int main() {
    testing::Program many(testing::testAppPath(L"manywindows.exe") + L" " +
                          std::to_wstring(kWindows) + L" tick");
    if (!testing::waitUntil([&] { return many.visibleWindowCount() == kWindows; },
                            testing::Milliseconds{30000})) {
        std::printf("the %d test windows did not appear\n", kWindows);
        return 1;
    }
    PanelBenchHost host(1000, 760);
    if (host.window() == nullptr) {
        std::printf("the panel's window could not be created\n");
        return 1;
    }
    CoffeeShopList& list = host.list();
    // Steady state: every window pictured once, as after a while of use.
    list.refreshList();
    for (long i = 1; i <= list.count(); ++i) {
        testing::bringToFront(windowOf(list.hTopWnd(i)), testing::Milliseconds{2000});
        list.updateImage(i);
    }
    testing::bringToFront(host.window(), testing::Milliseconds{2000});
    for (int i = 0; i < kWarmUpTicks; ++i) {
        host.tick();
        pumpMessages();
    }
    long pictured = 0;
    for (long i = 1; i <= list.count(); ++i) {
        pictured += list.gotPhoto(i) ? 1 : 0;
    }

    // Interleaved, so that whatever else the machine does weighs on both alike.
    std::vector<double> refresh;
    std::vector<double> refreshAndPump;
    std::vector<double> tick;
    std::vector<double> tickAndPaint;
    host.view().clearTimes();
    for (int r = 0; r < kRuns; ++r) {
        auto start = Clock::now();
        list.refreshList();
        refresh.push_back(millisecondsSince(start));
        pumpMessages();
        refreshAndPump.push_back(millisecondsSince(start));

        start = Clock::now();
        host.tick();
        tick.push_back(millisecondsSince(start));
        pumpMessages();
        tickAndPaint.push_back(millisecondsSince(start));
    }
    const double baseline = median(refresh);
    const double baselinePumped = median(refreshAndPump);
    const double oneTick = median(tick);
    const double oneTickPainted = median(tickAndPaint);
    const int shown = host.visibleTiles();

    std::printf("records %ld (pictured %ld), tiles shown %d, tiles created %d, %d runs\n",
                list.count(), pictured, shown, host.view().tilesCreated(), kRuns);
    std::printf("refresh alone: median %.3f ms (with the message pump after it %.3f ms)\n",
                baseline, baselinePumped);
    std::printf("Timer1 tick: median %.3f ms (with the paints it causes %.3f ms)\n", oneTick,
                oneTickPainted);
    std::printf(
        "tick / refresh %.2f, tick with paints / refresh with pump %.2f (goal: at most 2)\n",
        oneTick / baseline, oneTickPainted / baselinePumped);
    std::printf("inside the ticks, tile calls per tick:");
    for (const auto& [call, total] : host.view().tileCallTimes()) {
        std::printf(" %s %.3f ms", call.c_str(), total / kRuns);
    }
    std::printf("\n");
    many.close();
    return shown >= kWindows && !host.shutDownAsked() ? 0 : 1;
}
