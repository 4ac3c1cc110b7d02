#include "common/make_short_file_name.h"

#include <gtest/gtest.h>

namespace snapdesk {
namespace {

TEST(MakeShortFileName, ExplorerCaptionsKeepTheFolderOrTheDrivePath) {
    EXPECT_EQ(makeShortFileName("Exploring - C:\\Docs\\Letters"), "Letters");
    // The only backslash follows the drive colon: the whole path stays.
    EXPECT_EQ(makeShortFileName("Exploring - C:\\Letters"), "C:\\Letters");
    EXPECT_EQ(makeShortFileName("C:\\"), "C:\\");
}

TEST(MakeShortFileName, BrowserTitlesLoseTheBrowserName) {
    EXPECT_EQ(makeShortFileName("Front Page - Netscape"), "Netscape - Front Page");
    EXPECT_EQ(makeShortFileName("Weather - Microsoft Internet Explorer"), "Weather");
    // Too close to the start to be a title's suffix.
    EXPECT_EQ(makeShortFileName(" - Netscape"), " - Netscape");
    EXPECT_EQ(makeShortFileName("Abc - Microsoft Internet Explorer"),
              "Abc - Microsoft Internet Explorer");
    EXPECT_EQ(makeShortFileName("Abcde - Microsoft Internet Explorer"), "Abcde");
}

TEST(MakeShortFileName, PathsKeepTheirLastPart) {
    EXPECT_EQ(makeShortFileName("C:\\Docs\\report.doc"), "report.doc");
    EXPECT_EQ(makeShortFileName("\\\\server\\share\\notes.txt"), "notes.txt");
    EXPECT_EQ(makeShortFileName("report.doc"), "report.doc");
    EXPECT_EQ(makeShortFileName(""), "");
}

TEST(MakeShortFileName, ModeNineDoublesAmpersands) {
    EXPECT_EQ(makeShortFileName("C:\\Docs\\Tom & Jerry.txt", kDoubleAmpersands),
              "Tom && Jerry.txt");
    EXPECT_EQ(makeShortFileName("Tom & Jerry"), "Tom & Jerry");
    EXPECT_EQ(makeShortFileName("&&", 1), "&&");
}

}  // namespace
}  // namespace snapdesk
