#pragma once

#include <string>

namespace snapdesk {

// Mode 9: every "&" doubled, for places where "&" marks an access key (menus, labels).
inline constexpr int kDoubleAmpersands = 9;

// The short display name of a window caption or a path.
std::string makeShortFileName(const std::string& text, int mode = 0);

}  // namespace snapdesk
