// "Save Project As" on the simulated machine: a recording view, the real project store and
// window list, message boxes and questions answered by the test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim_shell.h"
#include "projects/project_rules.h"
#include "projects/project_store.h"
#include "projects/save_dialog.h"
#include "sim_world.h"

namespace snapdesk {
namespace {

const std::string kProgram = "C:\\Program Files\\Snapdesk";
const std::string kProjectsFolder = kProgram + "\\datafiles\\projects";
const std::string kProjects = kProjectsFolder + "\\";

class QuietHost : public ProjectStoreHost {
  public:
    void updatePaths(bool) override {}
    void setProjectLabelCaption(const std::string&) override {}
    int projectLabelWidth() override { return 0; }
    int mainWindowWidth() override { return 0; }
    void setProjectLabelLeft(int) override {}
    void showNoEmptyOverwrite() override {}
    void showNoEmptyProject() override {}
};

// The controls as the presenter leaves them; the test types into them.
class RecordingView : public SaveDialogView {
  public:
    std::vector<std::string> projects, lines;
    std::string name = "typed before", path;
    int selected = -1;
    bool pathEnabled = false, browseVisible = false, closed = false;
    std::string editCaption = "Edit File Path", editTip = "Click to Enable Editing";

    WindowHandle windowHandle() override { return 0x5a5e; }
    void setProjectList(const std::vector<std::string>& names) override { projects = names; }
    void setProjectName(const std::string& text) override { name = text; }
    std::string projectName() override { return name; }
    void setFileLines(const std::vector<std::string>& l) override { lines = l; }
    void selectFileLine(int index) override { selected = index; }
    int selectedFileLine() override { return selected; }
    void setLongPath(const std::string& text) override { path = text; }
    std::string longPath() override { return path; }
    void enableLongPath(bool enabled) override { pathEnabled = enabled; }
    void showBrowse(bool visible) override { browseVisible = visible; }
    void setEditCaption(const std::string& caption) override { editCaption = caption; }
    void setEditToolTip(const std::string& tip) override { editTip = tip; }
    void close() override { closed = true; }
};

struct Member {
    std::string caption, path, exe;
    std::int16_t tab = kProjectTab;
};

class SaveDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        files.addFolder(kProjectsFolder);
        files.writeFile(kProjects + "Alpha.txt", "[FileName]\r\n1=old\r\n");
        files.writeFile(kProjects + "Beta.txt", "[FileName]\r\n1=old\r\n");
        files.addFile("C:\\Docs\\Report.doc");
        files.addFile("C:\\Docs\\Other.doc");
    }
    void furnish(const std::vector<Member>& members) {
        std::uint32_t process = 10;
        for (const auto& m : members) {
            world.topLevel(m.caption, process++);
        }
        world.list.refreshList();
        ASSERT_EQ(world.list.count(), static_cast<long>(members.size()));
        for (long i = 1; i <= world.list.count(); ++i) {
            const Member& m = members[static_cast<std::size_t>(i - 1)];
            world.list.setInTab(i, m.tab);
            world.list.setCaptionString(i, m.caption);
            world.list.setFilePath(i, m.path);
            world.list.setEXEPath(i, m.exe);
        }
    }
    void open() {
        store.loadProjectStore();
        dialog.load(view);
    }
    std::string fileText(const std::string& name) {
        return files.readFile(kProjects + name + ".txt").value_or("<none>");
    }
    std::vector<std::string> storeNames() {
        std::vector<std::string> names;
        std::int32_t count = 0;
        store.getProjectNames(names, count);
        return names;
    }

    testing::SimWorld world;
    sim::SimFileSystem& files = world.machine.files;
    sim::SimUi& ui = world.machine.ui;
    sim::SimShell shell;
    QuietHost host;
    ProjectStore store{files, shell, ui, world.list, host, kProgram};
    std::vector<bool> updatePathsCalls;
    bool saveCancelled = false;
    SaveDialog dialog{world.list,   store,
                      ui,           shell,
                      files,        [this](bool saving) { updatePathsCalls.push_back(saving); },
                      saveCancelled};
    RecordingView view;
};

const Member kReport{"Report.doc", "C:\\Docs\\Report.doc", "C:\\OFFICE\\WINWORD.EXE"};

