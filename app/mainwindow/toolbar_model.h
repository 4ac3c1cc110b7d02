#pragma once

// The toolbar buttonBar as data: seven buttons at the odd positions 1 to 13, separators
// between them, a caption under each while text labels are on, and a tool tip.

#include <array>
#include <string>

namespace snapdesk {

struct ToolbarButton {
    int position = 0;  // 1, 3, .. 13
    const char* key = "";
    const char* caption = "";  // with labels on
    const char* toolTip = "";
    int id = 0;             // the command id the button sends
    bool dropDown = false;  // opens a list of documents below itself
};

inline constexpr std::size_t kToolbarButtons = 7;

const std::array<ToolbarButton, kToolbarButtons>& buttonBarButtons();
// The button with this key or id; nullptr when none.
const ToolbarButton* findButton(const std::string& key);
const ToolbarButton* findButton(int id);
// The side of the button images at a scale: 16 pixels up to 120 dpi, 24 up to 168, else 32
// (the sizes the images are drawn at).
int toolbarImageSize(int dpi);
// The caption under a button: empty while text labels are off.
std::string buttonCaption(const ToolbarButton& button, bool textLabels);

}  // namespace snapdesk
