// The thumbnail popup and the View and Help commands, with the panel they redraw.
#include "command_fixture.h"

namespace snapdesk::testing {
namespace {

using Strings = std::vector<std::string>;

TEST_F(Commands, ThePopupShowsTheMovesAwayFromTheShownTab) {
    state.tabMode = 4;
    const long doc = add("a.doc");
    const long web = add("Home Page", kWebBrowsersTab);
    const long other = add("Calc", kOthersTab);
    const long member = add("plan.doc", kProjectTab);
    const struct {
        long record;
        int tab;
        Strings four;
        Strings two;
    } cases[] = {
        {doc,
         kDocumentsTab,
         {"Move to &Project", "Move to &Others", "Move to &Web Browsers"},
         {"Move to &Project"}},
        {web, kWebBrowsersTab, {"Move to &Project", "Move to &Documents", "Move to &Others"}, {}},
        {other,
         kOthersTab,
         {"Move to &Project", "Move to &Documents", "Move to &Web Browsers"},
         {}},
        {member,
         kProjectTab,
         {"Move to &Documents", "Move to &Others", "Move to &Web Browsers"},
         {"Move to &Documents"}},
    };
    auto moves = [this] {
        Strings out;
        for (const std::string& caption : host.lastPopupCaptions()) {
            if (caption.rfind("Move to &", 0) == 0 && caption != "Move to &Front" &&
                caption != "Move to &End") {
                out.push_back(caption);
            }
        }
        return out;
    };
    for (const auto& c : cases) {
        state.tabMode = 4;
        panel->tabClick(c.tab);
        commands.showThumbnailPopup(c.record);
        EXPECT_EQ(host.selected, c.record);
        EXPECT_EQ(host.anchors.back().place, PopupAnchor::Place::AtPointer);
        EXPECT_EQ(moves(), c.four) << c.tab;
        if (c.tab == kDocumentsTab || c.tab == kProjectTab) {
            state.tabMode = 2;
            panel->tabClick(c.tab);
            commands.showThumbnailPopup(c.record);
            EXPECT_EQ(moves(), c.two) << c.tab;
        }
    }
    // In two-tab mode the Web Browsers and Others records show on Documents.
    state.tabMode = 2;
    panel->tabClick(kDocumentsTab);
    commands.showThumbnailPopup(web);
    EXPECT_EQ(moves(), (Strings{"Move to &Project"}));
}

TEST_F(Commands, KeepThisViewFollowsTheRecord) {
    const long k = add("a.doc");
    commands.showThumbnailPopup(k);
    EXPECT_FALSE(findMenuItem(host.popups.back(), ID_mnuKeepView)->checked);
    host.choices = {ID_mnuKeepView};
    commands.showThumbnailPopup(k);
    EXPECT_TRUE(world.list.flgKeepView(k));
    commands.showThumbnailPopup(k);
    EXPECT_TRUE(findMenuItem(host.popups.back(), ID_mnuKeepView)->checked);
    host.choices = {ID_mnuKeepView};
    commands.showThumbnailPopup(k);
    EXPECT_FALSE(world.list.flgKeepView(k));
}

TEST_F(Commands, PopupCommandsActOnTheRecordRightClicked) {
    add("a.doc");
    add("b.doc");
    add("c.doc");
    host.choices = {ID_mnuUpdate};
    commands.showThumbnailPopup(2);
    EXPECT_EQ(host.calls, (Calls{"updateClick 2"}));

    host.choices = {ID_mnuMvToFront};
    commands.showThumbnailPopup(3);
    EXPECT_EQ(world.list.CaptionString(1), "c.doc");
    EXPECT_EQ(world.list.CaptionString(2), "a.doc");
    host.choices = {ID_mnuMvToEnd};
    commands.showThumbnailPopup(1);
    EXPECT_EQ(world.list.CaptionString(3), "c.doc");
    EXPECT_EQ(count("updateWindowList"), 2u);
    // No choice, nothing done.
    host.calls.clear();
    commands.showThumbnailPopup(1);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(Commands, MovesBetweenTabsGoToTheEndAndSearchOnlyForNewMembers) {
    state.tabMode = 4;
    add("a.doc");
    add("b.doc");
    host.choices = {ID_mnuMvToMyProject};
    commands.showThumbnailPopup(1);
    EXPECT_EQ(world.list.CaptionString(2), "a.doc");
    EXPECT_EQ(world.list.inTab(2), kProjectTab);
    EXPECT_EQ(host.calls, (Calls{"updateWindowList", "updatePaths forced"}));

    world.list.setFilePath(2, "nosave");
    host.calls.clear();
    host.choices = {ID_mnuMvtoWeb};
    commands.showThumbnailPopup(2);
    EXPECT_EQ(world.list.inTab(2), kWebBrowsersTab);
    EXPECT_EQ(world.list.filePath(2), "notfound");
    EXPECT_EQ(host.calls, (Calls{"updateWindowList"}));

    // Off a tab other than Project, "nosave" is left alone.
    world.list.setFilePath(2, "nosave");
    host.choices = {ID_mnuMvToApps};
    commands.showThumbnailPopup(2);
    EXPECT_EQ(world.list.inTab(2), kOthersTab);
    EXPECT_EQ(world.list.filePath(2), "nosave");
    host.choices = {ID_mnuMvToDocs};
    commands.showThumbnailPopup(1);
    EXPECT_EQ(world.list.CaptionString(2), "b.doc");
    EXPECT_EQ(world.list.inTab(2), kDocumentsTab);
}

TEST_F(Commands, DoNotShowThenUndoHideBringsTheThumbnailBackAtTheEndOfItsTab) {
    add("a.doc");
    add("b.doc");
    add("c.doc");
    add("plan.doc", kProjectTab);
    panel->updateWindowList();
    EXPECT_EQ(visibleTiles(), (std::vector<long>{1, 2, 3}));

    host.choices = {ID_mnuDoNotShow};
    commands.showThumbnailPopup(1);
    EXPECT_TRUE(host.enabled[ID_mnuUndoHide]);
    EXPECT_EQ(world.list.CaptionString(4), "a.doc");
    EXPECT_FALSE(world.list.doDisplay(4));
    EXPECT_EQ(visibleTiles(), (std::vector<long>{1, 2}));

    EXPECT_TRUE(commands.command(ID_mnuUndoHide));
    EXPECT_FALSE(host.enabled[ID_mnuUndoHide]);
    EXPECT_TRUE(world.list.doDisplay(4));
    panel->updateWindowList();  // the next Timer1 tick
    EXPECT_EQ(visibleTiles(), (std::vector<long>{1, 2, 4}));
    // After the Project record in the list, last in the grid of Documents.
    EXPECT_GT(view.tile(4).box.left, view.tile(2).box.left);
}

TEST_F(Commands, FourTabsToTwoAndBack) {
    state.tabMode = 4;
    add("a.doc");
    add("Home Page", kWebBrowsersTab);
    add("Calc", kOthersTab);
    add("plan.doc", kProjectTab);
    panel->tabClick(kDocumentsTab);
    EXPECT_EQ(visibleTiles(), (std::vector<long>{1}));

    EXPECT_TRUE(commands.command(ID_mnuTabs));
    EXPECT_EQ(state.tabMode, 2);
    EXPECT_EQ(host.captions[ID_mnuTabs], "4 &Tabs");
    EXPECT_EQ(visibleTiles(), (std::vector<long>{1, 2, 3}));
    EXPECT_FALSE(view.tabShown[kWebBrowsersTab]);
    EXPECT_FALSE(view.tabShown[kOthersTab]);

    commands.command(ID_mnuTabs);
    EXPECT_EQ(state.tabMode, 4);
    EXPECT_EQ(host.captions[ID_mnuTabs], "2 &Tabs");
    EXPECT_EQ(visibleTiles(), (std::vector<long>{1}));
    EXPECT_TRUE(view.tabShown[kWebBrowsersTab]);
}

TEST_F(Commands, AboutStopsTimer1WhileOpenAndRestoresItsState) {
    EXPECT_TRUE(commands.command(ID_mnuAbout));
    ASSERT_EQ(host.abouts.size(), 1u);
    EXPECT_EQ(host.abouts[0].caption, "About Snapdesk!");
    EXPECT_EQ(host.abouts[0].version, "Version 2.5.17");
    EXPECT_FALSE(host.timer1AtAbout[0]);
    EXPECT_TRUE(host.timer1);

    host.timer1 = false;  // a dialog that had it off
    commands.command(ID_mnuAbout);
    EXPECT_FALSE(host.timer1);
}

TEST_F(Commands, HelpOpensTheHelpFileAtItsContents) {
    EXPECT_TRUE(commands.command(ID_mnuHelpLaunch));
    ASSERT_EQ(host.helps.size(), 1u);
    EXPECT_EQ(host.helps[0].file, "C:\\Snapdesk\\SNAPDESK.HLP");
    EXPECT_EQ(host.helps[0].command, 3);
    EXPECT_EQ(host.helps[0].key, "");
}

TEST_F(Commands, APopupChoiceForAWindowThatClosedMeanwhileDoesNothing) {
    add("a.doc");
    add("b.doc");
    host.whilePopupOpen = [this] {
        world.desktop.destroyWindow(windows[0]);
        world.list.refreshList();
    };
    host.choices = {ID_mnuDoNotShow};
    commands.showThumbnailPopup(1);
    EXPECT_TRUE(world.list.doDisplay(1));
    EXPECT_FALSE(host.enabled[ID_mnuUndoHide]);

    // A record that only moved is followed.
    host.whilePopupOpen = [this] { world.list.mvToFront(2); };
    add("c.doc");
    host.choices = {ID_mnuKeepView};
    commands.showThumbnailPopup(2);  // "c.doc", at 1 when chosen
    EXPECT_EQ(host.selected, 1);
    EXPECT_TRUE(world.list.flgKeepView(1));
    EXPECT_EQ(world.list.CaptionString(1), "c.doc");
}

}  // namespace
}  // namespace snapdesk::testing
