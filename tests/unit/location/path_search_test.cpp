// Finding the locations of Project documents on the simulated machine: the background pass,
// the searches of a save, and the folder search to its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/runtime_error.h"
#include "dir_tree_fixture.h"
#include "location/path_search.h"
#include "platform/sim/sim_automation.h"
#include "platform/sim/sim_platform.h"
#include "platform/sim/sim_shell.h"
#include "sim_world.h"
#include "support/project_fakes.h"
#include "tracking/recent_folder.h"

namespace snapdesk {
namespace {

using testing_fakes::NoStoreHost;

using testing_dir_tree::DirectSplash;

const std::string kProgram = "C:\\Snapdesk";
const std::string kRecent = "C:\\users\\me\\Recent\\";

struct Host : PathSearchHost {
    bool timer = true;
    int ie = 6;
    bool timer1Enabled() override { return timer; }
    void setTimer1(bool enabled) override { timer = enabled; }
    WindowHandle mainWindowHandle() override { return 0x4242; }
    int ieVersion() override { return ie; }
};

// Shortcuts of the Recent folder by file name; records the timer state at each call.
struct Links : LinkPathResolver {
    std::map<std::string, std::string> targets;
    bool missingLibrary = false;
    std::vector<bool> timerDuringCalls;
    Host* host = nullptr;
    std::string getLinkPath(WindowHandle, const std::string& linkFile) override {
        timerDuringCalls.push_back(host->timer);
        if (missingLibrary) {
            throw RuntimeError{53, "File not found: zim001.dll", "Snapdesk"};
        }
        const auto it = targets.find(linkFile);
        return it == targets.end() ? std::string() : it->second;
    }
};

struct Member {
    std::string caption;
    std::string exe = "C:\\APPS\\NOTEPAD.EXE";
    std::int16_t tab = kProjectTab;
};

class PathSearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        links.host = &host;
        files.addFolder(kProgram + "\\datafiles");
        shell.folders[special_folders::kRecent] = kRecent.substr(0, kRecent.size() - 1);
    }
    void TearDown() override { setRecentFolder(kRecentFolderUnknown); }

    // The windows of the members on the desktop, the store and the folder list loaded as at
    // start-up; returns the members' positions in the list, in the order given.
    std::vector<long> start(const std::vector<Member>& members) {
        std::vector<WindowHandle> windows;
        std::uint32_t process = 10;
        for (const Member& m : members) {
            windows.push_back(world.topLevel(m.caption + " - App", process++, m.exe));
        }
        world.list.refreshList();
        std::vector<long> positions;
        for (std::size_t k = 0; k < members.size(); ++k) {
            const long i = world.positionOf(windows[k]);
            world.list.setInTab(i, members[k].tab);
            world.list.setCaptionString(i, members[k].caption);
            world.list.setEXEPath(i, members[k].exe);
            positions.push_back(i);
        }
        store = std::make_unique<ProjectStore>(files, shell, world.machine.ui, world.list,
                                               storeHost, kProgram);
        store->loadProjectStore();
        tree = std::make_unique<DirectoryTree>(files, shell, world.machine.ui,
                                               kProgram + "\\datafiles", "1.0.0");
        tree->buildDirTree(splash);
        search = std::make_unique<PathSearch>(
            world.list, world.machine.platform, shell,
            PathSources{automation, links, history, *store, *tree}, host);
        return positions;
    }
    std::string path(long i) const { return world.list.filePath(i); }

    testing::SimWorld world;
    sim::SimFileSystem& files = world.machine.files;
    sim::SimShell shell;
    sim::SimAutomation automation;
    Links links;
    Host host;
    BrowserHistory history{files, shell};
    NoStoreHost storeHost;
    DirectSplash splash;
    std::unique_ptr<ProjectStore> store;
    std::unique_ptr<DirectoryTree> tree;
    std::unique_ptr<PathSearch> search;
};

