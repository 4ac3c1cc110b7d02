#include "mainwindow/panel_state.h"

#include <cmath>

namespace snapdesk {

namespace {

// Integer assignment rounds half to even, as the layout always has.
int roundToInt(double value) {
    return static_cast<int>(std::nearbyint(value));
}

constexpr int kDesignScreenWidth = 1024;
constexpr int kDesignGapPixels = 27;
constexpr int kNarrowScreenLimit = 901;  // narrower displays get the small fonts

}  // namespace

ScreenScale scaleForScreen(int screenPixelWidth) {
    ScreenScale scale;
    scale.screenPixelWidth = screenPixelWidth;
    const double factor = static_cast<double>(screenPixelWidth) / kDesignScreenWidth;
    scale.gapPixels = roundToInt(factor * kDesignGapPixels);
    if (screenPixelWidth < kNarrowScreenLimit) {
        scale.tabFontSize = 8;
        scale.scrollFrameLefts = {5560, 5560, 5560, 5590};
        scale.hintFontSize = 8;
        scale.projectFontSize = 10;
    } else {
        scale.tabFontSize = 10;
        scale.scrollFrameLefts = {6090, 6090, 6090, 6120};
        scale.hintFontSize = 10;
        scale.projectFontSize = 12;
    }
    scale.templateWidth = roundToInt(kTemplateDesignWidth * factor);
    scale.templateHeight = roundToInt(kTemplateDesignHeight * factor);
    return scale;
}

PreferredSize preferredWindowSize(const PreferredSizeInputs& in) {
    PreferredSize size;
    size.height = 3 * in.tileHeight + in.gapTwipsY + in.tabStripHeight + in.nonClientHeight +
                  in.frameBorderHeight;
    size.width = 3 * (in.tileWidth + in.gapTwipsX) + in.tabStripHeight + in.nonClientWidth;
    return size;
}

}  // namespace snapdesk
