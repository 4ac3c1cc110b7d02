#pragma once

#include <cstdint>

namespace snapdesk {

// The user's image-update setting.
enum ImageUpdateMode : std::int16_t {
    kNoAutoImageUpdates = 1,
    kFrequentImageUpdates = 2,
    kMinimalImageUpdates = 3,
};

// Process-wide; Frequent until the settings say otherwise.
std::int16_t imageUpdateMode();
void setImageUpdateMode(std::int16_t mode);

}  // namespace snapdesk
