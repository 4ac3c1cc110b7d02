#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace snapdesk {

struct FileEntry {
    std::string name;  // the long name, in the case the file system stores it
    std::uint32_t attributes = 0;
    std::uint64_t lastAccessTime = 0;  // 100-ns intervals since 1601, like FILETIME
    std::uint64_t lastWriteTime = 0;
    std::uint64_t size = 0;
};

// Windows-path semantics: drive letters, "\" separators, case-insensitive names,
// "*" and "?" patterns, hidden and system entries included.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // The first entry (file or folder) that matches the pattern, as FindFirstFile gives it.
    virtual std::optional<FileEntry> findFirstFile(const std::string& pattern) = 0;

    // Whole files and folders.
    // The bytes of a file; nothing when it does not exist. Throws RuntimeError when it exists
    // but cannot be read, so that a caller never mistakes a locked file for an empty one.
    virtual std::optional<std::string> readFile(const std::string& path) = 0;
    // Puts `content` in place of the file (or creates it) so that the file holds either its
    // old content or the new one, completely: the bytes go to a temporary file in the same
    // folder first, which then replaces the file. False when it failed; the file is unchanged.
    virtual bool replaceFile(const std::string& path, const std::string& content) = 0;
    virtual bool deleteFile(const std::string& path) = 0;
    // Gives a file another name in the same folder, never over an existing one. False when it
    // failed; the file is then where it was. (Without a rename of its own, a copy and a delete.)
    virtual bool moveFile(const std::string& from, const std::string& to) {
        const std::optional<std::string> bytes = readFile(from);
        return bytes && !fileAttributes(to) && replaceFile(to, *bytes) && deleteFile(from);
    }
    // Creates one folder; its parent must exist. False when it failed or already exists.
    virtual bool createFolder(const std::string& path) = 0;
    // The attributes of an existing file or folder, nothing when there is none.
    virtual std::optional<std::uint32_t> fileAttributes(const std::string& path) = 0;
    // Every entry matching the pattern, in the order FindFirstFile / FindNextFile give them,
    // "." and ".." left out.
    virtual std::vector<FileEntry> findFiles(const std::string& pattern) = 0;

    // Folder walking
    // The subfolders of a folder (given without a trailing "\"), "." and ".." left out, in
    // the order the file system lists them; empty when the folder cannot be listed.
    virtual std::vector<FileEntry> listFolders(const std::string& folder) = 0;
    // The Windows folder, without a trailing "\".
    virtual std::string windowsFolder() = 0;
};

}  // namespace snapdesk
