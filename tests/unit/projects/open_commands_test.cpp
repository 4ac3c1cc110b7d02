// Open Project on the simulated machine: the launch rules, then whole opens where each launch
// makes its window appear a while later, as programs do.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/text.h"
#include "location/path_search.h"
#include "platform/sim/sim_automation.h"
#include "platform/sim/sim_shell.h"
#include "project_machine.h"
#include "projects/cinifile.h"
#include "projects/open_commands.h"
#include "sim_world.h"
#include "support/project_fakes.h"
#include "tracking/recent_folder.h"

namespace snapdesk {
namespace {

const std::string kProgram = "C:\\Snapdesk";
const std::string kNotepad = "C:\\WINDOWS\\NOTEPAD.EXE";
const std::string kExcel = "C:\\OFFICE\\EXCEL.EXE";
const std::string kNetscape6 = "C:\\NS6\\NETSCP6.EXE";

std::string describe(const LaunchPlan& plan) {
    switch (plan.how) {
        case LaunchHow::ShellOpen:
            return "ShellExecute " + plan.verb + " [" + plan.file + "] [" + plan.parameters +
                   "] [" + plan.workingFolder + "] cd [" + plan.currentFolder + "]";
        case LaunchHow::StartProgram:
            return "Start [" + plan.file + "] [" + plan.parameters + "]";
        case LaunchHow::BrowserObject:
            return "Browser [" + plan.address + "]";
        case LaunchHow::Refused:
            return "Refused: " + plan.refusal;
    }
    return {};
}

TEST(LaunchRules, EachKindOfMemberIsStartedWithItsOwnProgramAndNothingElse) {
    const LaunchContext ie6{6, "6.2"};
    const auto plan = [&](const std::string& name, const std::string& location,
                          const std::string& exe, const std::string& associated = "",
                          const LaunchContext& context = {6, "6.2"}) {
        return describe(
            launch_rules::planLaunch({name, location, exe, "", {}}, context, associated));
    };
    EXPECT_EQ(plan("Exploring - Docs", "C:\\Docs", "C:\\WINDOWS\\EXPLORER.EXE"),
              "ShellExecute explore [C:\\Docs] [] [] cd []");
    EXPECT_EQ(plan("Home", "C:\\NS\\NETSCAPE.EXE", "C:\\NS\\NETSCAPE.EXE"),
              "Start [C:\\NS\\NETSCAPE.EXE] []");
    EXPECT_EQ(plan("Home", "http://a.org/", "C:\\NS\\NETSCAPE.EXE"),
              "Start [C:\\NS\\NETSCAPE.EXE] [\"http://a.org/\"]");
    // Netscape 6 after 6.0 takes the address without its scheme.
    EXPECT_EQ(plan("Home", "http://a.org/", kNetscape6), "Start [" + kNetscape6 + "] [\"a.org/\"]");
    EXPECT_EQ(plan("Home", "http://a.org/", kNetscape6, "", {6, "6.0"}),
              "Start [" + kNetscape6 + "] [\"http://a.org/\"]");
    EXPECT_EQ(plan("Home", "http://a.org/", "C:\\IE\\IEXPLORE.EXE", "", ie6),
              "Browser [http://a.org/]");
    EXPECT_EQ(plan("Home", "C:\\IE\\IEXPLORE.EXE", "C:\\IE\\IEXPLORE.EXE"), "Browser []");
    EXPECT_EQ(plan("Home", "http://a.org/", "C:\\IE\\IEXPLORE.EXE", "", {4, ""}),
              "Start [C:\\IE\\IEXPLORE.EXE] [\"http://a.org/\"]");
    EXPECT_EQ(plan("WinAmp", "C:\\WINAMP\\WINAMP.EXE", "C:\\WINAMP\\WINAMP.EXE"),
              "Start [C:\\WINAMP\\WINAMP.EXE] [\"\"]");
    EXPECT_EQ(plan("Docs", "C:\\Docs", "C:\\WINDOWS\\EXPLORER.EXE"),
              "Start [C:\\WINDOWS\\EXPLORER.EXE] [/n , C:\\Docs]");
    EXPECT_EQ(plan("Docs", "C:\\My Docs", "C:\\WINDOWS\\EXPLORER.EXE", "", {6, "", true}),
              "Start [C:\\WINDOWS\\EXPLORER.EXE] [/n \"C:\\My Docs\"]");
    // A document opens with its saved program when the shell would choose another one.
    EXPECT_EQ(plan("a.txt", "C:\\Docs\\a.txt", "C:\\ED\\EDIT.EXE", kNotepad),
              "ShellExecute open [C:\\ED\\EDIT.EXE] [\"C:\\Docs\\a.txt\"] [C:\\ED] cd [C:\\ED]");
    EXPECT_EQ(plan("a.txt", "C:\\Docs\\a.txt", kNotepad, kNotepad),
              "ShellExecute open [C:\\Docs\\a.txt] [] [] cd [C:\\WINDOWS]");
    EXPECT_EQ(plan("Paint", "c:\\apps\\paint.exe", "C:\\APPS\\PAINT.EXE", "C:\\APPS\\PAINT.EXE"),
              "ShellExecute open [C:\\APPS\\PAINT.EXE] [] [C:\\APPS] cd [C:\\APPS]");
    EXPECT_EQ(plan("a.txt", "C:\\Docs\\a.txt", ""),
              "ShellExecute open [C:\\Docs\\a.txt] [] [] cd []");

    // A cloud document goes to its Office program as its one argument, whatever program the
    // shell has for web addresses.
    const std::string cloud = "https://d.docs.live.net/1a/My%20Book.xlsx";
    for (const std::string& associated : {std::string(), kExcel, std::string("C:\\WEB\\B.EXE")}) {
        EXPECT_EQ(
            plan("My Book.xlsx", cloud, kExcel, associated),
            "ShellExecute open [" + kExcel + "] [\"" + cloud + "\"] [C:\\OFFICE] cd [C:\\OFFICE]");
    }
    EXPECT_FALSE(launch_rules::needsAssociation({"My Book.xlsx", cloud, kExcel, ""}));
    EXPECT_EQ(plan("a.xlsx", "https://x.example/a.xlsx\" /e", kExcel),
              "Refused: The location holds a double quote");

    // What a project file holds never adds arguments nor starts another program.
    EXPECT_EQ(plan("a", "C:\\a.txt\" /evil", "C:\\ED\\EDIT.EXE"),
              "Refused: The location holds a double quote");
    EXPECT_EQ(plan("a", "x\" -remote \"y", "C:\\NS\\NETSCAPE.EXE"),
              "Refused: The location holds a double quote");
    EXPECT_EQ(plan("a", "C:\\a.txt", "C:\\TOOLS\\RUN.BAT"),
              "Refused: Invalid EXE file or error in EXE image");
    EXPECT_EQ(plan("a", "C:\\X\\NETSCAPE.EXE.BAT", "C:\\NS\\NETSCAPE.EXE"),
              "Refused: Invalid EXE file or error in EXE image");
    EXPECT_EQ(plan("a", "C:\\Tools\\wipe.cmd", ""),
              "Refused: The document is a program, and the Project names no program to open it "
              "with");

    EXPECT_EQ(launch_rules::launchErrorText(2), "File not found");
    EXPECT_EQ(launch_rules::launchErrorText(11), "Invalid EXE file or error in EXE image");
    EXPECT_EQ(launch_rules::launchErrorText(31), "No association for file extension");
    EXPECT_EQ(launch_rules::launchErrorText(32), "DLL not found");
    EXPECT_EQ(launch_rules::launchErrorText(0), "Unknown error");
    EXPECT_EQ(launch_rules::launchErrorText(4), "Unknown error");
}

TEST(LaunchRules, TodaysBrowsersOpenEachPageInAWindowOfItsOwn) {
    const std::string chrome = "C:\\CHROME\\APPLICATION\\CHROME.EXE";
    const std::string edge = "C:\\EDGE\\APPLICATION\\MSEDGE.EXE";
    const std::string firefox = "C:\\MOZILLA FIREFOX\\FIREFOX.EXE";
    const auto plan = [](const std::string& location, const std::string& exe,
                         const std::string& profile = "", const std::string& name = "Page") {
        const ProjectMember member{name, location, exe, "", profile};
        EXPECT_FALSE(launch_rules::needsAssociation(member));
        return describe(launch_rules::planLaunch(member, {6, "6.2"}, ""));
    };
    EXPECT_EQ(plan("https://a.org/x?y=1&z", chrome, "Profile 1"),
              "Start [" + chrome +
                  "] [--profile-directory=\"Profile 1\" --new-window "
                  "\"https://a.org/x?y=1&z\"]");
    EXPECT_EQ(plan("HTTP://A.ORG/", edge), "Start [" + edge + "] [--new-window \"HTTP://A.ORG/\"]");
    // Firefox opens its default profile; a page called "Exploring" is no folder.
    EXPECT_EQ(plan("https://a.org/", firefox, "Profile 1", "Exploring the Alps"),
              "Start [" + firefox + "] [-new-window \"https://a.org/\"]");
    EXPECT_EQ(
        plan("C:\\My Docs\\page #1 \xC3\xBC.html", chrome),
        "Start [" + chrome + "] [--new-window \"file:///C:/My%20Docs/page%20%231%20%C3%BC.html\"]");
    EXPECT_EQ(plan("\\\\server\\share\\a%b.html", firefox),
              "Start [" + firefox + "] [-new-window \"file://server/share/a%25b.html\"]");
    EXPECT_EQ(plan("file:///C:/a.html", firefox),
              "Start [" + firefox + "] [-new-window \"file:///C:/a.html\"]");
    // Backslashes before the closing quote would escape it: they are doubled.
    EXPECT_EQ(plan("http://a.org/dir\\", edge),
              "Start [" + edge + "] [--new-window \"http://a.org/dir\\\\\"]");
    // The browser saved as a program opens with its profile alone.
    EXPECT_EQ(plan(chrome, chrome, "Default"),
              "Start [" + chrome + "] [--profile-directory=\"Default\"]");
    EXPECT_EQ(plan("c:\\mozilla firefox\\firefox.exe", firefox), "Start [" + firefox + "] []");

    const std::string notWeb = "Refused: The location is not an http, https or file address";
    EXPECT_EQ(plan("javascript:alert(1)", chrome), notWeb);
    EXPECT_EQ(plan("data:text/html,<b>x</b>", firefox), notWeb);
    EXPECT_EQ(plan("-foo", chrome), notWeb);
    EXPECT_EQ(plan("--user-data-dir=C:\\x", edge), notWeb);
    EXPECT_EQ(plan("www.example.com", chrome), notWeb);
    EXPECT_EQ(plan("https://a.org/\" --evil \"", chrome),
              "Refused: The location holds a double quote");
    EXPECT_EQ(plan("https://a.org/\n--evil", firefox),
              "Refused: The location holds a control character");
    for (const char* profile : {"P\" --evil \"", "..\\Other", "Tab\there"}) {
        EXPECT_EQ(plan("https://a.org/", chrome, profile),
                  "Refused: The browser profile is not a plain folder name");
    }
    int netscape6Counter = 0;
    EXPECT_EQ(launch_rules::waitAfterLaunch({"Page", "https://a.org/", chrome, "", ""},
                                            netscape6Counter, 0),
              launch_rules::kOrdinaryWaitMs);
}

struct Host : OpenCommandsHost, PathSearchHost {
    bool timer1 = true;
    bool timer4 = false;
    unsigned timer4Ms = 0;
    std::vector<unsigned> waits;
    // How long each wait lasted: its bound, or until the member's window came.
    std::vector<unsigned> waited;
    std::vector<long> imageUpdates;
    int broughtBack = 0;
    std::string label;
    std::function<void(unsigned)> onWait;
    bool restorePositions = true;

