#pragma once

#include "platform/processes.h"

namespace snapdesk {

// Executables of processes through psapi (NT) and the tool-help snapshot (95/98); the
// application id of a packaged process.
class Win32Processes : public Processes {
  public:
    bool isWindowsNT() override;
    std::optional<std::string> moduleFileName(std::uint32_t processId) override;
    std::vector<ProcessEntry> processSnapshot() override;
    // Through kernel32's package functions, looked up when first needed: Windows 7 and Wine
    // have none or not all of them.
    std::optional<std::string> applicationUserModelId(std::uint32_t processId) override;
};

}  // namespace snapdesk
