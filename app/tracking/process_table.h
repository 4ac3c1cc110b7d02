#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"
#include "tracking/tracked_window.h"

namespace snapdesk {

// The program of each record's frame that has none yet, found once per classification pass.
// It holds as many entries as there are such records with a process.
class ProcessTable {
  public:
    struct Program {
        std::string exePath;  // upper case
        std::string appId;    // "" unless the program is packaged
    };

    void build(const std::vector<TrackedWindow>& records, long count, Platform& platform);

    // The program of a frame, when its process could be read. A frame of the shell's host for
    // packaged programs is the program it shows, and unknown while it shows none.
    std::optional<Program> programOf(WindowHandle topWindow) const;

  private:
    struct Entry {
        WindowHandle window = 0;
        std::uint32_t processId = 0;
    };
    std::vector<Entry> entries_;
    std::unordered_map<WindowHandle, Program> programs_;
};

}  // namespace snapdesk