TEST_F(PathSearchTest, OnePassNamesEveryKindOfProjectMemberAndLeavesTheRestAlone) {
    files.addFile("C:\\Docs\\budget.xls");
    files.writeFile(kProgram + "\\datafiles\\oldpaths.txt",
                    "[oldFileName]\n1=notes.txt\n[oldFilePath]\n1=C:\\Old\\notes.txt\n");
    links.targets[kRecent + "letter.txt.lnk"] = "C:\\Mail\\letter.txt";
    const auto at = start({
        {"Exploring - C:\\Letters", "C:\\WINDOWS\\EXPLORER.EXE"},
        {"C:\\Docs\\plan.txt"},
        {"C:\\Docs\\budget", "C:\\OFFICE\\EXCEL.EXE"},
        {"(D:)", "C:\\WINDOWS\\EXPLORER.EXE"},
        {"letter.txt"},
        {"notes.txt"},
        {"other.txt", "C:\\APPS\\NOTEPAD.EXE", kDocumentsTab},
        {"song.mp3", "C:\\PROGRAM FILES\\WINAMP\\WINAMP.EXE"},
    });
    search->updatePaths(true);

    EXPECT_EQ(path(at[0]), "Exploring - C:\\Letters");
    EXPECT_EQ(path(at[1]), "C:\\Docs\\plan.txt");
    EXPECT_EQ(path(at[2]), "C:\\Docs\\budget.xls");
    EXPECT_EQ(path(at[3]), "D:\\");
    EXPECT_EQ(path(at[4]), "C:\\Mail\\letter.txt");
    EXPECT_EQ(path(at[5]), "C:\\Old\\notes.txt");
    EXPECT_EQ(path(at[6]), kNotFound);
    EXPECT_EQ(path(at[7]), kNotFound);
    for (int k : {0, 1, 2, 3}) {
        EXPECT_TRUE(world.list.searchDone(at[k])) << k;
    }
    // Shortcuts and stored paths are asked again on every pass.
    EXPECT_FALSE(world.list.searchDone(at[4]));
    EXPECT_FALSE(world.list.searchDone(at[5]));
    // The timer is off while the pass runs and comes back after it.
    ASSERT_FALSE(links.timerDuringCalls.empty());
    EXPECT_FALSE(links.timerDuringCalls.front());
    EXPECT_TRUE(host.timer);
}

TEST_F(PathSearchTest, TheFolderSearchAdvancesOneMemberAPassAndKeepsWhatItFound) {
    for (int k = 1; k <= 24; ++k) {
        files.addFolder("C:\\Tree\\F" + std::to_string(k));
    }
    files.addFile("C:\\Tree\\F2\\report.doc");
    files.addFile("C:\\Tree\\F20\\memo.doc");
    const auto at = start({{"report.doc"}, {"memo.doc"}});
    ASSERT_GT(tree->dirCount() / tree->searchChunk(), 3);

    // Unforced passes work on every second call only.
    search->updatePaths(false);
    const auto after1 = std::pair(world.list.searchIndex(at[0]), world.list.searchIndex(at[1]));
    search->updatePaths(false);
    EXPECT_EQ(after1, std::pair(world.list.searchIndex(at[0]), world.list.searchIndex(at[1])));

    int passes = 0;
    while ((path(at[0]) == kNotFound || path(at[1]) == kNotFound) && passes < 100) {
        const auto before = std::pair(world.list.searchIndex(at[0]), world.list.searchIndex(at[1]));
        search->updatePaths(true);
        const auto now = std::pair(world.list.searchIndex(at[0]), world.list.searchIndex(at[1]));
        EXPECT_FALSE(now.first != before.first && now.second != before.second)
            << "two folder-search steps in one pass";
        ++passes;
    }
    EXPECT_EQ(path(at[0]), "C:\\Tree\\F2\\report.doc");
    EXPECT_EQ(path(at[1]), "C:\\Tree\\F20\\memo.doc");
    EXPECT_GT(passes, 2);
    // Neither has a shortcut nor a stored path: later passes must not forget the finds.
    search->updatePaths(true);
    search->updatePaths(true);
    EXPECT_EQ(path(at[0]), "C:\\Tree\\F2\\report.doc");
    EXPECT_EQ(path(at[1]), "C:\\Tree\\F20\\memo.doc");
}

TEST_F(PathSearchTest, AFailingShortcutReaderIsReportedOnceAPassAndTheTimerStaysAsItWas) {
    const auto at = start({{"letter.txt"}});
    links.missingLibrary = true;
    host.timer = false;
    search->updatePaths(true);
    ASSERT_EQ(world.machine.ui.messages.size(), 1u);
    EXPECT_EQ(world.machine.ui.messages[0].text,
              "Error has occured in 'updatePaths'\nFile not found: zim001.dll Snapdesk");
    EXPECT_EQ(path(at[0]), kNotFound);
    EXPECT_FALSE(host.timer);
}

