#pragma once

#include "platform/display.h"

namespace snapdesk {

// Screen queries and window capture through gdi32.
class Win32Display : public Display {
  public:
    std::optional<DisplayCaps> displayCaps() override;
    double twipsPerPixelX() override;
    double twipsPerPixelY() override;
    int screenWidthTwips() override;
    void setReferenceWindow(WindowHandle window) override;
    // WM_DPICHANGED: the scale it announces, before the system may tell it (0: ask the window).
    void setReferenceDpi(int dpi) { referenceDpi_ = dpi; }
    PicturePtr captureArea(WindowHandle window, int x, int y, int width, int height,
                           int thumbnailWidth, int thumbnailHeight) override;
    PicturePtr stretchPicture(const PicturePtr& picture, int width, int height) override;

  private:
    int dpi() const;

    WindowHandle reference_ = 0;
    int referenceDpi_ = 0;
};

}  // namespace snapdesk
