#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snapdesk {

// The latest visit of each title of one history file. Titles and addresses lie end to end in
// one text and the table holds positions only, so that a history of a hundred thousand rows is
// taken in without an allocation per row.
class TitleIndex {
  public:
    struct Visit {
        std::string_view address;  // valid until the next add()
        std::int64_t time = 0;
    };

    // A visit replaces the one kept for its title only when strictly later.
    void add(std::string_view title, std::string_view address, std::int64_t time);
    std::optional<Visit> find(std::string_view title) const;
    std::size_t size() const { return entries_.size(); }

  private:
    struct Entry {
        std::size_t hash;
        std::size_t title;
        std::size_t titleSize;
        std::size_t address;
        std::size_t addressSize;
        std::int64_t time;
    };
    std::string_view titleOf(const Entry& entry) const {
        return std::string_view(text_).substr(entry.title, entry.titleSize);
    }
    // The slot that holds `title`, or the empty slot where it would go.
    std::size_t slotOf(std::string_view title, std::size_t hash) const;
    void grow();

    std::string text_;
    std::vector<Entry> entries_;
    std::vector<std::size_t> slots_;  // entry number + 1, 0 for an empty slot; a power of two
};

}  // namespace snapdesk
