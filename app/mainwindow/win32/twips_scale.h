#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <algorithm>
#include <cmath>

#include "base/window_dpi.h"
#include "mainwindow/panel_view.h"

namespace snapdesk {

// Twips to pixels and back, at a window's scale: the one place of this conversion.
struct TwipsScale {
    int dpiX = 96;
    int dpiY = 96;

    static TwipsScale ofWindow(HWND window) {
        const int dpi = win32::windowDpi(window);
        return {dpi, dpi};
    }
    int pixelsX(int twips) const { return static_cast<int>(std::lround(twips * dpiX / 1440.0)); }
    int pixelsY(int twips) const { return static_cast<int>(std::lround(twips * dpiY / 1440.0)); }
    int twipsX(int pixels) const { return static_cast<int>(std::lround(pixels * 1440.0 / dpiX)); }
    int twipsY(int pixels) const { return static_cast<int>(std::lround(pixels * 1440.0 / dpiY)); }
    RECT pixels(const Bounds& b) const {
        const int left = pixelsX(b.left);
        const int top = pixelsY(b.top);
        return {left, top, left + std::max(0, pixelsX(b.width)),
                top + std::max(0, pixelsY(b.height))};
    }
};

}  // namespace snapdesk
