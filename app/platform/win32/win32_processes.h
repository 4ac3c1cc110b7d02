#pragma once

#include "platform/processes.h"

namespace snapdesk {

// Executables of processes through psapi (NT) and the tool-help snapshot (95/98).
class Win32Processes : public Processes {
  public:
    bool isWindowsNT() override;
    std::optional<std::string> moduleFileName(std::uint32_t processId) override;
    std::vector<ProcessEntry> processSnapshot() override;
};

}  // namespace snapdesk
