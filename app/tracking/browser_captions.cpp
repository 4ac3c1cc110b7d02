#include "tracking/browser_captions.h"

#include <cctype>
#include <optional>

#include "common/modern_programs.h"
#include "common/text.h"

namespace snapdesk {
namespace {

// Edge writes a zero-width space between "Microsoft" and "Edge"; some versions do not.
constexpr const char* kEdgeSuffixes[] = {" - Microsoft\u200B Edge", " - Microsoft Edge"};
// An em dash today, a hyphen in older versions; private windows say so.
constexpr const char* kFirefoxSuffixes[] = {" \u2014 Mozilla Firefox Private Browsing",
                                            " - Mozilla Firefox Private Browsing",
                                            " \u2014 Mozilla Firefox", " - Mozilla Firefox"};

// The caption before `suffix`, when it ends with it and something is left.
std::optional<std::string> before(const std::string& caption, const std::string& suffix) {
    if (caption.size() > suffix.size() && text::endsWith(caption, suffix)) {
        return caption.substr(0, caption.size() - suffix.size());
    }
    return std::nullopt;
}

template <std::size_t N>
std::optional<std::string> beforeAny(const std::string& caption, const char* const (&suffixes)[N]) {
    for (const char* suffix : suffixes) {
        if (auto rest = before(caption, suffix)) {
            return rest;
        }
    }
    return std::nullopt;
}

// " and 3 more pages" (or " and 1 more page") at the end, which Edge adds for the other tabs.
std::string withoutMorePages(const std::string& title) {
    const std::size_t at = text::findLast(title, " and ");
    if (at <= 1) {
        return title;
    }
    std::size_t i = at - 1 + 5;
    const std::size_t digits = i;
    while (i < title.size() && std::isdigit(static_cast<unsigned char>(title[i])) != 0) {
        ++i;
    }
    const std::string rest = title.substr(i);
    if (i == digits || (rest != " more pages" && rest != " more page")) {
        return title;
    }
    return text::left(title, at - 1);
}

struct EdgeCaption {
    std::string title;
    std::string profile;
};

// "<title> - <profile> - Microsoft Edge": the profile is the last part, the title may hold
// " - " itself.
std::optional<EdgeCaption> splitEdgeCaption(const std::string& caption) {
    auto rest = beforeAny(caption, kEdgeSuffixes);
    if (!rest) {
        return std::nullopt;
    }
    EdgeCaption parts;
    parts.title = *rest;
    if (const std::size_t dash = text::findLast(*rest, " - "); dash != 0) {
        parts.title = text::left(*rest, dash - 1);
        parts.profile = text::from(*rest, dash + 3);
    }
    parts.title = withoutMorePages(parts.title);
    return parts;
}

std::optional<std::string> titleOf(const std::string& caption, ModernBrowser browser) {
    switch (browser) {
        case ModernBrowser::Chrome:
            return before(caption, " - Google Chrome");
        case ModernBrowser::Brave:
            return before(caption, " - Brave");
        case ModernBrowser::Vivaldi:
            return before(caption, " - Vivaldi");
        case ModernBrowser::Opera:
            return before(caption, " - Opera");
        case ModernBrowser::Firefox:
            return beforeAny(caption, kFirefoxSuffixes);
        case ModernBrowser::Edge:
            if (auto parts = splitEdgeCaption(caption)) {
                return parts->title;
            }
            return std::nullopt;
        case ModernBrowser::None:
            break;
    }
    return std::nullopt;
}

}  // namespace

std::string browserPageTitle(const std::string& caption, const std::string& exePath) {
    const auto title = titleOf(caption, modernBrowserOf(exePath));
    return title && !title->empty() ? *title : caption;
}

std::string browserCaptionProfile(const std::string& caption, const std::string& exePath) {
    if (modernBrowserOf(exePath) != ModernBrowser::Edge) {
        return {};
    }
    const auto parts = splitEdgeCaption(caption);
    return parts ? parts->profile : std::string();
}

}  // namespace snapdesk
