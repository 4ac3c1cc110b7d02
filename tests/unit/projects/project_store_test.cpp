// The project store on the simulated machine: files below the program folder, the window
// list's Project tab, the shell's Recent folder and a recording main window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim_shell.h"
#include "projects/cinifile.h"
#include "projects/project_rules.h"
#include "projects/project_store.h"
#include "sim_world.h"
#include "tracking/recent_folder.h"

namespace snapdesk {
namespace {

const std::string kProgram = "C:\\Program Files\\Snapdesk";
const std::string kProjects = kProgram + "\\datafiles\\projects\\";
const std::string kOldPaths = kProgram + "\\datafiles\\oldpaths.txt";

class RecordingHost : public ProjectStoreHost {
  public:
    std::vector<std::string> calls;
    std::string caption;
    int left = -1;
    void updatePaths(bool saving) override {
        calls.push_back(saving ? "updatePaths(true)" : "updatePaths(false)");
    }
    void setProjectLabelCaption(const std::string& text) override { caption = text; }
    int projectLabelWidth() override { return 1000; }
    int mainWindowWidth() override { return 9000; }
    void setProjectLabelLeft(int x) override { left = x; }
    void showNoEmptyOverwrite() override { calls.push_back("frmNoEmptyOverwrite"); }
    void showNoEmptyProject() override { calls.push_back("frmNoEmptyProject"); }
};

struct Member {
    std::string caption, path, exe, comment;
    std::int16_t tab = kProjectTab;
};

class ProjectStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        files.addFolder(kProgram + "\\datafiles");
        shell.folders[special_folders::kRecent] = "C:\\users\\me\\Recent";
    }
    // Tracked windows with the given fields, in list order.
    void furnish(const std::vector<Member>& members) {
        std::uint32_t process = 10;
        for (const auto& m : members) {
            world.topLevel(m.caption + " - App", process++);
        }
        world.list.refreshList();
        ASSERT_EQ(world.list.count(), static_cast<long>(members.size()));
        for (long i = 1; i <= world.list.count(); ++i) {
            const Member& m = members[static_cast<std::size_t>(i - 1)];
            world.list.setInTab(i, m.tab);
            world.list.setCaptionString(i, m.caption);
            world.list.setFilePath(i, m.path);
            world.list.setEXEPath(i, m.exe);
            world.list.setCommentString(i, m.comment);
        }
    }
    std::string value(const std::string& file, const std::string& section, const std::string& key) {
        CInifile ini(files);
        ini.setPath(file);
        ini.setSection(section);
        ini.setKey(key);
        return ini.Value();
    }
    std::vector<std::string> keys(const std::string& file, const std::string& section) {
        CInifile ini(files);
        ini.setPath(file);
        ini.setSection(section);
        std::vector<std::string> names;
        std::int32_t count = 0;
        ini.EnumerateCurrentSection(names, count);
        if (!names.empty())
            names.erase(names.begin());
        return names;
    }
    std::vector<std::string> projectNames() {
        std::vector<std::string> names;
        std::int32_t count = 0;
        store.getProjectNames(names, count);
        EXPECT_EQ(count, static_cast<std::int32_t>(names.size()));
        return names;
    }

    testing::SimWorld world;
    sim::SimFileSystem& files = world.machine.files;
    sim::SimShell shell;
    RecordingHost host;
    ProjectStore store{files, shell, world.machine.ui, world.list, host, kProgram};
};

