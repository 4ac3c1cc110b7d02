#include "mainwindow/help_text.h"

#include <string_view>
#include <vector>

namespace snapdesk {

namespace {

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return lines;
}

bool isProse(std::string_view line) {
    return !line.empty() && line.front() != ' ' && line.front() != '\t' && line.front() != '-' &&
           line.front() != '=' && line.find("  ") == std::string_view::npos;
}

}  // namespace

std::string unwrapParagraphs(const std::string& text) {
    const std::vector<std::string_view> lines = splitLines(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        if (i + 1 == lines.size()) {
            break;
        }
        const bool joins = isProse(lines[i]) && lines[i].back() != ':' && isProse(lines[i + 1]);
        out += joins ? " " : "\n";
    }
    return out;
}

}  // namespace snapdesk
