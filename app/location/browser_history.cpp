#include "location/browser_history.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "tracking/tracked_window.h"  // kNotFound

namespace snapdesk {
namespace {

using std::string_view;
constexpr auto npos = string_view::npos;

// The program's own texts.
constexpr string_view kNetscapeTail = " - Netscape";
constexpr string_view kNetscapeAlone = "Netscape";
constexpr string_view kNetscape6Tail = " - Netscape 6";
constexpr string_view kNetscape6Alone = "Netscape 6";
constexpr string_view kExplorerTail = " - Microsoft Internet Explorer";
constexpr string_view kVisited = "Visited: ";
constexpr string_view kUrlColumn = "=URL)";
constexpr string_view kNameColumn = "=Name)";
constexpr const char* kDefaultUrlColumn = "82";
constexpr const char* kDefaultNameColumn = "85";
constexpr string_view kNetscapeFolder = "\\NETSCAPE\\";
constexpr const char* kUsersFolder = "USERS\\";
constexpr const char* kNetscape4File = "NETSCAPE.HST";
constexpr const char* kMozillaFolder = "\\MOZILLA";
constexpr const char* kNetscape6File = "HISTORY.DAT";
constexpr const char* kIeIndexFile = "\\INDEX.DAT";

constexpr std::uint32_t kDirectoryAttribute = 0x10;
constexpr std::size_t kMostFolders = 500;

// Parts joined in order (a leading literal plus strings trips a false warning of GCC 12).
std::string joined(std::initializer_list<string_view> parts) {
    std::string out;
    for (const string_view part : parts) {
        out += part;
    }
    return out;
}

string_view cutAtNul(string_view s) {
    return s.substr(0, s.find('\0'));
}

// ---- Searches over large texts ----

// The last `needle` that starts at or before `last`. Skips backwards like Horspool's search,
// so that a search from the end of a large history costs about as much as a forward one.
std::size_t findLastFrom(string_view text, string_view needle, std::size_t last = npos) {
    const std::size_t m = needle.size();
    if (m == 0 || m > text.size()) {
        return npos;
    }
    std::size_t pos = std::min(last, text.size() - m);
    if (m == 1) {
        for (++pos; pos-- > 0;) {
            if (text[pos] == needle[0]) {
                return pos;
            }
        }
        return npos;
    }
    // The window moves left; the byte under its first character decides how far.
    std::array<std::size_t, 256> skip;
    skip.fill(m);
    for (std::size_t i = m - 1; i >= 1; --i) {
        skip[static_cast<unsigned char>(needle[i])] = i;
    }
    const char* data = text.data();
    for (;;) {
        if (data[pos] == needle[0] && std::memcmp(data + pos + 1, needle.data() + 1, m - 1) == 0) {
            return pos;
        }
        const std::size_t step = skip[static_cast<unsigned char>(data[pos])];
        if (pos < step) {
            return npos;
        }
        pos -= step;
    }
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int hexValue(char c) {
    if (c <= '9') {
        return c - '0';
    }
    return (c | 0x20) - 'a' + 10;
}

// ---- Titles the captions show ----

std::optional<std::string> netscape4Title(string_view caption) {
    const string_view title = cutAtNul(caption);
    const auto tail = title.rfind(kNetscapeTail);
    if (tail != npos) {
        // No title: a key of two NULs names no page.
        return tail == 0 ? std::nullopt : std::optional<std::string>(title.substr(0, tail));
    }
    if (title.empty() || title == kNetscapeAlone) {
        return std::nullopt;
    }
    return std::string(title);
}

std::optional<std::string> netscape6Title(string_view caption) {
    string_view title = cutAtNul(caption);
    const auto tail = title.rfind(kNetscape6Tail);
    if (tail != npos) {
        title = title.substr(0, tail);
    } else if (title.empty() || title == kNetscape6Alone) {
        return std::nullopt;
    }
    // The length that counts is that of the title as it is looked up: trimmed.
    std::string trimmed = text::trim(title);
    if (trimmed.size() < 3) {
        return std::nullopt;
    }
    return trimmed;
}

std::optional<std::string> explorerTitle(string_view caption) {
    string_view title = caption;
    const auto tail = title.rfind(kExplorerTail);
    if (tail != npos) {
        title = title.substr(0, tail);
    }
    if (title.size() < 3) {
        return std::nullopt;
    }
    return std::string(title);
}

// ---- The Mork table of Netscape 6 ----

// An atom or column id as written between "(" and "=" or after "^": cut at a line break,
// trimmed, and made of plain characters, so that a stray "(" far back never makes one.
std::optional<std::string> morkId(string_view raw) {
    const auto lineBreak = raw.find("\r\n");
    if (lineBreak != npos) {
        raw = raw.substr(0, lineBreak);
    }
    std::string id = text::trim(raw);
    if (id.empty()) {
        return std::nullopt;
    }
    for (const char c : id) {
        if (c <= ' ' || c > '~' || std::strchr("()=^[]{}<>\\$", c) != nullptr) {
            return std::nullopt;
        }
    }
    return id;
}

struct Columns {
    std::string url;
    std::string name;
};

// The column ids the text declares for addresses and names, the usual ones when it declares
// none; nothing when a declaration cannot be read. One pass finds both declarations.
std::optional<Columns> readColumns(string_view text) {
    std::size_t urlAt = npos;
    std::size_t nameAt = npos;
    for (std::size_t at = text.find('='); at != npos && (urlAt == npos || nameAt == npos);
         at = text.find('=', at + 1)) {
        const string_view rest = text.substr(at);
        if (urlAt == npos && rest.starts_with(kUrlColumn)) {
            urlAt = at;
        } else if (nameAt == npos && rest.starts_with(kNameColumn)) {
            nameAt = at;
        }
    }
    const auto column = [&](std::size_t at, const char* usual) -> std::optional<std::string> {
        if (at == npos) {
            return std::string(usual);
        }
        const std::size_t open = at == 0 ? npos : findLastFrom(text, "(", at - 1);
        if (open == npos) {
            return std::nullopt;
        }
        return morkId(text.substr(open + 1, at - open - 1));
    };
    auto url = column(urlAt, kDefaultUrlColumn);
    auto name = column(nameAt, kDefaultNameColumn);
    if (!url || !name) {
        return std::nullopt;
    }
    return Columns{std::move(*url), std::move(*name)};
}

// A literal value from `start` to its closing ")": "\" takes the next byte as it is and "$"
// with two hex digits stands for that byte. Nothing when the value never closes.
std::optional<std::string> morkValue(string_view text, std::size_t start) {
    std::string value;
    for (std::size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ')') {
            return value;
        }
        if (c == '\\') {
            if (++i == text.size()) {
                break;
            }
            value += text[i];
        } else if (c == '$' && i + 2 < text.size() && isHexDigit(text[i + 1]) &&
                   isHexDigit(text[i + 2])) {
            value += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            value += c;
        }
    }
    return std::nullopt;
}

// The value of the atom `id` as last defined before `before`. "(A2" must be followed by "=",
// so that the atom A21 is never taken for A2.
std::optional<std::string> atomValueBefore(string_view text, const std::string& id,
                                           std::size_t before) {
    const std::string opening = joined({"(", id});
    std::size_t last = before;
    while (last > 0) {
        const std::size_t at = findLastFrom(text, opening, last - 1);
        if (at == npos) {
            return std::nullopt;
        }
        std::size_t k = at + opening.size();
        while (k < text.size() && text[k] == ' ') {
            ++k;
        }
        if (k < text.size() && text[k] == '=') {
            return morkValue(text, k + 1);
        }
        last = at;
    }
    return std::nullopt;
}

// ---- File addresses ----

bool isDrive(string_view s) {
    return s.size() == 2 && ((s[0] | 0x20) >= 'a' && (s[0] | 0x20) <= 'z') &&
           (s[1] == ':' || s[1] == '|');
}

// One name of a path with its "%xx" escapes decoded; nothing when it holds a character no
// file name can hold.
std::optional<std::string> pathName(string_view raw) {
    std::string name;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
        if (c == '%' && i + 2 < raw.size() && isHexDigit(raw[i + 1]) && isHexDigit(raw[i + 2])) {
            c = static_cast<char>(hexValue(raw[i + 1]) * 16 + hexValue(raw[i + 2]));
            i += 2;
        }
        if (static_cast<unsigned char>(c) < ' ' || std::strchr("<>:\"/\\|?*", c) != nullptr) {
            return std::nullopt;
        }
        name += c;
    }
    return name;
}

// Names separated by "/" (or "\") joined with "\".
std::optional<std::string> joinNames(string_view names) {
    std::string path;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = names.find_first_of("/\\", start);
        const auto name = pathName(names.substr(start, end == npos ? npos : end - start));
        if (!name) {
            return std::nullopt;
        }
        path += *name;
        if (end == npos) {
            return path;
        }
        path += '\\';
        start = end + 1;
    }
}

