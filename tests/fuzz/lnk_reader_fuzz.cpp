// Arbitrary bytes into the portable shortcut reader: besides the sanitizers' findings, every
// answer must keep GetLinkPath's contract.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "lnk_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kGuard = 32;
    char buffer[zim::kLinkPathSize + kGuard];
    std::memset(buffer, 0x5A, sizeof(buffer));
    const std::int32_t code = zim::readLinkPath(data, size, buffer);

    for (std::size_t i = zim::kLinkPathSize; i < sizeof(buffer); ++i) {
        if (buffer[i] != 0x5A) {
            std::abort();  // written past the caller's room
        }
    }
    const void* end = std::memchr(buffer, 0, zim::kLinkPathSize);
    if (end == nullptr) {
        std::abort();  // not terminated within the room
    }
    const auto length = static_cast<std::size_t>(static_cast<const char*>(end) - buffer);
    if (code < 0 || code == zim::kNoFileSystemPath) {
        if (length != 0) {
            std::abort();  // a failure or a virtual target with a path
        }
    } else if (code != zim::kPathFound || !zim::isTargetPath(buffer, length)) {
        std::abort();
    }
    return 0;
}