    bool timer1Enabled() override { return timer1; }
    void setTimer1(bool enabled) override { timer1 = enabled; }
    void updateWindowList() override {}
    void showProjectTab() override {}
    void showProjectName(const std::string& name) override { label = name; }
    int ieVersion() override { return 6; }
    WindowHandle mainWindowHandle() override { return 0; }
    std::string netscape6Version() override { return "6.2"; }
    // Time passes in steps as the main window's looks do; each step asks whether it came.
    void waitForLaunch(unsigned ms, const std::function<bool()>& arrived) override {
        waits.push_back(ms);
        unsigned spent = 0;
        while (spent < ms) {
            const unsigned step = std::min(kLookMs, ms - spent);
            spent += step;
            if (onWait) {
                onWait(step);
            }
            if (arrived()) {
                break;
            }
        }
        waited.push_back(spent);
    }
    static constexpr unsigned kLookMs = 100;
    void updateImage(long k) override { imageUpdates.push_back(k); }
    void bringMainWindowBack() override { ++broughtBack; }
    void setTimer4(bool enabled, unsigned ms) override {
        timer4 = enabled;
        timer4Ms = ms;
    }
    bool restoreWindowPositions() override { return restorePositions; }
};

struct OpenDialogAnswer : ProjectDialogs {
    std::optional<std::string> answer;
    std::string showNoPathInfo(const std::string&, const std::string&) override { return {}; }
    bool showContinueSearch(ContinueSearchActions&) override { return true; }
    std::string showNoNetscape6(const std::string&, const std::string&) override { return {}; }
    void showWinAmp(const std::string&, const std::string&) override {}
    void showNoEmptyProject(bool) override {}
    EmptyOverwriteChoice showNoEmptyOverwrite() override { return EmptyOverwriteChoice::Closed; }
    void showSave() override {}
    std::optional<std::string> showOpenProject() override { return answer; }
};

// A window that a launch brings up once the clock has passed its start-up time.
struct Pending {
    unsigned dueMs;
    std::string text;
    std::string exe;
};

class OpenCommandsTest : public ::testing::Test, protected testing::ProjectMachine<Host> {
  protected:
    OpenCommandsTest() : ProjectMachine(kProgram) {}
    void SetUp() override {
        files.addFolder(kProgram + "\\datafiles\\projects");
        store.loadProjectStore();
        tree.buildDirTree(splash);
        host.onWait = [this](unsigned ms) {
            clockMs += ms;
            appearDue();
        };
    }
    void TearDown() override { setRecentFolder(kRecentFolderUnknown); }

