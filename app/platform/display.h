#pragma once

#include <optional>

#include "platform/handles.h"
#include "platform/picture.h"

namespace snapdesk {

struct DisplayCaps {
    int horizontalResolution = 0;  // HORZRES, or the reference window's monitor width
    int planes = 0;
    int bitsPerPixel = 0;
};

// The screen and window capture.
class Display {
  public:
    virtual ~Display() = default;

    // Capabilities of an information context on "DISPLAY"; empty when it cannot be opened.
    virtual std::optional<DisplayCaps> displayCaps() = 0;
    // 1440 / dpi: fractional above 96 dpi (7.5 at 192).
    virtual double twipsPerPixelX() = 0;
    virtual double twipsPerPixelY() = 0;
    virtual int screenWidthTwips() = 0;
    // The window whose monitor and scale the queries above answer for (the main window);
    // without one, the primary screen at the system's scale.
    virtual void setReferenceWindow(WindowHandle window) = 0;

    // Stretches the area (window coordinates, frame included) of the window into a new
    // bitmap of the thumbnail size and returns it as a picture that owns the bitmap.
    virtual PicturePtr captureArea(WindowHandle window, int x, int y, int width, int height,
                                   int thumbnailWidth, int thumbnailHeight) = 0;
    // A new picture of that size with the picture stretched into it (the old one stays).
    virtual PicturePtr stretchPicture(const PicturePtr& picture, int width, int height) = 0;
};

}  // namespace snapdesk
