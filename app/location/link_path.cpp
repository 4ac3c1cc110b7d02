#include "location/link_path.h"

#include <cstdint>

#include "lnk_reader.h"

namespace snapdesk {
namespace {

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

}  // namespace

std::string ShortcutFileReader::getLinkPath(WindowHandle, const std::string& linkFile) {
    const auto bytes = readFile_(linkFile);
    if (!bytes) {
        return {};
    }
    char target[zim::kLinkPathSize];
    zim::readLinkPath(reinterpret_cast<const unsigned char*>(bytes->data()), bytes->size(), target);
    // The reader answers in the ANSI page; the program keeps UTF-8.
    std::string path;
    for (const char* at = target; *at != '\0'; ++at) {
        appendUtf8(path, zim::windows1252ToUnicode(static_cast<unsigned char>(*at)));
    }
    return path;
}

}  // namespace snapdesk
