// What the stored settings make of the main window, the settings commands and closing.
#include <gtest/gtest.h>

#include "mainwindow/menu_ids.h"
#include "mainwindow/settings_presenter.h"
#include "platform/sim/sim_registry.h"

namespace snapdesk {
namespace {

constexpr SizeBasis kBasis{9500, 14000, 11520, 15360};  // 1024 x 768 pixels

UserSettings firstStart() {
    sim::SimRegistry registry;
    return loadUserSettings(registry);
}

TEST(SettingsPresenter, FirstStartOpensWithTheBuiltInSizeTwoTabsAndFrequentUpdates) {
    const AppliedSettings a = applySettings(firstStart(), kBasis);
    EXPECT_EQ(a.height, 9500 - 700);
    EXPECT_EQ(a.width, 14000);
    EXPECT_EQ(a.left, 0);
    EXPECT_EQ(a.top, 0);
    EXPECT_EQ(a.tabMode, 2);
    EXPECT_EQ(a.tabsCaption, "4 &Tabs");
    EXPECT_TRUE(a.textLabels);
    EXPECT_EQ(a.imageUpdateMode, 2);
    EXPECT_EQ(a.imageUpdateItem, ID_mnuFrequentImageUpdates);
    EXPECT_FALSE(a.autoLoadChecked);
    EXPECT_FALSE(a.singleClickChecked);
    EXPECT_EQ(a.hint, "Click Any Image to Continue");
    EXPECT_TRUE(a.displayFolders);
    EXPECT_FALSE(a.maximized);
    // A screen smaller than the preferred size: the screen's size rules.
    const AppliedSettings small = applySettings(firstStart(), {9500, 14000, 9000, 12000});
    EXPECT_EQ(small.height, 9000 - 700);
    EXPECT_EQ(small.width, 12000);
}

TEST(SettingsPresenter, StoredSizesLoseTenAndFiftyTwips) {
    UserSettings s = firstStart();
    s.Height = "9000";
    s.Width = "12000";
    s.Left = "300";
    s.Top = "450";
    const AppliedSettings a = applySettings(s, kBasis);
    EXPECT_EQ(a.height, 8990);
    EXPECT_EQ(a.width, 11950);
    EXPECT_EQ(a.left, 300);
    EXPECT_EQ(a.top, 450);
}

TEST(SettingsPresenter, TabsThreeOrAnythingButFourGivesTwoTabs) {
    UserSettings s = firstStart();
    for (const char* value : {"3", "", "four", "2"}) {
        s.tabs = value;
        EXPECT_EQ(applySettings(s, kBasis).tabMode, 2) << value;
    }
    s.tabs = "4";
    EXPECT_EQ(applySettings(s, kBasis).tabMode, 4);
    EXPECT_EQ(applySettings(s, kBasis).tabsCaption, "2 &Tabs");
}

TEST(SettingsPresenter, UnusableStoredPlacesStillGiveAWindowOnTheScreen) {
    UserSettings s = firstStart();
    for (const char* bad : {"abc", "-200", "40000", "1e9", "12x", " "}) {
        s.Height = bad;
        s.Width = bad;
        s.Left = bad;
        s.Top = bad;
        const AppliedSettings a = applySettings(s, kBasis);
        EXPECT_EQ(a.height, 9500 - 700) << bad;
        EXPECT_EQ(a.width, 14000) << bad;
        const int place = std::string(bad) == "-200" ? -200 : 0;  // a little off: reachable
        EXPECT_EQ(a.left, place) << bad;
        EXPECT_EQ(a.top, place) << bad;
    }
    // A place off the screen (another monitor once) comes back to the corner.
    s.Height = "5000";
    s.Width = "6000";
    s.Left = "30000";
    s.Top = "-9000";
    const AppliedSettings a = applySettings(s, kBasis);
    EXPECT_EQ(a.left, 0);
    EXPECT_EQ(a.top, 0);
    EXPECT_EQ(storedTwips("9000.5"), 9000);  // half to even
    EXPECT_EQ(storedTwips("-32768"), -32768);
    EXPECT_FALSE(storedTwips("32768").has_value());
}

TEST(SettingsPresenter, UpdateSettingPicksItsRadioItem) {
    UserSettings s = firstStart();
    s.Update_Setting = "1";
    EXPECT_EQ(applySettings(s, kBasis).imageUpdateItem, ID_mnuNoAutoImageUpdate);
    for (const char* other : {"3", "0", "x"}) {
        s.Update_Setting = other;
        EXPECT_EQ(applySettings(s, kBasis).imageUpdateItem, ID_mnuMinimalImageUpdates) << other;
    }
}

TEST(SettingsPresenter, TogglesInvertTheirCheckAndWriteTheValueItStandsFor) {
    auto t = toggleSetting(ID_mnuSingleClick, false);
    ASSERT_TRUE(t);
    EXPECT_TRUE(t->checked);
    EXPECT_EQ(t->key, "singleClick");
    EXPECT_EQ(t->value, "no");
    EXPECT_EQ(t->hint, "Double Click Any Image to Continue");
    t = toggleSetting(ID_mnuSingleClick, true);
    EXPECT_EQ(t->value, "yes");
    EXPECT_EQ(t->hint, "Click Any Image to Continue");

    t = toggleSetting(ID_mnuFolders, false);
    EXPECT_EQ(t->value, "no");
    EXPECT_EQ(t->displayFolders, false);
    t = toggleSetting(ID_mnuMaximize, false);
    EXPECT_EQ(t->key, "MaximizeLaunch");
    EXPECT_EQ(t->value, "yes");
    EXPECT_EQ(t->maximizeLaunch, "yes");
    t = toggleSetting(ID_mnuAutoLoad, true);
    EXPECT_EQ(t->key, "autoLoad");
    EXPECT_EQ(t->value, "yes");
    t = toggleSetting(ID_mnuDoUpdates, false);
    EXPECT_EQ(t->key, "autoUpdates");
    EXPECT_EQ(t->value, "no");
    // Checked is on here: unchecking turns placing off.
    t = toggleSetting(ID_mnuRestorePositions, true);
    EXPECT_EQ(t->key, "RestorePositions");
    EXPECT_EQ(t->value, "no");
    EXPECT_EQ(t->restorePositions, "no");
    EXPECT_FALSE(t->checked);

    // The radio group: each item checks itself, whatever it was.
    t = toggleSetting(ID_mnuMinimalImageUpdates, true);
    EXPECT_TRUE(t->checked);
    EXPECT_EQ(t->key, "Update_Setting");
    EXPECT_EQ(t->value, "3");
    EXPECT_EQ(t->imageUpdateMode, 3);
    EXPECT_EQ(toggleSetting(ID_mnuNoAutoImageUpdate, false)->value, "1");
    EXPECT_EQ(toggleSetting(ID_mnuFrequentImageUpdates, false)->value, "2");
    EXPECT_FALSE(toggleSetting(ID_mnuExit, false).has_value());
}

TEST(SettingsPresenter, ClosingWhileMinimisedKeepsTheStoredPlace) {
    using Values = std::vector<std::pair<std::string, std::string>>;
    ClosingState open{false, false, 120, 240, 11950, 8990, 4};
    EXPECT_EQ(closingSettings(open), (Values{{"Top", "240"},
                                             {"Left", "120"},
                                             {"Width", "11950"},
                                             {"Height", "8990"},
                                             {"Maximized", "no"},
                                             {"tabs", "4"}}));
    ClosingState minimized{true, false, 0, 0, 0, 0, 2};
    EXPECT_EQ(closingSettings(minimized), (Values{{"Maximized", "no"}, {"tabs", "2"}}));
}

}  // namespace
}  // namespace snapdesk
