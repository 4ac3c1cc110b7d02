#include "mainwindow/search_highlight.h"

#include <algorithm>
#include <utility>

namespace snapdesk {

void SearchHighlight::restart(std::vector<WindowHandle> matches) {
    matches_ = std::move(matches);
    at_ = 0;
}

void SearchHighlight::refresh(std::vector<WindowHandle> matches) {
    const std::optional<WindowHandle> was = current();
    matches_ = std::move(matches);
    const auto kept = was ? std::find(matches_.begin(), matches_.end(), *was) : matches_.end();
    at_ = kept == matches_.end() ? 0 : static_cast<std::size_t>(kept - matches_.begin());
}

bool SearchHighlight::move(int step) {
    if (matches_.empty()) {
        return false;
    }
    const long last = static_cast<long>(matches_.size()) - 1;
    const auto to = static_cast<std::size_t>(std::clamp(static_cast<long>(at_) + step, 0L, last));
    const bool moved = to != at_;
    at_ = to;
    return moved;
}

std::optional<WindowHandle> SearchHighlight::current() const {
    if (at_ < matches_.size()) {
        return matches_[at_];
    }
    return std::nullopt;
}

std::optional<WindowHandle> SearchHighlight::nth(int n) const {
    if (n >= 1 && static_cast<std::size_t>(n) <= matches_.size()) {
        return matches_[static_cast<std::size_t>(n - 1)];
    }
    return std::nullopt;
}

}  // namespace snapdesk
