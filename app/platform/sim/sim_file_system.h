#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace snapdesk::sim {

// Files and folders in memory with Windows path rules: names compare without case, the
// last element of a search may hold "*" and "?", entries keep the order they were added.
class SimFileSystem : public FileSystem {
  public:
    // Adds the entry and any missing folders above it. Paths are full: "C:\dir\file.txt".
    void addFile(const std::string& path, std::uint32_t attributes = 0,
                 std::uint64_t lastAccessTime = 0);
    void addFolder(const std::string& path);
    // The 8.3 alias of an existing entry; searches match it as well as the long name.
    void addShortName(const std::string& path, const std::string& shortName);
    void remove(const std::string& path);
    void setLastWriteTime(const std::string& path, std::uint64_t time);

    std::optional<FileEntry> findFirstFile(const std::string& pattern) override;
    int searches() const { return searches_; }
    bool failSearches = false;  // searches raise a run-time error

    std::optional<std::string> readFile(const std::string& path) override;
    bool replaceFile(const std::string& path, const std::string& content) override;
    bool deleteFile(const std::string& path) override;
    bool moveFile(const std::string& from, const std::string& to) override;
    bool createFolder(const std::string& path) override;
    std::optional<std::uint32_t> fileAttributes(const std::string& path) override;
    std::vector<FileEntry> findFiles(const std::string& pattern) override;

    // A file with content, and the folders above it.
    void writeFile(const std::string& path, const std::string& content);
    int replaces() const { return replaces_; }
    // Replacements still allowed before they fail (negative: no limit); a failed one leaves
    // the file as it was, like a program stopped before the final rename.
    int replacesLeft = -1;
    bool failReads = false;  // reads of existing files raise a run-time error

    // Folder walking
    std::vector<FileEntry> listFolders(const std::string& folder) override;
    std::string windowsFolder() override { return windowsPath; }
    std::string windowsPath = "C:\\WINDOWS";
    int folderListings() const { return folderListings_; }

  private:
    struct Entry {
        std::string path;  // as added
        FileEntry info;
        std::string shortName;
        std::string content;
    };
    void add(const std::string& path, std::uint32_t attributes, std::uint64_t lastAccessTime);
    Entry* findEntry(const std::string& path);
    // The stored path of a folder written with long or short names, if it exists.
    std::optional<std::string> resolveFolder(const std::string& folder);
    std::vector<Entry> entries_;
    int searches_ = 0;
    int replaces_ = 0;
    int folderListings_ = 0;
};

// "*" and "?" matching without case, as file searches do.
bool matchesPattern(const std::string& name, const std::string& pattern);

}  // namespace snapdesk::sim
