#pragma once

#include <string>

namespace snapdesk {

// The page title that a window caption of today's browsers (Chrome, Edge, Brave, Vivaldi,
// Opera, Firefox) shows: the caption without the program's suffix, and for Edge without its
// profile and its " and N more pages". A caption that holds no title (only the program's
// name), and any caption of another program, comes back as it is.
std::string browserPageTitle(const std::string& caption, const std::string& exePath);

// The profile name an Edge caption shows ("Personal" in "Page - Personal - Microsoft Edge"),
// "" for other browsers and for captions without one.
std::string browserCaptionProfile(const std::string& caption, const std::string& exePath);

}  // namespace snapdesk