    void writeProject(const std::string& name, const std::vector<ProjectMember>& members) {
        std::string text;
        for (const char* section : {"FileName", "FilePath", "FileEXE", "FileComment"}) {
            text += std::string("[") + section + "]\r\n";
            for (std::size_t j = 0; j < members.size(); ++j) {
                const ProjectMember& m = members[j];
                const std::string& value = section[4] == 'N'   ? m.name
                                           : section[4] == 'P' ? m.location
                                           : section[4] == 'E' ? m.exe
                                                               : m.comment;
                text += std::to_string(j + 1) + "=" + value + "\r\n";
            }
        }
        files.writeFile(kProgram + "\\datafiles\\projects\\" + name + ".txt", text);
        store.loadProjectStore();
    }
    // Each launch shows `text` of `exe` after `delayMs`.
    void launchesShow(std::vector<Pending> windows) {
        shell.onLaunch = [this, windows](const std::string&) mutable {
            if (windows.empty()) {
                return kLaunchOk;
            }
            Pending next = windows.front();
            windows.erase(windows.begin());
            next.dueMs += clockMs;
            pending.push_back(next);
            return kLaunchOk;
        };
    }
    void appearDue() {
        for (auto it = pending.begin(); it != pending.end();) {
            if (it->dueMs <= clockMs) {
                world.topLevel(it->text, nextProcess++, it->exe);
                it = pending.erase(it);
            } else {
                ++it;
            }
        }
    }
    long recordOf(const std::string& caption) {
        for (long i = 1; i <= world.list.count(); ++i) {
            if (world.list.CaptionString(i) == caption) {
                return i;
            }
        }
        return 0;
    }
    std::vector<std::string> projectTab() {
        std::vector<std::string> shown;
        for (long i = 1; i <= world.list.count(); ++i) {
            if (world.list.inTab(i) == kProjectTab) {
                shown.push_back(world.list.CaptionString(i) + " | " + world.list.filePath(i) +
                                " | " + world.list.CommentString(i));
            }
        }
        return shown;
    }
    void open(const std::string& name) {
        dialogs.answer = name;
        commands.mnuOpen_Click();
    }

