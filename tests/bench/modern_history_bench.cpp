// The pages of 50 browser windows looked up in one save over a History of 100,000 rows, the
// snapshot copy included, against copying that file once and one full scan of its `urls`
// (goal: at most 1.5). Natively over files under the temporary folder; under Wine through the
// Win32 snapshot files.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "../support/sqlite_history_files.h"
#include "location/modern_history.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_shell.h"
#ifdef _WIN32
#include "platform/win32/win32_history_database.h"
#else
#include "../support/mapped_snapshot_files.h"
#include "platform/sqlite/sqlite_history_database.h"
#endif

namespace {

using namespace snapdesk;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRows = 100000;
constexpr int kLookups = 50;
constexpr int kRounds = 9;

template <typename F>
double millisecondsOf(F&& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The baseline: one copy of the file and one pass over every row of `urls`.
std::size_t copyAndScan(const fs::path& live, const fs::path& copy) {
    fs::copy_file(live, copy, fs::copy_options::overwrite_existing);
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    std::size_t bytes = 0;
    sqlite3_open_v2(copy.string().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_prepare_v2(db, "SELECT url, title, last_visit_time FROM urls", -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int c = 0; c < 3; ++c) {
            sqlite3_column_text(statement, c);
            bytes += static_cast<std::size_t>(sqlite3_column_bytes(statement, c));
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    fs::remove(copy);
    return bytes;
}

}  // namespace

int main() {
    const fs::path root = fs::temp_directory_path() / "snapdesk_modern_history_bench";
    fs::remove_all(root);
#ifdef _WIN32
    const std::string local = root.string();
    Win32HistoryDatabase database;
    const fs::path live = root / "Google" / "Chrome" / "User Data" / "Default" / "History";
#else
    const std::string local = "C:\\Local";
    testing_fakes::MappedSnapshotFiles copier(root);
    SqliteHistoryDatabase database(copier);
    const fs::path live = copier.real(local + "\\Google\\Chrome\\User Data\\Default\\History");
#endif
    fs::create_directories(live.parent_path());
    std::vector<sqlite_history_files::Visit> visits;
    for (int k = 0; k < kRows; ++k) {
        const std::string n = std::to_string(k);
        visits.push_back({"https://www.example.com/articles/" + n + "/index.html?from=history",
                          "Notes on topic " + n + " - part " + std::to_string(k % 7),
                          13394716000000000 + k});
    }
    {
        sqlite_history_files::Connection db(live.string());
        sqlite_history_files::createChromiumHistory(db);
        sqlite_history_files::addChromiumVisits(db, visits);
    }

    sim::SimFileSystem files;
    sim::SimShell shell;
    shell.folders[special_folders::kLocalApplicationData] = local;
    ModernBrowserHistory history(files, shell, database);
    std::vector<double> ratios;
    std::vector<double> baselines;
    std::size_t sink = 0;
    for (int round = 0; round < kRounds; ++round) {
        const double baseline = millisecondsOf([&] { sink += copyAndScan(live, root / "copy"); });
        bool right = true;
        const double lookups = millisecondsOf([&] {
            for (int i = 0; i < kLookups; ++i) {
                const auto& visit =
                    visits[static_cast<std::size_t>(i * (kRows - 1) / (kLookups - 1))];
                right = right && history.address(ModernBrowser::Chrome, visit.title, "Default") ==
                                     visit.address;
            }
            history.endPass();
        });
        if (!right || history.snapshotsTaken() != round + 1) {
            std::printf("a lookup gave the wrong address, or the file was copied more than once\n");
            return 1;
        }
        ratios.push_back(lookups / baseline);
        baselines.push_back(baseline);
    }
    const auto size = fs::file_size(live);
    fs::remove_all(root);
    std::printf("History: %.1f MB, %d rows; %d lookups a pass, %d rounds (sink %zu)\n",
                static_cast<double>(size) / 1e6, kRows, kLookups, kRounds, sink % 10);
    std::printf(
        "%d lookups in one pass / one copy and one full scan (%.1f ms): %.2f (goal <= 1.5)\n",
        kLookups, median(baselines), median(ratios));
    return 0;
}
