#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace snapdesk {

// The visits of one history file by title, kept small: a 64-bit hash of each title with the
// visit's time and row id, sorted by hash. A history of a hundred thousand rows takes a few
// megabytes and no allocation per row. Rows of another title can share a hash: the caller
// reads a candidate's row back and compares its title.
class TitleHashIndex {
  public:
    struct Row {
        std::uint64_t hash;
        std::int64_t time;
        std::int64_t id;
    };

    static std::uint64_t hashOf(std::string_view title);

    void add(std::string_view title, std::int64_t id, std::int64_t time);
    // Once every row is added: sorted for lookups.
    void seal();
    // The rows whose title has the hash of `title`, latest visit first.
    std::span<const Row> candidates(std::string_view title) const;
    std::size_t size() const { return rows_.size(); }

  private:
    std::vector<Row> rows_;
};

}  // namespace snapdesk
