#include "mainwindow/hot_key.h"

#include <array>
#include <charconv>
#include <optional>
#include <string_view>
#include <vector>

#include "common/text.h"

namespace snapdesk {
namespace {

// The hot-key control's HOTKEYF_ bits.
constexpr std::uint32_t kControlShift = 0x01;
constexpr std::uint32_t kControlControl = 0x02;
constexpr std::uint32_t kControlAlt = 0x04;
constexpr std::uint32_t kControlExtended = 0x08;

struct Named {
    std::uint32_t bits;
    std::string_view name;
};

// In the order they are written.
constexpr std::array<Named, 4> kModifiers = {{
    {kHotKeyControl, "Ctrl"},
    {kHotKeyAlt, "Alt"},
    {kHotKeyShift, "Shift"},
    {kHotKeyWin, "Win"},
}};

constexpr std::array<Named, 27> kKeys = {{
    {0x08, "Backspace"},  {0x09, "Tab"},         {0x0D, "Enter"},       {0x13, "Pause"},
    {0x1B, "Esc"},        {0x20, "Space"},       {0x21, "PageUp"},      {0x22, "PageDown"},
    {0x23, "End"},        {0x24, "Home"},        {0x25, "Left"},        {0x26, "Up"},
    {0x27, "Right"},      {0x28, "Down"},        {0x2C, "PrintScreen"}, {0x2D, "Insert"},
    {0x2E, "Delete"},     {0x6A, "NumMultiply"}, {0x6B, "NumAdd"},      {0x6D, "NumSubtract"},
    {0x6E, "NumDecimal"}, {0x6F, "NumDivide"},   {0x90, "NumLock"},     {0x91, "ScrollLock"},
    {0xBB, "Plus"},       {0xBC, "Comma"},       {0xBD, "Minus"},
}};

constexpr std::uint32_t kFirstFunctionKey = 0x70;  // F1
constexpr std::uint32_t kLastFunctionKey = 0x87;   // F24
constexpr std::uint32_t kFirstNumPad = 0x60;       // NumPad 0

// Keys of the navigation block the control writes with its extended flag, so that it names
// them as the keys beside the typing keys rather than those of the number pad.
bool isExtendedKey(std::uint32_t vk) {
    return (vk >= 0x21 && vk <= 0x28) || vk == 0x2D || vk == 0x2E || vk == 0x6F || vk == 0x90;
}

std::uint32_t swapShiftAndAlt(std::uint32_t bits) {
    std::uint32_t out = bits & kHotKeyControl;  // the same bit in both
    if ((bits & 0x01) != 0) {
        out |= 0x04;
    }
    if ((bits & 0x04) != 0) {
        out |= 0x01;
    }
    return out;
}

std::string keyName(std::uint32_t vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        return std::string(1, static_cast<char>(vk));
    }
    if (vk >= kFirstFunctionKey && vk <= kLastFunctionKey) {
        return "F" + std::to_string(vk - kFirstFunctionKey + 1);
    }
    if (vk >= kFirstNumPad && vk <= kFirstNumPad + 9) {
        return "Num" + std::to_string(vk - kFirstNumPad);
    }
    for (const Named& key : kKeys) {
        if (key.bits == vk) {
            return std::string(key.name);
        }
    }
    return "#" + std::to_string(vk);
}

std::optional<std::uint32_t> number(std::string_view digits) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

// The virtual key a name stands for (upper case, no blanks); 0 when none.
std::uint32_t keyOf(const std::string& name) {
    if (name.size() == 1 &&
        ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9'))) {
        return static_cast<std::uint32_t>(name[0]);
    }
    if (name.size() > 1 && name[0] == 'F') {
        if (const auto n = number(std::string_view(name).substr(1)); n && *n >= 1 && *n <= 24) {
            return kFirstFunctionKey + *n - 1;
        }
    }
    if (name.size() == 4 && text::beginsWith(name, "NUM")) {
        if (const auto n = number(std::string_view(name).substr(3))) {
            return kFirstNumPad + *n;
        }
    }
    if (name.size() > 1 && name[0] == '#') {
        if (const auto n = number(std::string_view(name).substr(1)); n && *n > 0 && *n < 0xFF) {
            return *n;
        }
    }
    for (const Named& key : kKeys) {
        if (text::upperCase(key.name) == name) {
            return key.bits;
        }
    }
    return 0;
}

std::uint32_t modifierOf(const std::string& name) {
    if (name == "CONTROL") {
        return kHotKeyControl;
    }
    for (const Named& modifier : kModifiers) {
        if (text::upperCase(modifier.name) == name) {
            return modifier.bits;
        }
    }
    return 0;
}

std::string withoutBlanks(const std::string& s) {
    std::string out;
    for (const char c : s) {
        if (c != ' ' && c != '\t') {
            out += c;
        }
    }
    return out;
}

}  // namespace

HotKey hotKeyFromControl(std::uint16_t value) {
    const std::uint32_t flags = (value >> 8) & (kControlShift | kControlControl | kControlAlt);
    return {swapShiftAndAlt(flags), static_cast<std::uint32_t>(value & 0xFF)};
}

std::uint16_t controlValueOf(const HotKey& key) {
    if (key.off()) {
        return 0;
    }
    std::uint32_t flags =
        swapShiftAndAlt(key.modifiers & (kHotKeyShift | kHotKeyControl | kHotKeyAlt));
    if (isExtendedKey(key.virtualKey)) {
        flags |= kControlExtended;
    }
    return static_cast<std::uint16_t>((flags << 8) | (key.virtualKey & 0xFF));
}

std::string hotKeyText(const HotKey& key) {
    if (key.off()) {
        return kHotKeyOffText;
    }
    std::string out;
    for (const Named& modifier : kModifiers) {
        if ((key.modifiers & modifier.bits) != 0) {
            out += std::string(modifier.name) + "+";
        }
    }
    return out + keyName(key.virtualKey);
}

HotKey parseHotKey(const std::string& stored) {
    const std::string whole = text::upperCase(withoutBlanks(stored));
    if (whole == text::upperCase(kHotKeyOffText)) {
        return {};
    }
    HotKey key;
    std::size_t start = 0;
    for (;;) {
        const std::size_t plus = whole.find('+', start);
        const std::string part =
            whole.substr(start, plus == std::string::npos ? plus : plus - start);
        if (plus == std::string::npos) {
            key.virtualKey = keyOf(part);
            return key.off() ? kDefaultHotKey : key;
        }
        const std::uint32_t modifier = modifierOf(part);
        if (modifier == 0) {
            return kDefaultHotKey;
        }
        key.modifiers |= modifier;
        start = plus + 1;
    }
}

}  // namespace snapdesk