// "C:/dir/file" or "C|/dir/file" as "C:\dir\file".
std::optional<std::string> drivePath(string_view s) {
    if (s.size() < 3 || !isDrive(s.substr(0, 2)) || (s[2] != '/' && s[2] != '\\')) {
        return std::nullopt;
    }
    const auto rest = joinNames(s.substr(3));
    if (!rest) {
        return std::nullopt;
    }
    return std::string{s[0], ':', '\\'} + *rest;
}

// "server/share/dir" as "\\server\share\dir".
std::optional<std::string> uncPath(string_view s) {
    const std::size_t serverEnd = s.find_first_of("/\\");
    const std::size_t shareEnd = serverEnd == npos ? npos : s.find_first_of("/\\", serverEnd + 1);
    if (serverEnd == 0 || serverEnd == npos || shareEnd == serverEnd + 1 ||
        serverEnd + 1 == s.size()) {
        return std::nullopt;  // no server or no share
    }
    if (s.substr(0, serverEnd).find_first_of("@% ") != npos) {
        return std::nullopt;  // a user, an escape or a blank is no server name
    }
    const auto names = joinNames(s);
    if (!names) {
        return std::nullopt;
    }
    return "\\\\" + *names;
}

// The local path of a "file://" address; nothing when it names none we can be sure of.
std::optional<std::string> fileAddressPath(string_view address) {
    constexpr string_view kScheme = "file://";
    if (!address.starts_with(kScheme)) {
        return std::nullopt;
    }
    string_view rest = address.substr(kScheme.size());
    rest = rest.substr(0, rest.find_first_of("#?"));  // a place in the page is no part of it
    const std::size_t hostEnd = rest.find('/');
    const string_view host = rest.substr(0, hostEnd);
    const string_view path = hostEnd == npos ? string_view() : rest.substr(hostEnd + 1);
    if (isDrive(host)) {
        return drivePath(rest);
    }
    if (!host.empty() && text::upperCase(host) != "LOCALHOST") {
        return uncPath(rest);
    }
    if (hostEnd == npos) {
        return std::nullopt;
    }
    if (path.starts_with('/')) {
        const std::size_t server = path.find_first_not_of('/');  // "file:////server/share"
        return server == npos ? std::nullopt : uncPath(path.substr(server));
    }
    return drivePath(path);
}

