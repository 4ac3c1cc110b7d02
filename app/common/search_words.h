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
    // The fields folded and joined, once per record, for any number of searches.
    static std::string haystack(std::initializer_list<std::string_view> fields);
    // Every word is in the haystack.
    bool foundIn(std::string_view haystack) const;
    bool matches(std::initializer_list<std::string_view> fields) const {
        return empty() || foundIn(haystack(fields));
    }

  private:
    std::vector<std::string> words_;
};

}  // namespace snapdesk
