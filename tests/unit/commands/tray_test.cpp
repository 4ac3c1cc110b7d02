// The tray icon's messages and its menu of documents.
#include "command_fixture.h"
#include "mainwindow/tray_menu.h"

namespace snapdesk::testing {
namespace {

using Strings = std::vector<std::string>;

TEST(TrayDecision, ClicksOnTheIconAndEveryOtherMessage) {
    const auto left = trayDecision(true, 1025, 0x202, false, "NORMAL");
    EXPECT_EQ(left.action, TrayAction::RestoreWindow);
    EXPECT_EQ(left.show, ShowCommand::Restore);
    // With "Activate on Double Click" checked a single click does nothing, a double one
    // restores.
    EXPECT_EQ(trayDecision(true, 1025, 0x202, true, "NORMAL").action, TrayAction::Nothing);
    const auto twice = trayDecision(true, 1025, 0x203, true, "MAXIMIZED");
    EXPECT_EQ(twice.action, TrayAction::RestoreWindow);
    EXPECT_EQ(twice.show, ShowCommand::Maximize);
    EXPECT_EQ(trayDecision(true, 1025, 0x203, false, "NORMAL").action, TrayAction::RestoreWindow);
    EXPECT_EQ(trayDecision(true, 1025, 0x205, true, "NORMAL").action, TrayAction::ShowPopup);
    // Other mouse events are the icon's, and do nothing.
    for (std::uintptr_t event : {0x200u, 0x201u, 0x204u, 0x206u}) {
        EXPECT_EQ(trayDecision(true, 1025, event, false, "NORMAL").action, TrayAction::Nothing)
            << event;
    }
    // Anything else goes on to the window's own procedure.
    EXPECT_EQ(trayDecision(true, 0x0F, 0x205, false, "NORMAL").action, TrayAction::PassOn);
    EXPECT_EQ(trayDecision(false, 1025, 0x205, false, "NORMAL").action, TrayAction::PassOn);
}

TEST(TrayMenu, ItemCaptionsWithAndWithoutComment) {
    EXPECT_EQ(trayItemCaption(3, "report.doc", ""), "3. report.doc");
    EXPECT_EQ(trayItemCaption(1, "report.doc", "for Monday"),
              "1. report.doc         \t\"for Monday\"");
    EXPECT_EQ(trayItemCaption(2, "Exploring - C:\\Docs\\Letters", "A & B"),
              "2. Letters         \t\"A && B\"");
    EXPECT_EQ(trayItemCaption(4, "Tom & Jerry.doc", ""), "4. Tom && Jerry.doc");
}

TEST_F(Commands, TwoProjectRecordsAndOneDocumentAreNumberedAcrossTheSeparator) {
    add("a.doc");
    add("plan.doc", kProjectTab);
    add("notes.txt", kProjectTab);
    world.list.setCommentString(3, "draft");
    commands.systemTrayPopup();
    EXPECT_EQ(host.lastPopupCaptions(),
              (Strings{"Click a document to view", "-", "1. plan.doc",
                       "2. notes.txt         \t\"draft\"", "-", "3. a.doc"}));
    EXPECT_EQ(host.anchors.back().place, PopupAnchor::Place::AtPointer);
    const DynamicItemArray& tray = commands.zzzzSystemTray();
    EXPECT_EQ(tray.item(0)->tag, "NONE");
    EXPECT_EQ(tray.item(2)->tag, "2");
    EXPECT_EQ(tray.item(3)->tag, "3");
    EXPECT_EQ(tray.item(4)->tag, "NONE");
    EXPECT_EQ(tray.item(5)->tag, "1");
    // Closed: only the heading and its separator stay.
    EXPECT_EQ(tray.upperBound(), 5);
    for (int i = 2; i <= 5; ++i) {
        EXPECT_FALSE(tray.item(i)->visible) << i;
    }
    EXPECT_TRUE(tray.item(0)->visible);
}

TEST_F(Commands, OneGroupAloneHasNoSeparator) {
    add("a.doc");
    add("b.doc", kOthersTab);
    commands.systemTrayPopup();
    EXPECT_EQ(host.lastPopupCaptions(),
              (Strings{"Click a document to view", "-", "1. a.doc", "2. b.doc"}));
    world.list.setInTab(1, kProjectTab);
    world.list.setInTab(2, kProjectTab);
    commands.systemTrayPopup();
    EXPECT_EQ(host.lastPopupCaptions(),
              (Strings{"Click a document to view", "-", "1. a.doc", "2. b.doc"}));
}

TEST_F(Commands, NoVisibleRecordGivesNoFilesOpenAndNothingToChoose) {
    add("hidden.doc");
    world.list.setDoDisplay(1, false);
    const DynamicItemArray& tray = commands.zzzzSystemTray();
    for (int index : {0, 1, 2}) {
        host.choices = {tray.commandId(index)};
        commands.systemTrayPopup();
        EXPECT_EQ(host.lastPopupCaptions(),
                  (Strings{"Click a document to view", "-", "No Files Open"}));
    }
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(Commands, AHiddenRecordIsNeverListed) {
    add("a.doc");
    add("secret.doc", kProjectTab);
    add("b.doc");
    host.choices = {ID_mnuDoNotShow};
    commands.showThumbnailPopup(2);
    commands.systemTrayPopup();
    EXPECT_EQ(host.lastPopupCaptions(),
              (Strings{"Click a document to view", "-", "1. a.doc", "2. b.doc"}));
}

TEST_F(Commands, ChoosingADocumentActivatesItAsAClickOnItsTile) {
    add("a.doc");
    add("plan.doc", kProjectTab);
    host.choices = {commands.zzzzSystemTray().commandId(4)};  // "2. a.doc"
    commands.systemTrayPopup();
    EXPECT_EQ(host.selected, 1);
    EXPECT_EQ(host.calls, (Calls{"activateThumbnail 1"}));
}

TEST_F(Commands, TheTrayMenuReusesItsItems) {
    for (int i = 0; i < 4; ++i) {
        add("doc" + std::to_string(i) + ".doc");
    }
    commands.systemTrayPopup();
    EXPECT_EQ(commands.zzzzSystemTray().upperBound(), 5);
    world.desktop.destroyWindow(windows[0]);
    world.desktop.destroyWindow(windows[1]);
    world.list.refreshList();
    for (int round = 0; round < 3; ++round) {
        commands.systemTrayPopup();
        EXPECT_EQ(host.lastPopupCaptions(),
                  (Strings{"Click a document to view", "-", "1. doc2.doc", "2. doc3.doc"}));
    }
    EXPECT_EQ(commands.zzzzSystemTray().upperBound(), 5);
}

TEST_F(Commands, TheIconRestoresTheWindowOrOpensTheMenu) {
    add("a.doc");
    host.stateText = "MAXIMIZED";
    commands.trayIconEvent(0x202);
    EXPECT_EQ(host.calls, (Calls{"restore 3"}));
    host.checks[ID_mnuSingleClick] = true;  // "Activate on Double Click"
    commands.trayIconEvent(0x202);
    EXPECT_EQ(host.calls.size(), 1u);
    host.stateText = "NORMAL";
    commands.trayIconEvent(0x203);
    EXPECT_EQ(host.calls.back(), "restore 9");
    commands.trayIconEvent(0x205);
    ASSERT_EQ(host.popups.size(), 1u);
    EXPECT_EQ(host.lastPopupCaptions().back(), "1. a.doc");
    // A failing action leaves the message handled.
    host.restoreFailure = RuntimeError(5, "Invalid procedure call", "restore");
    EXPECT_NO_THROW(commands.trayIconEvent(0x203));
}

}  // namespace
}  // namespace snapdesk::testing
