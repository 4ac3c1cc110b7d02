#pragma once

#include <cstdint>

namespace snapdesk {

// Window and icon handles as plain numbers, so that the core needs no <windows.h>. 0 is "none".
using WindowHandle = std::uint64_t;
using IconHandle = std::uint64_t;

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
};

}  // namespace snapdesk
