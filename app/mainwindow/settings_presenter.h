#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "mainwindow/user_settings.h"

namespace snapdesk {

inline constexpr const char* kClickHint = "Click Any Image to Continue";
inline constexpr const char* kDoubleClickHint = "Double Click Any Image to Continue";

// The size rule's inputs, in twips.
struct SizeBasis {
    int preferredHeight = 0;
    int preferredWidth = 0;
    int screenHeight = 0;
    int screenWidth = 0;
};

// What the stored settings make of the main window at start-up.
struct AppliedSettings {
    int left = 0, top = 0, width = 0, height = 0;  // twips
    bool autoLoadChecked = false;                  // "Do Not &Load Images on Start Up"
    bool singleClickChecked = false;               // "Activate on &Double Click"
    std::string hint;                              // lblClickAny
    bool doUpdatesChecked = false;                 // "&No Auto Image Update" (hidden)
    bool foldersChecked = false;                   // "Do Not Display &Folders"
    bool displayFolders = true;                    // the window list's flag
    bool maximizeChecked = false;                  // "&Maximize documents on activation"
    std::int16_t tabMode = 2;
    std::string tabsCaption;  // mnuTabs names the mode it switches to
    bool textLabels = true;
    std::int16_t imageUpdateMode = 2;
    int imageUpdateItem = 0;  // the checked item of the radio group (a menu id)
    bool maximized = false;
    bool restorePositionsChecked = true;  // "&Restore Window Positions"
};

AppliedSettings applySettings(const UserSettings& settings, const SizeBasis& basis);

// A settings command: the new check mark and the registry value it writes.
struct SettingToggle {
    bool checked = false;
    std::string key;
    std::string value;
    std::optional<std::string> hint;              // new hint label text
    std::optional<bool> displayFolders;           // new flag of the window list
    std::optional<std::string> maximizeLaunch;    // new in-memory value
    std::optional<std::int16_t> imageUpdateMode;  // radio group: new number
    std::optional<std::string> restorePositions;  // new in-memory value
};

// `menuId` is one of the six toggles or the three image-update items; nullopt otherwise.
std::optional<SettingToggle> toggleSetting(int menuId, bool wasChecked);

// What closing writes, in order: the placement only when the window is not minimised.
struct ClosingState {
    bool minimized = false;
    bool maximized = false;
    int left = 0, top = 0, width = 0, height = 0;  // twips
    std::int16_t tabMode = 2;
};
std::vector<std::pair<std::string, std::string>> closingSettings(const ClosingState& state);

// A stored number of twips as the program applies it, or nullopt when the text is no
// number or lies outside 16 bits.
std::optional<std::int16_t> storedTwips(const std::string& text);

}  // namespace snapdesk