TEST_F(PathSearchTest, InternetExplorerPagesAreAskedOfTheShellWindowsFromVersion5) {
    automation.windows = {{"Home", "http://example.com/"},
                          {"Home Page", "file:///C|/My%20Docs/home.htm"}};
    const auto at = start({{"Home Page - Microsoft Internet Explorer", "C:\\IE\\IEXPLORE.EXE"},
                           {"Mail - Microsoft Internet Explorer", "C:\\IE\\IEXPLORE.EXE"},
                           {"C:\\Docs\\plan.txt"}});
    ASSERT_EQ(world.list.originalTab(at[0]), kWebBrowsersTab);
    search->updatePaths(true);
    EXPECT_EQ(path(at[0]), "C:\\My Docs\\home.htm");
    EXPECT_TRUE(world.list.searchDone(at[0]));
    EXPECT_EQ(path(at[1]), kNotFound);
    EXPECT_FALSE(world.list.searchDone(at[1]));
    EXPECT_EQ(automation.shellWalks, 1) << "one walk serves the whole pass";

    // A shell that dies in the middle: the pages stay unknown, the rest of the pass runs.
    automation.failWalks = true;
    world.list.setFilePath(at[2], kNotFound);
    world.list.setSearchDone(at[2], false);
    search->updatePaths(true);
    EXPECT_EQ(path(at[1]), kNotFound);
    EXPECT_EQ(path(at[2]), "C:\\Docs\\plan.txt");
    EXPECT_TRUE(world.machine.ui.messages.empty());

    // Before version 5 the history index serves, at save time.
    host.ie = 4;
    automation.failWalks = false;
    const int walks = automation.shellWalks;
    search->updatePaths(true);
    EXPECT_EQ(automation.shellWalks, walks);
}

TEST_F(PathSearchTest, WordDocumentsAreMatchedByNameAndUnsavedOnesSkipped) {
    const std::string word = "C:\\OFFICE\\WINWORD.EXE";
    const auto at = start({{"Report", word}, {"Draft", word}, {"Memo.doc", word}});
    automation.wordRunning = true;
    automation.documents = {{"Draft.doc", ""},
                            {"Report.doc", "C:\\Docs"},
                            {"memo.doc", "C:\\Work\\"},
                            {"Report.doc", "D:\\Later"}};

    automation.failWalks = true;
    search->findWordPath();
    EXPECT_EQ(path(at[0]), kNotFound) << "a word processor that failed changes nothing";

    automation.failWalks = false;
    search->findWordPath();
    EXPECT_EQ(path(at[0]), "C:\\Docs\\Report.doc");
    EXPECT_EQ(path(at[1]), kNotFound);
    EXPECT_FALSE(world.list.searchDone(at[1]));
    EXPECT_EQ(path(at[2]), "C:\\Work\\memo.doc");

    // No live window of the word processor on the tab: it is not asked at all.
    const int walks = automation.wordWalks;
    for (long i : at) {
        world.desktop.destroyWindow(world.list.hWnd(i));
    }
    search->findWordPath();
    EXPECT_EQ(automation.wordWalks, walks);
}

TEST_F(PathSearchTest, OfficeWindowsNameTheirOwnDocumentsAndWordFallsBackOnTheRunningOne) {
    const std::string excel = "C:\\OFFICE\\EXCEL.EXE";
    const std::string word = "C:\\OFFICE\\WINWORD.EXE";
    const auto at = start({{"Budget.xlsx", excel},
                           {"Plan.xlsx", excel},
                           {"Shared.xlsx", excel},
                           {"Book1", excel},
                           {"report.docx", word},
                           {"Letter", word},
                           {"deck.pptx", "C:\\TOOLS\\SHOW.EXE"},
                           {"notes.txt"}});
    const auto window = [&](int k) { return world.list.hWnd(at[k]); };
    // The classes say what the program is even when the executable does not.
    world.desktop.window(window(6)).className = "PPTFrameClass";
    // One Excel process with two windows dies in the middle of the question.
    world.desktop.window(window(2)).process = world.desktop.window(window(1)).process;
    files.addFile("C:\\Users\\me\\OneDrive\\Shared.xlsx");
    world.machine.registry.writeUserString("Software\\SyncEngines\\Providers\\OneDrive\\Personal",
                                           "UrlNamespace", "https://d.docs.live.net/77ab/");
    world.machine.registry.writeUserString("Software\\SyncEngines\\Providers\\OneDrive\\Personal",
                                           "MountPoint", "C:\\Users\\me\\OneDrive");
    automation.officeDocuments = {{window(0), "C:\\Money\\Budget.xlsx"},
                                  {window(1), "C:\\Plans\\Plan.xlsx"},
                                  {window(2), "https://d.docs.live.net/77ab/Shared.xlsx"},
                                  {window(3), "Book1"},
                                  {window(4), "https://contoso.sharepoint.com/r/report.docx"},
                                  {window(6), "D:\\Talks\\deck.pptx"},
                                  {window(7), "C:\\nope.txt"}};
    automation.deadOfficeWindows = {window(1), window(2)};
    automation.wordRunning = true;
    automation.documents = {{"report.docx", "C:\\Old"}, {"Letter.docx", "C:\\Mail"}};

    search->findOfficePaths();
    EXPECT_EQ(path(at[0]), "C:\\Money\\Budget.xlsx");
    EXPECT_TRUE(world.list.searchDone(at[0]));
    EXPECT_EQ(path(at[1]), kNotFound) << "the program died while asked";
    EXPECT_EQ(path(at[2]), kNotFound);
    const auto asked = [&](int k) {
        return std::count(automation.officeQuestions.begin(), automation.officeQuestions.end(),
                          window(k));
    };
    EXPECT_EQ(asked(1) + asked(2), 1) << "a process that died is not asked again";
    EXPECT_EQ(path(at[3]), kNotFound) << "never saved";
    EXPECT_FALSE(world.list.searchDone(at[3]));
    EXPECT_EQ(path(at[4]), "https://contoso.sharepoint.com/r/report.docx");
    EXPECT_EQ(path(at[5]), kNotFound);
    EXPECT_EQ(path(at[6]), "D:\\Talks\\deck.pptx");
    EXPECT_EQ(path(at[7]), kNotFound) << "not an Office window";
    EXPECT_EQ(asked(7), 0);

    // The running word processor answers only for the Word window its own object left.
    search->findWordPath();
    EXPECT_EQ(path(at[4]), "https://contoso.sharepoint.com/r/report.docx");
    EXPECT_EQ(path(at[5]), "C:\\Mail\\Letter.docx");

    // The program is back: the synced file stands for the cloud address.
    automation.deadOfficeWindows.clear();
    search->findOfficePaths();
    EXPECT_EQ(path(at[1]), "C:\\Plans\\Plan.xlsx");
    EXPECT_EQ(path(at[2]), "C:\\Users\\me\\OneDrive\\Shared.xlsx");
}

