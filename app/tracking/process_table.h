#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"
#include "tracking/tracked_window.h"

namespace snapdesk {

// The executable of each record's frame, found once per classification pass. It holds as many
// entries as there are records with a process.
class ProcessTable {
  public:
    void build(const std::vector<TrackedWindow>& records, long count, Platform& platform);

    // The upper-cased executable path of a frame, when its process could be read.
    std::optional<std::string> exePathOf(WindowHandle topWindow) const;

  private:
    struct Entry {
        WindowHandle window = 0;
        std::uint32_t processId = 0;
    };
    std::vector<Entry> entries_;
    std::unordered_map<WindowHandle, std::string> exePaths_;
};

}  // namespace snapdesk
