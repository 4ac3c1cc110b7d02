#include "platform/win32/win32_snapshot_files.h"

#include <windows.h>

#include <atomic>
#include <vector>

#include "base/unique_handle.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk {

namespace {

std::atomic<unsigned> folderCounter{0};

}  // namespace

std::optional<FileStamp> Win32SnapshotFiles::stamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(win32::toWide(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    FileStamp result;
    result.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    result.writeTime = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                       data.ftLastWriteTime.dwLowDateTime;
    return result;
}

bool Win32SnapshotFiles::copy(const std::string& from, const std::string& to) {
    const win32::unique_handle source(
        CreateFileW(win32::toWide(from).c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source) {
        return false;
    }
    const win32::unique_handle target(CreateFileW(win32::toWide(to).c_str(), GENERIC_WRITE, 0,
                                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY,
                                                  nullptr));
    if (!target) {
        return false;
    }
    std::vector<char> buffer(1 << 20);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(source.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read,
                      nullptr)) {
            return false;
        }
        if (read == 0) {
            return true;
        }
        DWORD written = 0;
        if (!WriteFile(target.get(), buffer.data(), read, &written, nullptr) || written != read) {
            return false;
        }
    }
}

void Win32SnapshotFiles::remove(const std::string& path) {
    DeleteFileW(win32::toWide(path).c_str());
}

std::string Win32SnapshotFiles::createTemporaryFolder() {
    wchar_t base[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, base);
    if (length == 0 || length > MAX_PATH) {
        return {};
    }
    const std::wstring prefix = std::wstring(base, length) + L"snapdesk-history-" +
                                std::to_wstring(GetCurrentProcessId()) + L"-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring folder = prefix + std::to_wstring(folderCounter++);
        if (CreateDirectoryW(folder.c_str(), nullptr)) {
            return win32::toUtf8(folder) + "\\";
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            return {};
        }
    }
    return {};
}

void Win32SnapshotFiles::removeFolder(const std::string& folder) {
    RemoveDirectoryW(win32::toWide(folder).c_str());
}

}  // namespace snapdesk
