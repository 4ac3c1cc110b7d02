#pragma once

// UTF-8 inside every binary, UTF-16 at the W functions.

#include <string>
#include <string_view>

namespace snapdesk::win32 {

// Embedded NULs are kept; text that is not valid UTF-8 (or UTF-16) is converted as the system
// converts it, with replacement characters.
std::wstring toWide(std::string_view text);
std::string toUtf8(std::wstring_view text);

// The same between UTF-16 and another code page, such as CP_ACP for the ANSI functions.
std::wstring wideFromCodePage(std::string_view text, unsigned codePage);
std::string wideToCodePage(std::wstring_view text, unsigned codePage);

}  // namespace snapdesk::win32
