#pragma once

#include "platform/file_system.h"

namespace snapdesk {

// The real file system through kernel32.
class Win32FileSystem : public FileSystem {
  public:
    std::optional<FileEntry> findFirstFile(const std::string& pattern) override;

    std::optional<std::string> readFile(const std::string& path) override;
    bool replaceFile(const std::string& path, const std::string& content) override;
    bool deleteFile(const std::string& path) override;
    bool moveFile(const std::string& from, const std::string& to) override;
    bool createFolder(const std::string& path) override;
    std::optional<std::uint32_t> fileAttributes(const std::string& path) override;
    std::vector<FileEntry> findFiles(const std::string& pattern) override;

    // Folder walking
    std::vector<FileEntry> listFolders(const std::string& folder) override;
    std::string windowsFolder() override;
};

}  // namespace snapdesk
