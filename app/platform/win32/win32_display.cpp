#include "platform/win32/win32_display.h"

#include <cmath>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_picture.h"

namespace snapdesk {

namespace {

constexpr int kTwipsPerInch = 1440;

int twipsPerPixel(int logPixelsIndex) {
    const win32::unique_window_dc screen = win32::get_dc(nullptr);
    if (!screen) {
        return 0;
    }
    const int pixelsPerInch = GetDeviceCaps(screen.get(), logPixelsIndex);
    return pixelsPerInch > 0 ? kTwipsPerInch / pixelsPerInch : 0;
}

}  // namespace

std::optional<DisplayCaps> Win32Display::displayCaps() {
    const win32::unique_hdc info(CreateICW(L"DISPLAY", nullptr, nullptr, nullptr));
    if (!info) {
        return std::nullopt;
    }
    DisplayCaps caps;
    caps.horizontalResolution = GetDeviceCaps(info.get(), HORZRES);
    caps.planes = GetDeviceCaps(info.get(), PLANES);
    caps.bitsPerPixel = GetDeviceCaps(info.get(), BITSPIXEL);
    return caps;
}

int Win32Display::twipsPerPixelX() {
    return twipsPerPixel(LOGPIXELSX);
}

int Win32Display::twipsPerPixelY() {
    return twipsPerPixel(LOGPIXELSY);
}

int Win32Display::screenWidthTwips() {
    return GetSystemMetrics(SM_CXSCREEN) * twipsPerPixelX();
}

namespace {

// From the screen, only the part of the area that lies on it: a maximised document reaches
// past the screen's edges, and Wine copies nothing at all from a source that does. The rest
// of the thumbnail stays black, as the screen beyond its edge would be.
void stretchVisiblePart(HDC target, int targetWidth, int targetHeight, HDC screen, int x, int y,
                        int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    PatBlt(target, 0, 0, targetWidth, targetHeight, BLACKNESS);
    const RECT area{x, y, x + width, y + height};
    const RECT screenRect{
        GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
        GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
        GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RECT shown{};
    if (!IntersectRect(&shown, &area, &screenRect)) {
        return;
    }
    const double sx = static_cast<double>(targetWidth) / width;
    const double sy = static_cast<double>(targetHeight) / height;
    const int left = static_cast<int>(std::lround((shown.left - x) * sx));
    const int top = static_cast<int>(std::lround((shown.top - y) * sy));
    const int right = static_cast<int>(std::lround((shown.right - x) * sx));
    const int bottom = static_cast<int>(std::lround((shown.bottom - y) * sy));
    StretchBlt(target, left, top, right - left, bottom - top, screen, shown.left, shown.top,
               shown.right - shown.left, shown.bottom - shown.top, SRCCOPY);
}

}  // namespace

PicturePtr Win32Display::captureArea(WindowHandle window, int x, int y, int width, int height,
                                     int thumbnailWidth, int thumbnailHeight) {
    if (thumbnailWidth <= 0 || thumbnailHeight <= 0) {
        return {};
    }
    HWND hwnd = win32::toHwnd(window);
    // A document window of another program draws into its frame's surface, which that
    // program's window DC alone reaches (Wine gives black). It is captured in front, so the
    // screen holds the same pixels at its place.
    if ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) != 0) {
        RECT place{};
        if (!GetWindowRect(hwnd, &place)) {
            return {};
        }
        x += place.left;
        y += place.top;
        hwnd = nullptr;
    }
    const win32::CountedDc source(win32::get_window_dc(hwnd));
    if (source.get() == nullptr) {
        return {};
    }
    const win32::CountedDc memory(win32::unique_hdc(CreateCompatibleDC(source.get())));
    if (memory.get() == nullptr) {
        return {};
    }
    const HBITMAP bitmap = CreateCompatibleBitmap(source.get(), thumbnailWidth, thumbnailHeight);
    if (bitmap == nullptr) {
        return {};
    }
    win32::trackBitmap(bitmap);
    auto selected = win32::select_object(memory.get(), bitmap);
    // Halftone keeps text and lines recognisable at a quarter of the size.
    SetStretchBltMode(memory.get(), HALFTONE);
    SetBrushOrgEx(memory.get(), 0, 0, nullptr);
    if (hwnd == nullptr) {
        stretchVisiblePart(memory.get(), thumbnailWidth, thumbnailHeight, source.get(), x, y, width,
                           height);
    } else {
        StretchBlt(memory.get(), 0, 0, thumbnailWidth, thumbnailHeight, source.get(), x, y, width,
                   height, SRCCOPY);
    }
    selected.reset();  // the picture takes the bitmap out of the DC
    return pictureFromBitmap(bitmap);
}

}  // namespace snapdesk
