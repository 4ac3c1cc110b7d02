// The item arrays of the drop-down and tray menus.
#include <gtest/gtest.h>

#include "mainwindow/dynamic_menu.h"
#include "mainwindow/menu_ids.h"

namespace snapdesk::testing {
namespace {

TEST(DynamicMenu, ArraysStartWithTheirDesignElements) {
    const DynamicItemArray update = makeZzzzUpdate();
    EXPECT_EQ(update.upperBound(), 3);
    EXPECT_EQ(makeZzzzTo().upperBound(), 1);
    EXPECT_EQ(makeZzzzFrom().upperBound(), 1);
    const DynamicItemArray tray = makeZzzzSystemTray();
    EXPECT_EQ(tray.lowerBound(), 0);
    EXPECT_EQ(tray.upperBound(), 1);
    EXPECT_EQ(tray.item(0)->caption, "Click a document to view");

    const Menu items = update.menuItems();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].caption, "All");
    EXPECT_EQ(items[0].id, ID_zzzzUpdate + 1);
    EXPECT_TRUE(items[1].separator);
    EXPECT_EQ(items[1].id, 0);
    EXPECT_EQ(items[2].caption, "No Files Open");
    EXPECT_EQ(update.item(0), nullptr);
    EXPECT_EQ(update.item(4), nullptr);
}

TEST(DynamicMenu, ElementsAreCreatedOnDemandAndIdsBelongToOneArray) {
    DynamicItemArray to = makeZzzzTo();
    to.show(3, "c.doc", "7", 0x55);
    EXPECT_EQ(to.upperBound(), 3);
    EXPECT_FALSE(to.item(2)->visible);  // created on the way, not shown
    EXPECT_TRUE(to.item(3)->visible);
    EXPECT_EQ(to.item(3)->window, 0x55u);
    EXPECT_EQ(to.indexOf(ID_zzzzTo + 3), 3);
    EXPECT_EQ(to.indexOf(ID_zzzzTo + 4), std::nullopt);
    EXPECT_EQ(to.indexOf(ID_zzzzFrom + 1), std::nullopt);
    EXPECT_EQ(to.indexOf(ID_mnuAbout), std::nullopt);
    to.hideFrom(2);
    EXPECT_TRUE(to.item(1)->visible);
    EXPECT_FALSE(to.item(3)->visible);
    EXPECT_EQ(to.upperBound(), 3);
    // Beyond the ids the array owns nothing is created.
    to.show(ID_zzzzRange + 1, "x", "1");
    EXPECT_EQ(to.upperBound(), 3);
}

TEST(DynamicMenu, OnlyAPositiveNumberIsARecordPosition) {
    EXPECT_EQ(tagPosition("12"), 12);
    EXPECT_EQ(tagPosition("NONE"), 0);
    EXPECT_EQ(tagPosition("ALL"), 0);
    EXPECT_EQ(tagPosition(""), 0);
    EXPECT_EQ(tagPosition("0"), 0);
    EXPECT_EQ(tagPosition("-3"), 0);
    EXPECT_EQ(tagPosition("4x"), 0);
}

}  // namespace
}  // namespace snapdesk::testing
