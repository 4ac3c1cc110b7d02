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
ThumbnailSize thumbnailSize(int screenPixels, double twipsPerPixelX, double twipsPerPixelY,
                            int width, int height);

// A new picture of the window when it may be captured now, else oldPicture. Sets gotPhoto
// whenever it captured. Reports errors itself and then returns an empty picture.
PicturePtr TakeSnapShot(Platform& platform, WindowHandle hWnd, WindowHandle hClient,
                        WindowHandle hTopWnd, bool& gotPhoto, PicturePtr oldPicture);

PicturePtr captureWindow(Platform& platform, WindowHandle hWnd, Rect& rect);
PicturePtr captureArea(Platform& platform, WindowHandle hWnd, int x, int y, int width, int height);

// The screen's width in pixels of 96 dpi (monitor pixels x 96 / dpi), so that what follows
// the width keeps its size on paper at every scale instead of growing twice.
std::int16_t screenPixelWidth(Display& display);
int deviceIndependentWidth(int monitorPixels, double twipsPerPixel);

// The picture stretched to the thumbnail size at the display's present scale; taken again at
// its next capture.
PicturePtr rescaledPicture(Platform& platform, const PicturePtr& picture);
std::int32_t colorDepth(Display& display);

}  // namespace snapdesk
