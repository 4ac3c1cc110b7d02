#pragma once

#include <cstddef>
#include <cstdint>

#include "link_path_contract.h"

// The target path stored in a shortcut (.lnk) file, read from the file's bytes without the
// shell: for the simulated platform and for systems without shell-link objects. It keeps the
// contract of GetLinkPath: the target buffer is emptied first, every failure leaves it empty
// and returns a negative code, and at most kLinkPathSize bytes are written.
namespace zim {

// Result codes, the same values the shell's link objects give.
inline constexpr std::int32_t kPathFound = 0;                      // S_OK
inline constexpr std::int32_t kNoFileSystemPath = 1;               // S_FALSE: a virtual folder
inline constexpr std::int32_t kNotAShortcut = -2147467259;         // E_FAIL (0x80004005)
inline constexpr std::int32_t kShortcutFileMissing = -2147024894;  // 0x80070002
inline constexpr std::int32_t kPathTooLong = -2147024774;     // 0x8007007A, insufficient buffer
inline constexpr std::int32_t kNotATargetPath = -2147024773;  // 0x8007007B, invalid name

// Reads the shortcut in `bytes` and writes its raw stored target, zero-terminated and in the
// Windows-1252 code page, to `target` (room kLinkPathSize). Environment variables stay
// unexpanded; nothing is looked up on disk.
std::int32_t readLinkPath(const unsigned char* bytes, std::size_t size, char* target);

// The Unicode code point of a Windows-1252 byte, for callers that keep other encodings.
std::uint16_t windows1252ToUnicode(unsigned char byte);

}  // namespace zim
