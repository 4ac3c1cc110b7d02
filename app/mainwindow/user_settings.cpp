#include "mainwindow/user_settings.h"

#include <array>

#include "common/text.h"
#include "mainwindow/hot_key.h"

namespace snapdesk {

namespace {

constexpr const char* kKeyRoot = "Software\\Zim Software\\Snapdesk\\";
// What a read returns for a value that is not there.
constexpr const char* kMissing = "maybe";

struct Key {
    const char* name;
    const char* fallback;
    std::string UserSettings::*field;
};

// In the order they are read.
constexpr std::array<Key, 15> kKeys = {{
    {"Height", "yes", &UserSettings::Height},
    {"Width", "yes", &UserSettings::Width},
    {"autoLoad", "yes", &UserSettings::autoLoad},
    {"singleClick", "yes", &UserSettings::singleClick},
    {"autoUpdates", "yes", &UserSettings::autoUpdates},
    {"displayFolders", "yes", &UserSettings::displayFolders},
    {"tabs", "2", &UserSettings::tabs},
    {"Left", "0", &UserSettings::Left},
    {"Top", "0", &UserSettings::Top},
    {"Maximized", "no", &UserSettings::Maximized},
    {"TextLabels", "yes", &UserSettings::TextLabels},
    {"MaximizeLaunch", "no", &UserSettings::MaximizeLaunch},
    {"Update_Setting", "2", &UserSettings::Update_Setting},
    {"RestorePositions", "yes", &UserSettings::RestorePositions},
    {"HotKey", kDefaultHotKeyText, &UserSettings::HotKey},
}};

}  // namespace

bool writeRegSetting(Registry& registry, const std::string& section, const std::string& key,
                     const std::string& value) {
    return registry.writeUserString(kKeyRoot + section, key, value);
}

std::string readRegSetting(Registry& registry, const std::string& section, const std::string& key,
                           const std::string& fallback) {
    const auto value = registry.readUserString(kKeyRoot + section, key);
    return value ? text::NulTrim(*value) : fallback;
}

UserSettings loadUserSettings(Registry& registry) {
    UserSettings settings;
    for (const auto& key : kKeys) {
        std::string value = readRegSetting(registry, kSettingsSection, key.name, kMissing);
        if (value == kMissing) {
            value = key.fallback;
            writeRegSetting(registry, kSettingsSection, key.name, value);
        }
        settings.*key.field = value;
    }
    return settings;
}

}  // namespace snapdesk
