#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/handles.h"

namespace snapdesk {

// Keys the search box passes on instead of editing its text with them.
enum class SearchKey { Up, Down, Enter, Escape, CtrlDigit };

// The highlighted match of a search: one of the windows whose tiles match, in display order on
// the current tab. Up and Down stop at the ends; nothing wraps or leaves the tab.
class SearchHighlight {
  public:
    // A new text, or another tab: the first match is highlighted.
    void restart(std::vector<WindowHandle> matches);
    // The same search over a refreshed list: the highlighted window keeps the highlight while
    // it still matches, otherwise the first match takes it.
    void refresh(std::vector<WindowHandle> matches);
    void clear() { restart({}); }

    // One match on (+1) or back (-1); false when the highlight stays.
    bool move(int step);
    std::optional<WindowHandle> current() const;
    // The n-th match, 1-based; nothing beyond the count.
    std::optional<WindowHandle> nth(int n) const;
    std::size_t count() const { return matches_.size(); }

  private:
    std::vector<WindowHandle> matches_;
    std::size_t at_ = 0;
};

}  // namespace snapdesk
