#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <algorithm>
#include <cmath>

#include "mainwindow/panel_view.h"
#include "platform/win32/unique_handle.h"

namespace snapdesk {

// Twips to pixels and back, at the screen's resolution: the one place of this conversion.
struct TwipsScale {
    int dpiX = 96;
    int dpiY = 96;

    static TwipsScale ofScreen() {
        TwipsScale s;
        if (const win32::unique_window_dc screen = win32::get_dc(nullptr)) {
            s.dpiX = GetDeviceCaps(screen.get(), LOGPIXELSX);
            s.dpiY = GetDeviceCaps(screen.get(), LOGPIXELSY);
        }
        return s;
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
