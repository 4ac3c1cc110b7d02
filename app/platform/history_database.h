#pragma once

#include <memory>
#include <string>
#include <vector>

namespace snapdesk {

// A private copy of a browser's live database, and one query over it.
class HistorySnapshot {
  public:
    virtual ~HistorySnapshot() = default;

    // Rows of the query, each value as text (integers in decimal, NULL as ""). Throws
    // RuntimeError on an error.
    virtual std::vector<std::vector<std::string>> query(const std::string& sql) = 0;
};

// The browsers keep their history in SQLite files that they hold open and locked while they
// run: the program reads copies of them, never the files themselves.
class HistoryDatabase {
  public:
    virtual ~HistoryDatabase() = default;

    // Nothing when the file is missing or no usable copy could be made and opened.
    virtual std::unique_ptr<HistorySnapshot> openSnapshot(const std::string& livePath) = 0;
};

}  // namespace snapdesk
