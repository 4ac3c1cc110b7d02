#include "mainwindow/search_filter.h"

#include <string_view>

#include "tracking/tracked_window.h"

namespace snapdesk {

namespace {

std::string_view knownLocation(const std::string& path) {
    return path == kNotFound || path == kNoSave ? std::string_view{} : std::string_view{path};
}

std::string_view programName(const std::string& exePath) {
    const auto slash = exePath.find_last_of("\\/");
    return slash == std::string::npos ? std::string_view{exePath}
                                      : std::string_view{exePath}.substr(slash + 1);
}

std::string recordHaystack(const CoffeeShopList& list, long k) {
    const std::string caption = list.CaptionString(k);
    const std::string comment = list.CommentString(k);
    const std::string path = list.filePath(k);
    const std::string exe = list.EXEPath(k);
    return SearchWords::haystack({caption, comment, knownLocation(path), programName(exe)});
}

}  // namespace

bool SearchFilter::setText(const std::string& text) {
    if (text == text_) {
        return false;
    }
    text_ = text;
    words_ = SearchWords(text);
    return true;
}

void SearchFilter::compute(const CoffeeShopList& list, const std::function<int(long)>& tabOf) {
    matched_.clear();
    counts_ = {};
    if (!active()) {
        return;
    }
    const auto n = static_cast<std::size_t>(list.count()) + 1;
    if (haystacks_.size() != n) {
        haystacks_.assign(n, {});
        for (long k = 1; k <= list.count(); ++k) {
            haystacks_[static_cast<std::size_t>(k)] = recordHaystack(list, k);
        }
    }
    matched_.resize(n);
    for (long k = 1; k <= list.count(); ++k) {
        const auto i = static_cast<std::size_t>(k);
        matched_[i] = words_.foundIn(haystacks_[i]) ? 1 : 0;
        const int tab = tabOf(k);
        if (matched_[i] != 0 && tab >= 0 && tab < kTabs) {
            ++counts_[static_cast<std::size_t>(tab)];
        }
    }
}

}  // namespace snapdesk