    OpenDialogAnswer dialogs;
    SaveCommands saves{world.list, store, search, tree, dialogs, ui, host};
    OpenCommands commands{{world.list, store, search, dialogs, saves},
                          world.machine.platform,
                          shell,
                          automation,
                          host};
    unsigned clockMs = 0;
    std::uint32_t nextProcess = 100;
    std::vector<Pending> pending;
};

TEST_F(OpenCommandsTest, OpenStartsEachMemberOnceWaitsForItAndPutsItsWindowOnTheProjectTab) {
    files.writeFile("C:\\Docs\\a.txt", "a");
    files.writeFile("C:\\Docs\\b.txt", "b");
    files.writeFile("C:\\Docs\\sums.xls", "s");
    files.writeFile("C:\\Mail\\in.box", "m");
    // a.txt is open already; another notepad window is open too.
    world.topLevel("a.txt - Notepad", 1, kNotepad);
    world.topLevel("notes.txt - Notepad", 2, kNotepad);
    world.list.refreshList();
    writeProject("Work", {{"b.txt", "C:\\Docs\\b.txt", kNotepad, "second", {}},
                          {"a.txt", "C:\\Docs\\a.txt", kNotepad, "first", {}},
                          {"news - Netscape 6", "http://b.org/", kNetscape6, "web b", {}},
                          {"sums.xls", "C:\\Docs\\sums.xls", kExcel, "money", {}},
                          {"mail", "C:\\Mail\\in.box", "C:\\MAIL\\MAILER.EXE", "lost", {}},
                          {"Home", "http://c.org/", "C:\\IE\\IEXPLORE.EXE", "web c", {}},
                          {"portal - Netscape 6", "http://a.org/", kNetscape6, "web a", {}}});
    shell.associations["C:\\DOCS\\B.TXT"] = kNotepad;
    // The mailer never starts; the spreadsheet shows a caption the project does not know.
    shell.onLaunch = nullptr;
    launchesShow({{500, "b.txt - Notepad", kNotepad},
                  {3000, "Microsoft Excel - Book1", kExcel},
                  {9000, "news - Netscape 6", kNetscape6},
                  {1000, "portal - Netscape 6", kNetscape6}});
    automation.failWalks = true;
    const auto launches = shell.onLaunch;
    shell.onLaunch = [&](const std::string& launch) {
        if (launch.find("MAILER") != std::string::npos) {
            return 2L;
        }
        return launches(launch);
    };

    open("Work");

    // Ordinary members first in their order, the Netscape 6 pages after; a.txt is not started.
    ASSERT_EQ(shell.launches.size(), 5u);
    EXPECT_EQ(shell.launches[0],
              "ShellExecute open \"C:\\Docs\\b.txt\" \"\" \"\" in \"C:\\WINDOWS\"");
    EXPECT_NE(shell.launches[1].find("EXCEL.EXE"), std::string::npos);
    EXPECT_NE(shell.launches[2].find("MAILER.EXE"), std::string::npos);
    EXPECT_EQ(shell.launches[3], "Start \"" + kNetscape6 + "\" \"b.org/\"");
    EXPECT_EQ(shell.launches[4], "Start \"" + kNetscape6 + "\" \"a.org/\"");
    // Excel waits 6 s, the first of two Netscape 6 pages 10 s; a failed start does not wait.
    EXPECT_EQ(host.waits, (std::vector<unsigned>{2000, 6000, 10000, 2000}));
    // The mailer fails, and so does the browser's automation object: each is told, the open
    // goes on.
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text,
              "An Error has occured opening a member of the Project.\r\nProgram File: "
              "C:\\MAIL\\MAILER.EXE\r\nDocument: C:\\Mail\\in.box\r\nReason: File not found");
    EXPECT_NE(ui.messages[1].text.find("Reason: The RPC server is unavailable."),
              std::string::npos);

