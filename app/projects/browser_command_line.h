#pragma once

// The command line that opens a saved page again in today's browsers: each page in a window
// of its own, so that the window it gets can be told apart. The address comes from a project
// file: it is checked, quoted, and never becomes an argument of its own.

#include <string>

#include "common/modern_programs.h"

namespace snapdesk::browser_command_line {

struct Arguments {
    std::string parameters;
    std::string refusal;  // why the page is not opened, "" when it is
};

// The arguments for `browser` to open `location` (an http, https or file address, or a local
// path) in a new window of the Chromium `profile` folder ("" for the browser's own choice;
// Firefox opens its default profile). A location naming a browser's executable opens the
// browser with its profile alone.
Arguments forPage(ModernBrowser browser, const std::string& location, const std::string& profile);

// A path on a drive or a network share as a file address, with what an address cannot hold
// percent-encoded: "C:\My Docs\a.html" is "file:///C:/My%20Docs/a.html".
std::string fileUrlOf(const std::string& path);

}  // namespace snapdesk::browser_command_line
