#include "platform/sqlite/sqlite_history_database.h"

#include <sqlite3.h>

#include <array>
#include <optional>

#include "common/runtime_error.h"

namespace snapdesk {

namespace {

constexpr const char* kCopyName = "history";
// The files SQLite keeps beside a database; the first two are copied with it when present.
constexpr std::array<const char*, 2> kCompanions = {"-wal", "-journal"};
constexpr std::array<const char*, 4> kCopyFiles = {"", "-wal", "-journal", "-shm"};

struct SourceStamps {
    std::optional<FileStamp> main;
    std::array<std::optional<FileStamp>, kCompanions.size()> companions;
    bool operator==(const SourceStamps&) const = default;
};

class SqliteHistorySnapshot : public HistorySnapshot {
  public:
    SqliteHistorySnapshot(SnapshotFiles& files, std::string livePath)
        : files_(files), livePath_(std::move(livePath)) {}
    SqliteHistorySnapshot(const SqliteHistorySnapshot&) = delete;
    SqliteHistorySnapshot& operator=(const SqliteHistorySnapshot&) = delete;
    ~SqliteHistorySnapshot() override { discard(); }

    // A fresh copy, opened and its schema read; false when that failed.
    bool take();

    std::vector<std::vector<std::string>> query(const std::string& sql) override;
    void forEachRow(const std::string& sql, const RowVisitor& visit) override;

  private:
    SourceStamps stamps();
    bool copySource();
    bool open();
    bool ready(int attempt);
    bool run(const std::string& sql, const RowVisitor& visit);
    [[noreturn]] void fail();
    void discard();

    SnapshotFiles& files_;
    std::string livePath_;
    std::string folder_;
    sqlite3* db_ = nullptr;
    int lastError_ = SQLITE_ERROR;
    std::string lastMessage_ = "no copy";
};

SourceStamps SqliteHistorySnapshot::stamps() {
    SourceStamps result;
    result.main = files_.stamp(livePath_);
    for (std::size_t k = 0; k < kCompanions.size(); ++k) {
        result.companions[k] = files_.stamp(livePath_ + kCompanions[k]);
    }
    return result;
}

bool SqliteHistorySnapshot::copySource() {
    const std::string copy = folder_ + kCopyName;
    // A browser writing meanwhile may leave a torn copy: one more try when the source moved.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const SourceStamps before = stamps();
        if (!before.main) {
            return false;
        }
        for (const char* suffix : kCopyFiles) {
            files_.remove(copy + suffix);
        }
        if (!files_.copy(livePath_, copy)) {
            return false;
        }
        for (std::size_t k = 0; k < kCompanions.size(); ++k) {
            // A companion that went meanwhile changed the stamps too.
            if (before.companions[k] &&
                !files_.copy(livePath_ + kCompanions[k], copy + kCompanions[k])) {
                files_.remove(copy + kCompanions[k]);
            }
        }
        if (stamps() == before) {
            break;
        }
    }
    return true;
}

bool SqliteHistorySnapshot::open() {
    const std::string copy = folder_ + kCopyName;
    lastError_ = sqlite3_open_v2(copy.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    if (lastError_ == SQLITE_OK) {
        // Reading the schema rolls a hot journal back and finds a copy that is no database.
        lastError_ = sqlite3_exec(db_, "PRAGMA query_only=1; SELECT count(*) FROM sqlite_master",
                                  nullptr, nullptr, nullptr);
    }
    if (lastError_ != SQLITE_OK) {
        lastMessage_ = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(lastError_);
        return false;
    }
    return true;
}

bool SqliteHistorySnapshot::take() {
    discard();
    folder_ = files_.createTemporaryFolder();
    if (folder_.empty()) {
        lastMessage_ = "no temporary folder";
        return false;
    }
    if (!copySource()) {
        lastMessage_ = "the file could not be copied";
        return false;
    }
    return open();
}

void SqliteHistorySnapshot::discard() {
    if (db_ != nullptr) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
    if (!folder_.empty()) {
        for (const char* suffix : kCopyFiles) {
            files_.remove(folder_ + kCopyName + suffix);
        }
        files_.removeFolder(folder_);
        folder_.clear();
    }
}

bool SqliteHistorySnapshot::run(const std::string& sql, const RowVisitor& visit) {
    sqlite3_stmt* statement = nullptr;
    lastError_ =
        sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr);
    if (lastError_ == SQLITE_OK) {
        std::vector<std::string_view> values(
            static_cast<std::size_t>(sqlite3_column_count(statement)));
        while ((lastError_ = sqlite3_step(statement)) == SQLITE_ROW) {
            for (std::size_t c = 0; c < values.size(); ++c) {
                const int column = static_cast<int>(c);
                const auto* text =
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
                values[c] =
                    text != nullptr
                        ? std::string_view(text, static_cast<std::size_t>(
                                                     sqlite3_column_bytes(statement, column)))
                        : std::string_view();
            }
            visit(values);
        }
        if (lastError_ == SQLITE_DONE) {
            lastError_ = SQLITE_OK;
        }
    }
    if (lastError_ != SQLITE_OK) {
        lastMessage_ = sqlite3_errmsg(db_);
    }
    sqlite3_finalize(statement);
    return lastError_ == SQLITE_OK;
}

// The snapshot for a run: the first on the copy taken, the second on a fresh one.
bool SqliteHistorySnapshot::ready(int attempt) {
    return attempt == 0 ? db_ != nullptr : take();
}

void SqliteHistorySnapshot::forEachRow(const std::string& sql, const RowVisitor& visit) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (ready(attempt) && run(sql, visit)) {
            return;
        }
    }
    fail();
}

std::vector<std::vector<std::string>> SqliteHistorySnapshot::query(const std::string& sql) {
    std::vector<std::vector<std::string>> rows;
    const RowVisitor collect = [&rows](const std::vector<std::string_view>& values) {
        rows.emplace_back(values.begin(), values.end());
    };
    for (int attempt = 0; attempt < 2; ++attempt) {
        rows.clear();
        if (ready(attempt) && run(sql, collect)) {
            return rows;
        }
    }
    fail();
}

void SqliteHistorySnapshot::fail() {
    throw RuntimeError{lastError_, "History query failed: " + lastMessage_, "HistorySnapshot"};
}

}  // namespace

std::unique_ptr<HistorySnapshot> SqliteHistoryDatabase::openSnapshot(const std::string& livePath) {
    if (!files_.stamp(livePath)) {
        return nullptr;
    }
    auto snapshot = std::make_unique<SqliteHistorySnapshot>(files_, livePath);
    if (snapshot->take() || snapshot->take()) {
        return snapshot;
    }
    return nullptr;
}

}  // namespace snapdesk
