// The walk of the drive, the level files and their reload, and the start-up splash.
#include <gtest/gtest.h>

#include "dir_tree_fixture.h"
#include "location/load_directory_tree.h"
#include "location/splash_dir_tree_build.h"
#include "platform/sim/sim_platform.h"

namespace snapdesk::testing_dir_tree {
namespace {

using Strings = std::vector<std::string>;

TEST_F(DirTreeTest, WalkWritesLevelFilesByteForByteAndTheyReloadToTheSameList) {
    files.addFolder("C:\\Docs\\Letters");
    files.addFolder("C:\\Docs\\Old-Stuff=2");
    files.addFile("C:\\Docs\\a.txt");
    files.addFolder("C:\\Docs\\Letters\\2020");
    shell.folders[0] = "C:\\Users\\me\\Desktop";
    auto tree = makeTree();
    tree->setProjectFolders({"", "D:\\Work"});
    tree->buildDirTree(splash);
    ASSERT_EQ(splash.modes, Strings{kFullBuild});
    const auto walked = listOf(*tree);
    EXPECT_EQ(walked,
              (Strings{"C:", "C:\\Snapdesk", "C:\\WINDOWS", "C:\\Docs", "C:\\Snapdesk\\datafiles",
                       "C:\\Docs\\Letters", "C:\\Docs\\Old-Stuff=2", "C:\\Docs\\Letters\\2020",
                       "D:\\Work", "C:\\Users\\me\\Desktop\\"}));
    EXPECT_TRUE(tree->treeReady());
    EXPECT_EQ(tree->buildMode(), kStoredBuild);
    const std::string header =
        "# Snapdesk! Directory Tree File\r\n# Version: 1.2.3\r\n# This file is automatically "
        "generated.\r\n# Do not edit or remove, otherwise program\r\n# may not work "
        "properly.\r\n\r\n";
    EXPECT_EQ(level(1), header + "[1]\r\n2=1-Snapdesk\r\n3=1-WINDOWS\r\n4=1-Docs\r\n");
    EXPECT_EQ(level(2), header + "[2]\r\n5=2-datafiles\r\n6=4-Letters\r\n7=4-Old-Stuff=2\r\n");
    EXPECT_EQ(level(3), header + "[3]\r\n8=6-2020\r\n");
    EXPECT_EQ(level(4), header + "[4]\r\n");
    EXPECT_EQ(level(5), "<missing>");
    EXPECT_EQ(level(0),
              "[Snapdesk!]\r\nWarning=Automatically generated file.  Do Not Delete or "
              "Edit.\r\n[0]\r\n1=C:\r\n[general]\r\nmaxDepth=3\r\ntotalDirs=8\r\n"
              "treeBuilt=YES\r\nversion=1.2.3\r\n");
    EXPECT_EQ(tree->searchChunk(), 2);  // 10 / 8 + 0.9 = 2.15

    files.addFolder("C:\\Docs\\Later");  // not walked again: the files are complete
    auto reloaded = makeTree();
    reloaded->setProjectFolders({"", "D:\\Work"});
    reloaded->buildDirTree(splash);
    EXPECT_EQ(splash.modes.back(), kStoredBuild);
    EXPECT_EQ(listOf(*reloaded), walked);
    EXPECT_TRUE(reloaded->treeReady());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DirTreeTest, ProgramFilesOldFoundFifthIsStoredAsItsLineAndReloads) {
    files.addFolder("C:\\B");
    files.addFolder("C:\\Program Files-Old\\Inner=1-2");
    startedTree();
    // Root 1, then Snapdesk, WINDOWS, B, Program Files-Old.
    EXPECT_NE(level(1).find("\r\n5=1-Program Files-Old\r\n"), std::string::npos);
    EXPECT_NE(level(2).find("\r\n7=5-Inner=1-2\r\n"), std::string::npos);
    auto loaded = startedTree();
    ASSERT_EQ(splash.modes.back(), kStoredBuild);
    EXPECT_EQ(loaded->dir(5), "C:\\Program Files-Old");
    EXPECT_EQ(loaded->dir(7), "C:\\Program Files-Old\\Inner=1-2");
}

TEST_F(DirTreeTest, ExclusionsLeaveOutFoldersAndEverythingBelowThem) {
    files.windowsPath = "C:\\Windows";  // case as GetWindowsDirectory may give it
    files.addFolder("C:\\WINDOWS\\SYSTEM\\drivers");
    files.addFolder("C:\\WINDOWS\\system32\\config");
    files.addFolder("C:\\WINDOWS\\System32x");
    files.addFolder("C:\\WINDOWS\\Fonts");
    files.addFolder("C:\\Docs\\SYSTEM");  // only the Windows folder's own are left out
    files.addFile("C:\\Hidden", kFolder | kHidden);
    files.addFile("C:\\Hidden\\Inner", kFolder);
    files.addFile("C:\\Sys", kFolder | kSystem);
    files.addFile("C:\\Sys\\Inner", kFolder);
    files.addFile("C:\\Docs\\file.txt", 0x20);
    files.addFile("C:\\Docs\\Shown", kFolder | 0x20 | 0x1);  // archive and read-only stay
    const auto tree = startedTree();
    EXPECT_EQ(listOf(*tree),
              (Strings{"C:", "C:\\Snapdesk", "C:\\WINDOWS", "C:\\Docs", "C:\\Snapdesk\\datafiles",
                       "C:\\WINDOWS\\System32x", "C:\\WINDOWS\\Fonts", "C:\\Docs\\SYSTEM",
                       "C:\\Docs\\Shown"}));
}

TEST_F(DirTreeTest, MissingOrDamagedStoredTreeIsWalkedAgain) {
    for (int i = 0; i < 4; ++i) {
        files.addFolder("C:\\L1\\L2\\L3\\L4-" + std::to_string(i));
    }
    const auto walked = listOf(*startedTree());
    // Root; Snapdesk, WINDOWS, L1; datafiles, L2; L3 (7); the four L4 folders.
    ASSERT_EQ(walked.size(), 11u);
    const std::string third = level(3);
    const std::string folder = std::string(kDataFolder) + "\\";

    files.deleteFile(folder + "dirTree3.txt");
    auto again = startedTree();
    EXPECT_EQ(splash.modes.back(), kFullBuild);
    EXPECT_EQ(listOf(*again), walked);
    EXPECT_EQ(level(3), third);  // written anew

    // Level 3 of the intact tree reads "7=6-L3"; level 2 brought folders 5 and 6.
    ASSERT_NE(third.find("\r\n7=6-L3\r\n"), std::string::npos);
    const std::string start = dirtree::levelFileStart(3, "1.2.3");
    const std::string damaged[] = {
        start + "7=-L3\r\n",                // parent missing
        start + "7=7-L3\r\n",               // parent not earlier than the line
        start + "7=8-L3\r\n",               // parent later still
        start + "7=x6-L3\r\n",              // parent not a number
        start + "7=6 -L3\r\n",              // nor this
        start + "7=6L3\r\n",                // no "-" after the parent
        start + "x=6-L3\r\n",               // index not a number
        start + "7=4-L3\r\n",               // parent of another level: a wrong folder
        start + "8=6-L3\r\n",               // index that is not the entry's place
        start + "7=6-L3\r\n8=6-L3b\r\n",    // one folder more than the tree holds
        start,                              // lines lost
        start + "7=6-\r\n",                 // no name
        start + "7=6-a\\b\r\n",             // a name no folder can have
        start + std::string("7=6-L\0", 6),  // nor this
    };
    for (const auto& text : damaged) {
        writeLevel(3, text);
        auto loaded = startedTree();
        EXPECT_EQ(splash.modes.back(), kFullBuild) << text;
        EXPECT_EQ(listOf(*loaded), walked) << text;
        EXPECT_EQ(level(3), third) << text;
    }
    EXPECT_TRUE(ui.messages.empty());

    const std::string general = "[general]\r\ntotalDirs=11\r\n";
    for (const std::string& index :
         {general + "treeBuilt=YES\r\nmaxDepth=99", general + "treeBuilt=YES\r\nmaxDepth=abc",
          general + "treeBuilt=YES\r\nmaxDepth=-1", general + "treeBuilt=YES\r\nmaxDepth=3x",
          std::string("[general]\r\ntotalDirs=12\r\ntreeBuilt=YES\r\nmaxDepth=4"),
          general + "maxDepth=4", general + "treeBuilt=notBuilt, really\r\nmaxDepth=4"}) {
        files.writeFile(folder + "dirTree0.txt", index);
        auto deep = startedTree();
        EXPECT_EQ(splash.modes.back(), kFullBuild) << index;
        EXPECT_EQ(listOf(*deep), walked) << index;
    }
    // The control: the same files with a sound index load.
    files.writeFile(folder + "dirTree0.txt", general + "treeBuilt=YES\r\nmaxDepth=4");
    auto stored = startedTree();
    EXPECT_EQ(splash.modes.back(), kStoredBuild);
    EXPECT_EQ(listOf(*stored), walked);
}

TEST_F(DirTreeTest, IndicesOfFiveDigitsAndMoreReloadWithValidParents) {
    // 10,000 folders under the root, then one below each of the last five: indices and
    // parents from 10,000 on have five digits.
    std::string first = dirtree::levelFileStart(1, "1.2.3");
    for (int i = 2; i <= 10001; ++i) {
        first += dirtree::entryLine(i, 1, "T" + std::to_string(i)) + "\r\n";
    }
    std::string second = dirtree::levelFileStart(2, "1.2.3");
    for (int i = 10002; i <= 10006; ++i) {
        second += dirtree::entryLine(i, i - 5, "S" + std::to_string(i)) + "\r\n";
    }
    writeLevel(1, first);
    writeLevel(2, second);
    writeLevel(3, dirtree::levelFileStart(3, "1.2.3"));
    files.writeFile(std::string(kDataFolder) + "\\dirTree0.txt",
                    "[general]\r\nmaxDepth=2\r\ntotalDirs=10006\r\ntreeBuilt=YES\r\n");
    const auto tree = startedTree();
    ASSERT_EQ(splash.modes.back(), kStoredBuild);
    ASSERT_EQ(tree->dirCount(), 10006);
    EXPECT_EQ(tree->dir(9999), "C:\\T9999");
    EXPECT_EQ(tree->dir(10001), "C:\\T10001");
    EXPECT_EQ(tree->dir(10002), "C:\\T9997\\S10002");
    EXPECT_EQ(tree->dir(10006), "C:\\T10001\\S10006");
    EXPECT_EQ(tree->searchChunk(), 1252);
}

TEST_F(DirTreeTest, TreeDeeperThanTheWalkIsUsedButWalkedAgainNextTime) {
    std::string path = "C:\\Deep";
    for (int i = 2; i <= 23; ++i) {
        path += "\\D" + std::to_string(i);
    }
    files.addFolder(path);
    const auto tree = startedTree();
    EXPECT_EQ(tree->dir(tree->dirCount()),
              "C:\\Deep\\D2\\D3\\D4\\D5\\D6\\D7\\D8\\D9\\D10\\D11"
              "\\D12\\D13\\D14\\D15\\D16\\D17\\D18\\D19\\D20\\D21");
    EXPECT_EQ(level(0).find("[general]"), std::string::npos);
    EXPECT_EQ(level(22), "<missing>");
    EXPECT_TRUE(tree->treeReady());
    startedTree();
    EXPECT_EQ(splash.modes, (Strings{kFullBuild, kFullBuild}));
}

TEST_F(DirTreeTest, FailedWalkIsReportedAndLeavesASearchableList) {
    files.remove(kDataFolder);  // no folder for the level files
    files.addFolder("C:\\Docs");
    shell.folders[0] = "C:\\Desk";
    auto tree = makeTree();
    tree->setProjectFolders({"", "D:\\Work"});
    tree->buildDirTree(splash);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Error has occured in 'buildDirTreeFromScratch'\nPath/File access error "
              "DirectoryTree");
    EXPECT_EQ(ui.messages[0].title, "Snapdesk!");
    EXPECT_EQ(listOf(*tree),
              (Strings{"C:", "C:\\Snapdesk", "C:\\WINDOWS", "C:\\Docs", "D:\\Work", "C:\\Desk\\"}));
    EXPECT_EQ(tree->searchChunk(), 2);
    std::string name = "x.txt";
    std::int32_t start = 0;
    std::uint32_t high = 0, low = 0;
    bool done = false;
    for (int step = 0; step < 10 && !done; ++step) {
        tree->findPath(name, start, high, low, done, false);
    }
    EXPECT_TRUE(done);
}

TEST_F(DirTreeTest, RebuildWalksAgainWithTheRefreshTimerStopped) {
    shell.folders[0] = "C:\\Desk";
    auto tree = startedTree();
    const std::int32_t before = tree->dirCount();
    files.addFolder("C:\\New\\Deeper");
    Strings timer;
    tree->onFolderWalked = [&] { timer.push_back("repaint"); };  // not shown: no splash now
    tree->rebuildDirTree([&](bool on) { timer.push_back(on ? "on" : "off"); });
    EXPECT_EQ(timer, (Strings{"off", "on"}));
    EXPECT_TRUE(tree->treeReady());
    EXPECT_EQ(tree->dirCount(), before + 2);
    EXPECT_EQ(tree->dir(tree->dirCount()), "C:\\Desk\\");
    EXPECT_NE(level(2).find("=4-Deeper\r\n"), std::string::npos);
    auto loaded = startedTree();
    EXPECT_EQ(splash.modes.back(), kStoredBuild);
    EXPECT_EQ(listOf(*loaded), listOf(*tree));
}

TEST_F(DirTreeTest, NetworkProgramFolderWalksItsShare) {
    EXPECT_EQ(dirtree::driveRootOf("C:\\Program Files\\Snapdesk\\datafiles\\"), "C:");
    EXPECT_EQ(dirtree::driveRootOf("\\\\server\\share\\Snapdesk\\datafiles\\"),
              "\\\\server\\share");
    EXPECT_EQ(dirtree::driveRootOf("\\\\server\\share"), "\\\\server\\share");
    EXPECT_EQ(dirtree::driveRootOf("\\\\server"), "\\\\");
}

// The splash presenter over a recording view, as the real window runs it.
struct RecordingView : SplashView {
    std::string label1, welcome, product;
    Strings calls;
    void setTexts(const std::string& a, const std::string& b, const std::string& c) override {
        label1 = a;
        welcome = b;
        product = c;
        calls.push_back("texts");
    }
    void centreOnScreen() override { calls.push_back("centre"); }
    void waitForTimer(unsigned ms) override { calls.push_back("wait" + std::to_string(ms)); }
    void repaint() override { calls.push_back("repaint"); }
    void unload() override { calls.push_back("unload"); }
};

struct PresenterSplash : DirTreeSplashHost {
    RecordingView view;
    sim::SimUi& ui;
    explicit PresenterSplash(sim::SimUi& u) : ui(u) {}
    void showSplash(DirectoryTree& tree) override {
        SplashDirTreeBuild presenter(tree, view, ui);
        presenter.load();
        presenter.activate();
    }
};

TEST_F(DirTreeTest, SplashSaysHowLongAndRepaintsOnlyDuringAWalk) {
    files.addFolder("C:\\Docs");
    PresenterSplash host(ui);
    auto tree = makeTree();
    tree->buildDirTree(host);
    EXPECT_EQ(host.view.label1, "Initializing ... this may take a few minutes.");
    EXPECT_EQ(host.view.welcome, "Welcome to");
    EXPECT_EQ(host.view.product, "Snapdesk!");
    // One repaint after each of the five folders listed: root; Snapdesk, WINDOWS, Docs;
    // datafiles.
    EXPECT_EQ(host.view.calls, (Strings{"texts", "centre", "wait1000", "repaint", "repaint",
                                        "repaint", "repaint", "repaint", "wait2000", "unload"}));
    EXPECT_EQ(ui.doEventsCalls, 1);
    EXPECT_FALSE(tree->onFolderWalked);

    PresenterSplash second(ui);
    auto loaded = makeTree();
    loaded->buildDirTree(second);
    EXPECT_EQ(second.view.label1, "Initializing ...");
    EXPECT_EQ(second.view.calls, (Strings{"texts", "centre", "wait1000", "wait2000", "unload"}));
    EXPECT_EQ(listOf(*loaded), listOf(*tree));
}

TEST(LoadDirectoryTree, StartUpStepLoadsTheTreeWithTheProjectFolders) {
    sim::SimPlatform machine;
    sim::SimShell shell;
    shell.folders[0] = "C:\\Desk";
    machine.files.addFolder("C:\\Prog\\datafiles");
    machine.files.addFolder("C:\\Docs");
    DirectSplash splash;
    const auto tree = loadDirectoryTree(machine.platform, shell, "C:\\Prog\\datafiles",
                                        {"", "C:\\Docs"}, splash, "0.1.0");
    ASSERT_TRUE(tree);
    EXPECT_TRUE(tree->treeReady());
    EXPECT_EQ(splash.modes, Strings{kFullBuild});
    EXPECT_EQ(tree->dirList(), (Strings{"", "C:", "C:\\Prog", "C:\\Docs", "C:\\Prog\\datafiles",
                                        "C:\\Docs", "C:\\Desk\\"}));
    EXPECT_NE(machine.files.readFile("C:\\Prog\\datafiles\\dirTree1.txt")
                  .value_or("")
                  .find("# Version: 0.1.0\r\n"),
              std::string::npos);
}

}  // namespace
}  // namespace snapdesk::testing_dir_tree
