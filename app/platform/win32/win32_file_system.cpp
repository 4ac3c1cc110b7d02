#include "platform/win32/win32_file_system.h"

#include <cwchar>

#include "platform/win32/win32_convert.h"

namespace snapdesk {

namespace {

std::uint64_t combine(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

}  // namespace

std::optional<FileEntry> Win32FileSystem::findFirstFile(const std::string& pattern) {
    WIN32_FIND_DATAW data{};
    const HANDLE search = FindFirstFileW(win32::toWide(pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    FindClose(search);
    FileEntry entry;
    entry.name =
        win32::toUtf8(std::wstring_view(data.cFileName, wcsnlen(data.cFileName, MAX_PATH)));
    entry.attributes = data.dwFileAttributes;
    entry.lastAccessTime =
        combine(data.ftLastAccessTime.dwHighDateTime, data.ftLastAccessTime.dwLowDateTime);
    entry.size = combine(data.nFileSizeHigh, data.nFileSizeLow);
    return entry;
}

}  // namespace snapdesk
