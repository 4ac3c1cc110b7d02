// "Open Project" on the simulated machine: a recording view, the real project store on the
// simulated file system, questions answered by the test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim_shell.h"
#include "projects/open_dialog.h"
#include "projects/project_store.h"
#include "sim_world.h"
#include "support/project_fakes.h"

namespace snapdesk {
namespace {

const std::string kProgram = "C:\\Program Files\\Snapdesk";
const std::string kProjects = kProgram + "\\datafiles\\projects\\";

// The controls as the presenter leaves them; the test selects in them.
class RecordingView : public OpenDialogView {
  public:
    std::vector<std::string> projects, members;
    std::string shownName = "<unset>", filesLabel = "<unset>";
    int selected = -1, memberSelected = 2;
    bool closed = false;

    void setProjectList(const std::vector<std::string>& names) override { projects = names; }
    void removeProjectLine(int index) override {
        projects.erase(projects.begin() + index);
        selected = -1;
    }
    int selectedProject() override { return selected; }
    void setMemberLines(const std::vector<std::string>& lines) override { members = lines; }
    void clearMemberSelection() override { memberSelected = -1; }
    void setSelectedProjectName(const std::string& name) override { shownName = name; }
    void setFilesLabel(const std::string& text) override { filesLabel = text; }
    void close() override { closed = true; }
};

TEST(ProjectMemberLines, ShortNamesWinAmpSongsAndTheEmptyProject) {
    const std::string winAmp = "C:\\PROGRAM FILES\\WINAMP\\WINAMP.EXE";
    EXPECT_EQ(projectMemberLines(
                  "Work",
                  {"Report.doc", "Exploring - C:\\Docs\\Sub",
                   "Homepage - Microsoft Internet Explorer", "Winamp 1", "Winamp 2", "Winamp 3"},
                  {"C:\\Docs\\Report.doc", "C:\\Docs\\Sub", "http://example.com/",
                   "c:\\program files\\winamp\\winamp.exe", "C:\\Music\\Song.mp3", "D:WINAMP.EXE"},
                  {"C:\\OFFICE\\WINWORD.EXE", "C:\\WINDOWS\\EXPLORER.EXE", "C:\\IE\\IEXPLORE.EXE",
                   winAmp, winAmp, winAmp}),
              (std::vector<std::string>{"Report.doc", "Sub", "Homepage", "WinAmp",
                                        "WinAmp - Song.mp3", "WinAmp"}));
    EXPECT_EQ(projectMemberLines("Empty & Co", {}, {}, {}),
              std::vector<std::string>{"No Files in Project: 'Empty & Co'"});
}

class OpenDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        files.addFolder(kProjects);
        files.writeFile(kProjects + "Alpha.txt",
                        "[FilePath]\r\n1=C:\\Docs\\Report.doc\r\n2=C:\\Music\\Song.mp3\r\n"
                        "[FileName]\r\n1=Report.doc\r\n2=Winamp\r\n"
                        "[FileEXE]\r\n1=C:\\Office\\Winword.exe\r\n2=C:\\Winamp\\winamp.exe\r\n"
                        "[FileComment]\r\n1=\r\n2=\r\n");
        files.writeFile(kProjects + "Beta.txt", "[Snapdesk!]\r\nIMPORTANT=x\r\n");
        store.loadProjectStore();
        dialog.load(view);
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
    testing_fakes::NoStoreHost host;
    ProjectStore store{files, shell, ui, world.list, host, kProgram};
    OpenDialog dialog{store, ui};
    RecordingView view;
};

TEST_F(OpenDialogTest, SelectingAProjectShowsItsMembersAndOpenAnswersIt) {
    EXPECT_EQ(view.projects, (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(view.filesLabel, "");

    view.selected = 1;
    dialog.projectSelected(1);
    EXPECT_EQ(view.shownName, "Beta");
    EXPECT_EQ(view.members, std::vector<std::string>{"No Files in Project: 'Beta'"});

    view.selected = 0;
    const int doEventsBefore = ui.doEventsCalls;
    dialog.projectSelected(0);
    EXPECT_EQ(view.shownName, "Alpha");
    EXPECT_EQ(view.members, (std::vector<std::string>{"Report.doc", "WinAmp - Song.mp3"}));
    EXPECT_EQ(ui.doEventsCalls, doEventsBefore + 1);

    // The member list only informs.
    dialog.fileLineClicked();
    EXPECT_EQ(view.memberSelected, -1);
    EXPECT_FALSE(view.closed);

    dialog.openClicked();
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(dialog.projectToOpen(), "Alpha");
}

TEST_F(OpenDialogTest, OpenWithoutASelectionAndCancelAnswerNothing) {
    dialog.openClicked();
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(dialog.projectToOpen(), std::nullopt);

    RecordingView again;
    dialog.load(again);
    again.selected = 0;
    dialog.projectSelected(0);
    dialog.cancelClicked();
    EXPECT_TRUE(again.closed);
    EXPECT_EQ(dialog.projectToOpen(), std::nullopt);
}

TEST_F(OpenDialogTest, DeleteAsksAndOnlyYesRemovesTheProject) {
    dialog.deleteClicked();  // nothing selected: nothing asked
    EXPECT_TRUE(ui.questions.empty());

    view.selected = 0;
    dialog.projectSelected(0);
    ui.answers = {Answer::No};
    dialog.deleteClicked();
    EXPECT_EQ(ui.questions,
              std::vector<std::string>{"\r\nDo you really want to remove 'Alpha'?\r\n"});
    EXPECT_EQ(view.projects, (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(view.shownName, "Alpha");
    EXPECT_EQ(view.members.size(), 2u);
    EXPECT_TRUE(files.readFile(kProjects + "Alpha.txt").has_value());

    ui.answers = {Answer::Yes};
    view.filesLabel = "<unset>";
    dialog.deleteClicked();
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(view.projects, std::vector<std::string>{"Beta"});
    EXPECT_EQ(view.shownName, "");
    EXPECT_EQ(view.filesLabel, "");
    EXPECT_EQ(view.members, std::vector<std::string>{});
    EXPECT_FALSE(files.readFile(kProjects + "Alpha.txt").has_value());
    EXPECT_EQ(storeNames(), std::vector<std::string>{"Beta"});
    EXPECT_FALSE(view.closed);

    // The lines left still answer by their new positions.
    view.selected = 0;
    dialog.openClicked();
    EXPECT_EQ(dialog.projectToOpen(), "Beta");
}

}  // namespace
}  // namespace snapdesk