TEST_F(ProjectStoreTest, SavingWritesSavableMembersAndMarksTheUnknownOnesNoSave) {
    furnish({{"Report.doc", "C:\\Docs\\Report.doc", "C:\\OFFICE\\WINWORD.EXE", "draft"},
             {"Lost.doc", kNotFound, "C:\\OFFICE\\WINWORD.EXE", ""},
             {"Other.doc", "C:\\Docs\\Other.doc", "C:\\OFFICE\\WINWORD.EXE", "x", kDocumentsTab},
             {"Plan.xls", "C:\\Docs\\Plan.xls", "C:\\OFFICE\\EXCEL.EXE", ""}});
    store.loadProjectStore();
    std::string name = "  Q3 & Q4  ";
    store.saveProject(name, false);

    EXPECT_EQ(name, "Q3 & Q4");
    const std::string file = kProjects + "Q3 & Q4.txt";
    EXPECT_EQ(
        files.readFile(file).value_or(""),
        "[Snapdesk!]\r\nIMPORTANT=Warning: Automatically generated file.  Do Not Delete or "
        "Edit.\r\n[FilePath]\r\n1=C:\\Docs\\Report.doc\r\n2=C:\\Docs\\Plan.xls\r\n"
        "[FileName]\r\n1=Report.doc\r\n2=Plan.xls\r\n[FileEXE]\r\n1=C:\\OFFICE\\WINWORD.EXE\r\n"
        "2=C:\\OFFICE\\EXCEL.EXE\r\n[FileComment]\r\n1=draft\r\n2=\r\n");
    EXPECT_EQ(world.list.filePath(2), kNoSave);
    EXPECT_EQ(store.currentProjectName(), "Q3 & Q4");
    EXPECT_EQ(host.caption, "Project: Q3 && Q4");
    EXPECT_EQ(host.left, 4000);
    EXPECT_EQ(host.calls, std::vector<std::string>{"updatePaths(true)"});
    EXPECT_EQ(projectNames(), std::vector<std::string>{"Q3 & Q4"});
}

TEST_F(ProjectStoreTest, OverwritingAShrinkingProjectKeepsOnlyTheNewMembersAndTheHeaderFirst) {
    std::vector<Member> five;
    for (int i = 1; i <= 5; ++i) {
        five.push_back({"d" + std::to_string(i), "C:\\d" + std::to_string(i), "C:\\A.EXE", ""});
    }
    furnish(five);
    store.loadProjectStore();
    std::string name = "P";
    store.saveProject(name, false);
    for (long i = 3; i <= 5; ++i) {
        world.list.setInTab(i, kDocumentsTab);
    }
    const int doEventsBefore = world.machine.ui.doEventsCalls;
    store.saveProject(name, true);
    const std::string file = kProjects + "P.txt";
    for (const char* section : {"FilePath", "FileName", "FileEXE", "FileComment"}) {
        EXPECT_EQ(keys(file, section), (std::vector<std::string>{"1", "2"})) << section;
    }
    CInifile ini(files);
    ini.setPath(file);
    std::vector<std::string> sections;
    std::int32_t count = 0;
    ini.EnumerateAllSections(sections, count);
    EXPECT_EQ(sections, (std::vector<std::string>{"", "Snapdesk!", "FilePath", "FileName",
                                                  "FileEXE", "FileComment"}));
    EXPECT_EQ(world.machine.ui.doEventsCalls, doEventsBefore + 1);
    EXPECT_EQ(projectNames(), std::vector<std::string>{"P"});  // an overwrite adds no name
}

TEST_F(ProjectStoreTest, BrowsersSavedAsProgramsGetTheirOwnNames) {
    furnish({{"MSN", "C:\\IE\\IEXPLORE.EXE", "C:\\IE\\IEXPLORE.EXE", ""},
             {"NS", "C:\\N\\NETSCAPE.EXE", "C:\\N\\NETSCAPE.EXE", ""},
             {"NS6", "C:\\N6\\NETSCP6.EXE", "C:\\N6\\NETSCP6.EXE", ""},
             {"Tool", "C:\\T\\TOOL.EXE", "C:\\T\\TOOL.EXE", ""},
             {"Page", "http://x/", "C:\\IE\\IEXPLORE.EXE", ""}});
    store.loadProjectStore();
    std::string name = "B";
    store.saveProject(name, false);
    const std::string file = kProjects + "B.txt";
    EXPECT_EQ(value(file, "FileName", "1"), "Internet Explorer Browser");
    EXPECT_EQ(value(file, "FileName", "2"), "Netscape 4 Browser");
    EXPECT_EQ(value(file, "FileName", "3"), "Netscape 6 Browser");
    EXPECT_EQ(value(file, "FileName", "4"), "Tool");
    EXPECT_EQ(value(file, "FileName", "5"), "Page");
}

