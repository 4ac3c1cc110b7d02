#pragma once

#include <cstddef>

// What GetLinkPath of zim001.dll promises its callers, shared by the library, the portable
// reader and the caller's side of the main program.
namespace zim {

// Room of the caller's target buffer, the terminating zero included.
inline constexpr int kLinkPathSize = 260;

// Export name and library, as the main program binds them.
inline constexpr const char* kLinkPathLibrary = "zim001.dll";
inline constexpr const char* kLinkPathEntry = "_GetLinkPath@12";

// Whether a stored target can be handed out: it fits the caller's room, has no control
// characters and is absolute (drive or share) or starts with an environment variable. A
// shortcut saved with a target too long for its link info holds a stray byte instead.
inline bool isTargetPath(const char* path, std::size_t length) {
    if (length == 0 || length >= static_cast<std::size_t>(kLinkPathSize)) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(path[i]) < 0x20) {
            return false;
        }
    }
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    return path[0] == '%' || (length >= 2 && letter(path[0]) && path[1] == ':') ||
           (length >= 2 && path[0] == '\\' && path[1] == '\\');
}

}  // namespace zim
