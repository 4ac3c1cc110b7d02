#pragma once

#include "platform/sqlite/snapshot_files.h"

namespace snapdesk {

// Copies that a running browser allows: its history file stays open for writing, so the source
// is opened with every share flag (CopyFile would fail on it). Folders under the user's
// temporary folder.
class Win32SnapshotFiles : public SnapshotFiles {
  public:
    std::optional<FileStamp> stamp(const std::string& path) override;
    bool copy(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;
    std::string createTemporaryFolder() override;
    void removeFolder(const std::string& folder) override;
};

}  // namespace snapdesk