TEST_F(ProjectStoreTest, EmptyNamesAndEmptyProjectsWriteNothing) {
    furnish({{"Lost.doc", kNotFound, "C:\\W.EXE", ""}});
    store.loadProjectStore();
    std::string blank = "   ";
    store.saveProject(blank, false);
    ASSERT_EQ(world.machine.ui.messages.size(), 1u);
    EXPECT_EQ(world.machine.ui.messages[0].text,
              "           You must enter a project name.         ");
    EXPECT_EQ(world.machine.ui.messages[0].title, "Snapdesk!");
    EXPECT_EQ(world.list.filePath(1), kNotFound);  // stopped before anything else

    std::string name = "E";
    store.saveProject(name, false);
    store.saveProject(name, true);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"updatePaths(true)", "frmNoEmptyProject",
                                                    "updatePaths(true)", "frmNoEmptyOverwrite"}));
    EXPECT_FALSE(files.fileAttributes(kProjects + "E.txt").has_value());
    EXPECT_EQ(store.currentProjectName(), "[Untitled]");
    EXPECT_EQ(world.list.filePath(1), kNoSave);
}

TEST_F(ProjectStoreTest, ASaveStoppedBeforeItsFileIsReplacedLeavesTheOldProjectWhole) {
    furnish({{"a", "C:\\a", "C:\\A.EXE", ""}, {"b", "C:\\b", "C:\\A.EXE", ""}});
    store.loadProjectStore();
    std::string name = "Keep";
    store.saveProject(name, false);
    const std::string before = files.readFile(kProjects + "Keep.txt").value();
    world.list.setInTab(1, kDocumentsTab);
    files.replacesLeft = 0;
    store.saveProject(name, true);
    EXPECT_EQ(files.readFile(kProjects + "Keep.txt").value(), before);
    ASSERT_EQ(world.machine.ui.messages.size(), 1u);
    files.replacesLeft = -1;
    const int replaces = files.replaces();
    store.saveProject(name, true);
    EXPECT_EQ(files.replaces(), replaces + 1);  // one replacement per save, nothing partial
    EXPECT_EQ(keys(kProjects + "Keep.txt", "FilePath"), std::vector<std::string>{"1"});
}

