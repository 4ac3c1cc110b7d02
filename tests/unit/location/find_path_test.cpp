// The search of the folder list by file name, in slices and whole, and by folder name.
#include <gtest/gtest.h>

#include "dir_tree_fixture.h"

namespace snapdesk::testing_dir_tree {
namespace {

// A tree of exactly n folders, the root included: F002 to Fnnn directly under the root. The
// data folder is F002 itself, so that it adds no folder of its own.
class FindPathTest : public ::testing::Test {
  protected:
    std::unique_ptr<DirectoryTree> treeOf(int n) {
        files.windowsPath = "C:\\NOWINDOWS";
        for (int i = 2; i <= n; ++i) {
            files.addFolder(folderName(i));
        }
        auto tree = std::make_unique<DirectoryTree>(files, shell, ui, "C:\\F002", "1.2.3");
        tree->buildDirTreeFromScratch();
        EXPECT_TRUE(ui.messages.empty());
        return tree;
    }
    static std::string folderName(int i) {
        std::string digits = std::to_string(i);
        return "C:\\F" + std::string(3 - std::min<std::size_t>(3, digits.size()), '0') + digits;
    }
    // One step from `start`; the searches it made.
    struct Step {
        std::string found;
        int searches;
    };
    Step step(DirectoryTree& tree, std::string name, bool complete = false) {
        const int before = files.searches();
        const std::string found = tree.findPath(name, start, high, low, done, complete);
        return {found, files.searches() - before};
    }
    sim::SimFileSystem files;
    sim::SimShell shell;
    sim::SimUi ui;
    std::int32_t start = 0;
    std::uint32_t high = 0, low = 0;
    bool done = false;
};

TEST_F(FindPathTest, EightyFoldersAreSearchedInSlicesOfEleven) {
    auto tree = treeOf(80);
    ASSERT_EQ(tree->dirCount(), 80);
    ASSERT_EQ(tree->searchChunk(), 11);
    files.addFile("C:\\F070\\Report.doc");
    files.addFile("C:\\F069\\Report.doc");
    std::string name = " Report.doc ";
    EXPECT_EQ(tree->findPath(name, start, high, low, done, false), "C:\\F070\\Report.doc");
    EXPECT_EQ(name, "Report.doc");  // stored back trimmed
    EXPECT_EQ(start, 69);           // 80 down to 70
    EXPECT_FALSE(done);
    EXPECT_EQ(step(*tree, name).found, "C:\\F069\\Report.doc");
    EXPECT_EQ(start, 58);  // 69 down to 59
    files.remove("C:\\F070\\Report.doc");
    files.remove("C:\\F069\\Report.doc");
    // 58..48, 47..37, 36..26, 25..15, 14..4, then 3..1 finishes the list.
    std::vector<std::int32_t> starts;
    std::vector<int> searches;
    while (!done && starts.size() < 20) {
        const Step s = step(*tree, name);
        EXPECT_EQ(s.found, kNotFound);
        starts.push_back(start);
        searches.push_back(s.searches);
    }
    EXPECT_TRUE(done);
    EXPECT_EQ(starts, (std::vector<std::int32_t>{47, 36, 25, 14, 3, 1}));
    EXPECT_EQ(searches, (std::vector<int>{11, 11, 11, 11, 11, 3}));

    done = false;
    start = 0;
    const Step whole = step(*tree, name, true);
    EXPECT_EQ(whole.found, kNotFound);
    EXPECT_TRUE(done);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(whole.searches, 80);
}

TEST_F(FindPathTest, SliceThatWouldEndAtTheRootFinishesTheList) {
    auto tree = treeOf(12);
    ASSERT_EQ(tree->searchChunk(), 2);  // 12 / 8 + 0.9 = 2.4
    start = 4;                          // next would be 2: not yet the end
    EXPECT_EQ(step(*tree, "x.txt").searches, 2);
    EXPECT_EQ(start, 2);
    EXPECT_FALSE(done);
    start = 3;  // next would be 1: this step covers 3 down to 1
    EXPECT_EQ(step(*tree, "x.txt").searches, 3);
    EXPECT_EQ(start, 1);
    EXPECT_TRUE(done);
    // A start left from a longer list begins at the end of this one; a complete search
    // from the middle covers the rest at once.
    done = false;
    start = 500;
    EXPECT_EQ(step(*tree, "x.txt").searches, 2);
    EXPECT_EQ(start, 10);
    EXPECT_EQ(step(*tree, "x.txt", true).searches, 10);
    EXPECT_TRUE(done);
}

TEST_F(FindPathTest, PatternsAcceptTheNameWithAnyThreeLetterExtension) {
    auto tree = treeOf(9);
    files.addFile("C:\\F009\\Report1.doc", 0, 50);
    files.addFile("C:\\F009\\Report.docx", 0, 50);
    files.addFile("C:\\F009\\Report.do", 0, 50);
    files.addFile("C:\\F008\\Report .doc", 0, 5);
    files.addFile("C:\\F007\\REPORT.TXT", 0, 9);
    files.addFile("C:\\F006\\Report", 0, 7);
    files.addFolder("C:\\F005\\Report.doc");
    files.addFolder("C:\\F004\\Report");
    files.addFile("C:\\F003\\Report.doc");
    auto search = [&](std::string name) {
        start = 0;
        done = false;
        return step(*tree, name, true).found;
    };
    EXPECT_EQ(search("Report"), "C:\\F007\\REPORT.TXT");  // latest access of the three
    files.remove("C:\\F007\\REPORT.TXT");
    EXPECT_EQ(search("Report"), "C:\\F006\\Report");
    files.remove("C:\\F006\\Report");
    EXPECT_EQ(search("Report"), "C:\\F008\\Report .doc");
    EXPECT_EQ(search("report.doc"), "C:\\F003\\report.doc");  // the name as asked for
    EXPECT_EQ(search("Report1"), "C:\\F009\\Report1.doc");
    EXPECT_EQ(search("Report.docx"), "C:\\F009\\Report.docx");  // only the name itself fits
    EXPECT_EQ(search("Report.do"), "C:\\F009\\Report.do");
    EXPECT_EQ(search("Report.d"), kNotFound);  // Report.d + any: none fits
    EXPECT_EQ(search("   "), kNotFound);
    EXPECT_EQ(files.searches(), 8 * 9);  // the blank name lists nothing
    // Wildcards are never part of a file's name: they would only find other files.
    EXPECT_EQ(search("Rep?rt.doc"), kNotFound);
    EXPECT_EQ(search("Re*"), kNotFound);
    EXPECT_TRUE(done);
    EXPECT_EQ(files.searches(), 8 * 9);
}

TEST_F(FindPathTest, LatestAccessWinsAndTiesKeepTheFirstFound) {
    auto tree = treeOf(9);
    files.addFile("C:\\F003\\a.txt", 0, (std::uint64_t{2} << 32) | 1);
    files.addFile("C:\\F005\\a.txt", 0, (std::uint64_t{1} << 32) | 0xFFFFFFFFu);
    files.addFile("C:\\F008\\a.txt", 0, std::uint64_t{1} << 32);
    files.addFile("C:\\F009\\b.txt", 0, 40);
    files.addFile("C:\\F004\\b.txt", 0, 40);
    files.addFile("C:\\F006\\b.txt", 0, 39);
    high = 9;
    low = 9;
    EXPECT_EQ(step(*tree, "a.txt", true).found, "C:\\F003\\a.txt");
    EXPECT_EQ(high, 2u);
    EXPECT_EQ(low, 1u);
    start = 0;
    EXPECT_EQ(step(*tree, "b.txt", true).found, "C:\\F009\\b.txt");  // nearer the end
    EXPECT_EQ(high, 0u);
    EXPECT_EQ(low, 40u);
    // Nothing found: the best time is left as it was.
    start = 0;
    EXPECT_EQ(step(*tree, "c.txt", true).found, kNotFound);
    EXPECT_EQ(low, 40u);
}

TEST_F(FindPathTest, MessagesArePumpedBetweenFoldersOnlyWhenIncremental) {
    auto tree = treeOf(80);
    std::vector<int> searchesAtPump;
    const int base = files.searches();
    ui.onDoEvents = [&] { searchesAtPump.push_back(files.searches() - base); };
    step(*tree, "x.txt");
    EXPECT_EQ(searchesAtPump, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    start = 0;
    step(*tree, "x.txt", true);
    EXPECT_EQ(ui.doEventsCalls, 10);
}

TEST_F(FindPathTest, RebuildDuringAPumpEndsTheStepAndTheNextStartsAnew) {
    auto tree = treeOf(80);
    files.addFile("C:\\F080\\x.txt");
    int pumps = 0;
    ui.onDoEvents = [&] {
        if (++pumps == 3) {
            for (int i = 20; i <= 80; ++i) {
                files.remove(folderName(i));
            }
            tree->rebuildDirTree(nullptr);
        }
    };
    EXPECT_EQ(step(*tree, "x.txt").found, "C:\\F080\\x.txt");
    EXPECT_EQ(pumps, 3);
    EXPECT_EQ(start, 0);
    EXPECT_FALSE(done);
    ui.onDoEvents = nullptr;
    ASSERT_EQ(tree->dirCount(), 19);
    while (!done && pumps < 100) {
        EXPECT_EQ(step(*tree, "x.txt").found, kNotFound);
        ++pumps;
    }
    EXPECT_TRUE(done);
}

TEST_F(FindPathTest, NotReadyOrFailingSearchLeavesTheStateAlone) {
    DirectoryTree fresh(files, shell, ui, "C:\\F002", "1.2.3");
    EXPECT_EQ(step(fresh, "a.txt", true).found, kNotFound);
    EXPECT_EQ(start, 0);
    EXPECT_FALSE(done);

    auto tree = treeOf(20);
    files.failSearches = true;
    start = 15;
    high = 3;
    low = 4;
    EXPECT_EQ(step(*tree, "Report", true).found, "");
    EXPECT_EQ(start, 15);
    EXPECT_EQ(high, 3u);
    EXPECT_EQ(low, 4u);
    EXPECT_FALSE(done);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Error has occured in 'findPath'\nFileName: C:\\F015\\Report* _ Bad file name or "
              "number SimFileSystem");
    EXPECT_EQ(ui.messages[0].title, "Snapdesk!");
}

TEST_F(DirTreeTest, FindFolderTakesTheLastMatchAndDesktopFilesAreFoundFirst) {
    files.addFolder("C:\\A\\Letters");
    files.addFolder("C:\\B\\Deep\\Letters");
    files.addFolder("C:\\B\\letters");
    files.addFolder("C:\\B\\MyLetters");
    shell.folders[0] = "C:\\Desk";
    files.addFile("C:\\Desk\\note.txt", 0, 5);
    files.addFile("C:\\A\\note.txt", 0, 5);  // as recent, but met after the desktop's
    const auto tree = startedTree();
    EXPECT_EQ(tree->findFolder("Letters"), "C:\\B\\Deep\\Letters");
    EXPECT_EQ(tree->findFolder(std::string("Letters\0junk", 12)), "C:\\B\\Deep\\Letters");
    EXPECT_EQ(tree->findFolder("letters"), "C:\\B\\letters");
    EXPECT_EQ(tree->findFolder("Nothing"), kNotFound);
    std::string name = "note.txt";
    std::int32_t start = 0;
    std::uint32_t high = 0, low = 0;
    bool done = false;
    EXPECT_EQ(tree->findPath(name, start, high, low, done, true), "C:\\Desk\\note.txt");
    EXPECT_EQ(tree->dir(tree->dirCount()), "C:\\Desk\\");
}

}  // namespace
}  // namespace snapdesk::testing_dir_tree
