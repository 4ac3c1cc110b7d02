// Arbitrary bytes as a browser's history database and its settings file. The first byte picks
// the browser (even: Chrome with "Local State", odd: Firefox with "profiles.ini" and
// "installs.ini"), the next two give the length of the settings text, the rest is the
// database. Besides the sanitizers' findings, a title that no seed holds is "notfound", a
// Chromium profile is always chosen, and no snapshot copy is left behind.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "../support/mapped_snapshot_files.h"
#include "location/modern_history.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_shell.h"
#include "platform/sqlite/sqlite_history_database.h"

namespace {

namespace fs = std::filesystem;
using namespace snapdesk;

const std::string kLocal = "C:\\Local";
const std::string kRoaming = "C:\\Roaming";
const std::string kChrome = kLocal + "\\Google\\Chrome\\User Data";
const std::string kFirefox = kRoaming + "\\Mozilla\\Firefox";
const std::string kFirefoxProfile = kFirefox + "\\Profiles\\p";

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

const fs::path& root() {
    static const fs::path path = [] {
        const fs::path made = fs::temp_directory_path() /
                              ("snapdesk_modern_history_fuzz_" + std::to_string(getpid()));
        fs::create_directories(made);
        return made;
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const bool firefox = (data[0] & 1) != 0;
    const std::size_t settingsSize =
        std::min<std::size_t>(data[1] | (static_cast<std::size_t>(data[2]) << 8), size - 3);
    const std::string settings(reinterpret_cast<const char*>(data) + 3, settingsSize);
    const std::string database(reinterpret_cast<const char*>(data) + 3 + settingsSize,
                               size - 3 - settingsSize);

    sim::SimFileSystem files;
    sim::SimShell shell;
    shell.folders[special_folders::kLocalApplicationData] = kLocal;
    shell.folders[special_folders::kApplicationData] = kRoaming;
    testing_fakes::MappedSnapshotFiles copier(root());
    SqliteHistoryDatabase sqlite(copier);
    ModernBrowserHistory history(files, shell, sqlite);

    const std::string live =
        firefox ? kFirefoxProfile + "\\places.sqlite" : kChrome + "\\Default\\History";
    fs::create_directories(copier.real(live).parent_path());
    std::ofstream(copier.real(live), std::ios::binary | std::ios::trunc) << database;
    const ModernBrowser browser = firefox ? ModernBrowser::Firefox : ModernBrowser::Chrome;
    std::string profile;
    if (firefox) {
        files.writeFile(kFirefox + "\\profiles.ini", settings);
        files.writeFile(kFirefox + "\\installs.ini", settings);
        history.profileFolder(browser, "");
        profile = kFirefoxProfile;
    } else {
        files.writeFile(kChrome + "\\Local State", settings);
        files.addFolder(kChrome + "\\Default");
        profile = history.profileFolder(browser, "Person 1");
        require(!profile.empty());
    }
    require(history.address(browser, "No such page \x01 anywhere", profile) == "notfound");
    history.address(browser, "Docs", profile);
    require(history.snapshotsTaken() >= 1);
    history.endPass();
    require(fs::is_empty(root() / "temp"));
    return 0;
}

#ifdef SNAPDESK_WRITE_SEEDS
// The seeds: a small History and a small places.sqlite (512-byte pages), one with its row
// only in the WAL left aside, each behind a settings text the readers understand.
#include "../support/sqlite_history_files.h"

namespace {

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeSeed(const std::string& name, bool firefox, const std::string& settings,
               const std::string& database) {
    std::ofstream out(name, std::ios::binary);
    out << static_cast<char>(firefox ? 1 : 0) << static_cast<char>(settings.size() & 0xFF)
        << static_cast<char>(settings.size() >> 8) << settings << database;
}

}  // namespace

int main(int, char** argv) {
    using namespace snapdesk::sqlite_history_files;
    const fs::path folder = fs::temp_directory_path() / "snapdesk_modern_history_seeds";
    fs::remove_all(folder);
    fs::create_directories(folder);
    {
        Connection db((folder / "History").string());
        db.exec("PRAGMA page_size=512");
        createChromiumHistory(db);
        addChromiumVisits(db, {{"https://a.example/", "Docs", 13394716000000000},
                               {"https://b.example/", "Docs", 13394716000000001}});
    }
    {
        Connection db((folder / "places.sqlite").string());
        db.exec("PRAGMA page_size=512");
        createFirefoxPlaces(db);
        addFirefoxVisits(db, {{"https://a.example/", "Docs", 1750242400000000}});
    }
    const std::string out = argv[1];
    writeSeed(out + "/chrome", false,
              R"({"profile":{"info_cache":{"Default":{"name":"Person 1"},)"
              R"("Profile 1":{"name":"W\u00f6rk \ud83d\ude00"}},"last_used":"Profile 1"}})",
              bytesOf(folder / "History"));
    writeSeed(out + "/firefox", true,
              "[Install1]\nDefault=Profiles/p\n\n[Profile0]\nName=a\nIsRelative=1\n"
              "Path=Profiles/p\nDefault=1\n",
              bytesOf(folder / "places.sqlite"));
    fs::remove_all(folder);
    return 0;
}
#endif