// UTF-8 as UTF-16 code units; a byte that starts no valid sequence stands for itself.
std::vector<std::uint16_t> utf16Units(string_view s) {
    std::vector<std::uint16_t> units;
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        std::uint32_t code = length == 1   ? lead
                             : length == 2 ? lead & 0x1Fu
                             : length == 3 ? lead & 0x0Fu
                                           : lead & 0x07u;
        bool valid = lead < 0x80 || (lead >= 0xC2 && lead <= 0xF4 && i + length <= s.size());
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(s[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (valid && length > 1 &&
            ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
             (length == 4 && (code < 0x10000 || code > 0x10FFFF)))) {
            valid = false;
        }
        if (!valid) {
            units.push_back(lead);
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            units.push_back(static_cast<std::uint16_t>(0xD800 + (code >> 10)));
            units.push_back(static_cast<std::uint16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            units.push_back(static_cast<std::uint16_t>(code));
        }
        i += length;
    }
    return units;
}

// One byte of a Mork value as the browser writes it.
void appendMorkByte(std::string& out, unsigned char b) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (b < ' ' || b > '~') {
        out += '$';
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
        return;
    }
    if (b == ')' || b == '\\' || b == '$') {
        out += '\\';
    }
    out += static_cast<char>(b);
}

// The bytes of a history file, read on first need in a pass. A missing file reads as empty:
// nothing is found in it, and it is not asked for again in the pass.
const std::string& readOnce(FileSystem& files, const std::string& path,
                            std::optional<std::string>& text, int& reads) {
    if (!text) {
        ++reads;
        text = files.readFile(path).value_or(std::string());
    }
    return *text;
}

}  // namespace

