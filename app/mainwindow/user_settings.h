#pragma once

#include <string>

#include "platform/registry.h"

namespace snapdesk {

inline constexpr const char* kSettingsSection = "userSettings";

// The user's preferences as the registry holds them, one string per key.
struct UserSettings {
    std::string Height;
    std::string Width;
    std::string autoLoad;
    std::string singleClick;
    std::string autoUpdates;
    std::string displayFolders;
    std::string tabs;
    std::string Left;
    std::string Top;
    std::string Maximized;
    std::string TextLabels;
    std::string MaximizeLaunch;
    std::string Update_Setting;
    // "no" leaves members' windows where their programs put them when a project opens.
    std::string RestorePositions;
    // The system-wide hot key as text, e.g. "Ctrl+Alt+Space"; "none" when turned off.
    std::string HotKey;
};

// Under HKEY_CURRENT_USER\Software\Zim Software\Snapdesk\<section>.
bool writeRegSetting(Registry& registry, const std::string& section, const std::string& key,
                     const std::string& value);
// The value cut at its first NUL and trimmed, or `fallback` when it cannot be read.
std::string readRegSetting(Registry& registry, const std::string& section, const std::string& key,
                           const std::string& fallback);

// Reads every key in its order; a missing one gets its default, written back at once.
UserSettings loadUserSettings(Registry& registry);

}  // namespace snapdesk