TEST_F(SaveDialogTest, LoadListsProjectsAndTheSavableMembersWithTheirLabels) {
    furnish({kReport,
             {"Exploring - C:\\Docs\\Sub", "C:\\Docs\\Sub", "C:\\WINDOWS\\EXPLORER.EXE"},
             {"Left out", kNoSave, "C:\\A.EXE"},
             {"Not in project", "C:\\x", "C:\\A.EXE", kDocumentsTab},
             {"Winamp 1", "C:\\Program Files\\Winamp\\winamp.exe",
              "c:\\program files\\winamp\\winamp.exe"},
             {"Winamp 2", "C:\\Music\\Song.mp3", "C:\\WINAMP\\WINAMP.EXE"},
             {"Winamp 3", kNotFound, "C:\\WINAMP\\WINAMP.EXE"},
             {"Homepage - Microsoft Internet Explorer", kNotFound, "C:\\IE\\IEXPLORE.EXE"}});
    open();
    EXPECT_EQ(view.projects, (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(view.name, "");
    EXPECT_EQ(updatePathsCalls, std::vector<bool>{true});
    EXPECT_EQ(view.lines, (std::vector<std::string>{"Report.doc", "Sub", "WinAmp",
                                                    "WinAmp - Song.mp3", "WinAmp ", "Homepage"}));
    EXPECT_EQ(view.selected, 0);
    EXPECT_EQ(view.path, "C:\\Docs\\Report.doc");

    view.selected = 3;
    dialog.fileLineSelected();
    EXPECT_EQ(view.path, "C:\\Music\\Song.mp3");
    dialog.projectListClicked(1);
    EXPECT_EQ(view.name, "Beta");
    EXPECT_FALSE(view.closed);
}

TEST_F(SaveDialogTest, NamesWindowsCannotHoldAreRefusedAndNothingIsWritten) {
    furnish({kReport});
    open();
    const std::string illegal =
        "\r\n    Illegal character(s) in Project name.        \r\n"
        "     \\ / < >  : ; . , ? | * \" are not allowed.";
    const std::size_t room = 259 - kProjectsFolder.size() - 5;
    const std::string tooLong = "\r\n    The Project name is too long: at most " +
                                std::to_string(room) + " characters fit.        \r\n";
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"   ", "\r\n           Please enter a Project name.           \r\n"},
        {"My.Project", illegal},
        {"a;b", illegal},
        {"a,b", illegal},
        {"say \"hi\"", illegal},
        {"C:drive", illegal},
        {"tab\there",
         "\r\n    Tabs and other control characters are not allowed in a Project "
         "name.        \r\n"},
        {"nul", "\r\n    nul is the name of a device and cannot be a Project name.        \r\n"},
        {"Com7", "\r\n    Com7 is the name of a device and cannot be a Project name.        \r\n"},
        {"LPT1  ",
         "\r\n    LPT1 is the name of a device and cannot be a Project name.        \r\n"},
        {std::string(room + 1, 'n'), tooLong},
        // A character beyond the first plane takes two units of a wide path.
        {std::string(room - 1, 'n') + "\xF0\x9F\x8E\xB5", tooLong}};
    for (const auto& [name, message] : refused) {
        view.name = name;
        dialog.saveClicked();
        ASSERT_EQ(ui.messages.size(), 1u) << name;
        EXPECT_EQ(ui.messages.back().text, message) << name;
        EXPECT_EQ(ui.messages.back().title, "Snapdesk!");
        EXPECT_EQ(ui.messages.back().style, MessageBoxStyle::OkExclamation);
        ui.messages.clear();
    }
    EXPECT_EQ(files.findFiles(kProjects + "*").size(), 2u);
    EXPECT_EQ(store.currentProjectName(), "[Untitled]");
    EXPECT_FALSE(view.closed);

    // Right at the limit: an accent is two bytes but one wide unit.
    view.name = std::string(room - 1, 'n') + "\xC3\xA9";
    dialog.saveClicked();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(view.closed);
    EXPECT_NE(fileText(view.name), "<none>");
}

