#pragma once

#include "platform/file_system.h"

namespace snapdesk {

// The real file system through kernel32.
class Win32FileSystem : public FileSystem {
  public:
    std::optional<FileEntry> findFirstFile(const std::string& pattern) override;
};

}  // namespace snapdesk