    // The open a.txt moved over; the spreadsheet placed as the one new Excel window.
    const long excel = recordOf("Microsoft Excel - Book1");
    ASSERT_NE(excel, 0);
    EXPECT_EQ(world.list.inTab(excel), kProjectTab);
    EXPECT_EQ(world.list.filePath(excel), "C:\\Docs\\sums.xls");
    EXPECT_EQ(world.list.CommentString(recordOf("a.txt")), "first");
    EXPECT_EQ(world.list.CommentString(recordOf("b.txt")), "second");
    EXPECT_NE(world.list.inTab(recordOf("notes.txt")), kProjectTab);
    EXPECT_EQ(projectTab().size(), 5u);
    EXPECT_EQ(host.label, "Work");
    EXPECT_EQ(host.broughtBack, 1);
    EXPECT_EQ(host.imageUpdates.size(), 5u);  // none has a picture yet
    EXPECT_TRUE(host.timer1);
    EXPECT_TRUE(host.timer4);
    EXPECT_EQ(host.timer4Ms, OpenCommands::kFirstRetryMs);
    EXPECT_FALSE(ui.busyCursor);

    // A second open starts only what is not open by its name: the spreadsheet, whose window
    // shows another, and the mailer.
    // The mailer is missing, so the project changed: the user is asked first.
    shell.launches.clear();
    ui.messages.clear();
    ui.answers = {Answer::Cancel};
    open("Work");
    EXPECT_TRUE(shell.launches.empty());
    EXPECT_TRUE(host.timer1);
    ui.answers = {Answer::No};
    open("Work");
    EXPECT_EQ(ui.questions.size(), 2u);
    ASSERT_EQ(shell.launches.size(), 2u);
    EXPECT_NE(shell.launches[0].find("EXCEL.EXE"), std::string::npos);
    EXPECT_NE(shell.launches[1].find("MAILER.EXE"), std::string::npos);
    // No new spreadsheet window came, and the old one was open before: it is not taken.
    EXPECT_EQ(projectTab().size(), 4u);
    EXPECT_NE(world.list.inTab(recordOf("Microsoft Excel - Book1")), kProjectTab);
}

TEST_F(OpenCommandsTest, FollowUpPassesCatchSlowProgramsAndRefreshProjectTakesMembersBack) {
    files.writeFile("C:\\Docs\\slow.txt", "s");
    writeProject("Slow", {{"slow.txt", "C:\\Docs\\slow.txt", kNotepad, "late", {}}});
    shell.associations["C:\\DOCS\\SLOW.TXT"] = kNotepad;
    launchesShow({{5000, "slow.txt - Notepad", kNotepad}});
    open("Slow");
    EXPECT_TRUE(projectTab().empty());

    // Timer4: the first follow-up 3 s after, the second 4 s later, then no more.
    ASSERT_TRUE(commands.takeOpenRetry());
    EXPECT_FALSE(commands.takeOpenRetry());
    commands.retryProjectMatch();
    EXPECT_TRUE(projectTab().empty());
    EXPECT_EQ(host.timer4Ms, OpenCommands::kSecondRetryMs);
    ASSERT_TRUE(commands.takeOpenRetry());
    host.onWait(3000);
    world.list.refreshList();
    commands.retryProjectMatch();
    EXPECT_EQ(projectTab(), std::vector<std::string>{"slow.txt | C:\\Docs\\slow.txt | late"});
    EXPECT_FALSE(host.timer4);
    EXPECT_FALSE(commands.takeOpenRetry());

    // Moved off the tab, Refresh Project takes it back by program and location.
    const long slow = recordOf("slow.txt");
    world.list.setInTab(slow, 0);
    commands.refreshProject();
    EXPECT_EQ(world.list.inTab(slow), kProjectTab);
    EXPECT_TRUE(host.timer1);
}

TEST_F(OpenCommandsTest, EachWaitEndsWhenTheMembersWindowComesOrAtItsBound) {
    for (const char* name : {"a", "mute", "b", "c"}) {
        const std::string path = std::string("C:\\Docs\\") + name + ".txt";
        files.writeFile(path, "x");
        shell.associations[text::upperCase(path)] = kNotepad;
    }
    // Open before: a window whose name the loose matching would take for b.txt.
    world.topLevel("b - Notepad", 1, kNotepad);
    world.list.refreshList();
    writeProject("Quick", {{"a.txt", "C:\\Docs\\a.txt", kNotepad, "ca", {}},
                           {"mute.txt", "C:\\Docs\\mute.txt", kNotepad, "cm", {}},
                           {"b.txt", "C:\\Docs\\b.txt", kNotepad, "cb", {}},
                           {"c.txt", "C:\\Docs\\c.txt", kNotepad, "cc", {}}});
    // mute.txt starts and never shows a window; another document shows up during a.txt's wait.
    launchesShow({{700, "a.txt - Notepad", kNotepad},
                  {60000, "never", kNotepad},
                  {300, "b.txt - Notepad", kNotepad},
                  {1200, "c.txt - Notepad", kNotepad}});
    pending.push_back({100, "other.txt - Notepad", kNotepad});
    std::vector<unsigned> launchedAt;
    const auto launches = shell.onLaunch;
    shell.onLaunch = [&](const std::string& launch) {
        launchedAt.push_back(clockMs);
        return launches(launch);
    };

    open("Quick");

    // Each member waits until its own window is there; the silent one its whole bound.
    EXPECT_EQ(host.waits, (std::vector<unsigned>{2000, 2000, 2000, 2000}));
    EXPECT_EQ(host.waited, (std::vector<unsigned>{700, 2000, 300, 1200}));
    EXPECT_EQ(launchedAt, (std::vector<unsigned>{0, 700, 2700, 3000}));
    EXPECT_EQ(projectTab(),
              (std::vector<std::string>{
                  "other.txt | C:\\Docs\\mute.txt | cm", "a.txt | C:\\Docs\\a.txt | ca",
                  "b.txt | C:\\Docs\\b.txt | cb", "c.txt | C:\\Docs\\c.txt | cc"}))
        << "the window no member named is the silent member's, as the last resort takes it";
    EXPECT_NE(world.list.inTab(recordOf("b")), kProjectTab);
}

// Packaged programs are known by their application id; an update moves their executable.
TEST_F(OpenCommandsTest, PackagedProgramsAreSavedStartedAndMatchedByTheirApplicationIds) {
    const std::string notepadId = "Microsoft.WindowsNotepad_8wekyb3d8bbwe!App";
    const std::string calculatorId = "Microsoft.WindowsCalculator_8wekyb3d8bbwe!App";
    const auto apps = [](const std::string& package) {
        return "C:\\Program Files\\WindowsApps\\" + package + "_x64__8wekyb3d8bbwe\\App.exe";
    };
    const auto notepad = [&](std::uint32_t process, const std::string& version) {
        world.desktop.setProcessAppId(process, notepadId);
        return world.topLevel("report.txt - Notepad", process, apps("Notepad_" + version));
    };
    // Calculator's frame belongs to the shell's host until the program's window is put in it.
    const auto calculatorFrame = [&](std::uint32_t process) {
        return world.topLevel("Calculator", process, "C:\\Windows\\ApplicationFrameHost.exe");
    };
    const auto hostCalculator = [&](WindowHandle frame, std::uint32_t process,
                                    const std::string& version) {
        world.desktop.setProcessPath(process, apps("Calculator_" + version));
        world.desktop.setProcessAppId(process, calculatorId);
        files.addFile(apps("Calculator_" + version));
        world.desktop.addWindow({.text = "Calculator",
                                 .className = "Windows.UI.Core.CoreWindow",
                                 .parent = frame,
                                 .process = process});
    };
    files.writeFile("C:\\Docs\\report.txt", "r");
    // Wine's own notepad shows a file of that name all along: another program.
    const WindowHandle wine = world.topLevel("report.txt - Notepad", 1, kNotepad);
    const WindowHandle pad = notepad(2, "1.0");
    const WindowHandle calc = calculatorFrame(3);
    world.list.refreshList();
    EXPECT_EQ(world.list.EXEPath(world.positionOf(calc)), "");
    hostCalculator(calc, 4, "1.0");
    world.list.refreshList();
    const long n = world.positionOf(pad), c = world.positionOf(calc);
    EXPECT_EQ(world.list.EXEPath(c), text::upperCase(apps("Calculator_1.0")));
    EXPECT_EQ(world.list.appId(c), calculatorId);
    EXPECT_EQ(world.list.appId(world.positionOf(wine)), "");

    // Its document found, the notepad is saved with it; Calculator as the program itself.
    world.list.setInTab(n, kProjectTab);
    world.list.setFilePath(n, "C:\\Docs\\report.txt");
    world.list.setInTab(c, kProjectTab);
    world.list.setFilePath(c, world.list.EXEPath(c));
    world.list.setCommentString(c, "sums");
    std::string name = "Apps";
    ASSERT_TRUE(store.saveProject(name, false));
    const auto saved = [&](const char* section, const char* key) {
        CInifile ini(files);
        ini.setPath(kProgram + "\\datafiles\\projects\\Apps.txt");
        ini.setSection(section);
        ini.setKey(key);
        return ini.Value();
    };
    EXPECT_EQ(saved("FileEXE", "1"), "shell:AppsFolder\\" + notepadId);
    EXPECT_EQ(saved("FilePath", "2"), "shell:AppsFolder\\" + calculatorId);
    EXPECT_EQ(saved("FileEXE", "2"), "shell:AppsFolder\\" + calculatorId);
    EXPECT_TRUE(saves.checkProceed());  // the tab reads as the file it was saved to

    // Closed, updated and opened: the document by its association, Calculator by its id.
    world.desktop.destroyWindow(pad);
    world.desktop.destroyWindow(calc);
    world.list.refreshList();
    WindowHandle newPad = 0, newCalc = 0;
    shell.onLaunch = [&](const std::string& launch) {
        if (launch.find("report") != std::string::npos) {
            newPad = notepad(12, "2.0");
        } else {
            newCalc = calculatorFrame(13);
        }
        return kLaunchOk;
    };
    ui.answers = {Answer::No};
    open("Apps");
    EXPECT_EQ(shell.launches, (std::vector<std::string>{
                                  "ShellExecute open \"C:\\Docs\\report.txt\" \"\" \"\" in \"\"",
                                  "ShellExecute open \"shell:AppsFolder\\" + calculatorId +
                                      "\" \"\" \"\" in \"\""}));
    EXPECT_EQ(projectTab(), std::vector<std::string>{"report.txt | C:\\Docs\\report.txt | "});
    // The follow-up pass takes Calculator once its window is in the frame.
    hostCalculator(newCalc, 14, "2.0");
    world.list.refreshList();
    commands.retryProjectMatch();
    EXPECT_EQ(projectTab().back(), "Calculator | shell:AppsFolder\\" + calculatorId + " | sums");
    world.list.setInTab(world.positionOf(newPad), 0);
    commands.refreshProject();
    EXPECT_EQ(world.list.inTab(world.positionOf(newPad)), kProjectTab);
    EXPECT_NE(world.list.inTab(world.positionOf(wine)), kProjectTab);

    // Both open already: nothing starts, nothing is asked.
    shell.launches.clear();
    const std::size_t asked = ui.questions.size();
    open("Apps");
    EXPECT_EQ(ui.questions.size(), asked);
    EXPECT_TRUE(shell.launches.empty());
    EXPECT_EQ(projectTab().size(), 2u);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(LaunchRules, APackagedProgramIsStartedOnlyByAWellFormedApplicationId) {
    const auto plan = [](const std::string& location) {
        const ProjectMember member{"a", location, "SHELL:APPSFOLDER\\A_B!APP", "", {}};
        EXPECT_FALSE(launch_rules::needsAssociation(member));
        return describe(launch_rules::planLaunch(member, {}, ""));
    };
    EXPECT_EQ(plan("C:\\Docs\\a.txt"), "ShellExecute open [C:\\Docs\\a.txt] [] [] cd []");
    EXPECT_EQ(plan("shell:AppsFolder\\A_b!App"),
              "ShellExecute open [shell:AppsFolder\\A_b!App] [] [] cd []");
    EXPECT_EQ(plan("C:\\Tools\\wipe.cmd"),
              "Refused: The document is a program, and the Project names no program to open it "
              "with");
    const std::string refused = "Refused: The program's application id ";
    EXPECT_EQ(plan("shell:AppsFolder\\A_b!App\" /x"), refused + "holds a double quote");
    EXPECT_EQ(plan("shell:AppsFolder\\A_b!App\n"), refused + "holds a control character");
    EXPECT_EQ(plan("shell:AppsFolder\\..\\..\\cmd.exe"),
              refused + "holds characters that application ids do not use");
    EXPECT_EQ(plan("shell:AppsFolder\\A!B!C"),
              refused + "is not a package's name and an application");
}

TEST_F(OpenCommandsTest, HandEditedProjectOpensWhatItCanAndSaysWhatItCouldNot) {
    files.writeFile("C:\\Docs\\a.txt", "a");
    world.topLevel("a.txt - Notepad", 1, kNotepad);
    world.list.refreshList();
    std::vector<ProjectMember> members{
        {"", "C:\\Docs\\x.txt", kNotepad, "", {}},
        {"long", std::string(5000, 'x'), kNotepad, std::string(5000, 'c'), {}},
        {"bad", "C:\\a.txt\" /p", "C:\\ED\\EDIT.EXE", "", {}}};
    for (int j = 0; j < 10000; ++j) {
        members.push_back({"a.txt", "C:\\Docs\\a.txt", kNotepad, "copy", {}});
    }
    writeProject("Edited", members);

    open("Edited");

    // Nothing was started: the quoted location is refused, every copy of a.txt is open.
    EXPECT_TRUE(shell.launches.empty());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_NE(ui.messages[0].text.find("Reason: The location holds a double quote"),
              std::string::npos);
    // 3 members with problems, then 199 copies of a.txt make 200; the rest are listed.
    const std::string& told = ui.messages[1].text;
    EXPECT_EQ(told.rfind("These members of the Project were not opened:\r\n\r\n"
                         "Member 1: it has no name\r\nlong: a value is too long\r\n"
                         "a.txt: more than 200 members are not opened at once",
                         0),
              0u);
    const std::size_t tooMany = members.size() - 2 - launch_rules::kMostMembersOpened;
    EXPECT_NE(told.find("\r\n... and " + std::to_string(2 + tooMany - 10) + " more"),
              std::string::npos);
    EXPECT_TRUE(host.timer1);

    // Keys out of order and no programs or comments: each document opens with the program the
    // shell gives it and comes onto the tab.
    files.writeFile("C:\\Docs\\b.txt", "b");
    files.writeFile(kProgram + "\\datafiles\\projects\\Raw.txt",
                    "[FilePath]\r\n2=C:\\Docs\\b.txt\r\n1=C:\\Docs\\a.txt\r\n"
                    "[FileName]\r\n2=b.txt\r\n1=a.txt\r\n");
    store.loadProjectStore();
    shell.associations["C:\\DOCS\\A.TXT"] = kNotepad;
    shell.associations["C:\\DOCS\\B.TXT"] = kNotepad;
    launchesShow({{100, "b.txt - Notepad", kNotepad}});
    ui.answers = {Answer::No};
    open("Raw");
    EXPECT_EQ(shell.launches,
              std::vector<std::string>{"ShellExecute open \"C:\\Docs\\b.txt\" \"\" \"\" in "
                                       "\"C:\\WINDOWS\""});
    EXPECT_EQ(projectTab(), (std::vector<std::string>{"a.txt | C:\\Docs\\a.txt | ",
                                                      "b.txt | C:\\Docs\\b.txt | "}));
}

}  // namespace
}  // namespace snapdesk

