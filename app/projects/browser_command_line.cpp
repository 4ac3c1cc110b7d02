#include "projects/browser_command_line.h"

#include <string_view>
#include <utility>

#include "common/text.h"
#include "projects/launch_rules.h"

namespace snapdesk::browser_command_line {
namespace {

constexpr const char* kNotAWebAddress = "The location is not an http, https or file address";
constexpr const char* kQuoteInLocation = "The location holds a double quote";
constexpr const char* kControlInLocation = "The location holds a control character";
constexpr const char* kBadProfile = "The browser profile is not a plain folder name";

// The scheme before the first ":", in upper case.
std::string schemeOf(const std::string& address) {
    const std::size_t colon = address.find(':');
    return colon == std::string::npos ? std::string() : text::upperCase(address.substr(0, colon));
}

bool keptInUrl(unsigned char c) {
    static constexpr std::string_view kept = "-._~/:!$&'()*+,;=@";
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           kept.find(static_cast<char>(c)) != std::string_view::npos;
}

// One argument in double quotes, read back by the browser as exactly `value`: it holds no
// quote, and backslashes before the closing quote are doubled so that they do not escape it.
std::string quoted(const std::string& value) {
    const std::size_t kept = value.find_last_not_of('\\') + 1;
    return "\"" + value + std::string(value.size() - kept, '\\') + "\"";
}

Arguments refusal(std::string reason) {
    return {{}, std::move(reason)};
}

// The address the browser is given for the location, or a refusal.
Arguments addressFor(const std::string& location) {
    const std::string trimmed = text::trim(location);
    if (text::contains(trimmed, "\"")) {
        return refusal(kQuoteInLocation);
    }
    if (text::hasControlCharacter(trimmed)) {
        return refusal(kControlInLocation);
    }
    if (launch_rules::isFilePath(trimmed)) {
        return {fileUrlOf(trimmed), {}};
    }
    const std::string scheme = schemeOf(trimmed);
    if (scheme != "HTTP" && scheme != "HTTPS" && scheme != "FILE") {
        return refusal(kNotAWebAddress);
    }
    return {trimmed, {}};
}

}  // namespace

Arguments forPage(ModernBrowser browser, const std::string& location, const std::string& profile) {
    std::string profilePart;
    if (isChromiumFamily(browser) && !profile.empty()) {
        if (text::contains(profile, "\"") || text::hasControlCharacter(profile) ||
            profile.find_first_of("\\/") != std::string::npos || profile == "." ||
            profile == "..") {
            return refusal(kBadProfile);
        }
        profilePart = "--profile-directory=" + quoted(profile);
    }
    if (launch_rules::isFilePath(location) && modernBrowserOf(location) != ModernBrowser::None) {
        return {profilePart, {}};
    }
    Arguments address = addressFor(location);
    if (!address.refusal.empty()) {
        return address;
    }
    const std::string window = browser == ModernBrowser::Firefox ? "-new-window " : "--new-window ";
    const std::string before = profilePart.empty() ? std::string() : profilePart + " ";
    return {before + window + quoted(address.parameters), {}};
}

std::string fileUrlOf(const std::string& path) {
    // A drive path gets an empty host; a share's server is the host.
    std::string url = text::beginsWith(path, "\\\\") ? "file:" : "file:///";
    static constexpr char hex[] = "0123456789ABCDEF";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            url += '/';
        } else if (keptInUrl(byte)) {
            url += c;
        } else {
            url += '%';
            url += hex[byte >> 4];
            url += hex[byte & 0x0F];
        }
    }
    return url;
}

}  // namespace snapdesk::browser_command_line
