#pragma once

#include "platform/history_database.h"
#include "platform/sqlite/snapshot_files.h"

namespace snapdesk {

// Snapshots read with SQLite: the live file is copied together with its "-wal" or "-journal"
// file into a folder of its own (copied again once when the source changed meanwhile), and the
// copy opened read-write with queries only, so that SQLite rolls a hot journal back in the copy
// and reads the rows still in the "-wal". A failed open or query is tried once more on a fresh
// copy. The copy goes with the snapshot.
class SqliteHistoryDatabase : public HistoryDatabase {
  public:
    explicit SqliteHistoryDatabase(SnapshotFiles& files) : files_(files) {}

    std::unique_ptr<HistorySnapshot> openSnapshot(const std::string& livePath) override;

  private:
    SnapshotFiles& files_;
};

}  // namespace snapdesk
