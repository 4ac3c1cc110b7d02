#pragma once

#include "platform/sqlite/sqlite_history_database.h"
#include "platform/win32/win32_snapshot_files.h"

namespace snapdesk {

// The browsers' history on this machine: SQLite over copies made with every share flag.
class Win32HistoryDatabase : public HistoryDatabase {
  public:
    std::unique_ptr<HistorySnapshot> openSnapshot(const std::string& livePath) override {
        return database_.openSnapshot(livePath);
    }

  private:
    Win32SnapshotFiles files_;
    SqliteHistoryDatabase database_{files_};
};

}  // namespace snapdesk
