#pragma once

// The system-wide hot key as the program keeps it: modifiers as RegisterHotKey takes them, its
// stored text, and the hot-key control's way of writing the same key.

#include <cstdint>
#include <string>

namespace snapdesk {

// RegisterHotKey's modifier bits (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN).
enum HotKeyModifier : std::uint32_t {
    kHotKeyAlt = 0x01,
    kHotKeyControl = 0x02,
    kHotKeyShift = 0x04,
    kHotKeyWin = 0x08,
};

struct HotKey {
    std::uint32_t modifiers = 0;   // HotKeyModifier bits
    std::uint32_t virtualKey = 0;  // 0: no hot key
    bool off() const { return virtualKey == 0; }
    bool operator==(const HotKey&) const = default;
};

inline constexpr std::uint32_t kVirtualKeySpace = 0x20;
inline constexpr HotKey kDefaultHotKey{kHotKeyControl | kHotKeyAlt, kVirtualKeySpace};
inline constexpr const char* kDefaultHotKeyText = "Ctrl+Alt+Space";
inline constexpr const char* kHotKeyOffText = "none";

// The hot-key control's word (HKM_GETHOTKEY, HKM_SETHOTKEY): the key in the low byte, its
// HOTKEYF_ bits in the high byte, where Shift and Alt trade places with RegisterHotKey's.
HotKey hotKeyFromControl(std::uint16_t value);
std::uint16_t controlValueOf(const HotKey& key);

// "Ctrl+Alt+Space", "Ctrl+Shift+F12", "none"; a key without a name of its own as "#187".
std::string hotKeyText(const HotKey& key);
// The stored text back: "none" turns the hot key off, any text that names no key gives the
// default. Case and blanks do not matter.
HotKey parseHotKey(const std::string& text);

}  // namespace snapdesk
