#include "tracking/coffee_shop_list.h"

#include <gtest/gtest.h>

#include "common/runtime_error.h"
#include "sim_world.h"
#include "tracking/list_report.h"

namespace snapdesk::testing {
namespace {

class WindowList : public ::testing::Test, public SimWorld {
  protected:
    // n plain top-level windows "Window k" of one process.
    std::vector<WindowHandle> openWindows(int n) {
        std::vector<WindowHandle> handles;
        for (int k = 1; k <= n; ++k) {
            handles.push_back(topLevel("Window " + std::to_string(k)));
        }
        return handles;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (long i = 1; i <= list.count(); ++i) {
            out.push_back(list.WindowText(i));
        }
        return out;
    }
};

TEST_F(WindowList, StartsEmptyWithThirtyOneSlotsAndUsesSlotZeroFirst) {
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.capacity(), 31u);
    const auto first = topLevel("Only window");
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.hWnd(1), first);
}

TEST_F(WindowList, GrowsByThirtySlotsKeepingEveryRecord) {
    const auto handles = openWindows(31);
    list.refreshList();
    ASSERT_EQ(list.count(), 31);
    EXPECT_EQ(list.capacity(), 61u);
    for (long i = 1; i <= 31; ++i) {
        EXPECT_EQ(list.hWnd(i), handles[static_cast<std::size_t>(i - 1)]);
    }
    const auto more = openWindows(30);
    list.refreshList();
    EXPECT_EQ(list.count(), 61);
    EXPECT_EQ(list.capacity(), 91u);
    EXPECT_EQ(list.hWnd(61), more.back());
}

TEST_F(WindowList, NewRecordsStartWithTheirDiscoveryValues) {
    const auto w = topLevel("Some program");
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.hTopWnd(1), w);
    EXPECT_EQ(list.hClient(1), w);
    EXPECT_EQ(list.inTab(1), kOthersTab);
    EXPECT_EQ(list.originalTab(1), kOthersTab);
    EXPECT_TRUE(list.doDisplay(1));
    EXPECT_EQ(list.filePath(1), "notfound");
    EXPECT_EQ(list.CommentString(1), "");
    EXPECT_EQ(list.hIcon(1), kDocIcon);
}

TEST_F(WindowList, TextsOfNulsOrBlanksBecomeUnknownAndNulsCutTheText) {
    topLevel(std::string("\0\0\0", 3));
    topLevel("    ");
    topLevel(std::string("Title\0garbage", 13));
    list.refreshList();
    EXPECT_EQ(texts(), (std::vector<std::string>{"[unknown]", "[unknown]", "Title"}));
}

TEST_F(WindowList, DevelopmentEnvironmentWindowsAreNeverAdded) {
    topLevel("Project1 - Microsoft Visual Basic [run]");
    topLevel("VB Resource Editor");
    topLevel("Kept");
    list.refreshList();
    EXPECT_EQ(texts(), (std::vector<std::string>{"Kept"}));
}

TEST_F(WindowList, ClosedAndHiddenWindowsArePurgedAndTheRestMoveUp) {
    const auto w = openWindows(5);
    list.refreshList();
    desktop.destroyWindow(w[1]);
    desktop.window(w[3]).visible = false;
    list.refreshList();
    EXPECT_EQ(texts(), (std::vector<std::string>{"Window 1", "Window 3", "Window 5"}));
    EXPECT_EQ(list.hWnd(4), 0u);  // beyond count: neutral
}

TEST_F(WindowList, OrderCommandsAtTheEdgesAndOutOfRange) {
    openWindows(4);
    list.refreshList();
    const auto original = texts();
    list.mvToFront(1);
    list.mvToEnd(4);
    list.mvToEnd(0);
    list.mvToFront(5);
    list.moveTo(1, 9);
    EXPECT_EQ(texts(), original);

    list.mvToFront(3);
    EXPECT_EQ(texts(), (std::vector<std::string>{"Window 3", "Window 1", "Window 2", "Window 4"}));
    list.mvToEnd(1);
    EXPECT_EQ(texts(), (std::vector<std::string>{"Window 1", "Window 2", "Window 4", "Window 3"}));
    list.moveTo(1, 4);
    EXPECT_EQ(texts(), (std::vector<std::string>{"Window 3", "Window 2", "Window 4", "Window 1"}));
    // The order survives the next refresh.
    list.refreshList();
    EXPECT_EQ(texts(), (std::vector<std::string>{"Window 3", "Window 2", "Window 4", "Window 1"}));
}

TEST_F(WindowList, PropertiesTrimStringsAndIgnoreOutOfRangePositions) {
    topLevel("A window");
    list.refreshList();
    list.setCommentString(1, "  my note  ");
    list.setFilePath(1, " C:\\x.txt ");
    list.setCaptionString(0, "nobody");
    list.setCommentString(2, "nobody");
    EXPECT_EQ(list.CommentString(1), "my note");
    EXPECT_EQ(list.filePath(1), "C:\\x.txt");
    EXPECT_EQ(list.CommentString(2), "");
    EXPECT_EQ(list.thePhoto(0), nullptr);
    EXPECT_EQ(list.hIcon(2), 0u);
    EXPECT_FALSE(list.doDisplay(-1));
}