// ---- Pure readers ----

std::string morkEncodeTitle(const std::string& title) {
    // The browser keeps titles as 16-bit characters, low byte first.
    std::string encoded;
    for (const std::uint16_t unit : utf16Units(text::trim(title))) {
        appendMorkByte(encoded, static_cast<unsigned char>(unit & 0xFF));
        appendMorkByte(encoded, static_cast<unsigned char>(unit >> 8));
    }
    return encoded;
}

std::string addressToPath(const std::string& address) {
    std::string result;
    result.reserve(address.size());
    for (std::size_t i = 0; i < address.size(); ++i) {
        if (address.compare(i, 3, "%20") == 0) {
            result += ' ';
            i += 2;
        } else {
            result += address[i];
        }
    }
    if (!text::beginsWith(result, "file")) {
        return result;
    }
    auto path = fileAddressPath(result);
    return path ? *path : result;
}

std::string prepareMorkText(const std::string& fileBytes) {
    // A "\" before CR LF continues the line; every other CR LF goes, and so does a CR LF that
    // only meets once continued lines are joined. Both happen in one pass from CR to CR.
    const string_view in = fileBytes;
    const auto continuation = [&](std::size_t at) { return in.compare(at, 3, "\\\r\n") == 0; };
    std::string out;
    out.reserve(in.size());
    std::size_t copied = 0;
    for (std::size_t cr = in.find('\r'); cr != npos; cr = in.find('\r', copied)) {
        if (cr > 0 && continuation(cr - 1)) {
            out.append(in, copied, cr - 1 - copied);
            copied = cr + 2;
            continue;
        }
        std::size_t next = cr + 1;
        while (continuation(next)) {
            next += 3;
        }
        if (next < in.size() && in[next] == '\n') {
            out.append(in, copied, cr - copied);
            copied = next + 1;
        } else {
            out.append(in, copied, cr + 1 - copied);
            copied = next;
        }
    }
    out.append(in, copied);
    return out;
}

std::string netscape4AddressIn(const std::string& caption, const std::string& historyBytes) {
    const auto title = netscape4Title(caption);
    if (!title) {
        return kNotFound;
    }
    const std::string key = joined({string_view("\0", 1), *title, string_view("\0", 1)});
    const auto at = historyBytes.find(key);
    if (at == npos) {
        return kNotFound;
    }
    const std::size_t start = at + key.size();
    const auto end = historyBytes.find('\0', start);
    if (end == npos || end == start) {
        return kNotFound;
    }
    return historyBytes.substr(start, end - start);
}