TEST(ProjectNameRules, DevicesTrailingBlanksAndOldNames) {
    using namespace project_rules;
    for (const char* device : {"CON", "con", "Prn", "AUX", "NUL", "COM1", "com9", "LPT3", "lpt9",
                               "nul.txt", "CON .doc", "COM\xC2\xB9", "CONIN$"}) {
        EXPECT_TRUE(isDeviceName(device)) << device;
        EXPECT_FALSE(isSafeProjectName(device)) << device;
    }
    for (const char* name : {"CONSOLE", "COM10", "LPT", "COMA", "NULL", "AUX1", "xCON"}) {
        EXPECT_FALSE(isDeviceName(name)) << name;
        EXPECT_EQ(projectNameProblem(name, "C:\\p"), "") << name;
    }
    EXPECT_EQ(projectNameProblem("Plan ", "C:\\p"),
              "\r\n    A Project name cannot end in a blank.        \r\n");
    EXPECT_TRUE(isSafeProjectName("Old; name, kept"));
}

TEST_F(SaveDialogTest, AListedNameInAnyCaseAsksBeforeOverwritingAndNoStaysOpen) {
    furnish({kReport});
    open();
    const std::string before = fileText("Alpha");
    view.name = "  aLPHA ";
    ui.answers = {Answer::No};
    dialog.saveClicked();
    EXPECT_EQ(ui.questions, std::vector<std::string>{
                                "\r\n        Do you want to overwrite aLPHA?          \r\n"});
    EXPECT_FALSE(view.closed);
    EXPECT_EQ(fileText("Alpha"), before);
    EXPECT_EQ(store.currentProjectName(), "[Untitled]");

    ui.answers = {Answer::Yes};
    dialog.saveClicked();
    EXPECT_TRUE(view.closed);
    EXPECT_TRUE(dialog.saved());
    EXPECT_NE(fileText("Alpha").find("1=C:\\Docs\\Report.doc"), std::string::npos);
    EXPECT_EQ(store.currentProjectName(), "aLPHA");
    EXPECT_EQ(storeNames(), (std::vector<std::string>{"Alpha", "Beta"}));  // no second entry

    // A new name is not asked about; a save the user cancelled earlier keeps the dialog.
    RecordingView again;
    dialog.load(again);
    saveCancelled = true;
    again.name = "Gamma";
    dialog.saveClicked();
    EXPECT_EQ(ui.questions.size(), 2u);  // the two about Alpha
    EXPECT_NE(fileText("Gamma"), "<none>");
    EXPECT_FALSE(again.closed);
}

TEST_F(SaveDialogTest, AProjectThatCannotBeWrittenKeepsTheDialogAndTheOldFile) {
    furnish({kReport});
    open();
    const std::string before = fileText("Alpha");
    // The old file cannot be read, so it cannot be rewritten either.
    files.failReads = true;
    view.name = "Alpha";
    ui.answers = {Answer::Yes};
    dialog.saveClicked();
    files.failReads = false;
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "An error has occurred in 'saveProject'.\r\nThe project file could not be written.");
    EXPECT_FALSE(view.closed);
    EXPECT_FALSE(dialog.saved());
    EXPECT_EQ(fileText("Alpha"), before);
    EXPECT_EQ(store.currentProjectName(), "[Untitled]");

    files.replacesLeft = 0;
    view.name = "Delta";
    dialog.saveClicked();
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_FALSE(view.closed);
    EXPECT_EQ(fileText("Delta"), "<none>");
    EXPECT_EQ(store.currentProjectName(), "[Untitled]");
    EXPECT_EQ(storeNames(), (std::vector<std::string>{"Alpha", "Beta"}));

    files.replacesLeft = -1;
    dialog.saveClicked();
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(store.currentProjectName(), "Delta");
}

