#include "platform/win32/win32_file_system.h"

#include <algorithm>
#include <atomic>
#include <cwchar>

#include "common/runtime_error.h"

#include "base/unique_handle.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk {

namespace {

std::uint64_t combine(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

FileEntry toEntry(const WIN32_FIND_DATAW& data) {
    FileEntry entry;
    entry.name =
        win32::toUtf8(std::wstring_view(data.cFileName, wcsnlen(data.cFileName, MAX_PATH)));
    entry.attributes = data.dwFileAttributes;
    entry.lastAccessTime =
        combine(data.ftLastAccessTime.dwHighDateTime, data.ftLastAccessTime.dwLowDateTime);
    entry.lastWriteTime =
        combine(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    entry.size = combine(data.nFileSizeHigh, data.nFileSizeLow);
    return entry;
}

bool writeAll(HANDLE file, const std::string& content) {
    std::size_t done = 0;
    while (done < content.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, content.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

std::atomic<unsigned> temporaryCounter{0};

}  // namespace

std::optional<FileEntry> Win32FileSystem::findFirstFile(const std::string& pattern) {
    WIN32_FIND_DATAW data{};
    const win32::unique_find search(FindFirstFileW(win32::toWide(pattern).c_str(), &data));
    if (!search) {
        return std::nullopt;
    }
    return toEntry(data);
}

std::vector<FileEntry> Win32FileSystem::findFiles(const std::string& pattern) {
    std::vector<FileEntry> found;
    WIN32_FIND_DATAW data{};
    const win32::unique_find search(FindFirstFileW(win32::toWide(pattern).c_str(), &data));
    if (!search) {
        return found;
    }
    do {
        const std::wstring_view name(data.cFileName, wcsnlen(data.cFileName, MAX_PATH));
        if (name != L"." && name != L"..") {
            found.push_back(toEntry(data));
        }
    } while (FindNextFileW(search.get(), &data));
    return found;
}

std::optional<std::string> Win32FileSystem::readFile(const std::string& path) {
    const win32::unique_handle file(
        CreateFileW(win32::toWide(path).c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return std::nullopt;
        }
        const DWORD attributes = GetFileAttributesW(win32::toWide(path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return std::nullopt;
        }
        throw RuntimeError(75, "Path/File access error", "FileSystem");
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            throw RuntimeError(75, "Path/File access error", "FileSystem");
        }
        if (got == 0) {
            break;
        }
        content.append(buffer, got);
    }
    return content;
}

bool Win32FileSystem::replaceFile(const std::string& path, const std::string& content) {
    const std::wstring target = win32::toWide(path);
    std::wstring temporary;
    win32::unique_handle file;
    // A fresh name beside the target, so the final rename stays on one volume.
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(++temporaryCounter) + L".tmp";
        file.reset(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file && GetLastError() != ERROR_FILE_EXISTS) {
            return false;
        }
    }
    if (!file) {
        return false;
    }
    const bool written = writeAll(file.get(), content) && FlushFileBuffers(file.get());
    file.reset();  // closed before the rename
    if (!written || !MoveFileExW(temporary.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

bool Win32FileSystem::moveFile(const std::string& from, const std::string& to) {
    return MoveFileExW(win32::toWide(from).c_str(), win32::toWide(to).c_str(),
                       MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32FileSystem::deleteFile(const std::string& path) {
    return DeleteFileW(win32::toWide(path).c_str()) != 0;
}

bool Win32FileSystem::createFolder(const std::string& path) {
    return CreateDirectoryW(win32::toWide(path).c_str(), nullptr) != 0;
}

std::optional<std::uint32_t> Win32FileSystem::fileAttributes(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(win32::toWide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    return attributes;
}

std::vector<FileEntry> Win32FileSystem::listFolders(const std::string& folder) {
    std::vector<FileEntry> found;
    WIN32_FIND_DATAW data{};
    // Basic information skips the 8.3 names and the large fetch asks for many entries per
    // call: a walk of the drive lists every folder once.
    const std::wstring pattern = win32::toWide(folder + "\\*");
    win32::unique_find search(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                               FindExSearchLimitToDirectories, nullptr,
                                               FIND_FIRST_EX_LARGE_FETCH));
    if (!search && GetLastError() == ERROR_INVALID_PARAMETER) {
        // Systems before Windows 7 know neither the basic information nor the large fetch.
        search.reset(FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &data,
                                      FindExSearchLimitToDirectories, nullptr, 0));
    }
    if (!search) {
        return found;
    }
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            continue;
        }
        const std::wstring_view name(data.cFileName, wcsnlen(data.cFileName, MAX_PATH));
        if (name != L"." && name != L"..") {
            found.push_back(toEntry(data));
        }
    } while (FindNextFileW(search.get(), &data));
    return found;
}

std::string Win32FileSystem::windowsFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) {
        return std::string();
    }
    std::string folder = win32::toUtf8(std::wstring_view(buffer, length));
    while (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    return folder;
}

}  // namespace snapdesk
