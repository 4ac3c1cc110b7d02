#pragma once

#include "platform/display.h"

namespace snapdesk {

// Screen queries and window capture through gdi32.
class Win32Display : public Display {
  public:
    std::optional<DisplayCaps> displayCaps() override;
    int twipsPerPixelX() override;
    int twipsPerPixelY() override;
    int screenWidthTwips() override;
    PicturePtr captureArea(WindowHandle window, int x, int y, int width, int height,
                           int thumbnailWidth, int thumbnailHeight) override;
};

}  // namespace snapdesk
