// The toolbar's commands and its drop-down lists of documents.
#include "command_fixture.h"

namespace snapdesk::testing {
namespace {

using Strings = std::vector<std::string>;

int idOf(const DynamicItemArray& array, int index) {
    return array.commandId(index);
}

TEST_F(Commands, WithNoRecordsTheListsOfferOnlyTheirPlaceholders) {
    EXPECT_TRUE(commands.buttonClick("updateimages"));
    EXPECT_EQ(host.lastPopupCaptions(), (Strings{"All", "-", "No Files Open"}));
    EXPECT_EQ(host.anchors.back().place, PopupAnchor::Place::BelowButton);
    EXPECT_EQ(host.anchors.back().buttonId, ID_buttonUpdateImages);
    EXPECT_EQ(commands.zzzzUpdate().item(1)->tag, "ALL");
    EXPECT_EQ(commands.zzzzUpdate().item(3)->tag, "NONE");

    commands.buttonClick("addtoproject");
    EXPECT_EQ(host.lastPopupCaptions(), (Strings{"No Files To Move"}));
    commands.buttonClick("movefromproject");
    EXPECT_EQ(host.lastPopupCaptions(), (Strings{"No Files To Move"}));
    EXPECT_EQ(commands.zzzzFrom().item(1)->tag, "NONE");
}

TEST_F(Commands, PlaceholdersDoNothingAndAllUpdatesEveryImage) {
    host.choices = {idOf(commands.zzzzUpdate(), 3)};
    commands.buttonClick("updateimages");
    host.choices = {idOf(commands.zzzzTo(), 1)};
    commands.buttonClick("addtoproject");
    host.choices = {idOf(commands.zzzzFrom(), 1)};
    commands.buttonClick("movefromproject");
    EXPECT_EQ(host.calls, (Calls{"Timer1 off", "Timer1 on", "Timer1 off", "Timer1 on", "Timer1 off",
                                 "Timer1 on"}));
    host.calls.clear();
    host.choices = {idOf(commands.zzzzUpdate(), 1)};
    commands.buttonClick("updateimages");
    EXPECT_EQ(host.calls, (Calls{"Timer1 off", "mnuLoadImages_Click", "Timer1 on"}));
}

TEST_F(Commands, AnAmpersandInANameShowsAsTyped) {
    add("Tom & Jerry.doc");
    add("R&D & Sales.xls");
    commands.buttonClick("updateimages");
    EXPECT_EQ(host.lastPopupCaptions(),
              (Strings{"All", "-", "Tom && Jerry.doc", "R&&D && Sales.xls"}));
    commands.buttonClick("addtoproject");
    EXPECT_EQ(host.lastPopupCaptions(), (Strings{"Tom && Jerry.doc", "R&&D && Sales.xls"}));
}

TEST_F(Commands, ProjectAndOtherRecordsGoToTheirLists) {
    add("a.doc");
    add("plan.doc", kProjectTab);
    add("b.doc", kOthersTab);
    add("hidden.doc");
    world.list.setDoDisplay(4, false);
    add("notes.txt", kProjectTab);

    commands.buttonClick("updateimages");
    EXPECT_EQ(host.lastPopupCaptions(),
              (Strings{"All", "-", "a.doc", "plan.doc", "b.doc", "notes.txt"}));
    EXPECT_EQ(commands.zzzzUpdate().item(5)->tag, "3");
    EXPECT_EQ(commands.zzzzUpdate().item(6)->tag, "5");

    commands.buttonClick("addtoproject");
    EXPECT_EQ(host.lastPopupCaptions(), (Strings{"a.doc", "b.doc"}));
    EXPECT_EQ(commands.zzzzTo().item(1)->tag, "1");
    EXPECT_EQ(commands.zzzzTo().item(2)->tag, "3");

    commands.buttonClick("movefromproject");
    EXPECT_EQ(host.lastPopupCaptions(), (Strings{"plan.doc", "notes.txt"}));
    EXPECT_EQ(commands.zzzzFrom().item(1)->tag, "2");
    EXPECT_EQ(commands.zzzzFrom().item(2)->tag, "5");
}

TEST_F(Commands, ChoosingADocumentUpdatesItsImage) {
    add("a.doc");
    add("b.doc");
    host.choices = {idOf(commands.zzzzUpdate(), 4)};
    commands.buttonClick("updateimages");
    EXPECT_EQ(host.selected, 2);
    EXPECT_EQ(host.calls, (Calls{"Timer1 off", "updateClick 2", "Timer1 on"}));
}

TEST_F(Commands, ToProjectMovesTheRecordAndLooksForItsLocation) {
    add("a.doc");
    add("b.doc");
    add("c.doc");
    host.choices = {idOf(commands.zzzzTo(), 1)};
    commands.buttonClick("addtoproject");
    EXPECT_EQ(world.list.CaptionString(3), "a.doc");
    EXPECT_EQ(world.list.inTab(3), kProjectTab);
    EXPECT_EQ(host.calls,
              (Calls{"Timer1 off", "updateWindowList", "updatePaths forced", "Timer1 on"}));
}

TEST_F(Commands, FromProjectRestoresTheTabAndClearsNoSave) {
    add("plan.doc", kProjectTab);
    add("a.doc");
    world.list.setFilePath(1, "nosave");
    host.choices = {idOf(commands.zzzzFrom(), 1)};
    commands.buttonClick("movefromproject");
    EXPECT_EQ(world.list.CaptionString(2), "plan.doc");
    EXPECT_EQ(world.list.inTab(2), world.list.originalTab(2));
    EXPECT_NE(world.list.inTab(2), kProjectTab);
    EXPECT_EQ(world.list.filePath(2), "notfound");
    EXPECT_EQ(count("updateWindowList"), 1u);

    // A found location stays.
    world.list.setInTab(2, kProjectTab);
    world.list.setFilePath(2, "C:\\Plans\\plan.doc");
    host.choices = {idOf(commands.zzzzFrom(), 1)};
    commands.buttonClick("movefromproject");
    EXPECT_EQ(world.list.filePath(2), "C:\\Plans\\plan.doc");
}

TEST_F(Commands, Timer1IsOffForEveryToolbarCommand) {
    add("a.doc");
    for (const char* key : {"NewProject", "OpenProject", "SaveProject", "refreshproject"}) {
        host.calls.clear();
        EXPECT_TRUE(commands.buttonClick(key));
        ASSERT_EQ(host.calls.size(), 3u) << key;
        EXPECT_EQ(host.calls[0], "Timer1 off");
        EXPECT_NE(host.calls[1].find("(Timer1 off)"), std::string::npos) << key;
        EXPECT_EQ(host.calls[2], "Timer1 on");
        EXPECT_TRUE(host.timer1);
    }
    for (const char* key : {"updateimages", "addtoproject", "movefromproject"}) {
        commands.buttonClick(key);
        EXPECT_FALSE(host.timer1AtPopup.back()) << key;
        EXPECT_TRUE(host.timer1) << key;
    }
    EXPECT_FALSE(commands.buttonClick("nosuchbutton"));
    EXPECT_EQ(host.calls.back(), "Timer1 on");
}

TEST_F(Commands, Timer1ComesBackAfterAFailingCommand) {
    projects.failure = RuntimeError(5, "Invalid procedure call", "mnuOpen");
    EXPECT_THROW(commands.buttonClickById(ID_mnuOpen), RuntimeError);
    EXPECT_TRUE(host.timer1);
}

TEST_F(Commands, TheMenuCallsTheProjectCommandsAsTheyAre) {
    for (int id : {ID_mnuNewProject, ID_mnuOpen, ID_mnuSaveProject, ID_mnuSaveProjectAs}) {
        EXPECT_TRUE(commands.command(id));
    }
    EXPECT_EQ(host.calls,
              (Calls{"mnuNewProject_Click (Timer1 on)", "mnuOpen_Click (Timer1 on)",
                     "mnuSaveProject_Click (Timer1 on)", "mnuSaveProjectAs_Click (Timer1 on)"}));
    host.calls.clear();
    // The toolbar's own ids reach the toolbar command.
    EXPECT_TRUE(commands.command(ID_buttonRefreshProject));
    EXPECT_EQ(host.calls, (Calls{"Timer1 off", "refreshProject (Timer1 off)", "Timer1 on"}));
    EXPECT_FALSE(commands.command(ID_mnuExit));  // the main form's
    EXPECT_FALSE(commands.command(ID_mnuSingleClick));
}

TEST_F(Commands, ElementsAreReusedAndSurplusOnesNeverShow) {
    for (int i = 0; i < 5; ++i) {
        add("doc" + std::to_string(i) + ".doc");
    }
    commands.buttonClick("updateimages");
    commands.buttonClick("addtoproject");
    EXPECT_EQ(commands.zzzzUpdate().upperBound(), 7);
    EXPECT_EQ(commands.zzzzTo().upperBound(), 5);

    world.desktop.destroyWindow(windows[1]);
    world.desktop.destroyWindow(windows[3]);
    world.list.refreshList();
    for (int round = 0; round < 3; ++round) {
        commands.buttonClick("updateimages");
        EXPECT_EQ(host.lastPopupCaptions(),
                  (Strings{"All", "-", "doc0.doc", "doc2.doc", "doc4.doc"}));
        commands.buttonClick("addtoproject");
        EXPECT_EQ(host.lastPopupCaptions(), (Strings{"doc0.doc", "doc2.doc", "doc4.doc"}));
    }
    EXPECT_EQ(commands.zzzzUpdate().upperBound(), 7);
    EXPECT_EQ(commands.zzzzTo().upperBound(), 5);
    EXPECT_FALSE(commands.zzzzUpdate().item(6)->visible);
    EXPECT_FALSE(commands.zzzzTo().item(4)->visible);
    // Its window is gone: a late choice of it does nothing.
    host.calls.clear();
    EXPECT_TRUE(commands.command(commands.zzzzTo().commandId(4)));
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(Commands, AChoiceFollowsItsWindowWhenTheListChangedMeanwhile) {
    add("a.doc");
    add("b.doc");
    add("c.doc");
    // A refresh while the menu is open: "a.doc" closes, the others move up.
    host.whilePopupOpen = [this] {
        world.desktop.destroyWindow(windows[0]);
        world.list.refreshList();
    };
    host.choices = {idOf(commands.zzzzUpdate(), 5)};  // "c.doc", tag 3
    commands.buttonClick("updateimages");
    EXPECT_EQ(host.calls, (Calls{"Timer1 off", "updateClick 2", "Timer1 on"}));

    host.calls.clear();
    host.whilePopupOpen = [this] {
        world.desktop.destroyWindow(windows[1]);
        world.list.refreshList();
    };
    host.choices = {idOf(commands.zzzzTo(), 1)};  // "b.doc", gone when chosen
    commands.buttonClick("addtoproject");
    EXPECT_EQ(host.calls, (Calls{"Timer1 off", "Timer1 on"}));
    EXPECT_EQ(world.list.inTab(1), kDocumentsTab);
}

}  // namespace
}  // namespace snapdesk::testing