TEST_F(WindowList, UpdateCountIsSixteenBitAndOverflowIsAnError) {
    topLevel("A window");
    list.refreshList();
    list.setUpdateCount(1, -32768);
    EXPECT_EQ(list.updateCount(1), -32768);
    list.setUpdateCount(1, 32767);
    EXPECT_EQ(list.updateCount(1), 32767);
    EXPECT_THROW(list.setUpdateCount(1, 32768), RuntimeError);
    EXPECT_EQ(list.updateCount(1), 32767);
}

TEST_F(WindowList, IconsFallBackToTheStockApplicationIcon) {
    const auto none = topLevel("No icon");
    desktop.window(none).bigIcon = 0;
    const auto classOnly = topLevel("Class icon");
    desktop.window(classOnly).bigIcon = 0;
    desktop.window(classOnly).classIcon = 0x7777;
    const auto hung = topLevel("Hung");
    desktop.window(hung).hung = true;
    list.refreshList();
    EXPECT_EQ(list.hIcon(positionOf(none)), 32512u);
    EXPECT_EQ(list.hIcon(positionOf(classOnly)), 0x7777u);
    EXPECT_EQ(list.hIcon(positionOf(hung)), 32512u);
}

TEST_F(WindowList, AWindowLogoAnswerKeepsThePreviousIcon) {
    const auto w = topLevel("Program");
    list.refreshList();
    desktop.window(w).bigIcon = 32517;  // the stock window logo
    list.refreshList();
    EXPECT_EQ(list.hIcon(1), kDocIcon);
    desktop.window(w).bigIcon = 0x1234;
    list.refreshList();
    EXPECT_EQ(list.hIcon(1), 0x1234u);
}

TEST_F(WindowList, IconIsNoLongerAskedOnceThereIsAPicture) {
    const auto w = topLevel("Program");
    list.refreshList();
    list.setGotPhoto(1, true);
    desktop.window(w).bigIcon = 0x5555;
    list.refreshList();
    EXPECT_EQ(list.hIcon(1), kDocIcon);
}

TEST_F(WindowList, ZoomStateOfTopLevelWindowsFollowsTheWindowUnlessMinimised) {
    const auto w = topLevel("Program");
    desktop.window(w).zoomed = true;
    list.refreshList();
    EXPECT_TRUE(list.isZoomed(1));
    EXPECT_TRUE(list.parentZoomed(1));
    desktop.window(w).minimized = true;
    desktop.window(w).zoomed = false;
    list.refreshList();
    EXPECT_TRUE(list.isZoomed(1));  // as last seen before it was minimised
}

TEST_F(WindowList, ZoomStateOfDocumentsIsReadFromTheActiveDocumentOnly) {
    auto mdi = mdiFrame("Microsoft Word");
    const auto a = child(mdi.client, "a.doc");
    const auto b = child(mdi.client, "b.doc");
    desktop.window(a).zoomed = true;
    desktop.window(b).zoomed = true;
    desktop.window(mdi.client).mdiActive = a;
    desktop.window(mdi.frame).zoomed = true;
    list.refreshList();
    EXPECT_TRUE(list.isZoomed(positionOf(a)));
    EXPECT_FALSE(list.isZoomed(positionOf(b)));  // not active: unchanged from creation
    EXPECT_TRUE(list.parentZoomed(positionOf(b)));
}

TEST_F(WindowList, RemovingAMiddleRecordAndAnUnknownHandle) {
    const auto w = openWindows(3);
    list.refreshList();
    desktop.window(w[1]).visible = false;
    list.refreshList();
    EXPECT_EQ(texts(), (std::vector<std::string>{"Window 1", "Window 3"}));
    // A refresh with nothing to remove leaves the list as it is.
    list.refreshList();
    EXPECT_EQ(texts(), (std::vector<std::string>{"Window 1", "Window 3"}));
}

TEST_F(WindowList, RecordsLetGoOfThePicturesOfRemovedWindows) {
    const auto w = topLevel("Program");
    desktop.setForeground(w);
    list.refreshList();
    ASSERT_TRUE(list.gotPhoto(1));
    EXPECT_EQ(sim::SimPicture::alive(), 1);
    desktop.destroyWindow(w);
    list.refreshList();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(sim::SimPicture::alive(), 0);
}

TEST_F(WindowList, ReportListsPositionTabNameAndExecutable) {
    const auto w = topLevel("notes.txt - Notepad", 3, "C:\\Windows\\notepad.exe");
    topLevel("Unknown program", 4, "");
    desktop.setForeground(w);
    list.refreshList();
    EXPECT_EQ(describeList(list),
              "2 tracked windows\n"
              "  1. [Others] \"notes.txt\"  C:\\WINDOWS\\NOTEPAD.EXE  pictured\n"
              "  2. [Others] \"Unknown program\"  (executable unknown)\n");
}

}  // namespace
}  // namespace snapdesk::testing
