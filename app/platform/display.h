#pragma once

#include <optional>

#include "platform/handles.h"
#include "platform/picture.h"

namespace snapdesk {

struct DisplayCaps {
    int horizontalResolution = 0;  // HORZRES
    int planes = 0;
    int bitsPerPixel = 0;
};

// The screen and window capture.
class Display {
  public:
    virtual ~Display() = default;

    // Capabilities of an information context on "DISPLAY"; empty when it cannot be opened.
    virtual std::optional<DisplayCaps> displayCaps() = 0;
    virtual int twipsPerPixelX() = 0;
    virtual int twipsPerPixelY() = 0;
    virtual int screenWidthTwips() = 0;

    // Stretches the area (window coordinates, frame included) of the window into a new
    // bitmap of the thumbnail size and returns it as a picture that owns the bitmap.
    virtual PicturePtr captureArea(WindowHandle window, int x, int y, int width, int height,
                                   int thumbnailWidth, int thumbnailHeight) = 0;
};

}  // namespace snapdesk