std::string ieHistoryAddressIn(const std::string& caption, const std::string& indexBytes) {
    const auto title = explorerTitle(caption);
    if (!title) {
        return kNotFound;
    }
    const string_view index = indexBytes;
    const auto at = index.find(*title);
    if (at == npos) {
        return kNotFound;
    }
    const auto visited = findLastFrom(index, kVisited, at);
    if (visited == npos) {
        return kNotFound;
    }
    // The "@" and the address belong to the visited entry: both end at its NUL.
    const auto end = index.find('\0', visited);
    if (end == npos) {
        return kNotFound;
    }
    const auto user = index.substr(visited, end - visited).find('@');
    if (user == npos || visited + user + 1 == end) {
        return kNotFound;
    }
    return std::string(index.substr(visited + user + 1, end - visited - user - 1));
}

std::string netscape6AddressIn(const std::string& caption, const std::string& preparedText) {
    const auto title = netscape6Title(caption);
    if (!title) {
        return kNotFound;
    }
    const string_view text = preparedText;
    const auto columns = readColumns(text);
    if (!columns) {
        return kNotFound;
    }
    // The title's atom, as last defined.
    const std::string needle = joined({"=", morkEncodeTitle(*title), ")"});
    const auto p = findLastFrom(text, needle);
    if (p == npos || p == 0) {
        return kNotFound;
    }
    const auto open = findLastFrom(text, "(", p - 1);
    if (open == npos) {
        return kNotFound;
    }
    const auto titleId = morkId(text.substr(open + 1, p - open - 1));
    if (!titleId) {
        return kNotFound;
    }
    const auto cell = text.find(joined({"(^", columns->name, "^", *titleId, ")"}));
    if (cell == npos) {
        return kNotFound;
    }
    // The address cell of that same row, never of a row before it.
    const auto rowStart = findLastFrom(text, "[", cell);
    const auto rowEnd = rowStart == npos ? npos : text.find(']', rowStart);
    if (rowEnd == npos || rowEnd < cell) {
        return kNotFound;
    }
    const string_view row = text.substr(rowStart, rowEnd - rowStart);
    const std::string urlCell = joined({"(^", columns->url, "^"});
    const auto urlAt = row.find(urlCell);
    const auto urlEnd = urlAt == npos ? npos : row.find(')', urlAt);
    if (urlEnd == npos) {
        return kNotFound;
    }
    const auto urlId = morkId(row.substr(urlAt + urlCell.size(), urlEnd - urlAt - urlCell.size()));
    if (!urlId) {
        return kNotFound;
    }
    const auto address = atomValueBefore(text, *urlId, p);
    if (!address || address->empty() || address->find('\0') != std::string::npos) {
        return kNotFound;
    }
    return addressToPath(*address);
}

bool laterFileTime(std::uint64_t candidate, std::uint64_t current) {
    const auto high = [](std::uint64_t t) { return static_cast<std::uint32_t>(t >> 32); };
    const auto low = [](std::uint64_t t) { return static_cast<std::uint32_t>(t); };
    if (high(candidate) != high(current)) {
        return high(candidate) > high(current);
    }
    return low(candidate) > low(current);
}

// ---- Where the history files lie ----

std::string findIEHistoryIndex(Shell& shell, WindowHandle owner) {
    const auto folder = shell.specialFolderPath(special_folders::kHistory, owner);
    // An empty folder would make a path in the root of the current drive.
    if (!folder || cutAtNul(*folder).empty()) {
        return kNotFound;
    }
    return text::upperCase(cutAtNul(*folder)) + kIeIndexFile;
}

