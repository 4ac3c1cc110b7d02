#include "common/fold_diacritics.h"

#include <array>
#include <cstdint>

namespace snapdesk {

namespace {

// Runs of code points that fold to the same base letters.
struct FoldRun {
    char32_t first;
    char32_t last;
    const char* base;
};

constexpr std::array<FoldRun, 48> kFolds{{
    // Latin-1 Supplement: U+00D7 and U+00F7 are signs, not letters, and stay.
    {0x00C0, 0x00C5, "a"},
    {0x00C6, 0x00C6, "ae"},
    {0x00C7, 0x00C7, "c"},
    {0x00C8, 0x00CB, "e"},
    {0x00CC, 0x00CF, "i"},
    {0x00D0, 0x00D0, "d"},
    {0x00D1, 0x00D1, "n"},
    {0x00D2, 0x00D6, "o"},
    {0x00D8, 0x00D8, "o"},
    {0x00D9, 0x00DC, "u"},
    {0x00DD, 0x00DD, "y"},
    {0x00DE, 0x00DE, "th"},
    {0x00DF, 0x00DF, "ss"},
    {0x00E0, 0x00E5, "a"},
    {0x00E6, 0x00E6, "ae"},
    {0x00E7, 0x00E7, "c"},
    {0x00E8, 0x00EB, "e"},
    {0x00EC, 0x00EF, "i"},
    {0x00F0, 0x00F0, "d"},
    {0x00F1, 0x00F1, "n"},
    {0x00F2, 0x00F6, "o"},
    {0x00F8, 0x00F8, "o"},
    {0x00F9, 0x00FC, "u"},
    {0x00FD, 0x00FD, "y"},
    {0x00FE, 0x00FE, "th"},
    {0x00FF, 0x00FF, "y"},
    // Latin Extended-A, in pairs of capital and small letter.
    {0x0100, 0x0105, "a"},
    {0x0106, 0x010D, "c"},
    {0x010E, 0x0111, "d"},
    {0x0112, 0x011B, "e"},
    {0x011C, 0x0123, "g"},
    {0x0124, 0x0127, "h"},
    {0x0128, 0x0131, "i"},
    {0x0132, 0x0133, "ij"},
    {0x0134, 0x0135, "j"},
    {0x0136, 0x0138, "k"},
    {0x0139, 0x0142, "l"},
    {0x0143, 0x014B, "n"},
    {0x014C, 0x0151, "o"},
    {0x0152, 0x0153, "oe"},
    {0x0154, 0x0159, "r"},
    {0x015A, 0x0161, "s"},
    {0x0162, 0x0167, "t"},
    {0x0168, 0x0173, "u"},
    {0x0174, 0x0175, "w"},
    {0x0176, 0x0178, "y"},
    {0x0179, 0x017E, "z"},
    {0x017F, 0x017F, "s"},
}};

const char* baseOf(char32_t c) {
    for (const FoldRun& run : kFolds) {
        if (c >= run.first && c <= run.last) {
            return run.base;
        }
    }
    return nullptr;
}

bool continuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

}  // namespace

void appendFolded(std::string& out, std::string_view s) {
    // No fold is longer than the letter it replaces (two bytes at most for two): write into
    // room for the whole text, then cut to what was written.
    const std::size_t begin = out.size();
    out.resize(begin + s.size());
    char* to = out.data() + begin;
    const char* from = s.data();
    const char* const end = from + s.size();
    while (from < end) {
        const auto b = static_cast<unsigned char>(*from);
        if (b < 0x80) {
            *to++ = (b >= 'A' && b <= 'Z') ? static_cast<char>(b + 32) : static_cast<char>(b);
            ++from;
            continue;
        }
        // Only two-byte sequences reach the folded letters (U+0080 to U+07FF).
        if ((b & 0xE0) == 0xC0 && from + 1 < end &&
            continuation(static_cast<unsigned char>(from[1]))) {
            const auto c = static_cast<char32_t>(((b & 0x1Fu) << 6) |
                                                 (static_cast<unsigned char>(from[1]) & 0x3Fu));
            if (const char* base = baseOf(c)) {
                while (*base != '\0') {
                    *to++ = *base++;
                }
            } else {
                *to++ = from[0];
                *to++ = from[1];
            }
            from += 2;
            continue;
        }
        *to++ = *from++;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
}

std::string foldForSearch(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    appendFolded(out, utf8);
    return out;
}

}  // namespace snapdesk
