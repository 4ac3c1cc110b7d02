// Today's browsers' pages found in their history databases: real SQLite files written by the
// tests, read through snapshots, with profiles chosen from the browsers' own settings files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "../../support/mapped_snapshot_files.h"
#include "../../support/sqlite_history_files.h"
#include "common/runtime_error.h"
#include "location/modern_history.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_shell.h"
#include "platform/sqlite/sqlite_history_database.h"

namespace snapdesk {
namespace {

using namespace sqlite_history_files;
namespace fs = std::filesystem;

const std::string kLocal = "C:\\Users\\Ann\\AppData\\Local";
const std::string kRoaming = "C:\\Users\\Ann\\AppData\\Roaming";
const std::string kChrome = kLocal + "\\Google\\Chrome\\User Data";
const std::string kFirefox = kRoaming + "\\Mozilla\\Firefox";

class ModernHistoryTest : public ::testing::Test {
  protected:
    ModernHistoryTest() {
        shell.folders[special_folders::kLocalApplicationData] = kLocal;
        shell.folders[special_folders::kApplicationData] = kRoaming;
    }
    ~ModernHistoryTest() override { fs::remove_all(root); }

    // The real file behind a Windows path, its folder made.
    std::string live(const std::string& path) {
        const fs::path where = copier.real(path);
        fs::create_directories(where.parent_path());
        return where.string();
    }
    bool noCopiesLeft() { return fs::is_empty(root / "temp"); }

