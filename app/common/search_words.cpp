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

std::string SearchWords::haystack(std::initializer_list<std::string_view> fields) {
    std::string folded;
    for (std::string_view field : fields) {
        appendFolded(folded, field);
        folded += kFieldSeam;
    }
    return folded;
}

bool SearchWords::foundIn(std::string_view haystack) const {
    for (const std::string& word : words_) {
        if (haystack.find(word) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

}  // namespace snapdesk
