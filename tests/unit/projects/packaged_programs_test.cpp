// Programs installed as packages, on the simulated machine: known by their application id,
// saved by it, and started and matched again by it after an update has moved their executable.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "project_machine.h"
#include "projects/cinifile.h"
#include "projects/open_commands.h"
#include "tracking/recent_folder.h"

namespace snapdesk {
namespace {

const std::string kProgram = "C:\\Snapdesk";
const std::string kNotepadId = "Microsoft.WindowsNotepad_8wekyb3d8bbwe!App";
const std::string kCalculatorId = "Microsoft.WindowsCalculator_8wekyb3d8bbwe!App";
const std::string kFrameHost = "C:\\Windows\\System32\\ApplicationFrameHost.exe";
const std::string kWineNotepad = "C:\\windows\\system32\\notepad.exe";

std::string notepadExe(const std::string& version) {
    return "C:\\Program Files\\WindowsApps\\Microsoft.WindowsNotepad_" + version +
           "_x64__8wekyb3d8bbwe\\Notepad\\Notepad.exe";
}
std::string calculatorExe(const std::string& version) {
    return "C:\\Program Files\\WindowsApps\\Microsoft.WindowsCalculator_" + version +
           "_x64__8wekyb3d8bbwe\\CalculatorApp.exe";
}

struct Host : OpenCommandsHost, PathSearchHost {
    bool timer1 = true;
    bool timer1Enabled() override { return timer1; }
    void setTimer1(bool enabled) override { timer1 = enabled; }
    void updateWindowList() override {}
    void showProjectTab() override {}
    void showProjectName(const std::string&) override {}
    int ieVersion() override { return 6; }
    WindowHandle mainWindowHandle() override { return 0; }
    std::string netscape6Version() override { return "6.2"; }
    void waitForLaunch(unsigned) override {}
    void updateImage(long) override {}
    void bringMainWindowBack() override {}
    void setTimer4(bool, unsigned) override {}
};

struct OpenDialogAnswer : ProjectDialogs {
    std::string showNoPathInfo(const std::string&, const std::string&) override { return {}; }
    bool showContinueSearch(ContinueSearchActions&) override { return true; }
    std::string showNoNetscape6(const std::string&, const std::string&) override { return {}; }
    void showWinAmp(const std::string&, const std::string&) override {}
    void showNoEmptyProject(bool) override {}
    EmptyOverwriteChoice showNoEmptyOverwrite() override { return EmptyOverwriteChoice::Closed; }
    void showSave() override {}
    std::optional<std::string> showOpenProject() override { return "Apps"; }
};

class PackagedProgramsTest : public ::testing::Test, protected testing::ProjectMachine<Host> {
  protected:
    PackagedProgramsTest() : ProjectMachine(kProgram) {}
    void SetUp() override {
        files.addFolder(kProgram + "\\datafiles\\projects");
        files.writeFile("C:\\Docs\\report.txt", "r");
        store.loadProjectStore();
        tree.buildDirTree(splash);
    }
    void TearDown() override { setRecentFolder(kRecentFolderUnknown); }

    WindowHandle packagedNotepad(std::uint32_t process, const std::string& version) {
        world.desktop.setProcessAppId(process, kNotepadId);
        return world.topLevel("report.txt - Notepad", process, notepadExe(version));
    }
    // The frame the shell's host draws for Calculator; its own window comes with `hosted`.
    WindowHandle calculatorFrame(std::uint32_t process) {
        return world.topLevel("Calculator", process, kFrameHost);
    }
    void hostCalculator(WindowHandle frame, std::uint32_t process, const std::string& version) {
        world.desktop.setProcessPath(process, calculatorExe(version));
        world.desktop.setProcessAppId(process, kCalculatorId);
        files.addFile(calculatorExe(version));
        sim::SimWindow hosted;
        hosted.text = "Calculator";
        hosted.className = "Windows.UI.Core.CoreWindow";
        hosted.parent = frame;
        hosted.process = process;
        world.desktop.addWindow(hosted);
    }
    long recordOf(WindowHandle window) const { return world.positionOf(window); }
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
    std::string saved(const std::string& section, int key) {
        CInifile ini(files);
        ini.setPath(kProgram + "\\datafiles\\projects\\Apps.txt");
        ini.setSection(section);
        ini.setKey(std::to_string(key));
        return ini.Value();
    }

