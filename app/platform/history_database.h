#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace snapdesk {

// A private copy of a browser's live database, and one query over it.
class HistorySnapshot {
  public:
    virtual ~HistorySnapshot() = default;

    // Rows of the query, each value as text (integers in decimal, NULL as ""). Throws
    // RuntimeError on an error.
    virtual std::vector<std::vector<std::string>> query(const std::string& sql) = 0;

    // The same rows handed over one by one, each value valid during the call: a scan of a large
    // history keeps only what it needs. After an error the query may run once more from its
    // first row, so a row can come twice. Throws RuntimeError on an error.
    using RowVisitor = std::function<void(const std::vector<std::string_view>& values)>;
    virtual void forEachRow(const std::string& sql, const RowVisitor& visit) {
        for (const std::vector<std::string>& row : query(sql)) {
            visit(std::vector<std::string_view>(row.begin(), row.end()));
        }
    }
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
