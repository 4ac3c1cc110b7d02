#pragma once

// The pages of today's browsers, found in their own history databases by the page's title.
// The browsers hold these files open while they run: every file is read through a snapshot.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/modern_programs.h"
#include "location/browser_profiles.h"
#include "location/title_hash_index.h"
#include "platform/file_system.h"
#include "platform/history_database.h"
#include "platform/shell.h"

namespace snapdesk {

// Visit times on one scale, microseconds since 1601-01-01 UTC, from the decimal text of a
// Chromium `last_visit_time` (that scale already) or a Firefox `last_visit_date` (since 1970).
// Text that is no number (NULL reads as "") gives 0, older than any visit.
std::int64_t visitTimeSince1601(std::string_view microsecondsSince1601);
std::int64_t visitTimeSince1970(std::string_view microsecondsSince1970);

class ModernBrowserHistory {
  public:
    ModernBrowserHistory(FileSystem& files, Shell& shell, HistoryDatabase& database)
        : files_(files), shell_(shell), database_(database) {}

    // The profile folder ("Default", "Profile 1", ...) of a Chromium-family browser whose
    // window caption shows `profileName` (from Local State profile.info_cache names); else the
    // last used profile (profile.last_used); else "Default" when that folder exists; "" when
    // the browser has no user data. Opera keeps its history in the user-data folder itself
    // when it has no "Default" folder: "" then too. Firefox: the full path of its default
    // profile's folder.
    std::string profileFolder(ModernBrowser browser, const std::string& profileName);
    // The address of the page whose title is exactly `title`: the most recently visited
    // address with that title; `profileFolder` is searched first (a match there wins), then
    // the other profiles (latest visit wins). "notfound" when none. The address is the URL as
    // the browser stored it.
    std::string address(ModernBrowser browser, const std::string& title,
                        const std::string& profileFolder);
    // The end of a save: snapshots and rows read in it are dropped. Within a pass each history
    // file is copied and scanned at most once: one full-scan query keeps each row's title hash,
    // visit time and id in memory, and the snapshot stays open for the pass, so that a match
    // is read back by its id.
    void endPass();
    int snapshotsTaken() const { return snapshotsTaken_; }

  private:
    struct Visit {
        std::string address;
        std::int64_t time = 0;
    };
    // The history files of a browser: those of the preferred profile, then the others.
    struct HistoryFiles {
        std::vector<std::string> preferred;
        std::vector<std::string> others;
    };

    std::string userDataFolder(ModernBrowser browser);
    const LocalState& localState(const std::string& userData);
    const FirefoxProfiles& firefoxProfiles();
    HistoryFiles historyFiles(ModernBrowser browser, const std::string& profileFolder);
    // A history file as a pass has read it: no snapshot when it could not be read.
    struct ScannedFile {
        std::unique_ptr<HistorySnapshot> snapshot;
        TitleHashIndex index;
    };
    ScannedFile& scan(const std::string& livePath, bool firefox);
    std::optional<Visit> latestIn(ScannedFile& file, bool firefox, const std::string& title);
    std::optional<Visit> latest(const std::vector<std::string>& paths, bool firefox,
                                const std::string& title);
    std::optional<std::string> readOutsideFile(const std::string& path);

    FileSystem& files_;
    Shell& shell_;
    HistoryDatabase& database_;
    // What a pass has read, by path in upper case.
    std::map<std::string, ScannedFile> scanned_;
    std::map<std::string, LocalState> localStates_;
    std::optional<FirefoxProfiles> firefoxProfiles_;
    int snapshotsTaken_ = 0;
};

}  // namespace snapdesk
