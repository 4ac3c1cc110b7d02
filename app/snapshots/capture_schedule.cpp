#include "snapshots/capture_schedule.h"

#include "snapshots/image_update_mode.h"

namespace snapdesk {

namespace {

// Attempts before the first picture, while the window stays in front.
constexpr std::int16_t kLastFirstAttempt = 3;

}  // namespace

void applyCaptureSchedule(std::int16_t mode, const bool& gotPhoto, std::int16_t& updateCount,
                          const std::function<void()>& capture) {
    if (mode == kFrequentImageUpdates) {
        capture();
        return;
    }
    if (mode == kNoAutoImageUpdates) {
        if (!gotPhoto && updateCount <= kLastFirstAttempt) {
            capture();
            ++updateCount;
        }
        return;
    }
    // Minimal, and any value the settings do not know.
    if (!gotPhoto) {
        if (updateCount <= kLastFirstAttempt) {
            capture();
            updateCount = gotPhoto ? 1 : static_cast<std::int16_t>(updateCount + 1);
        }
    } else if (updateCount < 1) {
        ++updateCount;
    } else if (updateCount == 1) {
        capture();
        ++updateCount;
    }
}

}  // namespace snapdesk
