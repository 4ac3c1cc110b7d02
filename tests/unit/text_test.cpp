#include "common/text.h"

#include <gtest/gtest.h>

namespace snapdesk::text {
namespace {

TEST(Text, PositionsAreOneBasedAndZeroMeansAbsent) {
    EXPECT_EQ(findFirst("a.b.c", "."), 2u);
    EXPECT_EQ(findFirst("a.b.c", ".", 3), 4u);
    EXPECT_EQ(findFirst("a.b.c", ".", 5), 0u);
    EXPECT_EQ(findFirst("abc", "x"), 0u);
    EXPECT_EQ(findFirst("abc", "c", 99), 0u);
    EXPECT_EQ(findLast("a.b.c", "."), 4u);
    EXPECT_EQ(findLast("abc", "."), 0u);
    EXPECT_EQ(left("abc", 0), "");
    EXPECT_EQ(left("abc", 9), "abc");
    EXPECT_EQ(from("abcdef", 3), "cdef");
    EXPECT_EQ(from("abc", 4), "");
    EXPECT_EQ(from("abc", 0), "");
}

TEST(Text, TrimmingAndNuls) {
    EXPECT_EQ(trim("  a b  "), "a b");
    EXPECT_EQ(trim("\ta\t"), "\ta\t");  // blanks only
    EXPECT_EQ(trim("   "), "");
    EXPECT_EQ(NulTrim(std::string(" name \0 rest", 12)), "name");
    EXPECT_EQ(NulTrim(std::string("\0", 1)), "");
    EXPECT_EQ(NulTrim("  plain "), "plain");
}

TEST(Text, UpperCaseLeavesNonLettersAlone) {
    EXPECT_EQ(upperCase("c:\\Program Files\\é.exe"), "C:\\PROGRAM FILES\\é.EXE");
}

}  // namespace
}  // namespace snapdesk::text
