#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "common/search_words.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// The records a typed search leaves, and how many of them each tab shows. A record is looked
// at in its name (the caption its tile name comes from), comment, location (a document's path;
// the markers of an unknown one are left out) and program (the executable's file name). What
// it holds is folded once and kept for the key presses that follow, until the list changes.
class SearchFilter {
  public:
    static constexpr int kTabs = 4;

    // False when the text is the one there already.
    bool setText(const std::string& text);
    const std::string& text() const { return text_; }
    // The text has words: without, every record matches and nothing is counted.
    bool active() const { return !words_.empty(); }
    // The list was refreshed: the records are read again by the next compute.
    void listChanged() { haystacks_.clear(); }
    // Matches of every record, and the count per tab; `tabOf(k)` is the tab whose page shows
    // record k, or -1 when it is not displayed.
    void compute(const CoffeeShopList& list, const std::function<int(long)>& tabOf);
    bool matches(long k) const {
        const auto i = static_cast<std::size_t>(k);
        return matched_.empty() || (k >= 1 && i < matched_.size() && matched_[i] != 0);
    }
    int count(int tab) const { return counts_[static_cast<std::size_t>(tab)]; }

  private:
    std::string text_;
    SearchWords words_;
    std::vector<std::string> haystacks_;  // by list index
    std::vector<char> matched_;           // by list index; empty while inactive
    std::array<int, kTabs> counts_{};
};

}  // namespace snapdesk
