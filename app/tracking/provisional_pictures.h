#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "platform/platform.h"
#include "tracking/tracked_window.h"

namespace snapdesk {

// Pictures that windows draw of themselves, for the tiles that have none yet: the window is not
// brought forward, so such a picture only stands in until the schedule captures the window in
// front. It fills the record's thePhoto and leaves gotPhoto alone.
class ProvisionalPictures {
  public:
    explicit ProvisionalPictures(Platform& platform) : platform_(platform) {}

    // Pictures drawn since the last call go to their records, if those still have none.
    void collect(std::span<TrackedWindow> records);
    // Asks for a picture of every record that has none, is shown and is not minimised, while
    // fewer than `limit` requests are on their way.
    void request(std::span<TrackedWindow> records, std::size_t limit);
    bool waiting() const { return !pending_.empty(); }

  private:
    bool wanted(const TrackedWindow& r);

    Platform& platform_;
    std::unordered_set<WindowHandle> pending_;
    // Windows that drew nothing, with their text then: asked again only under a new text.
    std::unordered_map<WindowHandle, std::string> blank_;
};

}  // namespace snapdesk