TEST_F(SaveDialogTest, EditingALocationChecksDocumentsButNotAddresses) {
    furnish({kReport, {"News - Netscape", kNotFound, "C:\\NETSCAPE\\NETSCAPE.EXE"}});
    open();
    dialog.editClicked();
    EXPECT_TRUE(view.browseVisible);
    EXPECT_TRUE(view.pathEnabled);
    EXPECT_EQ(view.editCaption, "Store Edit");
    EXPECT_EQ(view.editTip, "Click to store changes");

    for (const std::string missing : {"C:\\Docs\\Missing.doc", "C:\\Docs\\*.doc"}) {
        view.path = "  " + missing + " ";
        dialog.editClicked();
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages.back().text,
                  "         The path you entered:                                              \r\n"
                  "         " +
                      missing +
                      "\r\n"
                      "         does not point to a file or folder.\r\n"
                      "         Please check and re-enter the path.");
        EXPECT_EQ(ui.messages.back().style, MessageBoxStyle::OkCritical);
        EXPECT_TRUE(dialog.editing());
        EXPECT_EQ(world.list.filePath(1), "C:\\Docs\\Report.doc");
    }
    // A save while the edit fails writes nothing.
    view.name = "Epsilon";
    dialog.saveClicked();
    EXPECT_EQ(fileText("Epsilon"), "<none>");
    EXPECT_FALSE(view.closed);

    view.path = "c:\\docs\\other.doc";
    dialog.editClicked();
    EXPECT_FALSE(dialog.editing());
    EXPECT_FALSE(view.browseVisible);
    EXPECT_FALSE(view.pathEnabled);
    EXPECT_EQ(view.editCaption, "Edit Path");
    EXPECT_EQ(view.editTip, "Click to Enable Editing");
    EXPECT_EQ(world.list.filePath(1), "c:\\docs\\other.doc");
    EXPECT_TRUE(world.list.searchDone(1));

    // An address is stored unchecked; the markers are never stored.
    const std::size_t messages = ui.messages.size();
    view.selected = 1;
    dialog.fileLineSelected();
    EXPECT_EQ(view.path, kNotFound);
    dialog.editClicked();
    dialog.editClicked();
    EXPECT_FALSE(world.list.searchDone(2));
    dialog.editClicked();
    view.path = "news.example/today";
    dialog.editClicked();
    EXPECT_EQ(world.list.filePath(2), "news.example/today");
    EXPECT_EQ(ui.messages.size(), messages);

    // The stored line shows its new location when selected again, and the save uses it.
    view.selected = 0;
    dialog.fileLineSelected();
    EXPECT_EQ(view.path, "c:\\docs\\other.doc");
    dialog.saveClicked();
    EXPECT_NE(fileText("Epsilon").find("1=c:\\docs\\other.doc"), std::string::npos);
}

TEST_F(SaveDialogTest, BrowseSplitsTheLocationOrAsksForAFolder) {
    furnish({kReport,
             {"Page", "file:///C:/Web/page.htm", "C:\\IE\\IEXPLORE.EXE"},
             {"Exploring - C:\\Docs", "C:\\Docs", "C:\\WINDOWS\\EXPLORER.EXE"}});
    open();
    dialog.browseClicked();  // hidden until editing
    EXPECT_TRUE(shell.fileDialogs.empty());

    dialog.editClicked();
    shell.chosenFile = "C:\\Docs\\Other.doc";
    dialog.browseClicked();
    ASSERT_EQ(shell.fileDialogs.size(), 1u);
    EXPECT_EQ(shell.fileDialogs[0].initialFolder, "C:\\Docs\\");
    EXPECT_EQ(shell.fileDialogs[0].fileName, "Report.doc");
    EXPECT_EQ(shell.lastOwner, 0x5a5eu);
    EXPECT_EQ(view.path, "C:\\Docs\\Other.doc");

    view.selected = 1;
    dialog.fileLineSelected();
    shell.chosenFile = "";  // cancelled: the text stays
    dialog.browseClicked();
    EXPECT_EQ(shell.fileDialogs[1].initialFolder, "\\");
    EXPECT_EQ(shell.fileDialogs[1].fileName, "page.htm");
    EXPECT_EQ(view.path, "file:///C:/Web/page.htm");

    view.selected = 2;
    dialog.fileLineSelected();
    shell.chosenFolder = "C:\\Docs\\Sub";
    dialog.browseClicked();
    EXPECT_EQ(shell.folderDialogs, 1);
    EXPECT_EQ(shell.fileDialogs.size(), 2u);
    EXPECT_EQ(view.path, "C:\\Docs\\Sub");
}

}  // namespace
}  // namespace snapdesk
