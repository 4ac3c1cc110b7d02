// Save Project, New Project and the question before letting a project go, on the simulated
// machine, with dialogs that answer as a script says.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "location/path_search.h"
#include "platform/sim/sim_automation.h"
#include "platform/sim/sim_shell.h"
#include "project_machine.h"
#include "projects/cinifile.h"
#include "projects/save_commands.h"
#include "sim_world.h"
#include "support/project_fakes.h"
#include "tracking/recent_folder.h"

namespace snapdesk {
namespace {

const std::string kProgram = "C:\\Snapdesk";
const std::string kProjects = kProgram + "\\datafiles\\projects\\";

struct ScriptedDialogs : ProjectDialogs {
    std::vector<std::string> shown;
    std::deque<std::string> pathAnswers, browserAnswers;
    bool cancelSearch = false;
    EmptyOverwriteChoice overwriteChoice = EmptyOverwriteChoice::Closed;
    std::function<void()> onSave;

    std::string showNoPathInfo(const std::string& name, const std::string& exe) override {
        shown.push_back("frmNoPathInfo " + name);
        std::string answer = pathAnswers.empty() ? "" : pathAnswers.front();
        if (!pathAnswers.empty()) {
            pathAnswers.pop_front();
        }
        return answer == "<exe>" ? exe : answer;
    }
    bool showContinueSearch(ContinueSearchActions&) override {
        shown.push_back("frmContinueSearch");
        return cancelSearch;
    }
    std::string showNoNetscape6(const std::string& caption, const std::string& label) override {
        shown.push_back("frmNoNetscape6 " + caption + " / " + label);
        if (browserAnswers.empty()) {
            return "<asked again>";
        }
        std::string answer = browserAnswers.front();
        browserAnswers.pop_front();
        return answer;
    }
    void showWinAmp(const std::string& song, const std::string&) override {
        shown.push_back("frmWinAmp " + song);
    }
    void showNoEmptyProject(bool tabHasRecords) override {
        shown.push_back(tabHasRecords ? "frmNoEmptyProject nothing savable"
                                      : "frmNoEmptyProject no records");
    }
    EmptyOverwriteChoice showNoEmptyOverwrite() override {
        shown.push_back("frmNoEmptyOverwrite");
        return overwriteChoice;
    }
    void showSave() override {
        shown.push_back("frmSave");
        if (onSave) {
            onSave();
        }
    }
    std::optional<std::string> showOpenProject() override {
        shown.push_back("frmOpenProject");
        return std::nullopt;
    }
};

struct Host : SaveCommandsHost, PathSearchHost {
    bool timer = true;
    int ie = 6;
    std::string label;
    int redraws = 0;
    bool timer1Enabled() override { return timer; }
    void setTimer1(bool enabled) override { timer = enabled; }
    void updateWindowList() override { ++redraws; }
    void showProjectTab() override {}
    void showProjectName(const std::string& name) override { label = name; }
    int ieVersion() override { return ie; }
    WindowHandle mainWindowHandle() override { return 0; }
};

struct Member {
    std::string caption;
    std::string path = kNotFound;
    std::string exe = "C:\\APPS\\NOTEPAD.EXE";
};

class SaveCommandsTest : public ::testing::Test, protected testing::ProjectMachine<Host> {
  protected:
    SaveCommandsTest() : ProjectMachine(kProgram) {}
    void SetUp() override {
        files.addFolder(kProgram + "\\datafiles\\projects");
        store.loadProjectStore();
        tree.buildDirTree(splash);
    }
    void TearDown() override { setRecentFolder(kRecentFolderUnknown); }

    // The members on the Project tab, and one more window on the Documents tab.
    std::vector<long> furnish(const std::vector<Member>& members) {
        std::vector<WindowHandle> windows;
        std::uint32_t process = 10;
        for (const Member& m : members) {
            windows.push_back(world.topLevel(m.caption + " - App", process++, m.exe));
        }
        world.topLevel("other.txt - App", 99);
        world.list.refreshList();
        std::vector<long> at;
        for (std::size_t k = 0; k < members.size(); ++k) {
            const long i = world.positionOf(windows[k]);
            world.list.setInTab(i, kProjectTab);
            world.list.setCaptionString(i, members[k].caption);
            world.list.setFilePath(i, members[k].path);
            at.push_back(i);
        }
        return at;
    }
    std::string savedPath(const std::string& project, int key) {
        CInifile ini(files);
        ini.setPath(kProjects + project + ".txt");
        ini.setSection("FilePath");
        ini.setKey(std::to_string(key));
        return ini.Value();
    }
    long onProjectTab() const {
        long n = 0;
        for (long i = 1; i <= world.list.count(); ++i) {
            n += world.list.inTab(i) == kProjectTab ? 1 : 0;
        }
        return n;
    }

