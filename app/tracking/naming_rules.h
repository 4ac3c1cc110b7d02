#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"

namespace snapdesk {

// A program whose windows show web pages and go on Web Browsers: the old browsers and today's.
bool isWebBrowser(const std::string& exePath);

// The fixed name of a program whose windows need no text parsing (mail programs), or none.
std::optional<std::string> fixedDocumentName(const std::string& exePath);

// The document name shown for a window text, by the per-program rules, in order. The Recent
// folder (with its trailing "\", or "UNKNOWN") turns a name whose extension the program hides
// into the name of its shortcut there. Today's browsers are named by their page title, today's
// Office programs by their document.
std::string documentName(const std::string& windowText, const std::string& exePath,
                         const std::string& recentFolder, FileSystem& files);

}  // namespace snapdesk
