// Saving a project of 10 Chrome pages, their addresses read from a History of 10,000 rows that
// the save copies and scans, against saving 10 notepad documents whose locations are known:
// the searches of a save, then the project file written (goal: at most 1.5). Real windows,
// files, history snapshots and SQLite under Wine.
#include <windows.h>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "location/path_search.h"
#include "platform/sim/sim_shell.h"
#include "platform/win32/link_path_binder.h"
#include "platform/win32/win32_automation.h"
#include "platform/win32/win32_platform.h"
#include "support/project_fakes.h"
#include "support/sqlite_history_files.h"
#include "test_apps.h"

using namespace snapdesk;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kMembers = 10;
constexpr int kRows = 10000;
constexpr int kRounds = 15;
const std::string kRoot = "C:\\users\\Public\\SnapdeskBrowserSaveBench";
const std::string kChrome = "C:\\PROGRAM FILES\\GOOGLE\\CHROME\\APPLICATION\\CHROME.EXE";

struct Host : PathSearchHost {
    bool timer = true;
    bool timer1Enabled() override { return timer; }
    void setTimer1(bool enabled) override { timer = enabled; }
    WindowHandle mainWindowHandle() override { return 0; }
    int ieVersion() override { return 6; }
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string title(int k) {
    return "Bench page " + std::to_string(k);
}

// A History as a browser leaves it after some weeks: the pages of the project among many.
void writeHistory(const std::string& path) {
    std::vector<sqlite_history_files::Visit> visits;
    for (int r = 0; r < kRows; ++r) {
        const int k = r % 1000;
        visits.push_back({"https://site" + std::to_string(r) + ".test/path/to/page" +
                              std::to_string(k) + "?q=" + std::to_string(r),
                          k < kMembers ? "Visited " + std::to_string(r) : title(1000 + r),
                          13300000000000000LL + r});
    }
    for (int k = 0; k < kMembers; ++k) {
        visits.push_back(
            {"https://pages.test/" + std::to_string(k), title(k), 13400000000000000LL + k});
    }
    DeleteFileA(path.c_str());
    sqlite_history_files::writeChromiumHistory(path, visits);
}

}  // namespace

int main() {
    CoInitialize(nullptr);
    testing::Program many(testing::testAppPath(L"manywindows.exe") + L" " +
                          std::to_wstring(2 * kMembers) + L" save");
    if (!testing::waitUntil([&] { return many.visibleWindowCount() == 2 * kMembers; },
                            testing::Milliseconds{30000})) {
        std::printf("the test windows did not appear\n");
        return 1;
    }
    Win32Platform system;
    Platform& platform = system.platform();
    sim::SimShell shell;
    const std::string userData = kRoot + "\\Local\\Google\\Chrome\\User Data";
    for (const std::string& folder :
         {kRoot, kRoot + "\\datafiles", kRoot + "\\Local", kRoot + "\\Local\\Google",
          kRoot + "\\Local\\Google\\Chrome", userData, userData + "\\Default"}) {
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    shell.folders[special_folders::kLocalApplicationData] = kRoot + "\\Local";
    shell.folders[special_folders::kApplicationData] = kRoot + "\\Roaming";
    platform.files.replaceFile(userData + "\\Local State",
                               R"({"profile":{"info_cache":{"Default":{"name":"Me"}},)"
                               R"("last_used":"Default"}})");
    writeHistory(userData + "\\Default\\History");

    Win32Automation automation(platform.ui);
    Win32LinkPathBinder links;
    BrowserHistory history(platform.files, shell);
    ModernBrowserHistory modern(platform.files, shell, system.historyDatabase());
    testing_fakes::NoStoreHost storeHost;
    Host searchHost;
    CoffeeShopList list(platform);
    list.refreshList();
    ProjectStore store(platform.files, shell, platform.ui, list, storeHost, kRoot);
    store.loadProjectStore();
    DirectoryTree tree(platform.files, shell, platform.ui, kRoot + "\\datafiles", "1.0.0");
    PathSearch search(list, platform, shell,
                      PathSources{automation, links, history, store, tree, &modern}, searchHost);

    std::vector<long> ours;
    for (long i = 1; i <= list.count(); ++i) {
        if (list.CaptionString(i).rfind("save ", 0) == 0) {
            ours.push_back(i);
        }
    }
    if (ours.size() != 2 * kMembers) {
        std::printf("tracked %zu of the %d test windows\n", ours.size(), 2 * kMembers);
        return 1;
    }
    // The first ten are notepad documents, the other ten Chrome pages; one kind at a time is
    // on the Project tab.
    auto prepare = [&](bool pages) {
        for (int k = 0; k < 2 * kMembers; ++k) {
            const long i = ours[static_cast<std::size_t>(k)];
            const bool page = k >= kMembers;
            list.setInTab(i, page == pages ? kProjectTab : kDocumentsTab);
            if (page) {
                list.setEXEPath(i, kChrome);
                list.setCaptionString(i, title(k - kMembers));
                list.setFilePath(i, kNotFound);
                list.setSearchDone(i, false);
            } else {
                list.setEXEPath(i, "C:\\WINDOWS\\SYSTEM32\\NOTEPAD.EXE");
                list.setFilePath(i, kRoot + "\\doc " + std::to_string(k) + ".txt");
                list.setSearchDone(i, true);
            }
        }
    };
    auto save = [&](const std::string& name) {
        const auto start = Clock::now();
        search.findWordPath();
        search.findExplorerPaths();
        search.findBrowserPaths();
        search.findModernBrowserPaths();
        std::string saved = name;
        store.saveProject(saved, true);
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    std::vector<double> documents, pages;
    int found = 0;
    for (int r = 0; r < kRounds; ++r) {
        prepare(false);
        documents.push_back(save("bench documents"));
        prepare(true);
        pages.push_back(save("bench pages"));
        found = 0;
        for (int k = kMembers; k < 2 * kMembers; ++k) {
            found += list.filePath(ours[static_cast<std::size_t>(k)]) ==
                             "https://pages.test/" + std::to_string(k - kMembers)
                         ? 1
                         : 0;
        }
    }
    std::printf("History of %d rows; %d rounds; %d of %d pages found\n", kRows + kMembers, kRounds,
                found, kMembers);
    std::printf("save of %d notepad documents: %.3f ms\n", kMembers, median(documents));
    std::printf("save of %d Chrome pages: %.3f ms\n", kMembers, median(pages));
    std::printf("ratio %.2f (goal: at most 1.5)\n", median(pages) / median(documents));
    many.close();
    return found == kMembers ? 0 : 1;
}
