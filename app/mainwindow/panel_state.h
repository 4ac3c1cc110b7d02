#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace snapdesk {

// The panel's part of the main window's state. The main form owns it and hands it to the panel
// by reference; lengths are twips, colours 0x00BBGGRR.
struct PanelState {
    std::int16_t tabMode = 2;  // 2 or 4 visible tabs
    std::array<std::uint32_t, 4> tabColors{};
    std::uint32_t commentBackColor = 0;
    int gapPixels = 27;
    int preferredHeight = 0;
    int preferredWidth = 0;
    std::array<int, 4> scrollFrameLefts{6090, 6090, 6090, 6120};
    int currentTab = 0;                      // 0 Documents .. 3 Project
    std::string projectName = "[Untitled]";  // current project name
};

// What the display's width decides (start-up steps "d" and "e"). The width is counted in
// pixels of 96 dpi, and so are the gaps: 15 twips each, whatever the window's scale.
struct ScreenScale {
    int screenPixelWidth = 1024;
    int gapPixels = 27;
    int tabFontSize = 10;  // points, tabControl
    std::array<int, 4> scrollFrameLefts{6090, 6090, 6090, 6120};
    int hintFontSize = 10;     // lblClickAny
    int projectFontSize = 12;  // lblProjectName
    int templateWidth = 0;     // widget 0, twips
    int templateHeight = 0;
};

// Design size of widget 0, the size template of every tile.
inline constexpr int kTemplateDesignWidth = 4575;
inline constexpr int kTemplateDesignHeight = 3135;

ScreenScale scaleForScreen(int screenPixelWidth);
inline constexpr int kTwipsPerLayoutPixel = 15;

// Inputs of the preferred window size, all twips; the view and the main window measure them.
struct PreferredSizeInputs {
    int tileWidth = 0;  // widget 0 after scaling
    int tileHeight = 0;
    int gapTwipsX = 0;  // gx, gy
    int gapTwipsY = 0;
    int tabStripHeight = 0;  // T
    int nonClientWidth = 0;  // main window: outer minus inner
    int nonClientHeight = 0;
    int frameBorderHeight = 0;  // MainFrame: outer minus inner
};

struct PreferredSize {
    int height = 0;
    int width = 0;
};

// The window size that shows three rows and three columns of thumbnails.
PreferredSize preferredWindowSize(const PreferredSizeInputs& in);

}  // namespace snapdesk
