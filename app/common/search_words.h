#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace snapdesk {

// A typed search: its words, split on blanks and folded (see foldForSearch). A record
// matches when every word is contained in at least one of its fields, in any order.
class SearchWords {
  public:
    SearchWords() = default;
    explicit SearchWords(std::string_view typed);

    // No words: everything matches.
    bool empty() const { return words_.empty(); }
    const std::vector<std::string>& words() const { return words_; }
    // The fields are folded once, together, and every word looked for in them.
    bool matches(std::initializer_list<std::string_view> fields) const;

  private:
    std::vector<std::string> words_;
    // Kept between calls, so that a filter over many records reuses its memory.
    mutable std::string haystack_;
};

}  // namespace snapdesk
