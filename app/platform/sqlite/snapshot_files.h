#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace snapdesk {

// The size and last write time of a file: a copy taken while both stay the same is whole.
struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;
    bool operator==(const FileStamp&) const = default;
};

// The file operations a history snapshot needs, on the system's own paths.
class SnapshotFiles {
  public:
    virtual ~SnapshotFiles() = default;

    // Nothing when the file does not exist.
    virtual std::optional<FileStamp> stamp(const std::string& path) = 0;
    // Copies a file that its owner may hold open for writing; false when it failed.
    virtual bool copy(const std::string& from, const std::string& to) = 0;
    virtual void remove(const std::string& path) = 0;
    // A new empty folder for one snapshot, its path ending in the separator; "" on failure.
    virtual std::string createTemporaryFolder() = 0;
    // Removes an empty folder made by createTemporaryFolder.
    virtual void removeFolder(const std::string& folder) = 0;
};

}  // namespace snapdesk
