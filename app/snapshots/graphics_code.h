#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace snapdesk {

struct ThumbnailSize {
    int width = 0;
    int height = 0;
};

// The thumbnail of a width x height area: the 3840 x 2175 twip box scaled to the screen,
// filled along the side that limits it. An empty area gives 10 x 10.
ThumbnailSize thumbnailSize(int screenPixels, int twipsPerPixelX, int twipsPerPixelY, int width,
                            int height);

// A new picture of the window when it may be captured now, else oldPicture. Sets gotPhoto
// whenever it captured. Reports errors itself and then returns an empty picture.
PicturePtr TakeSnapShot(Platform& platform, WindowHandle hWnd, WindowHandle hClient,
                        WindowHandle hTopWnd, bool& gotPhoto, PicturePtr oldPicture);

PicturePtr captureWindow(Platform& platform, WindowHandle hWnd, Rect& rect);
PicturePtr captureArea(Platform& platform, WindowHandle hWnd, int x, int y, int width, int height);

std::int16_t screenPixelWidth(Display& display);
std::int32_t colorDepth(Display& display);

}  // namespace snapdesk
