// The reader of the level files, apart from any file system.
#include <gtest/gtest.h>

#include "location/dir_tree_file.h"

namespace snapdesk::dirtree {
namespace {

TEST(DirTreeFile, ReaderTakesTheFirstEqualsAndTheFirstDashAfterIt) {
    const auto entries = parseLevelFile(levelFileStart(2, "1.0.0") +
                                        "17=3-Letters-A=B\r\n123456=7-x\nnoequals\r\n\r\n"
                                        "99999999999=12345678901-y");
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 3u);
    EXPECT_EQ((*entries)[0].index, 17);
    EXPECT_EQ((*entries)[0].parent, 3);
    EXPECT_EQ((*entries)[0].name, "Letters-A=B");
    EXPECT_EQ((*entries)[1].index, 123456);
    EXPECT_EQ((*entries)[1].parent, 7);
    EXPECT_EQ((*entries)[1].name, "x");
    EXPECT_EQ((*entries)[2].index, 99999999999);
    EXPECT_EQ((*entries)[2].parent, 12345678901);
    EXPECT_EQ(entryLine(17, 3, "Letters-A=B"), "17=3-Letters-A=B");
}

TEST(DirTreeFile, MalformedEntryLinesMakeTheFileUnusable) {
    for (const char* line : {"1=+1-x", "1=99999999999999999999-x", "=1-x", " 2=1-x", "2=1-.",
                             "2=1-..", "2=1-a?", "2=1-a:b", "2=1-a/b", "2=1", "2=-x"}) {
        EXPECT_FALSE(parseLevelFile(std::string("[3]\r\n") + line + "\r\n")) << line;
    }
    EXPECT_TRUE(parseLevelFile("# a=b-c\r\n[x=1-y]\r\n"));  // header and level lines
}

TEST(DirTreeFile, LevelsMustHangFromTheLevelAbove) {
    StoredTree tree("C:");
    ASSERT_TRUE(tree.addLevel({{2, 1, "A"}, {3, 1, "B"}}));
    EXPECT_FALSE(tree.addLevel({{4, 1, "C"}}));               // the root is not of the level above
    EXPECT_FALSE(tree.addLevel({{4, 3, "C"}, {6, 3, "D"}}));  // a gap in the numbering
    EXPECT_EQ(tree.count(), 3u);                              // refused levels leave nothing behind
    ASSERT_TRUE(tree.addLevel({{4, 3, "C"}, {5, 2, "D"}}));
    ASSERT_TRUE(tree.addLevel({}));
    EXPECT_FALSE(tree.addLevel({{6, 4, "E"}}));  // nothing can follow an empty level
    EXPECT_EQ(tree.folders(),
              (std::vector<std::string>{"", "C:", "C:\\A", "C:\\B", "C:\\B\\C", "C:\\A\\D"}));
}

}  // namespace
}  // namespace snapdesk::dirtree