TEST_F(PathSearchTest, ExplorerFoldersComeFromTheCaptionTheShellOrTheFolderList) {
    files.addFolder("C:\\WINDOWS\\Fonts");
    const std::string explorer = "C:\\WINDOWS\\EXPLORER.EXE";
    const auto at = start({{"Exploring - C:\\Letters", explorer},
                           {"Data (D:)", explorer},
                           {"Letters", explorer},
                           {"Fonts", explorer}});
    automation.windows = {{"letters", "file:///C:/My%20Letters/Old"},
                          {"Letters", "file:///C:/My%20Letters/Letters"}};
    automation.failWalks = true;
    search->findExplorerPaths();
    EXPECT_EQ(path(at[0]), "C:\\Letters");
    EXPECT_EQ(path(at[1]), "D:\\");
    EXPECT_EQ(path(at[2]), kNotFound) << "a shell that failed midway changes nothing";
    EXPECT_FALSE(world.list.searchDone(at[2]));

    automation.failWalks = false;
    search->findExplorerPaths();
    EXPECT_EQ(path(at[2]), "C:\\My Letters\\Letters") << "the last matching window wins";
    EXPECT_EQ(path(at[3]), "C:\\WINDOWS\\Fonts");

    // A shell whose window collection cannot be created leaves it to the folder list.
    automation.shellWindowsAvailable = false;
    search->findExplorerPaths();
    EXPECT_EQ(path(at[2]), kNotFound);
    EXPECT_TRUE(world.list.searchDone(at[2]));
}

TEST_F(PathSearchTest, TheFinishingSearchRestartsLeftOutMembersAndSearchesThemToTheEnd) {
    for (int k = 1; k <= 24; ++k) {
        files.addFolder("C:\\Tree\\F" + std::to_string(k));
    }
    files.addFile("C:\\Tree\\F1\\a.doc");
    files.addFile("C:\\Tree\\F3\\b.doc");
    const auto at = start({{"a.doc"}, {"b.doc"}, {"c.doc"}});
    world.list.setFilePath(at[1], kNoSave);
    world.list.setSearchDone(at[1], true);
    world.list.setSearchDone(at[2], true);

    bool restart = false;
    search->finishFilePathSearch(restart);
    EXPECT_EQ(path(at[0]), "C:\\Tree\\F1\\a.doc");
    EXPECT_EQ(path(at[1]), kNoSave);
    EXPECT_EQ(path(at[2]), kNotFound);

    restart = true;
    search->finishFilePathSearch(restart);
    EXPECT_EQ(path(at[1]), "C:\\Tree\\F3\\b.doc");
    EXPECT_EQ(path(at[2]), kNotFound);
    EXPECT_TRUE(world.list.searchDone(at[2]));
}

}  // namespace
}  // namespace snapdesk