TEST_F(ProjectStoreTest, ReadProjectByFileByTabAndNeverForUntitled) {
    std::vector<Member> many;
    const std::string longPath = "C:\\" + std::string(300, 'p') + "\\member.doc";
    for (int i = 1; i <= 2000; ++i) {
        many.push_back({"m" + std::to_string(i), i == 7 ? longPath : "C:\\m" + std::to_string(i),
                        "c:\\app\\a.exe", "c" + std::to_string(i)});
    }
    // A 2,000-member project written directly (the window list is not needed for it).
    {
        CInifile ini(files);
        files.addFolder(kProjects + "x");
        ini.setPath(kProjects + "Big.txt");
        IniBatch batch(ini);
        for (int j = 1; j <= 2000; ++j) {
            const Member& m = many[static_cast<std::size_t>(j - 1)];
            for (const auto& [section, text] : {std::pair{"FileName", m.caption},
                                                {"FilePath", m.path},
                                                {"FileEXE", m.exe},
                                                {"FileComment", m.comment}}) {
                ini.setSection(section);
                ini.setKey(std::to_string(j));
                std::string v = text;
                ini.setValue(v);
            }
        }
    }
    std::vector<std::string> names, paths, exes, comments;
    std::int32_t count = 0;
    store.readProject(" Big ", names, paths, exes, comments, count);
    ASSERT_EQ(count, 2000);
    EXPECT_EQ(names[1999], "m2000");
    EXPECT_EQ(paths[6], longPath);
    EXPECT_EQ(exes[0], "C:\\APP\\A.EXE");
    EXPECT_EQ(comments[41], "c42");

    const int searches = files.searches();
    for (const char* untitled : {"[Untitled]", "", "  "}) {
        store.readProject(untitled, names, paths, exes, comments, count);
        EXPECT_EQ(count, 0);
        EXPECT_TRUE(names.empty());
    }
    EXPECT_EQ(files.searches(), searches);

    furnish({{"a", "C:\\a", "c:\\x.exe", "ca"},
             {"b", kNotFound, "c:\\y.exe", ""},
             {"c", "C:\\c", "c:\\z.exe", "", kOthersTab}});
    store.readProject("++//", names, paths, exes, comments, count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\a", kNotFound}));
    EXPECT_EQ(exes, (std::vector<std::string>{"C:\\X.EXE", "C:\\Y.EXE"}));
}

TEST_F(ProjectStoreTest, StartUpListsProjectsSetsRecentFolderAndLearnsStoredPaths) {
    files.writeFile(kProjects + "Alpha.txt",
                    "[FileName]\n1=Report.doc\n2=Notes\n[FilePath]\n"
                    "1=C:\\Work\\Report.doc\n2=C:\\Work\\Sub\\Notes.txt\n");
    files.writeFile(kProjects + "Beta.txt",
                    "[FileName]\n1=report\n[FilePath]\n1=D:\\Other\\report.doc\n");
    files.writeFile(kProjects + "readme.md", "");
    files.writeFile(kOldPaths,
                    "[oldFileName]\n1=Old.TXT\n2=root\n[oldFilePath]\n1=C:\\Work\\old.txt\n"
                    "2=C:\\root.txt\n");
    shell.folders[special_folders::kRecent] = "  C:\\users\\me\\Recent  ";
    store.setOwnerWindow(0x4242);
    store.loadProjectStore();

    EXPECT_EQ(projectNames(), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(recentFolder(), "C:\\users\\me\\Recent\\");
    EXPECT_EQ(shell.lastOwner, 0x4242u);
    EXPECT_EQ(store.storedCount(), 5u);
    EXPECT_EQ(store.projectFolders(),
              (std::vector<std::string>{"", "C:\\Work", "C:\\Work\\Sub", "D:\\Other"}));

    EXPECT_EQ(store.storedPath("REPORT.DOC"), "C:\\Work\\Report.doc");
    EXPECT_EQ(store.storedPath("report"), "C:\\Work\\Report.doc");  // first match wins
    EXPECT_EQ(store.storedPath("Notes.txt"), "C:\\Work\\Sub\\Notes.txt");
    EXPECT_EQ(store.storedPath("Notes .txt"), "C:\\Work\\Sub\\Notes.txt");
    EXPECT_EQ(store.storedPath("old"), "C:\\Work\\old.txt");
    EXPECT_EQ(store.storedPath("Notes.text"), kNotFound);
    EXPECT_EQ(store.storedPath("Note"), kNotFound);

    shell.folders.clear();
    store.loadProjectStore();
    EXPECT_EQ(recentFolder(), "UNKNOWN");
    setRecentFolder(kRecentFolderUnknown);
}

TEST_F(ProjectStoreTest, StartUpCreatesTheProjectsFolder) {
    store.loadProjectStore();
    const auto attributes = files.fileAttributes(kProgram + "\\datafiles\\projects");
    ASSERT_TRUE(attributes.has_value());
    EXPECT_NE(*attributes & 0x10u, 0u);
    EXPECT_EQ(store.storedPath("anything"), kNotFound);
}

TEST_F(ProjectStoreTest, DeleteProjectRemovesFileAndNameOnlyWhenTheFileExists) {
    files.writeFile(kProjects + "A.txt", "[FileName]\n1=a\n");
    files.writeFile(kProjects + "B.txt", "[FileName]\n1=b\n");
    store.loadProjectStore();
    store.deleteProject("A");
    EXPECT_FALSE(files.fileAttributes(kProjects + "A.txt").has_value());
    EXPECT_EQ(projectNames(), std::vector<std::string>{"B"});
    files.deleteFile(kProjects + "B.txt");
    store.deleteProject("B");  // file already gone: the list keeps the name
    EXPECT_EQ(projectNames(), std::vector<std::string>{"B"});
}

TEST_F(ProjectStoreTest, UnloadKeepsTheLastSeventyFiveStoredPathsAndAddsNewOnes) {
    std::string text = "[oldFileName]\r\n";
    for (int k = 1; k <= 120; ++k) {
        text += std::to_string(k) + "=name" + std::to_string(k) + "\r\n";
    }
    text += "[oldFilePath]\r\n";
    for (int k = 1; k <= 120; ++k) {
        text += std::to_string(k) + "=C:\\p" + std::to_string(k) + "\r\n";
    }
    files.writeFile(kOldPaths, text);
    furnish({{"New.doc", "C:\\New.doc", "C:\\W.EXE", ""},
             {"name120", "C:\\p120", "C:\\W.EXE", ""},  // already stored
             {"Gone.doc", kNoSave, "C:\\W.EXE", ""}});
    store.loadProjectStore();
    store.saveOldPaths();
    std::vector<std::string> expected;
    for (int k = 1; k <= 76; ++k) {
        expected.push_back(std::to_string(k));
    }
    EXPECT_EQ(keys(kOldPaths, "oldFileName"), expected);
    EXPECT_EQ(keys(kOldPaths, "oldFilePath"), expected);
    EXPECT_EQ(value(kOldPaths, "oldFileName", "1"), "name46");
    EXPECT_EQ(value(kOldPaths, "oldFilePath", "75"), "C:\\p120");
    EXPECT_EQ(value(kOldPaths, "oldFileName", "76"), "New.doc");
    EXPECT_EQ(value(kOldPaths, "oldFilePath", "76"), "C:\\New.doc");
}

TEST_F(ProjectStoreTest, OldDataConvertsAndNamesLeadingOutsideStayBehind) {
    const std::string old = kProgram + "\\datafiles\\zimsmod.ini";
    files.writeFile(old,
                    "[oldFle]\n1=a.doc\n2=b.doc\n[oldlnk]\n1=C:\\a.doc\n2=C:\\b.doc\n"
                    "[fleWork]\n1=w1\n2=w2\n[lnkWork]\n1=C:\\w1\n2=C:\\w2\n"
                    "[exeWork]\n1=C:\\E1.EXE\n2=C:\\E2.EXE\n"
                    "[fle..\\..\\x]\n1=evil\n[lnk..\\..\\x]\n1=C:\\evil\n"
                    "[fleC:evil]\n1=e\n[fleup/down]\n1=e\n");
    store.loadProjectStore();
    EXPECT_EQ(projectNames(), std::vector<std::string>{"Work"});
    const std::string work = kProjects + "Work.txt";
    EXPECT_EQ(files.readFile(work).value_or(""),
              "[FileName]\r\n1=w1\r\n2=w2\r\n[FilePath]\r\n1=C:\\w1\r\n2=C:\\w2\r\n"
              "[FileEXE]\r\n1=C:\\E1.EXE\r\n2=C:\\E2.EXE\r\n[FileComment]\r\n1=\r\n2=\r\n");
    EXPECT_EQ(value(kOldPaths, "oldFileName", "2"), "b.doc");
    EXPECT_EQ(value(kOldPaths, "oldFilePath", "2"), "C:\\b.doc");
    EXPECT_EQ(store.storedPath("w2"), "C:\\w2");
    // Nothing was written outside the projects folder; the unsafe projects stay behind.
    EXPECT_FALSE(files.fileAttributes(kProgram + "\\x.txt").has_value());
    EXPECT_EQ(files.readFile(old).value_or(""),
              "[fle..\\..\\x]\r\n1=evil\r\n[lnk..\\..\\x]\r\n1=C:\\evil\r\n[fleC:evil]\r\n1=e\r\n"
              "[fleup/down]\r\n1=e\r\n");

    // Without unsafe names the old file is gone after conversion.
    files.writeFile(old, "[fleSafe]\n1=s\n[lnkSafe]\n1=C:\\s\n[exeSafe]\n1=C:\\S.EXE\n");
    store.loadProjectStore();
    EXPECT_FALSE(files.fileAttributes(old).has_value());
    EXPECT_EQ(projectNames(), (std::vector<std::string>{"Work", "Safe"}));
}

TEST(ProjectRulesTest, SafeNamesAndMatching) {
    for (const char* bad : {"..\\..\\x", "C:evil", "a/b", "", "  ", "..", "a\tb", "x:y"}) {
        EXPECT_FALSE(project_rules::isSafeProjectName(bad)) << bad;
    }
    for (const char* good : {"Work", "Q3 & Q4", "v1.2", "..x"}) {
        EXPECT_TRUE(project_rules::isSafeProjectName(good)) << good;
    }
    EXPECT_TRUE(project_rules::nameHasExtension("A.DOC"));
    EXPECT_FALSE(project_rules::nameHasExtension("A.HTML"));
    EXPECT_TRUE(project_rules::storedNameMatches("A.DOC", true, "A"));
    EXPECT_FALSE(project_rules::storedNameMatches("A.DOC", true, "A.D"));
    EXPECT_TRUE(project_rules::storedNameMatches("A", false, "A .TXT"));
    EXPECT_FALSE(project_rules::storedNameMatches("A", false, "AB.TXT"));
    EXPECT_EQ(project_rules::folderBelowRoot("C:\\file.txt"), "");
    EXPECT_EQ(project_rules::folderBelowRoot("http://a/b"), "");
    EXPECT_EQ(project_rules::projectNameOfFile("a.txt.bak"), "a");
}

}  // namespace
}  // namespace snapdesk
