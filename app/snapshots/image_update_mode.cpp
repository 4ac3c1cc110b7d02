#include "snapshots/image_update_mode.h"

namespace snapdesk {

namespace {
std::int16_t storage = kFrequentImageUpdates;
}

std::int16_t imageUpdateMode() {
    return storage;
}

void setImageUpdateMode(std::int16_t mode) {
    storage = mode;
}

}  // namespace snapdesk
