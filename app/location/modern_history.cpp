#include "location/modern_history.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "common/runtime_error.h"
#include "common/text.h"

namespace snapdesk {

namespace {

// Microseconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kUnixEpochSince1601 = 11644473600LL * 1000000;

const char* const kChromiumScan = "SELECT id, title, last_visit_time FROM urls";
const char* const kFirefoxScan = "SELECT id, title, last_visit_date FROM moz_places";
const char* const kChromiumRow = "SELECT url, title FROM urls WHERE id = ";
const char* const kFirefoxRow = "SELECT url, title FROM moz_places WHERE id = ";

std::int64_t decimal(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

void addUnique(std::vector<std::string>& paths, std::vector<std::string>& seen,
               const std::string& path) {
    const std::string key = text::upperCase(path);
    if (std::find(seen.begin(), seen.end(), key) == seen.end()) {
        seen.push_back(key);
        paths.push_back(path);
    }
}

}  // namespace

std::int64_t visitTimeSince1601(std::string_view microsecondsSince1601) {
    return decimal(microsecondsSince1601);
}

std::int64_t visitTimeSince1970(std::string_view microsecondsSince1970) {
    const std::int64_t value = decimal(microsecondsSince1970);
    if (value == 0 || value > INT64_MAX - kUnixEpochSince1601) {
        return 0;
    }
    return value + kUnixEpochSince1601;
}

std::string ModernBrowserHistory::userDataFolder(ModernBrowser browser) {
    const bool roaming = browser == ModernBrowser::Opera || browser == ModernBrowser::Firefox;
    const std::optional<std::string> base = shell_.specialFolderPath(
        roaming ? special_folders::kApplicationData : special_folders::kLocalApplicationData, 0);
    if (!base || base->empty()) {
        return {};
    }
    const std::string root =
        text::endsWith(*base, "\\") ? base->substr(0, base->size() - 1) : *base;
    switch (browser) {
        case ModernBrowser::Chrome:
            return root + "\\Google\\Chrome\\User Data";
        case ModernBrowser::Edge:
            return root + "\\Microsoft\\Edge\\User Data";
        case ModernBrowser::Brave:
            return root + "\\BraveSoftware\\Brave-Browser\\User Data";
        case ModernBrowser::Vivaldi:
            return root + "\\Vivaldi\\User Data";
        case ModernBrowser::Opera:
            return root + "\\Opera Software\\Opera Stable";
        case ModernBrowser::Firefox:
            return root + "\\Mozilla\\Firefox";
        case ModernBrowser::None:
            break;
    }
    return {};
}

// The browsers' settings files are outside data: one that cannot be read counts as missing.
std::optional<std::string> ModernBrowserHistory::readOutsideFile(const std::string& path) {
    try {
        return files_.readFile(path);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

const LocalState& ModernBrowserHistory::localState(const std::string& userData) {
    const std::string key = text::upperCase(userData);
    auto found = localStates_.find(key);
    if (found == localStates_.end()) {
        const std::optional<std::string> text = readOutsideFile(userData + "\\Local State");
        found = localStates_.emplace(key, text ? readLocalState(*text) : LocalState{}).first;
    }
    return found->second;
}

const FirefoxProfiles& ModernBrowserHistory::firefoxProfiles() {
    if (!firefoxProfiles_) {
        const std::string folder = userDataFolder(ModernBrowser::Firefox);
        std::optional<std::string> profiles;
        std::optional<std::string> installs;
        if (!folder.empty()) {
            profiles = readOutsideFile(folder + "\\profiles.ini");
            installs = readOutsideFile(folder + "\\installs.ini");
        }
        firefoxProfiles_ =
            profiles ? readFirefoxProfiles(*profiles, installs, folder) : FirefoxProfiles{};
    }
    return *firefoxProfiles_;
}

std::string ModernBrowserHistory::profileFolder(ModernBrowser browser,
                                                const std::string& profileName) {
    if (browser == ModernBrowser::Firefox) {
        return firefoxProfiles().defaultFolder;
    }
    if (!isChromiumFamily(browser)) {
        return {};
    }
    const std::string userData = userDataFolder(browser);
    if (userData.empty() || !files_.fileAttributes(userData)) {
        return {};
    }
    return chooseChromiumProfile(localState(userData), profileName,
                                 files_.fileAttributes(userData + "\\Default").has_value());
}

ModernBrowserHistory::HistoryFiles ModernBrowserHistory::historyFiles(
    ModernBrowser browser, const std::string& profileFolder) {
    HistoryFiles result;
    std::vector<std::string> seen;
    if (browser == ModernBrowser::Firefox) {
        const FirefoxProfiles& profiles = firefoxProfiles();
        const std::string preferred =
            profileFolder.empty() ? profiles.defaultFolder : profileFolder;
        if (!preferred.empty()) {
            addUnique(result.preferred, seen, preferred + "\\places.sqlite");
        }
        for (const std::string& folder : profiles.folders) {
            addUnique(result.others, seen, folder + "\\places.sqlite");
        }
        return result;
    }
    const std::string userData = userDataFolder(browser);
    if (userData.empty()) {
        return result;
    }
    auto historyOf = [&userData](const std::string& folder) {
        return folder.empty() ? userData + "\\History" : userData + "\\" + folder + "\\History";
    };
    if (!profileFolder.empty()) {
        addUnique(result.preferred, seen, historyOf(profileFolder));
    }
    if (browser == ModernBrowser::Opera) {
        // Opera keeps its history in the user-data folder itself, newer versions in "Default".
        addUnique(profileFolder.empty() ? result.preferred : result.others, seen, historyOf(""));
    }
    addUnique(result.others, seen, historyOf("Default"));
    for (const ChromiumProfile& profile : localState(userData).profiles) {
        addUnique(result.others, seen, historyOf(profile.folder));
    }
    return result;
}

ModernBrowserHistory::ScannedFile& ModernBrowserHistory::scan(const std::string& livePath,
                                                              bool firefox) {
    const std::string key = text::upperCase(livePath);
    if (const auto found = scanned_.find(key); found != scanned_.end()) {
        return found->second;
    }
    ScannedFile& file = scanned_[key];
    ++snapshotsTaken_;
    file.snapshot = database_.openSnapshot(livePath);
    if (file.snapshot == nullptr) {
        return file;
    }
    try {
        file.snapshot->forEachRow(firefox ? kFirefoxScan : kChromiumScan,
                                  [&file, firefox](const std::vector<std::string_view>& row) {
                                      if (row.size() == 3 && !row[1].empty()) {
                                          file.index.add(row[1], decimal(row[0]),
                                                         firefox ? visitTimeSince1970(row[2])
                                                                 : visitTimeSince1601(row[2]));
                                      }
                                  });
        file.index.seal();
    } catch (const RuntimeError&) {
        // Not a history this program can read: no pages in it.
        file = ScannedFile{};
    }
    return file;
}

std::optional<ModernBrowserHistory::Visit> ModernBrowserHistory::latestIn(
    ScannedFile& file, bool firefox, const std::string& title) {
    for (const TitleHashIndex::Row& candidate : file.index.candidates(title)) {
        std::vector<std::vector<std::string>> rows;
        try {
            rows = file.snapshot->query((firefox ? kFirefoxRow : kChromiumRow) +
                                        std::to_string(candidate.id));
        } catch (const RuntimeError&) {
            return std::nullopt;
        }
        // Another title of the same hash, or a row without an address: the next candidate.
        if (rows.size() == 1 && rows[0].size() == 2 && rows[0][1] == title && !rows[0][0].empty()) {
            return Visit{std::move(rows[0][0]), candidate.time};
        }
    }
    return std::nullopt;
}

std::optional<ModernBrowserHistory::Visit> ModernBrowserHistory::latest(
    const std::vector<std::string>& paths, bool firefox, const std::string& title) {
    std::optional<Visit> best;
    for (const std::string& path : paths) {
        std::optional<Visit> found = latestIn(scan(path, firefox), firefox, title);
        if (found && (!best || found->time > best->time)) {
            best = std::move(found);
        }
    }
    return best;
}

std::string ModernBrowserHistory::address(ModernBrowser browser, const std::string& title,
                                          const std::string& profileFolder) {
    const bool firefox = browser == ModernBrowser::Firefox;
    if (title.empty() || (!firefox && !isChromiumFamily(browser))) {
        return "notfound";
    }
    const HistoryFiles files = historyFiles(browser, profileFolder);
    std::optional<Visit> visit = latest(files.preferred, firefox, title);
    if (!visit) {
        visit = latest(files.others, firefox, title);
    }
    return visit ? visit->address : "notfound";
}

void ModernBrowserHistory::endPass() {
    scanned_.clear();
    localStates_.clear();
    firefoxProfiles_.reset();
}

}  // namespace snapdesk
