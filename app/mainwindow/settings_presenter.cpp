#include "mainwindow/settings_presenter.h"

#include <cmath>
#include <cstdlib>

#include "common/text.h"
#include "mainwindow/menu_ids.h"
#include "mainwindow/menu_model.h"

namespace snapdesk {
namespace {

// Part of a window that must stay on the screen so that the user can reach it (twips).
constexpr int kReachable = 1500;

int placedOnScreen(int edge, int size, int screen) {
    if (screen > 0 && (edge > screen - kReachable || edge + size < kReachable)) {
        return 0;
    }
    return edge;
}

}  // namespace

std::optional<std::int16_t> storedTwips(const std::string& text) {
    const std::string trimmed = text::trim(text);
    if (trimmed.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double value = std::strtod(trimmed.c_str(), &end);
    if (end == trimmed.c_str() || *end != '\0' || !std::isfinite(value)) {
        return std::nullopt;
    }
    // Rounded half to even, like the conversion to a 16-bit integer.
    const double rounded = std::nearbyint(value);
    if (rounded < -32768.0 || rounded > 32767.0) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}

AppliedSettings applySettings(const UserSettings& s, const SizeBasis& basis) {
    AppliedSettings a;
    // A stored size that is no usable number counts as never stored.
    const auto height = storedTwips(s.Height);
    if (height && *height > 10) {
        a.height = *height - 10;
    } else {
        a.height = basis.preferredHeight < basis.screenHeight ? basis.preferredHeight - 700
                                                              : basis.screenHeight - 700;
    }
    const auto width = storedTwips(s.Width);
    if (width && *width > 50) {
        a.width = *width - 50;
    } else {
        a.width =
            basis.preferredWidth < basis.screenWidth ? basis.preferredWidth : basis.screenWidth;
    }
    a.left = placedOnScreen(storedTwips(s.Left).value_or(0), a.width, basis.screenWidth);
    a.top = placedOnScreen(storedTwips(s.Top).value_or(0), a.height, basis.screenHeight);

    a.autoLoadChecked = s.autoLoad != "yes";
    a.singleClickChecked = s.singleClick != "yes";
    a.hint = a.singleClickChecked ? kDoubleClickHint : kClickHint;
    a.doUpdatesChecked = s.autoUpdates != "yes";
    a.foldersChecked = s.displayFolders != "yes";
    a.displayFolders = !a.foldersChecked;
    a.maximizeChecked = s.MaximizeLaunch == "yes";
    a.tabMode = s.tabs == "4" ? 4 : 2;
    a.tabsCaption = tabsMenuCaption(a.tabMode);
    a.textLabels = s.TextLabels != "no";
    a.imageUpdateMode = storedTwips(s.Update_Setting).value_or(0);
    a.imageUpdateItem = a.imageUpdateMode == 2   ? ID_mnuFrequentImageUpdates
                        : a.imageUpdateMode == 1 ? ID_mnuNoAutoImageUpdate
                                                 : ID_mnuMinimalImageUpdates;
    a.maximized = s.Maximized == "yes";
    a.restorePositionsChecked = s.RestorePositions != "no";
    return a;
}

std::optional<SettingToggle> toggleSetting(int menuId, bool wasChecked) {
    SettingToggle t;
    t.checked = !wasChecked;
    const char* on = wasChecked ? "yes" : "no";  // the value the new check mark stands for
    switch (menuId) {
        case ID_mnuDoUpdates:
            t.key = "autoUpdates";
            t.value = on;
            return t;
        case ID_mnuSingleClick:
            t.key = "singleClick";
            t.value = on;
            t.hint = wasChecked ? kClickHint : kDoubleClickHint;
            return t;
        case ID_mnuAutoLoad:
            t.key = "autoLoad";
            t.value = on;
            return t;
        case ID_mnuFolders:
            t.key = "displayFolders";
            t.value = on;
            t.displayFolders = wasChecked;
            return t;
        case ID_mnuMaximize:
            t.key = "MaximizeLaunch";
            t.value = wasChecked ? "no" : "yes";
            t.maximizeLaunch = t.value;
            return t;
        case ID_mnuRestorePositions:
            // Checked means on, unlike the older toggles.
            t.key = "RestorePositions";
            t.value = wasChecked ? "no" : "yes";
            t.restorePositions = t.value;
            return t;
        case ID_mnuFrequentImageUpdates:
        case ID_mnuMinimalImageUpdates:
        case ID_mnuNoAutoImageUpdate: {
            const std::int16_t mode = menuId == ID_mnuFrequentImageUpdates  ? 2
                                      : menuId == ID_mnuMinimalImageUpdates ? 3
                                                                            : 1;
            t.checked = true;  // a radio item checks itself
            t.key = "Update_Setting";
            t.value = std::to_string(mode);
            t.imageUpdateMode = mode;
            return t;
        }
        default:
            return std::nullopt;
    }
}

std::vector<std::pair<std::string, std::string>> closingSettings(const ClosingState& state) {
    std::vector<std::pair<std::string, std::string>> values;
    if (!state.minimized) {
        values.emplace_back("Top", std::to_string(state.top));
        values.emplace_back("Left", std::to_string(state.left));
        values.emplace_back("Width", std::to_string(state.width));
        values.emplace_back("Height", std::to_string(state.height));
    }
    values.emplace_back("Maximized", state.maximized ? "yes" : "no");
    values.emplace_back("tabs", std::to_string(state.tabMode));
    return values;
}

}  // namespace snapdesk
