#include "base/utf_convert.h"

#include <windows.h>

namespace snapdesk::win32 {

std::wstring wideFromCodePage(std::string_view text, unsigned codePage) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string wideToCodePage(std::wstring_view text, unsigned codePage) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

std::wstring toWide(std::string_view text) {
    return wideFromCodePage(text, CP_UTF8);
}

std::string toUtf8(std::wstring_view text) {
    return wideToCodePage(text, CP_UTF8);
}

}  // namespace snapdesk::win32