    ScriptedDialogs dialogs;
    SaveCommands commands{world.list, store, search, tree, dialogs, ui, host};
};

TEST_F(SaveCommandsTest, SaveAsksForWhatTheSearchesMissedThenWritesTheProject) {
    files.addFile("C:\\Docs\\plan.txt");
    const auto at =
        furnish({{"C:\\Docs\\plan.txt", "C:\\Docs\\plan.txt"},
                 {"Untitled", kNotFound, "C:\\APPS\\PAINT.EXE"},
                 {"Draft", kNotFound},
                 {"News - Netscape", kNotFound, "C:\\NS\\NETSCAPE.EXE"},
                 {"Home - Microsoft Internet Explorer", kNotFound, "C:\\IE\\IEXPLORE.EXE"}});
    host.ie = 4;
    dialogs.browserAnswers = {kSaveBrowserExe, ""};
    dialogs.pathAnswers = {"<exe>", ""};
    store.setCurrentProjectName("Work");

    commands.mnuSaveProject_Click();
    EXPECT_EQ(dialogs.shown,
              (std::vector<std::string>{
                  "frmNoNetscape6 News - Netscape / Netscape 4",
                  "frmNoNetscape6 Home - Microsoft Internet Explorer / Internet Explorer 4",
                  "frmContinueSearch", "frmNoPathInfo Untitled", "frmNoPathInfo Draft"}));
    // A named project is written without asking its name again.
    EXPECT_EQ(savedPath("Work", 1), "C:\\Docs\\plan.txt");
    EXPECT_EQ(savedPath("Work", 2), "C:\\APPS\\PAINT.EXE");
    EXPECT_EQ(savedPath("Work", 3), "C:\\NS\\NETSCAPE.EXE");
    EXPECT_EQ(savedPath("Work", 4), "");
    EXPECT_EQ(world.list.filePath(at[2]), kNoSave);
    EXPECT_EQ(world.list.filePath(at[4]), kNoSave);
    EXPECT_TRUE(host.timer);

    // The members left out stay out of later saves without being asked about again.
    dialogs.shown.clear();
    commands.mnuSaveProject_Click();
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{});

    // Save As asks for the name.
    commands.mnuSaveProjectAs_Click();
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"frmSave"});
}

TEST_F(SaveCommandsTest, OfficeWindowsAreSavedWithTheirOwnDocumentsWithoutAsking) {
    const std::string excel = "C:\\OFFICE\\EXCEL.EXE";
    const auto at = furnish({{"Budget.xlsx", kNotFound, excel},
                             {"Plan.xlsx", kNotFound, excel},
                             {"report.docx", kNotFound, "C:\\OFFICE\\WINWORD.EXE"}});
    automation.officeDocuments = {
        {world.list.hWnd(at[0]), "https://d.docs.live.net/9a/Budget.xlsx"},
        {world.list.hWnd(at[1]), "C:\\Plans\\Plan.xlsx"},
        {world.list.hWnd(at[2]), "C:\\Docs\\report.docx"}};
    // The second Excel dies when asked: its member is asked about as any other.
    automation.deadOfficeWindows = {world.list.hWnd(at[1])};
    dialogs.pathAnswers = {"<exe>"};
    store.setCurrentProjectName("Office");

    commands.mnuSaveProject_Click();
    EXPECT_EQ(dialogs.shown,
              (std::vector<std::string>{"frmContinueSearch", "frmNoPathInfo Plan.xlsx"}));
    EXPECT_EQ(savedPath("Office", 1), "https://d.docs.live.net/9a/Budget.xlsx");
    EXPECT_EQ(savedPath("Office", 2), excel);
    EXPECT_EQ(savedPath("Office", 3), "C:\\Docs\\report.docx");
    EXPECT_EQ(automation.wordWalks, 0) << "every Word window answered for itself";
}

TEST_F(SaveCommandsTest, ACancelledSearchWritesNothingAndAsksNothingMore) {
    furnish({{"Draft"}});
    dialogs.cancelSearch = true;
    commands.mnuSaveProject_Click();
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"frmContinueSearch"});
    EXPECT_TRUE(commands.saveCancelled());
    EXPECT_FALSE(files.readFile(kProjects + "[Untitled].txt").has_value());
}

