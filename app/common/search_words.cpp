#include "common/search_words.h"

#include "common/fold_diacritics.h"

namespace snapdesk {

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Between two fields, so that no word is found across their seam.
constexpr char kFieldSeam = '\n';

}  // namespace

SearchWords::SearchWords(std::string_view typed) {
    const std::string folded = foldForSearch(typed);
    std::size_t i = 0;
    while (i < folded.size()) {
        while (i < folded.size() && blank(folded[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < folded.size() && !blank(folded[i])) {
            ++i;
        }
        if (i > start) {
            words_.push_back(folded.substr(start, i - start));
        }
    }
}

bool SearchWords::matches(std::initializer_list<std::string_view> fields) const {
    if (words_.empty()) {
        return true;
    }
    haystack_.clear();
    for (std::string_view field : fields) {
        appendFolded(haystack_, field);
        haystack_ += kFieldSeam;
    }
    for (const std::string& word : words_) {
        if (haystack_.find(word) == std::string::npos) {
            return false;
        }
    }
    return true;
}

}  // namespace snapdesk
