#include "common/text.h"

#include <algorithm>

namespace snapdesk::text {

std::string upperCase(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; });
    return out;
}

bool contains(std::string_view s, std::string_view part) {
    return s.find(part) != std::string_view::npos;
}

bool beginsWith(std::string_view s, std::string_view prefix) {
    return s.starts_with(prefix);
}

bool endsWith(std::string_view s, std::string_view suffix) {
    return s.ends_with(suffix);
}

std::string trim(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(' ');
    return std::string(s.substr(first, last - first + 1));
}

std::size_t findFirst(std::string_view s, std::string_view part, std::size_t start) {
    if (start < 1 || start > s.size() + 1) {
        return 0;
    }
    const auto at = s.find(part, start - 1);
    return at == std::string_view::npos ? 0 : at + 1;
}

std::size_t findLast(std::string_view s, std::string_view part) {
    const auto at = s.rfind(part);
    return at == std::string_view::npos ? 0 : at + 1;
}

std::string left(std::string_view s, std::size_t n) {
    return std::string(s.substr(0, n));
}

std::string from(std::string_view s, std::size_t position) {
    if (position < 1 || position > s.size()) {
        return {};
    }
    return std::string(s.substr(position - 1));
}

std::string NulTrim(std::string_view s) {
    const auto nul = s.find('\0');
    return trim(nul == std::string_view::npos ? s : s.substr(0, nul));
}

std::string doubleAmpersands(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (const char c : s) {
        out += c;
        if (c == '&') {
            out += '&';
        }
    }
    return out;
}

bool hasControlCharacter(std::string_view s) {
    for (const char c : s) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return true;
        }
    }
    return false;
}

bool isWebAddress(std::string_view s) {
    const std::string upper = upperCase(s);
    return beginsWith(upper, "HTTPS://") || beginsWith(upper, "HTTP://");
}

}  // namespace snapdesk::text