TEST_F(SaveCommandsTest, NothingToSaveShowsTheEmptyDialogsAndDeletingStartsUntitled) {
    commands.mnuSaveProject_Click();
    EXPECT_EQ(dialogs.shown.back(), "frmNoEmptyProject no records");

    furnish({{"a.txt", kNoSave}});
    commands.mnuSaveProject_Click();
    EXPECT_EQ(dialogs.shown.back(), "frmNoEmptyProject nothing savable");

    files.writeFile(kProjects + "Old.txt", "[FileName]\n1=x\n[FilePath]\n1=C:\\x\n");
    store.setCurrentProjectName("Old");
    dialogs.overwriteChoice = EmptyOverwriteChoice::DeleteProject;
    commands.mnuSaveProject_Click();
    EXPECT_EQ(dialogs.shown.back(), "frmNoEmptyOverwrite");
    EXPECT_FALSE(files.readFile(kProjects + "Old.txt").has_value());
    EXPECT_EQ(store.currentProjectName(), "[Untitled]");
    EXPECT_EQ(host.label, "[Untitled]");
    EXPECT_EQ(world.list.inTab(world.list.count()), world.list.originalTab(world.list.count()));
    EXPECT_EQ(onProjectTab(), 0);
}

TEST_F(SaveCommandsTest, ChangesAreAskedAboutAndANewProjectKeepsTheTabWhenCancelled) {
    files.addFile("C:\\Docs\\a.txt");
    files.addFile("C:\\Docs\\b.txt");
    files.writeFile(kProjects + "Work.txt",
                    "[FileName]\n1=a.txt\n[FilePath]\n1=C:\\Docs\\a.txt\n[FileEXE]\n"
                    "1=C:\\APPS\\NOTEPAD.EXE\n");
    store.loadProjectStore();
    store.setCurrentProjectName("Work");
    const auto at = furnish({{"C:\\Docs\\a.txt", "C:\\DOCS\\A.TXT"}});
    EXPECT_TRUE(commands.checkProceed());
    EXPECT_TRUE(ui.questions.empty()) << "the same members in another case are no change";

    // A member more: the user is asked; Cancel keeps everything as it was.
    world.list.setInTab(world.list.count(), kProjectTab);
    world.list.setFilePath(world.list.count(), "C:\\Docs\\b.txt");
    ui.answers = {Answer::Cancel};
    commands.mnuNewProject_Click();
    ASSERT_EQ(ui.questions, std::vector<std::string>{"Do you want to save changes in Work?"});
    EXPECT_EQ(onProjectTab(), 2);
    EXPECT_EQ(store.currentProjectName(), "Work");

    // Yes saves; a save the user then cancels must not let the changes go.
    world.list.setFilePath(at[0], kNotFound);
    ui.answers = {Answer::Yes};
    dialogs.cancelSearch = true;
    EXPECT_FALSE(commands.checkProceed());

    // No lets them go: the tab empties and the left-out members may be found again.
    world.list.setFilePath(at[0], kNoSave);
    ui.answers = {Answer::No};
    commands.mnuNewProject_Click();
    EXPECT_EQ(onProjectTab(), 0);
    EXPECT_EQ(store.currentProjectName(), "[Untitled]");
    for (long i = 1; i <= world.list.count(); ++i) {
        if (world.list.CaptionString(i) == "C:\\Docs\\a.txt") {
            EXPECT_EQ(world.list.filePath(i), kNotFound);
        }
    }
}

TEST_F(SaveCommandsTest, APlayerWhoseSongIsSavedAlreadyIsNotAskedAbout) {
    const std::string player = "C:\\WINAMP\\WINAMP.EXE";
    files.writeFile(
        kProjects + "Music.txt",
        "[FileName]\n1=song\n[FilePath]\n1=C:\\Music\\Song.mp3\n[FileEXE]\n1=" + player + "\n");
    store.setCurrentProjectName("Music");
    furnish({{"Song", "c:\\music\\song.mp3", player}});
    commands.mnuSaveProject_Click();
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{});

    store.setCurrentProjectName("[Untitled]");
    dialogs.onSave = [] {};
    commands.mnuSaveProject_Click();
    EXPECT_EQ(dialogs.shown,
              (std::vector<std::string>{"frmWinAmp c:\\music\\song.mp3", "frmSave"}));
}

}  // namespace
}  // namespace snapdesk
