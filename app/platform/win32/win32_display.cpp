#include "platform/win32/win32_display.h"

#include <cmath>

#include "base/unique_handle.h"
#include "base/window_dpi.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_picture.h"

namespace snapdesk {

namespace {

constexpr int kTwipsPerInch = 1440;

// The width of the monitor the window is on, in its pixels; 0 when it cannot be told.
int monitorWidth(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) {
        return 0;
    }
    return info.rcMonitor.right - info.rcMonitor.left;
}

}  // namespace

void Win32Display::setReferenceWindow(WindowHandle window) {
    reference_ = window;
    referenceDpi_ = 0;
}

int Win32Display::dpi() const {
    return referenceDpi_ > 0 ? referenceDpi_ : win32::windowDpi(win32::toHwnd(reference_));
}

std::optional<DisplayCaps> Win32Display::displayCaps() {
    const win32::unique_hdc info(CreateICW(L"DISPLAY", nullptr, nullptr, nullptr));
    if (!info) {
        return std::nullopt;
    }
    DisplayCaps caps;
    caps.horizontalResolution = GetDeviceCaps(info.get(), HORZRES);
    caps.planes = GetDeviceCaps(info.get(), PLANES);
    caps.bitsPerPixel = GetDeviceCaps(info.get(), BITSPIXEL);
    if (reference_ != 0) {
        if (const int width = monitorWidth(win32::toHwnd(reference_)); width > 0) {
            caps.horizontalResolution = width;
        }
    }
    return caps;
}

double Win32Display::twipsPerPixelX() {
    return static_cast<double>(kTwipsPerInch) / dpi();
}

double Win32Display::twipsPerPixelY() {
    return static_cast<double>(kTwipsPerInch) / dpi();
}

int Win32Display::screenWidthTwips() {
    return static_cast<int>(std::lround(GetSystemMetrics(SM_CXSCREEN) * twipsPerPixelX()));
}

PicturePtr Win32Display::stretchPicture(const PicturePtr& picture, int width, int height) {
    const auto* source = dynamic_cast<const Win32Picture*>(picture.get());
    if (source == nullptr || source->bitmap() == nullptr || width <= 0 || height <= 0) {
        return {};
    }
    const win32::CountedDc screen(win32::get_window_dc(nullptr));
    if (screen.get() == nullptr) {
        return {};
    }
    const win32::CountedDc from(win32::unique_hdc(CreateCompatibleDC(screen.get())));
    const win32::CountedDc to(win32::unique_hdc(CreateCompatibleDC(screen.get())));
    if (from.get() == nullptr || to.get() == nullptr) {
        return {};
    }
    // A bitmap can be in one device context at a time: one still in a tile's is left alone.
    auto selectedFrom = win32::select_object(from.get(), source->bitmap());
    if (!selectedFrom) {
        return {};
    }
    const HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), width, height);
    if (bitmap == nullptr) {
        return {};
    }
    win32::trackBitmap(bitmap);
    auto selectedTo = win32::select_object(to.get(), bitmap);
    SetStretchBltMode(to.get(), HALFTONE);
    SetBrushOrgEx(to.get(), 0, 0, nullptr);
    StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, source->width(), source->height(),
               SRCCOPY);
    selectedTo.reset();
    selectedFrom.reset();
    return pictureFromBitmap(bitmap);
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