namespace snapdesk {
namespace {

// The calls of the desktop log that put windows somewhere.
std::vector<std::string> placingCalls(const sim::SimDesktop& desktop) {
    std::vector<std::string> placing;
    for (const std::string& call : desktop.calls()) {
        for (const char* kind : {"SetWindowPlacement", "MoveWindow", "WM_MDIRESTORE",
                                 "WM_MDIMAXIMIZE", "ShowWindow"}) {
            if (text::beginsWith(call, kind)) {
                placing.push_back(call);
            }
        }
    }
    return placing;
}

TEST_F(OpenCommandsTest, SavedWindowsGoBackWhereTheyWereEvenWhenAlreadyOpen) {
    const std::string word = "C:\\OFFICE\\WINWORD.EXE";
    sim::SimDesktop& desktop = world.desktop;
    desktop.setMonitors(
        {{{0, 0, 1024, 768}, {0, 0, 1024, 738}}, {{1024, 0, 2048, 768}, {1024, 0, 2048, 768}}});
    const WindowHandle pad = world.topLevel("a.txt - Notepad", 1, kNotepad);
    desktop.window(pad).rect = {1100, 50, 1500, 400};  // on the second monitor
    const auto frame = world.mdiFrame("Microsoft Word", 2, word);
    desktop.window(frame.frame).rect = {10, 10, 700, 500};
    desktop.window(frame.frame).zoomed = true;
    const WindowHandle plan = world.child(frame.client, "Plan.doc");
    desktop.window(plan).rect = {5, 5, 300, 200};
    const WindowHandle memo = world.child(frame.client, "Memo.doc");
    desktop.window(memo).rect = {40, 60, 400, 300};
    desktop.window(memo).minimized = true;
    world.list.refreshList();
    for (const auto& [window, path] :
         {std::pair{pad, "C:\\Docs\\a.txt"}, std::pair{plan, "C:\\Docs\\Plan.doc"},
          std::pair{memo, "C:\\Docs\\Memo.doc"}}) {
        world.list.setInTab(world.positionOf(window), kProjectTab);
        world.list.setFilePath(world.positionOf(window), path);
    }
    store.setWindowManager(&desktop);
    std::string name = "Desk";
    ASSERT_TRUE(store.saveProject(name, false));

    // One value per member; the frame goes with its first document only.
    std::vector<std::string> names, paths, exes, comments, profiles, placements;
    std::int32_t count = 0;
    store.readProject(name, names, paths, exes, comments, count, &profiles, &placements);
    ASSERT_EQ(names, (std::vector<std::string>{"a.txt", "Plan.doc", "Memo.doc"}));
    EXPECT_EQ(placements, (std::vector<std::string>{
                              "normal,1100,50,1500,400,1024,0,2048,768",
                              "maximized,10,10,700,500,0,0,1024,738;mdi:normal,5,5,300,200",
                              "mdi:minimized,40,60,400,300"}));

    // The second monitor gone and every window moved: the open puts each back, the notepad
    // whole on the one monitor left.
    desktop.setMonitors({{{0, 0, 1024, 768}, {0, 0, 1024, 738}}});
    desktop.window(pad).rect = {0, 0, 100, 100};
    desktop.window(frame.frame).zoomed = false;
    desktop.window(plan).rect = desktop.window(memo).rect = {0, 0, 50, 50};
    desktop.window(memo).minimized = false;
    desktop.clearCalls();
    open(name);
    EXPECT_TRUE(shell.launches.empty());
    const std::string client = sim::handleText(frame.client);
    EXPECT_EQ(placingCalls(desktop),
              (std::vector<std::string>{
                  "SetWindowPlacement(" + sim::handleText(pad) + ",0,624,50,1024,400)",
                  "SetWindowPlacement(" + sim::handleText(frame.frame) + ",1,10,10,700,500)",
                  "WM_MDIRESTORE(" + client + "," + sim::handleText(plan) + ")",
                  "MoveWindow(" + sim::handleText(plan) + ",5,5,300,200)",
                  "WM_MDIRESTORE(" + client + "," + sim::handleText(memo) + ")",
                  "MoveWindow(" + sim::handleText(memo) + ",40,60,400,300)",
                  "ShowWindow(" + sim::handleText(memo) + ",6)"}));
    EXPECT_EQ(projectTab().size(), 3u);

    // With the setting off nothing is moved.
    host.restorePositions = false;
    desktop.clearCalls();
    open(name);
    EXPECT_EQ(projectTab().size(), 3u);
    EXPECT_TRUE(placingCalls(desktop).empty());
}

}  // namespace
}  // namespace snapdesk
