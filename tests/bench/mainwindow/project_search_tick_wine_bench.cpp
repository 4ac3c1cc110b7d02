// A Timer1 tick (refresh, redraw of 30 tiles, then the background location pass) under Wine
// with 10 of the tiles on the Project tab and still being searched for, against the same tick
// with the Project tab empty. The folder list is the one of the prefix's drive C:, the Recent
// folder and zim001.dll are the real ones.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "location/path_search.h"
#include "panel_bench_host.h"
#include "platform/win32/link_path_binder.h"
#include "platform/win32/win32_automation.h"
#include "platform/win32/win32_shell.h"
#include "support/project_fakes.h"
#include "test_apps.h"

using namespace snapdesk;
using namespace snapdesk::bench;

namespace {

using testing_fakes::DirectSplash;
using testing_fakes::NoStoreHost;

constexpr int kWindows = 30;
constexpr int kProjectMembers = 10;
constexpr int kRuns = 41;

struct Host : PathSearchHost {
    bool timer = true;
    bool timer1Enabled() override { return timer; }
    void setTimer1(bool enabled) override { timer = enabled; }
    WindowHandle mainWindowHandle() override { return 0; }
    int ieVersion() override { return 6; }
};

}  // namespace

int main() {
    CoInitialize(nullptr);
    testing::Program many(testing::testAppPath(L"manywindows.exe") + L" " +
                          std::to_wstring(kWindows) + L" search");
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
    Win32Platform system;
    Platform& platform = system.platform();
    Win32Shell shell;
    Win32Automation automation(platform.ui);
    Win32LinkPathBinder links;
    BrowserHistory history(platform.files, shell);
    NoStoreHost storeHost;
    DirectSplash splash;
    Host searchHost;
    const std::string program = "C:\\users\\Public\\SnapdeskSearchBench";
    CreateDirectoryW(L"C:\\users\\Public\\SnapdeskSearchBench", nullptr);
    CreateDirectoryW(L"C:\\users\\Public\\SnapdeskSearchBench\\datafiles", nullptr);
    CoffeeShopList& list = host.list();
    ProjectStore store(platform.files, shell, platform.ui, list, storeHost, program);
    store.loadProjectStore();
    DirectoryTree tree(platform.files, shell, platform.ui, program + "\\datafiles", "1.0.0");
    tree.buildDirTree(splash);
    PathSearch search(list, platform, shell, PathSources{automation, links, history, store, tree},
                      searchHost);

    host.tick();
    std::vector<long> ours;
    for (long i = 1; i <= list.count(); ++i) {
        if (list.CaptionString(i).rfind("search ", 0) == 0) {
            ours.push_back(i);
        }
    }
    if (ours.size() != kWindows) {
        std::printf("tracked %zu of the %d test windows\n", ours.size(), kWindows);
        return 1;
    }
    // The members are found nowhere: each working pass takes one step of the folder search.
    auto prepare = [&](bool withProject) {
        for (std::size_t k = 0; k < ours.size(); ++k) {
            const long i = ours[k];
            list.setInTab(i, withProject && k < kProjectMembers ? kProjectTab : kDocumentsTab);
            list.setFilePath(i, kNotFound);
            list.setSearchDone(i, false);
            list.setSearchIndex(i, 0);
        }
    };
    // Two ticks make a round: the unforced pass works on every second one.
    auto twoTicks = [&](std::vector<double>& pairs, std::vector<double>& slower) {
        double t[2];
        for (double& one : t) {
            const auto start = Clock::now();
            host.tick();
            search.updatePaths(false);
            one = millisecondsSince(start);
            pumpMessages();
        }
        pairs.push_back(t[0] + t[1]);
        slower.push_back(std::max(t[0], t[1]));
    };
    std::vector<double> emptyPairs, emptySlower, projectPairs, projectSlower;
    for (int r = 0; r < kRuns; ++r) {
        prepare(false);
        twoTicks(emptyPairs, emptySlower);
        prepare(true);
        twoTicks(projectPairs, projectSlower);
    }
    long stepped = 0;
    for (std::size_t k = 0; k < kProjectMembers; ++k) {
        stepped += list.searchIndex(ours[k]) != 0 ? 1 : 0;
    }
    std::printf("folders in the list %d, %d per step; records %ld, %d runs\n", tree.dirCount(),
                tree.searchChunk(), list.count(), kRuns);
    std::printf("Project tab empty: two ticks %.3f ms, the slower %.3f ms\n", median(emptyPairs),
                median(emptySlower));
    std::printf("10 members searched for: two ticks %.3f ms, the slower %.3f ms\n",
                median(projectPairs), median(projectSlower));
    std::printf("ratio per tick %.2f, the working tick %.2f (goal: at most 1.3)\n",
                median(projectPairs) / median(emptyPairs),
                median(projectSlower) / median(emptySlower));
    many.close();
    return stepped > 0 ? 0 : 1;
}
