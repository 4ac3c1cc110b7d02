#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace snapdesk {

struct FileEntry {
    std::string name;  // the long name, in the case the file system stores it
    std::uint32_t attributes = 0;
    std::uint64_t lastAccessTime = 0;  // 100-ns intervals since 1601, like FILETIME
    std::uint64_t size = 0;
};

// Windows-path semantics: drive letters, "\" separators, case-insensitive names,
// "*" and "?" patterns, hidden and system entries included.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // The first entry (file or folder) that matches the pattern, as FindFirstFile gives it.
    virtual std::optional<FileEntry> findFirstFile(const std::string& pattern) = 0;
};

}  // namespace snapdesk
