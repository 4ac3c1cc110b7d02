// Snapshots of history databases that a SQLite connection of this test holds open, as a
// running browser does: Chrome's exclusive lock after a write, Firefox's rows still in the WAL.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../support/sqlite_history_files.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_history_database.h"

namespace snapdesk {
namespace {

using namespace sqlite_history_files;
using Rows = std::vector<std::vector<std::string>>;

class Win32HistorySnapshotTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1];
        ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
        folder_ = std::wstring(temp) + L"snapdesk-history-test-" +
                  std::to_wstring(GetCurrentProcessId()) + L"\\";
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    }
    void TearDown() override {
        for (const wchar_t* name : {L"History", L"History-journal", L"places.sqlite",
                                    L"places.sqlite-wal", L"places.sqlite-shm"}) {
            DeleteFileW((folder_ + name).c_str());
        }
        RemoveDirectoryW(folder_.c_str());
    }
    std::string path(const wchar_t* name) const { return win32::toUtf8(folder_ + name); }

    // Our snapshot folders left in the temporary folder.
    static int snapshotFoldersLeft() {
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, temp);
        const std::wstring pattern = std::wstring(temp) + L"snapdesk-history-" +
                                     std::to_wstring(GetCurrentProcessId()) + L"-*";
        WIN32_FIND_DATAW data{};
        const HANDLE search = FindFirstFileW(pattern.c_str(), &data);
        if (search == INVALID_HANDLE_VALUE) {
            return 0;
        }
        int count = 1;
        while (FindNextFileW(search, &data)) {
            ++count;
        }
        FindClose(search);
        return count;
    }

    std::wstring folder_;
    Win32HistoryDatabase database_;
};

TEST_F(Win32HistorySnapshotTest, FileHeldInExclusiveLockingMode) {
    const std::string live = path(L"History");
    Connection chrome(live);
    createChromiumHistory(chrome);
    chrome.exec("PRAGMA locking_mode=EXCLUSIVE");
    addChromiumVisits(chrome, {{"https://a.example/", "Locked page", 13394716000000000}});

    // The lock is real: another connection cannot read the file.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(live.c_str(), &other, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    EXPECT_NE(sqlite3_exec(other, "SELECT count(*) FROM urls", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(other);

    std::unique_ptr<HistorySnapshot> snapshot = database_.openSnapshot(live);
    ASSERT_NE(snapshot, nullptr);
    EXPECT_EQ(snapshot->query("SELECT url, title, last_visit_time FROM urls"),
              (Rows{{"https://a.example/", "Locked page", "13394716000000000"}}));
    snapshot.reset();
    EXPECT_EQ(snapshotFoldersLeft(), 0);
    EXPECT_EQ(database_.openSnapshot(path(L"Missing")), nullptr);
}

TEST_F(Win32HistorySnapshotTest, RowOnlyInTheWal) {
    const std::string live = path(L"places.sqlite");
    Connection firefox(live);
    firefox.exec("PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0");
    createFirefoxPlaces(firefox);
    addFirefoxVisits(firefox, {{"https://recent.example/", "Recent", 1750242400000000}});
    WIN32_FILE_ATTRIBUTE_DATA wal{};
    ASSERT_TRUE(GetFileAttributesExW((folder_ + L"places.sqlite-wal").c_str(),
                                     GetFileExInfoStandard, &wal));
    ASSERT_GT(wal.nFileSizeLow, 0u);

    std::unique_ptr<HistorySnapshot> snapshot = database_.openSnapshot(live);
    ASSERT_NE(snapshot, nullptr);
    EXPECT_EQ(snapshot->query("SELECT url, title FROM moz_places"),
              (Rows{{"https://recent.example/", "Recent"}}));
    snapshot.reset();
    EXPECT_EQ(snapshotFoldersLeft(), 0);
}

}  // namespace
}  // namespace snapdesk
