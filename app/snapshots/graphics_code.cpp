#include "snapshots/graphics_code.h"

#include <cmath>

#include "common/app_title.h"
#include "common/runtime_error.h"

namespace snapdesk {

namespace {

// The thumbnail box at the design width of 1024 pixels, in twips.
constexpr double kBoxWidthTwips = 3840;
constexpr double kBoxHeightTwips = 2175;
constexpr double kDesignScreenPixels = 1024;
constexpr double kTwipsPerDesignPixel = 15;  // 96 dpi

// A window shrunk below this (pixels) does not replace a good picture.
constexpr int kSmallestUsefulSide = 51;

// Nearest integer, halves to even.
int roundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace

ThumbnailSize thumbnailSize(int screenPixels, double twipsPerPixelX, double twipsPerPixelY,
                            int width, int height) {
    if (width == 0 || height == 0 || twipsPerPixelX <= 0 || twipsPerPixelY <= 0) {
        return {10, 10};
    }
    const double scale = screenPixels / kDesignScreenPixels;
    const double ratio = static_cast<double>(height) / width;
    ThumbnailSize size;
    if (ratio >= kBoxHeightTwips / kBoxWidthTwips) {
        size.height = roundHalfEven(scale * kBoxHeightTwips / twipsPerPixelY);
        size.width = roundHalfEven(static_cast<double>(size.height) * width / height);
    } else {
        size.width = roundHalfEven(scale * kBoxWidthTwips / twipsPerPixelX);
        size.height = roundHalfEven(static_cast<double>(size.width) * height / width);
    }
    return size;
}

PicturePtr captureArea(Platform& platform, WindowHandle hWnd, int x, int y, int width, int height) {
    const auto size =
        thumbnailSize(screenPixelWidth(platform.display), platform.display.twipsPerPixelX(),
                      platform.display.twipsPerPixelY(), width, height);
    return platform.display.captureArea(hWnd, x, y, width, height, size.width, size.height);
}

PicturePtr captureWindow(Platform& platform, WindowHandle hWnd, Rect& rect) {
    rect = platform.windows.windowRect(hWnd);
    return captureArea(platform, hWnd, 0, 0, rect.width(), rect.height());
}

PicturePtr TakeSnapShot(Platform& platform, WindowHandle hWnd, WindowHandle hClient,
                        WindowHandle hTopWnd, bool& gotPhoto, PicturePtr oldPicture) {
    try {
        auto& windows = platform.windows;
        if (windows.foregroundWindow() != hTopWnd) {
            return oldPicture;
        }
        const Rect bounds = windows.windowRect(hWnd);
        if (bounds.width() <= 0 || bounds.height() <= 0) {
            return oldPicture;
        }
        if (hTopWnd != hWnd) {
            // Only the active, open document of a frame is on screen.
            if (windows.mdiActive(hClient, nullptr) != hWnd || windows.isMinimized(hWnd)) {
                return oldPicture;
            }
        }
        Rect rect;
        PicturePtr newPicture = captureWindow(platform, hWnd, rect);
        const bool wasCaptured = gotPhoto;
        gotPhoto = true;
        if (wasCaptured &&
            (rect.height() < kSmallestUsefulSide || rect.width() < kSmallestUsefulSide)) {
            return oldPicture;
        }
        return newPicture;
    } catch (const RuntimeError& e) {
        platform.ui.messageBox(
            "Error has occured in 'TakeSnapShot'\n" + e.description + " " + e.source, kAppTitle,
            MessageBoxStyle::Ok);
        return nullptr;
    }
}

int deviceIndependentWidth(int monitorPixels, double twipsPerPixel) {
    if (twipsPerPixel <= 0) {
        return monitorPixels;
    }
    return roundHalfEven(monitorPixels * twipsPerPixel / kTwipsPerDesignPixel);
}

std::int16_t screenPixelWidth(Display& display) {
    const double twips = display.twipsPerPixelX();
    if (const auto caps = display.displayCaps(); caps && caps->horizontalResolution >= 1) {
        return static_cast<std::int16_t>(deviceIndependentWidth(caps->horizontalResolution, twips));
    }
    if (twips > 0) {
        return static_cast<std::int16_t>(
            roundHalfEven(display.screenWidthTwips() / kTwipsPerDesignPixel));
    }
    return 0;
}

PicturePtr rescaledPicture(Platform& platform, const PicturePtr& picture) {
    if (!picture || picture->width() <= 0 || picture->height() <= 0) {
        return picture;
    }
    const auto size =
        thumbnailSize(screenPixelWidth(platform.display), platform.display.twipsPerPixelX(),
                      platform.display.twipsPerPixelY(), picture->width(), picture->height());
    if (size.width == picture->width() && size.height == picture->height()) {
        return picture;
    }
    PicturePtr stretched = platform.display.stretchPicture(picture, size.width, size.height);
    return stretched ? stretched : picture;
}

std::int32_t colorDepth(Display& display) {
    const auto caps = display.displayCaps();
    return caps ? caps->planes * caps->bitsPerPixel : 0;
}

}  // namespace snapdesk
