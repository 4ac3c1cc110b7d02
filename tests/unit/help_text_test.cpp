#include "mainwindow/help_text.h"

#include <gtest/gtest.h>

namespace snapdesk {
namespace {

TEST(HelpText, JoinsTheLinesOfAParagraphAndKeepsEverythingLaidOut) {
    const std::string file =
        "1. Comments\r\n"
        "-----------\r\n"
        "Click the comment line, type a note and\r\n"
        "press Enter. It is saved with the\r\n"
        "project.\r\n"
        "\r\n"
        "The tabs are:\r\n"
        "Documents  - every open document.\r\n"
        "Others     - the other windows.\r\n"
        "Web Browsers - the pages.\r\n"
        "  Update Image   take a new\r\n"
        "                 picture.\r\n";
    EXPECT_EQ(unwrapParagraphs(file),
              "1. Comments\n"
              "-----------\n"
              "Click the comment line, type a note and press Enter. It is saved with the "
              "project.\n"
              "\n"
              "The tabs are:\n"
              "Documents  - every open document.\n"
              "Others     - the other windows.\n"
              "Web Browsers - the pages.\n"
              "  Update Image   take a new\n"
              "                 picture.\n");
}

}  // namespace
}  // namespace snapdesk
