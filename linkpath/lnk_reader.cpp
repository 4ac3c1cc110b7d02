#include "lnk_reader.h"

#include <array>
#include <cstring>
#include <optional>
#include <string>

namespace zim {
namespace {

// Link flags of the header.
constexpr std::uint32_t kHasIdList = 0x1;
constexpr std::uint32_t kHasLinkInfo = 0x2;
constexpr std::uint32_t kHasName = 0x4;
constexpr std::uint32_t kHasRelativePath = 0x8;
constexpr std::uint32_t kHasWorkingDir = 0x10;
constexpr std::uint32_t kHasArguments = 0x20;
constexpr std::uint32_t kHasIconLocation = 0x40;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kForceNoLinkInfo = 0x100;
constexpr std::uint32_t kHasExpString = 0x200;

constexpr std::size_t kHeaderSize = 0x4C;
constexpr std::uint32_t kEnvironmentBlock = 0xA0000001;
constexpr std::size_t kEnvironmentBlockSize = 0x314;
constexpr std::uint32_t kFileEntryExtension = 0xBEEF0004;

// {00021401-0000-0000-C000-000000000046} and {20D04FE0-3AEA-1069-A2D8-08002B30309D} as stored.
constexpr std::array<unsigned char, 16> kShellLinkClass = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::array<unsigned char, 16> kMyComputer = {
    0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10, 0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};

// Bounds-checked little-endian view of a byte range.
class Bytes {
  public:
    Bytes(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t size() const { return size_; }
    bool has(std::size_t offset, std::size_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }
    std::optional<std::uint16_t> u16(std::size_t offset) const {
        if (!has(offset, 2)) {
            return std::nullopt;
        }
        return static_cast<std::uint16_t>(data_[offset] | (data_[offset + 1] << 8));
    }
    std::optional<std::uint32_t> u32(std::size_t offset) const {
        if (!has(offset, 4)) {
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(data_[offset]) |
               (static_cast<std::uint32_t>(data_[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(data_[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(data_[offset + 3]) << 24);
    }
    bool equals(std::size_t offset, const std::array<unsigned char, 16>& value) const {
        return has(offset, value.size()) &&
               std::memcmp(data_ + offset, value.data(), value.size()) == 0;
    }
    Bytes sub(std::size_t offset, std::size_t count) const {
        return Bytes(data_ + offset, count);  // callers check has() first
    }
    // A zero-terminated 8-bit string at offset; nullopt when it runs off the end.
    std::optional<std::string> ansi(std::size_t offset) const;
    // A zero-terminated UTF-16 string at offset, converted to Windows-1252.
    std::optional<std::string> wide(std::size_t offset) const;

  private:
    const unsigned char* data_;
    std::size_t size_;
};

// Windows-1252 for the code points 0x80..0x9F of that page; the rest of Latin-1 maps to itself.
constexpr std::array<std::uint16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char toWindows1252(std::uint16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        return static_cast<char>(unit);
    }
    for (std::size_t i = 0; i < kWindows1252High.size(); ++i) {
        if (kWindows1252High[i] == unit) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

std::optional<std::string> Bytes::ansi(std::size_t offset) const {
    if (offset > size_) {
        return std::nullopt;
    }
    const void* end = std::memchr(data_ + offset, 0, size_ - offset);
    if (end == nullptr) {
        return std::nullopt;
    }
    const auto* last = static_cast<const unsigned char*>(end);
    return std::string(reinterpret_cast<const char*>(data_ + offset),
                       static_cast<std::size_t>(last - (data_ + offset)));
}

std::optional<std::string> Bytes::wide(std::size_t offset) const {
    std::string text;
    for (std::size_t at = offset;; at += 2) {
        const auto unit = u16(at);
        if (!unit) {
            return std::nullopt;
        }
        if (*unit == 0) {
            return text;
        }
        if (*unit >= 0xDC00 && *unit <= 0xDFFF && !text.empty() && text.back() == '?' &&
            at >= offset + 2) {
            const auto previous = u16(at - 2);
            if (previous && *previous >= 0xD800 && *previous <= 0xDBFF) {
                continue;  // second half of a pair already written as one '?'
            }
        }
        text.push_back(toWindows1252(*unit));
    }
}

// LinkInfo: the local base path and common suffix, or the network share name and suffix.
std::optional<std::string> linkInfoPath(Bytes info) {
    const auto headerSize = info.u32(4);
    const auto flags = info.u32(8);
    const auto localOffset = info.u32(16);
    const auto networkOffset = info.u32(20);
    const auto suffixOffset = info.u32(24);
    if (!headerSize || !flags || !localOffset || !networkOffset || !suffixOffset ||
        *headerSize < 0x1C || *headerSize > info.size()) {
        return std::nullopt;
    }
    const bool unicode = *headerSize >= 0x24;
    std::optional<std::string> suffix;
    if (unicode && *info.u32(32) != 0) {
        suffix = info.wide(*info.u32(32));
    } else {
        suffix = info.ansi(*suffixOffset);
    }
    if (!suffix) {
        return std::nullopt;
    }
    if ((*flags & 0x1) != 0) {
        std::optional<std::string> base;
        if (unicode && *info.u32(28) != 0) {
            base = info.wide(*info.u32(28));
        } else {
            base = info.ansi(*localOffset);
        }
        if (!base) {
            return std::nullopt;
        }
        return *base + *suffix;
    }
    if ((*flags & 0x2) != 0) {
        // CommonNetworkRelativeLink: size, flags, NetNameOffset, ...
        const std::size_t link = *networkOffset;
        const auto linkSize = info.u32(link);
        const auto nameOffset = info.u32(link + 8);
        if (!linkSize || !nameOffset || !info.has(link, *linkSize) || *nameOffset >= *linkSize) {
            return std::nullopt;
        }
        const auto name = info.sub(link, *linkSize).ansi(*nameOffset);
        if (!name) {
            return std::nullopt;
        }
        return suffix->empty() ? *name : *name + "\\" + *suffix;
    }
    return std::string();
}

// The long name of a file-entry item: from its 0xBEEF0004 extension when it has one, else the
// primary name, which Wine and later systems store in full.
std::optional<std::string> fileEntryName(Bytes item, std::uint8_t type) {
    const bool wideName = (type & 0x04) != 0;
    const std::size_t nameAt = 14;
    const auto primary = wideName ? item.wide(nameAt) : item.ansi(nameAt);
    if (!primary) {
        return std::nullopt;
    }
    const auto extensionAt = item.u16(item.size() - 2);
    if (extensionAt && *extensionAt >= nameAt && *extensionAt + 8u <= item.size() - 2) {
        const std::size_t at = *extensionAt;
        const auto size = item.u16(at);
        const auto version = item.u16(at + 2);
        const auto signature = item.u32(at + 4);
        if (size && version && signature && *signature == kFileEntryExtension &&
            at + *size <= item.size()) {
            std::size_t longNameAt = 0;
            if (*version >= 9) {
                longNameAt = 46;
            } else if (*version == 8) {
                longNameAt = 42;
            } else if (*version == 7) {
                longNameAt = 38;
            } else if (*version >= 3) {
                longNameAt = 20;
            }
            if (longNameAt != 0 && longNameAt < *size) {
                const auto longName = item.sub(at, *size).wide(longNameAt);
                if (longName && !longName->empty()) {
                    return longName;
                }
            }
        }
    }
    return primary;
}

// The file-system path of an item list rooted at My Computer; an empty string when the list
// names something with no such path, nullopt when the list is malformed.
std::optional<std::string> idListPath(Bytes list) {
    std::string path;
    bool root = false;
    bool drive = false;
    std::size_t at = 0;
    for (;;) {
        const auto size = list.u16(at);
        if (!size) {
            return std::nullopt;
        }
        if (*size == 0) {
            break;
        }
        if (*size < 3 || !list.has(at, *size)) {
            return std::nullopt;
        }
        const Bytes item = list.sub(at, *size);
        const auto type = static_cast<std::uint8_t>(*item.u16(2) & 0xFF);
        if (!root) {
            if (type != 0x1F || !item.equals(4, kMyComputer)) {
                return std::string();
            }
            root = true;
        } else if (!drive) {
            if ((type & 0x70) != 0x20) {
                return std::string();
            }
            // Other items below My Computer (control panel and the like) have no path.
            const auto name = item.ansi(3);
            if (type == 0x2E || !name || name->size() < 2 || (*name)[1] != ':') {
                return std::string();
            }
            path = *name;
            drive = true;
        } else {
            if ((type & 0x70) != 0x30) {
                return std::string();
            }
            const auto name = fileEntryName(item, type);
            if (!name || name->empty()) {
                return std::nullopt;
            }
            if (path.empty() || path.back() != '\\') {
                path += '\\';
            }
            path += *name;
        }
        at += *size;
    }
    return drive ? path : std::string();
}

struct Parsed {
    std::uint32_t flags = 0;
    std::optional<std::string> idPath;
    std::optional<std::string> infoPath;
    std::optional<std::string> environmentPath;
};

// Walks every section of the file; nullopt when any of them does not fit.
std::optional<Parsed> parse(Bytes file) {
    Parsed parsed;
    const auto headerSize = file.u32(0);
    if (!headerSize || *headerSize != kHeaderSize || !file.equals(4, kShellLinkClass) ||
        !file.has(0, kHeaderSize)) {
        return std::nullopt;
    }
    parsed.flags = *file.u32(0x14);
    std::size_t at = kHeaderSize;

    if ((parsed.flags & kHasIdList) != 0) {
        const auto listSize = file.u16(at);
        if (!listSize || !file.has(at + 2, *listSize)) {
            return std::nullopt;
        }
        parsed.idPath = idListPath(file.sub(at + 2, *listSize));
        if (!parsed.idPath) {
            return std::nullopt;
        }
        at += 2 + *listSize;
    }
    if ((parsed.flags & kHasLinkInfo) != 0) {
        const auto infoSize = file.u32(at);
        if (!infoSize || *infoSize < 0x1C || !file.has(at, *infoSize)) {
            return std::nullopt;
        }
        if ((parsed.flags & kForceNoLinkInfo) == 0) {
            parsed.infoPath = linkInfoPath(file.sub(at, *infoSize));
            if (!parsed.infoPath) {
                return std::nullopt;
            }
        }
        at += *infoSize;
    }
    const std::size_t unitSize = (parsed.flags & kIsUnicode) != 0 ? 2 : 1;
    for (const std::uint32_t flag :
         {kHasName, kHasRelativePath, kHasWorkingDir, kHasArguments, kHasIconLocation}) {
        if ((parsed.flags & flag) == 0) {
            continue;
        }
        const auto count = file.u16(at);
        if (!count || !file.has(at + 2, std::size_t{*count} * unitSize)) {
            return std::nullopt;
        }
        at += 2 + std::size_t{*count} * unitSize;
    }
    // Extra data blocks, up to the terminal block. Shell links read them leniently (Wine writes
    // a relative path without its flag, which leaves the tail unreadable), so a block that does
    // not fit ends the list instead of failing the file.
    while (file.has(at, 8)) {
        const auto blockSize = *file.u32(at);
        if (blockSize < 8 || !file.has(at, blockSize)) {
            break;
        }
        if (*file.u32(at + 4) == kEnvironmentBlock && (parsed.flags & kHasExpString) != 0 &&
            blockSize >= kEnvironmentBlockSize) {
            // TargetAnsi (260 bytes) then TargetUnicode (520 bytes); both fixed-size fields.
            const Bytes block = file.sub(at, blockSize);
            auto target = block.sub(8 + 260, 520).wide(0);
            if (!target || target->empty()) {
                target = block.sub(8, 260).ansi(0);
            }
            parsed.environmentPath = target ? *target : std::string();
        }
        at += blockSize;
    }
    return parsed;
}

}  // namespace

std::uint16_t windows1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return kWindows1252High[byte - 0x80];
    }
    return byte;
}

std::int32_t readLinkPath(const unsigned char* bytes, std::size_t size, char* target) {
    target[0] = '\0';
    const auto parsed = parse(Bytes(bytes, size));
    if (!parsed) {
        return kNotAShortcut;
    }
    // The raw path: the unexpanded environment form first, then the path the link info keeps,
    // then the one the item list spells.
    std::string path;
    if (parsed->environmentPath && !parsed->environmentPath->empty()) {
        path = *parsed->environmentPath;
    } else if (parsed->infoPath && !parsed->infoPath->empty()) {
        path = *parsed->infoPath;
    } else if (parsed->idPath) {
        path = *parsed->idPath;
    }
    if (path.empty()) {
        return kNoFileSystemPath;
    }
    if (path.size() >= static_cast<std::size_t>(kLinkPathSize)) {
        return kPathTooLong;
    }
    if (!isTargetPath(path.data(), path.size())) {
        return kNotATargetPath;
    }
    std::memcpy(target, path.c_str(), path.size() + 1);
    return kPathFound;
}

}  // namespace zim