    OpenDialogAnswer dialogs;
    SaveCommands saves{world.list, store, search, tree, dialogs, ui, host};
    OpenCommands commands{{world.list, store, search, dialogs, saves},
                          world.machine.platform,
                          shell,
                          automation,
                          host};
};

TEST_F(PackagedProgramsTest, SavedByApplicationIdStartedByItAndMatchedAfterAnUpdate) {
    // Wine's own notepad shows a file of the same name all along: another program.
    const WindowHandle wineNotepad = world.topLevel("report.txt - Notepad", 1, kWineNotepad);
    const WindowHandle notepad = packagedNotepad(2, "11.2310.13.0");
    const WindowHandle calculator = calculatorFrame(3);
    world.list.refreshList();
    // A frame that shows no program yet is not taken for the host's own program.
    EXPECT_EQ(world.list.EXEPath(recordOf(calculator)), "");
    hostCalculator(calculator, 4, "11.2307.4.0");
    world.list.refreshList();

    const long n = recordOf(notepad), c = recordOf(calculator);
    EXPECT_EQ(world.list.EXEPath(n), text::upperCase(notepadExe("11.2310.13.0")));
    EXPECT_EQ(world.list.appId(n), kNotepadId);
    EXPECT_EQ(world.list.EXEPath(c), text::upperCase(calculatorExe("11.2307.4.0")));
    EXPECT_EQ(world.list.appId(c), kCalculatorId);
    EXPECT_EQ(world.list.appId(recordOf(wineNotepad)), "");

    // The notepad's document was found; Calculator is saved as the program itself.
    world.list.setInTab(n, kProjectTab);
    world.list.setFilePath(n, "C:\\Docs\\report.txt");
    world.list.setCommentString(n, "notes");
    world.list.setInTab(c, kProjectTab);
    world.list.setFilePath(c, world.list.EXEPath(c));
    world.list.setCommentString(c, "sums");
    std::string name = "Apps";
    ASSERT_TRUE(store.saveProject(name, false));
    EXPECT_EQ(saved("FileEXE", 1), "shell:AppsFolder\\" + kNotepadId);
    EXPECT_EQ(saved("FilePath", 1), "C:\\Docs\\report.txt");
    EXPECT_EQ(saved("FileEXE", 2), "shell:AppsFolder\\" + kCalculatorId);
    EXPECT_EQ(saved("FilePath", 2), "shell:AppsFolder\\" + kCalculatorId);
    EXPECT_EQ(saved("FileName", 2), "Calculator");
    // The Project tab reads as the file it was saved to: nothing to ask before letting it go.
    EXPECT_TRUE(saves.checkProceed());
    EXPECT_TRUE(ui.questions.empty());

    // Closed, updated, opened again: the document by its association, Calculator by its id.
    world.desktop.destroyWindow(notepad);
    world.desktop.destroyWindow(calculator);
    world.list.refreshList();
    WindowHandle newNotepad = 0, newCalculator = 0;
    shell.onLaunch = [&](const std::string& launch) {
        if (launch.find("report.txt") != std::string::npos) {
            newNotepad = packagedNotepad(12, "11.2401.26.0");
        } else {
            newCalculator = calculatorFrame(13);  // its own window comes later
        }
        return kLaunchOk;
    };
    ui.answers = {Answer::No};
    commands.mnuOpen_Click();
    EXPECT_EQ(shell.launches, (std::vector<std::string>{
                                  "ShellExecute open \"C:\\Docs\\report.txt\" \"\" \"\" in \"\"",
                                  "ShellExecute open \"shell:AppsFolder\\" + kCalculatorId +
                                      "\" \"\" \"\" in \"\""}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(projectTab(), std::vector<std::string>{"report.txt | C:\\Docs\\report.txt | notes"});
    EXPECT_NE(world.list.inTab(recordOf(wineNotepad)), kProjectTab);

    // The follow-up pass finds Calculator once its window is in the frame.
    ASSERT_TRUE(commands.takeOpenRetry());
    hostCalculator(newCalculator, 14, "11.2401.0.0");
    world.list.refreshList();
    commands.retryProjectMatch();
    EXPECT_EQ(projectTab(), (std::vector<std::string>{
                                "report.txt | C:\\Docs\\report.txt | notes",
                                "Calculator | shell:AppsFolder\\" + kCalculatorId + " | sums"}));
    EXPECT_EQ(world.list.EXEPath(recordOf(newCalculator)),
              text::upperCase(calculatorExe("11.2401.0.0")));

    // Refresh Project takes a member back by its id and location.
    world.list.setInTab(recordOf(newNotepad), kDocumentsTab);
    commands.refreshProject();
    EXPECT_EQ(world.list.inTab(recordOf(newNotepad)), kProjectTab);

    // Opened once more, both are open already: nothing starts, nothing is asked.
    shell.launches.clear();
    ui.questions.clear();
    commands.mnuOpen_Click();
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(shell.launches.empty());
    EXPECT_EQ(projectTab().size(), 2u);
    EXPECT_NE(world.list.inTab(recordOf(wineNotepad)), kProjectTab);
}

TEST(PackagedLaunchRules, OnlyAWellFormedApplicationIdReachesTheShell) {
    const auto plan = [](const std::string& location) {
        const std::string exe = "SHELL:APPSFOLDER\\" + text::upperCase(kNotepadId);
        const ProjectMember member{"a", location, exe, "", {}};
        EXPECT_FALSE(launch_rules::needsAssociation(member));
        const LaunchPlan p = launch_rules::planLaunch(member, {}, "");
        return p.how == LaunchHow::Refused ? "Refused: " + p.refusal : p.file + " " + p.parameters;
    };
    EXPECT_EQ(plan("shell:AppsFolder\\" + kNotepadId), "shell:AppsFolder\\" + kNotepadId + " ");
    EXPECT_EQ(plan("C:\\Docs\\a.txt"), "C:\\Docs\\a.txt ");
    EXPECT_EQ(plan("C:\\Tools\\wipe.cmd"),
              "Refused: The document is a program, and the Project names no program to open it "
              "with");
    EXPECT_EQ(plan("shell:AppsFolder\\A_b!App\" /x"),
              "Refused: The program's application id holds a double quote");
    EXPECT_EQ(plan("shell:AppsFolder\\A_b!App\r\n"),
              "Refused: The program's application id holds a control character");
    EXPECT_EQ(plan("shell:AppsFolder\\..\\..\\Windows\\System32\\cmd.exe"),
              "Refused: The program's application id holds characters that application ids do "
              "not use");
    EXPECT_EQ(plan("shell:AppsFolder\\A_b!App!x"),
              "Refused: The program's application id is not a package's name and an application");
    EXPECT_EQ(plan("shell:AppsFolder\\A_b!" + std::string(130, 'x')),
              "Refused: The program's application id is too long");
}

}  // namespace
}  // namespace snapdesk
