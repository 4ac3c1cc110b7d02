#include "tracking/long_file_name.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"

namespace snapdesk {
namespace {

class LongFileNames : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.files.addFile("C:\\Program Files\\Big Editor\\Read Me.txt");
        machine.files.addShortName("C:\\Program Files", "PROGRA~1");
        machine.files.addShortName("C:\\Program Files\\Big Editor", "BIGEDI~1");
        machine.files.addShortName("C:\\Program Files\\Big Editor\\Read Me.txt", "README~1.TXT");
        machine.files.addFile("relative\\Sub Folder\\file.txt");
    }
    std::string longName(const std::string& path) {
        return LongFileName(machine.files, machine.ui, path);
    }
    sim::SimPlatform machine;
};

TEST_F(LongFileNames, ShortAndWrongCaseNamesBecomeLongAndCaseCorrect) {
    EXPECT_EQ(longName("C:\\PROGRA~1\\BIGEDI~1\\README~1.TXT"),
              "C:\\Program Files\\Big Editor\\Read Me.txt");
    EXPECT_EQ(longName("c:\\program files\\big editor\\read me.TXT"),
              "c:\\Program Files\\Big Editor\\Read Me.txt");
}

TEST_F(LongFileNames, APathWithoutDriveStartsWithABackslash) {
    EXPECT_EQ(longName("RELATIVE\\SUB FOLDER\\FILE.TXT"), "\\relative\\Sub Folder\\file.txt");
}

TEST_F(LongFileNames, MissingPartsStayAsWrittenAndNothingIsShown) {
    EXPECT_EQ(longName("C:\\PROGRA~1\\gone\\x.exe"), "C:\\Program Files\\gone\\x.exe");
    EXPECT_EQ(longName(""), "");
    EXPECT_TRUE(machine.ui.messages.empty());
}

TEST_F(LongFileNames, AFailingLookUpIsReportedAndGivesAnEmptyName) {
    machine.files.failSearches = true;
    EXPECT_EQ(longName("C:\\PROGRA~1\\x.exe"), "");
    ASSERT_EQ(machine.ui.messages.size(), 1u);
    EXPECT_EQ(machine.ui.messages[0].text,
              "Error has occured in 'LongFileName'\nFileName: C:\\PROGRA~1\\x.exe _ Bad file name "
              "or number SimFileSystem");
    EXPECT_EQ(machine.ui.messages[0].title, "Snapdesk!");
}

TEST_F(LongFileNames, WildcardsAreNotExpanded) {
    EXPECT_EQ(longName("C:\\PROGRA~1\\*"), "C:\\Program Files\\*");
}

}  // namespace
}  // namespace snapdesk