std::string findNetscape4History(FileSystem& files, const std::string& exe) {
    const std::string program = text::upperCase(cutAtNul(exe));
    const auto attributes = program.empty() ? std::nullopt : files.fileAttributes(program);
    if (!attributes || (*attributes & kDirectoryAttribute) != 0) {
        return kNotFound;
    }
    const auto netscape = program.find(kNetscapeFolder);
    if (netscape == npos) {
        return {};  // not laid out as the browser lays itself out: no profiles to look in
    }
    const std::string users = program.substr(0, netscape + kNetscapeFolder.size()) + kUsersFolder;
    std::string latest;
    std::uint64_t latestTime = 0;
    for (const auto& profile : files.listFolders(users.substr(0, users.size() - 1))) {
        const std::string candidate = users + profile.name + "\\" + kNetscape4File;
        const auto file = files.findFirstFile(candidate);
        if (!file || (file->attributes & kDirectoryAttribute) != 0) {
            continue;
        }
        if (latest.empty() || laterFileTime(file->lastWriteTime, latestTime)) {
            latest = candidate;
            latestTime = file->lastWriteTime;
        }
    }
    return latest;
}

std::string findNetscape6History(FileSystem& files, Shell& shell, WindowHandle owner) {
    const auto appData = shell.specialFolderPath(special_folders::kApplicationData, owner);
    if (!appData || cutAtNul(*appData).empty()) {
        return kNotFound;
    }
    std::vector<std::string> folders{text::upperCase(cutAtNul(*appData)) + kMozillaFolder};
    std::string latest = kNotFound;
    std::uint64_t latestTime = 0;
    bool found = false;
    for (std::size_t next = 0; next < folders.size(); ++next) {
        const std::string folder = folders[next];
        for (const auto& entry : files.findFiles(folder + "\\*")) {
            const std::string name = text::upperCase(entry.name);
            if ((entry.attributes & kDirectoryAttribute) != 0) {
                if (folders.size() < kMostFolders) {
                    folders.push_back(folder + "\\" + name);
                }
            } else if (name == kNetscape6File &&
                       (!found || laterFileTime(entry.lastWriteTime, latestTime))) {
                latest = folder + "\\" + kNetscape6File;
                latestTime = entry.lastWriteTime;
                found = true;
            }
        }
    }
    return latest;
}

// ---- BrowserHistory ----

const std::string& BrowserHistory::netscape4HistoryPath(const std::string& exe) {
    if (netscape4Path_.empty()) {
        netscape4Path_ = findNetscape4History(files_, exe);
    }
    return netscape4Path_;
}

const std::string& BrowserHistory::netscape6HistoryPath() {
    if (netscape6Path_.empty()) {
        netscape6Path_ = findNetscape6History(files_, shell_, owner_);
    }
    return netscape6Path_;
}

const std::string& BrowserHistory::ieHistoryPath() {
    if (iePath_.empty()) {
        iePath_ = findIEHistoryIndex(shell_, owner_);
    }
    return iePath_;
}

std::string BrowserHistory::netscape4Address(const std::string& caption) {
    if (!netscape4Title(caption) || netscape4Path_.empty() || netscape4Path_ == kNotFound) {
        return kNotFound;
    }
    return netscape4AddressIn(caption,
                              readOnce(files_, netscape4Path_, netscape4Text_, fileReads_));
}

std::string BrowserHistory::netscape6Address(const std::string& caption) {
    if (!netscape6Title(caption) || netscape6HistoryPath() == kNotFound) {
        return kNotFound;
    }
    if (!netscape6Text_) {
        ++fileReads_;
        netscape6Text_ = prepareMorkText(files_.readFile(netscape6Path_).value_or(std::string()));
    }
    return netscape6AddressIn(caption, *netscape6Text_);
}

std::string BrowserHistory::ieHistoryAddress(const std::string& caption) {
    if (!explorerTitle(caption) || ieHistoryPath() == kNotFound) {
        return kNotFound;
    }
    return ieHistoryAddressIn(caption, readOnce(files_, iePath_, ieText_, fileReads_));
}

void BrowserHistory::endPass() {
    netscape4Text_.reset();
    netscape6Text_.reset();
    ieText_.reset();
}

}  // namespace snapdesk