    fs::path root = fs::temp_directory_path() / ("snapdesk_modern_" + std::to_string(getpid()));
    sim::SimFileSystem files;
    sim::SimShell shell;
    testing_fakes::MappedSnapshotFiles copier{root};
    SqliteHistoryDatabase database{copier};
    ModernBrowserHistory history{files, shell, database};
};

TEST_F(ModernHistoryTest, ChromiumProfilesAndTheLatestVisitOfATitle) {
    files.writeFile(
        kChrome + "\\Local State",
        R"({"browser":{"x":[1,2.5e3,true,null]},"profile":{"info_cache":{)"
        R"("Default":{"name":"Person 1"},"Profile 1":{"name":"Caf\u00e9 \ud83d\ude00"}},)"
        R"("last_used":"Profile 1"}})");
    files.addFolder(kChrome + "\\Default");
    // Older versions had more columns in `urls`.
    writeChromiumHistory(live(kChrome + "\\Default\\History"),
                         {{"https://a.example/old", "Docs", 100},
                          {"https://a.example/new", "Docs", 300},
                          {"https://a.example/older", "Docs", 200},
                          {"https://a.example/", "Home", 50}},
                         true);
    writeChromiumHistory(
        live(kChrome + "\\Profile 1\\History"),
        {{"https://work.example/docs", "Docs", 900}, {"https://work.example/", "Work only", 10}});

    EXPECT_EQ(history.profileFolder(ModernBrowser::Chrome, "Caf\xC3\xA9 \xF0\x9F\x98\x80"),
              "Profile 1");
    EXPECT_EQ(history.profileFolder(ModernBrowser::Chrome, "Person 1"), "Default");
    EXPECT_EQ(history.profileFolder(ModernBrowser::Chrome, "Nobody"), "Profile 1");
    EXPECT_EQ(history.profileFolder(ModernBrowser::Edge, ""), "");

    // A match in the window's own profile wins over a later visit in another.
    EXPECT_EQ(history.address(ModernBrowser::Chrome, "Docs", "Default"), "https://a.example/new");
    EXPECT_EQ(history.address(ModernBrowser::Chrome, "Docs", "Profile 1"),
              "https://work.example/docs");
    EXPECT_EQ(history.address(ModernBrowser::Chrome, "Docs", ""), "https://work.example/docs");
    EXPECT_EQ(history.address(ModernBrowser::Chrome, "Work only", "Default"),
              "https://work.example/");
    EXPECT_EQ(history.address(ModernBrowser::Chrome, "docs", "Default"), "notfound");
    EXPECT_EQ(history.address(ModernBrowser::Brave, "Docs", "Default"), "notfound");
    EXPECT_EQ(history.snapshotsTaken(), 3);  // two Chrome files, and Brave's missing one
    EXPECT_FALSE(noCopiesLeft());

    history.endPass();
    EXPECT_TRUE(noCopiesLeft());
    EXPECT_EQ(history.address(ModernBrowser::Chrome, "Home", "Default"), "https://a.example/");
    EXPECT_EQ(history.snapshotsTaken(), 4);

    // Opera's history lies in its user-data folder itself.
    writeChromiumHistory(live(kRoaming + "\\Opera Software\\Opera Stable\\History"),
                         {{"https://opera.example/", "Start", 1}});
    EXPECT_EQ(history.address(ModernBrowser::Opera, "Start", ""), "https://opera.example/");
}

TEST(ChromiumLocalState, ProfileChoices) {
    const LocalState noLastUsed =
        readLocalState(R"({"profile":{"info_cache":{"Profile 2":{"name":"Work"}}}})");
    EXPECT_EQ(chooseChromiumProfile(noLastUsed, "Work", true), "Profile 2");
    EXPECT_EQ(chooseChromiumProfile(noLastUsed, "Home", true), "Default");
    EXPECT_EQ(chooseChromiumProfile(noLastUsed, "Home", false), "");
    for (const char* broken : {"", "{", R"({"profile":{"info_cache":{"Default":{"name":"A"})",
                               R"({"profile":[]})", "[1,]", "\"\\u12\"", "{} x"}) {
        const LocalState state = readLocalState(broken);
        EXPECT_TRUE(state.profiles.empty() && state.lastUsed.empty()) << broken;
    }
    EXPECT_TRUE(readLocalState(std::string(1000, '[') + std::string(1000, ']')).profiles.empty());
}

TEST_F(ModernHistoryTest, FirefoxDefaultProfileAndARowStillInTheWal) {
    files.writeFile(kFirefox + "\\profiles.ini",
                    "[Install308046B0AF4A39CB]\r\nDefault=Profiles/b.release\r\nLocked=1\r\n\r\n"
                    "[Profile1]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n"
                    "Default=1\r\n\r\n[Profile0]\r\nName=default-release\r\nIsRelative=1\r\n"
                    "Path=Profiles/b.release\r\n");
    const std::string profileA = kFirefox + "\\Profiles\\a.default";
    {
        Connection places(live(profileA + "\\places.sqlite"));
        createFirefoxPlaces(places);
        addFirefoxVisits(places, {{"https://news.example/a", "News", 2000}});
    }
    // Firefox writes in WAL mode: the writer stays open and nothing is checkpointed.
    const std::string placesB = live(kFirefox + "\\Profiles\\b.release\\places.sqlite");
    Connection writer(placesB);
    writer.exec("PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0");
    createFirefoxPlaces(writer);
    addFirefoxVisits(writer, {{"https://news.example/b", "News", 1000},
                              {"https://recent.example/", "Recent", 3000}});
    ASSERT_GT(fs::file_size(placesB + "-wal"), 0u);

    EXPECT_EQ(history.profileFolder(ModernBrowser::Firefox, ""),
              kFirefox + "\\Profiles\\b.release");
    EXPECT_EQ(history.address(ModernBrowser::Firefox, "Recent", ""), "https://recent.example/");
    EXPECT_EQ(history.address(ModernBrowser::Firefox, "News", ""), "https://news.example/b");
    EXPECT_EQ(history.address(ModernBrowser::Firefox, "News", profileA), "https://news.example/a");
    EXPECT_EQ(history.snapshotsTaken(), 2);
    history.endPass();
    EXPECT_TRUE(noCopiesLeft());
}

TEST(FirefoxProfilesIni, DefaultProfileChoices) {
    const std::string profiles =
        "[Profile0]\nName=a\nIsRelative=1\nPath=Profiles/a\n\n"
        "[Profile1]\nName=b\nIsRelative=0\nPath=D:\\Mozilla\\b\nDefault=1\n\n"
        "[Profile2]\nName=c\nPath=Profiles/c\n";
    const std::string ff = "C:\\FF";
    const FirefoxProfiles marked = readFirefoxProfiles(profiles, std::nullopt, ff);
    EXPECT_EQ(marked.defaultFolder, "D:\\Mozilla\\b");
    EXPECT_EQ(marked.folders, (std::vector<std::string>{"C:\\FF\\Profiles\\a", "D:\\Mozilla\\b",
                                                        "C:\\FF\\Profiles\\c"}));
    // installs.ini names the default when profiles.ini has no [Install...] section.
    EXPECT_EQ(
        readFirefoxProfiles(profiles, "[ABC]\nDefault=Profiles/c\nLocked=1\n", ff).defaultFolder,
        "C:\\FF\\Profiles\\c");
    // The install section's path keeps its profile's IsRelative=0.
    EXPECT_EQ(readFirefoxProfiles("[InstallX]\nDefault=D:\\Mozilla\\b\n" + profiles,
                                  "[ABC]\nDefault=Profiles/c\n", ff)
                  .defaultFolder,
              "D:\\Mozilla\\b");
    EXPECT_EQ(readFirefoxProfiles("[Profile0]\nPath=Profiles/x\n", std::nullopt, ff).defaultFolder,
              "C:\\FF\\Profiles\\x");
    EXPECT_EQ(readFirefoxProfiles("\x01[garbage\n=", "[", ff).defaultFolder, "");
}

TEST(TitleHashIndex, CandidatesOfATitleLatestVisitFirst) {
    TitleHashIndex index;
    constexpr int kTitles = 5000;
    for (int round = 0; round < 3; ++round) {
        for (int k = 0; k < kTitles; ++k) {
            // The middle round holds each title's latest visit.
            index.add("Page " + std::to_string(k), round * kTitles + k, round == 1 ? 2 * k + 1 : k);
        }
    }
    index.seal();
    for (const int k : {0, 1, 2499, 4999}) {
        const auto rows = index.candidates("Page " + std::to_string(k));
        ASSERT_EQ(rows.size(), 3u) << k;
        EXPECT_EQ(rows[0].id, kTitles + k);
        EXPECT_EQ(rows[0].time, 2 * k + 1);
        EXPECT_GE(rows[1].time, rows[2].time);
    }
    EXPECT_TRUE(index.candidates("Page").empty());
    EXPECT_TRUE(TitleHashIndex{}.candidates("").empty());
}

TEST(VisitTimes, ChromiumAndFirefoxEpochsMeetOnOneScale) {
    // 2025-06-18 10:26:40 UTC in each browser's own scale.
    EXPECT_EQ(visitTimeSince1601("13394716000000000"), 13394716000000000);
    EXPECT_EQ(visitTimeSince1970("1750242400000000"), 13394716000000000);
    EXPECT_EQ(visitTimeSince1970("1"), 11644473600000001);
    // A page never visited (NULL or 0) is older than any visit.
    EXPECT_EQ(visitTimeSince1970(""), 0);
    EXPECT_EQ(visitTimeSince1970("0"), 0);
    EXPECT_EQ(visitTimeSince1601("12x"), 0);
    EXPECT_EQ(visitTimeSince1970("9223372036854775807"), 0);
}

TEST_F(ModernHistoryTest, SnapshotsOfFilesInTheMiddleOfAWrite) {
    const std::string path = kChrome + "\\Default\\History";
    const std::string real = live(path);
    writeChromiumHistory(real, {{"https://a.example/", "Before", 1}});

    // A write lands between the two stamps of the first copy: the file is copied again.
    copier.afterCopy = [&](const std::string& from) {
        if (copier.copies == 1) {
            Connection writer(copier.real(from));
            addChromiumVisits(writer, {{"https://b.example/", "During", 2}});
        }
    };
    std::unique_ptr<HistorySnapshot> snapshot = database.openSnapshot(path);
    ASSERT_NE(snapshot, nullptr);
    EXPECT_EQ(copier.copies, 2);
    EXPECT_EQ(snapshot->query("SELECT title, last_visit_time, NULL FROM urls ORDER BY id"),
              (std::vector<std::vector<std::string>>{{"Before", "1", ""}, {"During", "2", ""}}));
    EXPECT_THROW(snapshot->query("SELECT nothing FROM nowhere"), RuntimeError);
    snapshot.reset();
    EXPECT_TRUE(noCopiesLeft());
    copier.afterCopy = nullptr;

    // A writer in the middle of a transaction that spilled into the file leaves a hot journal:
    // the copy of both is rolled back to what was committed.
    Connection writer(real);
    writer.exec("PRAGMA cache_size=1; BEGIN");
    for (int k = 0; k < 200; ++k) {
        writer.exec("INSERT INTO urls(url, title, last_visit_time) VALUES('https://u.example/', '" +
                    std::string(500, 'u') + "', 3)");
    }
    ASSERT_TRUE(fs::exists(real + "-journal"));
    EXPECT_EQ(history.address(ModernBrowser::Chrome, "During", "Default"), "https://b.example/");
    EXPECT_EQ(history.address(ModernBrowser::Chrome, std::string(500, 'u'), "Default"), "notfound");
    writer.exec("ROLLBACK");

    // Bytes that are no database, and a database cut short: nothing found, nothing left.
    history.endPass();
    const std::string whole = [&] {
        std::ifstream in(real, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    for (const std::string& bytes : {std::string(4096, 'x'), whole.substr(0, whole.size() / 2)}) {
        std::ofstream(real, std::ios::binary | std::ios::trunc) << bytes;
        EXPECT_EQ(database.openSnapshot(path), nullptr);
        EXPECT_EQ(history.address(ModernBrowser::Chrome, "During", "Default"), "notfound");
        history.endPass();
    }
    EXPECT_TRUE(noCopiesLeft());
}

// Files that Chromium and Firefox wrote themselves (tests/data/browsers): two Chromium profiles,
// and a Firefox killed while running, with its latest rows only in the -wal.
class RealBrowserFilesTest : public ModernHistoryTest {
  protected:
    static std::string fixtureText(const std::string& relative) {
        std::ifstream in(std::string(SNAPDESK_BROWSER_FIXTURES) + "/" + relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void placeDatabase(const std::string& relative, const std::string& windowsPath) {
        fs::copy_file(std::string(SNAPDESK_BROWSER_FIXTURES) + "/" + relative, live(windowsPath),
                      fs::copy_options::overwrite_existing);
    }
    static std::string page(const std::string& path) { return "http://127.0.0.1:8765/" + path; }
};

TEST_F(RealBrowserFilesTest, ChromiumAndFirefoxPagesAreFoundByTheirTitles) {
    files.writeFile(kChrome + "\\Local State", fixtureText("chromium/User Data/Local State"));
    for (const char* profile : {"Default", "Profile 1"}) {
        files.addFolder(kChrome + "\\" + profile);
        placeDatabase(std::string("chromium/User Data/") + profile + "/History",
                      kChrome + "\\" + profile + "\\History");
    }
    EXPECT_EQ(history.profileFolder(ModernBrowser::Chrome, "Zo\xC3\xAB (work)"), "Profile 1");
    EXPECT_EQ(history.profileFolder(ModernBrowser::Chrome, "Personal"), "Default");
    EXPECT_EQ(history.address(ModernBrowser::Chrome, "Same title", "Default"), page("b/same.html"));
    EXPECT_EQ(history.address(ModernBrowser::Chrome, "Same title", "Profile 1"),
              page("a/same.html"));
    EXPECT_EQ(history.address(ModernBrowser::Chrome, "Node.js docs - Getting started", "Profile 1"),
              page("docs/node.html"));
    EXPECT_EQ(history.address(ModernBrowser::Chrome,
                              "Caf\xC3\xA9 Z\xC3\xBCrich \xE2\x80\x94 Stra\xC3\x9F"
                              "e \xE6\x9D\xB1\xE4\xBA\xAC",
                              "Default"),
              page("unicode.html"));

    // The [Install...] default wins over the profile marked Default=1.
    files.writeFile(kFirefox + "\\profiles.ini", fixtureText("firefox/profiles.ini"));
    files.writeFile(kFirefox + "\\installs.ini", fixtureText("firefox/installs.ini"));
    for (const char* profile : {"x7k2m9qd.default-release", "p3v8n1zc.default"}) {
        files.addFolder(kFirefox + "\\Profiles\\" + profile);
        placeDatabase(std::string("firefox/Profiles/") + profile + "/places.sqlite",
                      kFirefox + "\\Profiles\\" + profile + "\\places.sqlite");
    }
    placeDatabase("firefox/Profiles/p3v8n1zc.default/places.sqlite-wal",
                  kFirefox + "\\Profiles\\p3v8n1zc.default\\places.sqlite-wal");
    const std::string release = history.profileFolder(ModernBrowser::Firefox, "");
    EXPECT_EQ(release, kFirefox + "\\Profiles\\x7k2m9qd.default-release");
    EXPECT_EQ(history.address(ModernBrowser::Firefox, "Same title", release), page("b/same.html"));
    // The killed Firefox's newest rows exist only in its -wal.
    const std::string killed = kFirefox + "\\Profiles\\p3v8n1zc.default";
    EXPECT_EQ(history.address(ModernBrowser::Firefox, "Fresh page - only in the WAL", killed),
              page("fresh.html"));
    EXPECT_EQ(history.address(ModernBrowser::Firefox, "Release notes 1.0", killed),
              page("notes.html"));
    EXPECT_EQ(history.address(ModernBrowser::Firefox, "Release notes (draft)", killed), "notfound");
}

}  // namespace
}  // namespace snapdesk
