#pragma once

// The browsers' own records of the pages they showed: where their history files lie, and the
// address of a page found there by its title. History files are outside data: every reader
// answers "notfound" for a file it cannot make sense of.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/handles.h"
#include "platform/shell.h"

namespace snapdesk {

// Pure readers over a file's bytes (each byte one character).
std::string morkEncodeTitle(const std::string& title);
std::string addressToPath(const std::string& address);
// The Netscape 6 history with its continued lines joined and every line break removed.
std::string prepareMorkText(const std::string& fileBytes);
std::string netscape4AddressIn(const std::string& caption, const std::string& historyBytes);
std::string netscape6AddressIn(const std::string& caption, const std::string& preparedText);
std::string ieHistoryAddressIn(const std::string& caption, const std::string& indexBytes);
// A candidate file time replaces the current one only when strictly later.
bool laterFileTime(std::uint64_t candidate, std::uint64_t current);

// Where the history files lie.
std::string findIEHistoryIndex(Shell& shell, WindowHandle owner);
// A path, "notfound" (no such browser) or "" (the browser has no history file yet).
std::string findNetscape4History(FileSystem& files, const std::string& exe);
std::string findNetscape6History(FileSystem& files, Shell& shell, WindowHandle owner);

// The three history files as one save sees them: each path is looked up on first need and
// kept for the life of the program (an empty Netscape 4 answer is asked again); each file is
// read at most once per pass, and endPass() lets go of the texts.
class BrowserHistory {
  public:
    BrowserHistory(FileSystem& files, Shell& shell) : files_(files), shell_(shell) {}

    void setOwnerWindow(WindowHandle owner) { owner_ = owner; }

    // The cached path, looked up first when still empty: a path, "notfound" or "".
    const std::string& netscape4HistoryPath(const std::string& exe);
    const std::string& netscape6HistoryPath();
    const std::string& ieHistoryPath();

    // The address of the page whose title the caption shows, or "notfound". Netscape 4's
    // needs its browser's executable: it reads the file netscape4HistoryPath found.
    std::string netscape4Address(const std::string& caption);
    std::string netscape6Address(const std::string& caption);
    std::string ieHistoryAddress(const std::string& caption);

    // The end of a findBrowserPaths pass: the texts read in it are dropped.
    void endPass();
    // How many history files were read since the start (for tests of the once-per-pass rule).
    int fileReads() const { return fileReads_; }

  private:
    FileSystem& files_;
    Shell& shell_;
    WindowHandle owner_ = 0;
    std::string netscape4Path_, netscape6Path_, iePath_;
    std::optional<std::string> netscape4Text_, netscape6Text_, ieText_;
    int fileReads_ = 0;
};

}  // namespace snapdesk
