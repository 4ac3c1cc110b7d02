#pragma once

#include <string>

#include "platform/registry.h"

namespace snapdesk {

// Major version of Internet Explorer: one character, "3" when the registry does not say.
std::string ieMajorVersion(Registry& registry);
// The character as the program-wide number; a character that is no digit counts as 3.
int ieVersionNumber(const std::string& majorVersion);
// Up to three characters of Netscape 6's current version, or "notfound".
std::string netscape6Version(Registry& registry);

}  // namespace snapdesk
