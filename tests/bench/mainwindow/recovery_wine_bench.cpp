// The recovery file under Wine, over 30 real windows on the Project tab: its write against
// saveProject of the same members, and Timer1 ticks with the recovery's look after each against
// ticks without, interleaved in the same run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "panel_bench_host.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_ui.h"
#include "platform/win32/win32_file_system.h"
#include "projects/project_store.h"
#include "projects/recovery_keeper.h"
#include "test_apps.h"

using namespace snapdesk;
using namespace snapdesk::bench;

namespace {

constexpr int kWindows = 30;
constexpr int kRuns = 41;

struct NoHost : ProjectStoreHost {
    void updatePaths(bool) override {}
    void setProjectLabelCaption(const std::string&) override {}
    int projectLabelWidth() override { return 0; }
    int mainWindowWidth() override { return 0; }
    void setProjectLabelLeft(int) override {}
    void showNoEmptyOverwrite() override {}
    void showNoEmptyProject() override {}
};

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
    CoffeeShopList& list = host.list();
    list.refreshList();
    for (long i = 1; i <= list.count(); ++i) {
        list.setInTab(i, kProjectTab);
        list.setFilePath(i, "C:\\users\\me\\Documents\\Member " + std::to_string(i) + ".txt");
        list.setCommentString(i, "comment " + std::to_string(i));
    }
    host.panel().tabClick(kProjectTab);

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string root =
        std::string(temp) + "snapdesk-recovery-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(root.c_str(), nullptr);
    Win32FileSystem files;
    sim::SimShell shell;
    sim::SimUi ui;
    NoHost storeHost;
    ProjectStore store(files, shell, ui, list, storeHost, root);
    store.loadProjectStore();
    RecoveryKeeper keeper(files, store, list, systemRecoveryClock());
    keeper.start();

    std::vector<double> saves, recoveryWrites, ticks, ticksWithRecovery;
    for (int r = 0; r < kRuns; ++r) {
        auto start = Clock::now();
        std::string name = "Bench";
        store.saveProject(name, true);
        saves.push_back(millisecondsSince(start));

        // A comment changed, so that the write has something new to write.
        list.setCommentString(1, "comment " + std::to_string(r));
        start = Clock::now();
        keeper.writeNow();
        recoveryWrites.push_back(millisecondsSince(start));

        start = Clock::now();
        host.tick();
        ticks.push_back(millisecondsSince(start));
        pumpMessages();

        start = Clock::now();
        host.tick();
        keeper.check();
        ticksWithRecovery.push_back(millisecondsSince(start));
        pumpMessages();
    }
    const double save = median(saves), write = median(recoveryWrites);
    const double tick = median(ticks), tickWith = median(ticksWithRecovery);
    std::printf("members %ld, %d runs, recovery writes %d\n", list.count(), kRuns, keeper.writes());
    std::printf(
        "saveProject: median %.3f ms; recovery write: median %.3f ms; longest write "
        "%.3f ms\n",
        save, write, *std::max_element(recoveryWrites.begin(), recoveryWrites.end()));
    std::printf("recovery write / saveProject %.2f (goal: at most 1.5)\n", write / save);
    std::printf("Timer1 tick: median %.3f ms; with the recovery's look %.3f ms\n", tick, tickWith);
    std::printf("tick with recovery / tick without %.3f (goal: at most 1.05)\n", tickWith / tick);
    many.close();
    return list.count() == kWindows && keeper.writes() >= kRuns ? 0 : 1;
}
