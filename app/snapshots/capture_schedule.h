#pragma once

#include <cstdint>
#include <functional>

namespace snapdesk {

// Decides, on one classification pass, whether a record in front is captured again.
// `capture` takes the picture and sets gotPhoto when it captured.
void applyCaptureSchedule(std::int16_t mode, const bool& gotPhoto, std::int16_t& updateCount,
                          const std::function<void()>& capture);

}  // namespace snapdesk
