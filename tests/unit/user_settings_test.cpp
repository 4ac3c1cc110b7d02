#include "mainwindow/user_settings.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_registry.h"

namespace snapdesk {
namespace {

constexpr const char* kKey = "Software\\Zim Software\\Snapdesk\\userSettings";

TEST(UserSettings, FirstStartWritesEveryDefaultInOrder) {
    sim::SimRegistry registry;
    const auto settings = loadUserSettings(registry);
    EXPECT_EQ(registry.writes,
              (std::vector<std::string>{"Height=yes", "Width=yes", "autoLoad=yes",
                                        "singleClick=yes", "autoUpdates=yes", "displayFolders=yes",
                                        "tabs=2", "Left=0", "Top=0", "Maximized=no",
                                        "TextLabels=yes", "MaximizeLaunch=no", "Update_Setting=2",
                                        "RestorePositions=yes", "HotKey=Ctrl+Alt+Space"}));
    EXPECT_EQ(settings.Height, "yes");
    EXPECT_EQ(settings.tabs, "2");
    EXPECT_EQ(settings.Update_Setting, "2");
    // A second start finds them all and writes nothing.
    registry.writes.clear();
    loadUserSettings(registry);
    EXPECT_TRUE(registry.writes.empty());
}

TEST(UserSettings, StoredValuesAreReadCutAtNulAndTrimmed) {
    sim::SimRegistry registry;
    registry.writeUserString(kKey, "Height", "9000");
    registry.writeUserString(kKey, "tabs", std::string(" 4 \0junk", 8));
    registry.writeUserString(kKey, "MAXIMIZED", "yes");  // names ignore case
    registry.writes.clear();
    const auto settings = loadUserSettings(registry);
    EXPECT_EQ(settings.Height, "9000");
    EXPECT_EQ(settings.tabs, "4");
    EXPECT_EQ(settings.Maximized, "yes");
    EXPECT_EQ(registry.writes.size(), 12u);
}

TEST(UserSettings, AValueReadingMaybeIsTreatedAsMissing) {
    sim::SimRegistry registry;
    registry.writeUserString(kKey, "autoLoad", "maybe");
    EXPECT_EQ(loadUserSettings(registry).autoLoad, "yes");
    EXPECT_EQ(readRegSetting(registry, "userSettings", "autoLoad", "x"), "yes");
}

TEST(UserSettings, AKeyThatCannotBeOpenedGivesDefaultsAndFailedWrites) {
    sim::SimRegistry registry;
    registry.lockKey(kKey);
    const auto settings = loadUserSettings(registry);
    EXPECT_EQ(settings.Width, "yes");
    EXPECT_EQ(settings.Left, "0");
    EXPECT_FALSE(writeRegSetting(registry, "userSettings", "Left", "15"));
    EXPECT_EQ(readRegSetting(registry, "userSettings", "Left", "none"), "none");
}

TEST(UserSettings, LongValuesComeBackWhole) {
    sim::SimRegistry registry;
    const std::string longValue(300, '7');
    ASSERT_TRUE(writeRegSetting(registry, "userSettings", "Width", longValue));
    EXPECT_EQ(readRegSetting(registry, "userSettings", "Width", "yes"), longValue);
}

}  // namespace
}  // namespace snapdesk
