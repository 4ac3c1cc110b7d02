#pragma once

#include <string>

namespace snapdesk {

inline constexpr const char* kRecentFolderUnknown = "UNKNOWN";

// The shell's Recent folder with a trailing "\", or "UNKNOWN" until the project store knows it.
const std::string& recentFolder();
void setRecentFolder(std::string folder);

}  // namespace snapdesk
