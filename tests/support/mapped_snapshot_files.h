#pragma once

// Snapshot files for native tests: Windows paths ("C:\Users\...") are files under a real
// folder (`root`/C/Users/...), so that core code and SQLite work on the same files. A hook
// runs after each copy, for tests of a file that changes while it is copied.

#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

#include "platform/sqlite/snapshot_files.h"

namespace snapdesk::testing_fakes {

class MappedSnapshotFiles : public SnapshotFiles {
  public:
    explicit MappedSnapshotFiles(std::filesystem::path root) : root_(std::move(root)) {}

    // The real path of a Windows path; a real path ("/...") stays as it is.
    std::filesystem::path real(const std::string& path) const {
        if (!path.empty() && path[0] == '/') {
            return path;
        }
        std::string relative;
        for (const char c : path) {
            if (c != ':') {
                relative += c == '\\' ? '/' : c;
            }
        }
        return root_ / relative;
    }

    std::optional<FileStamp> stamp(const std::string& path) override {
        std::error_code error;
        const auto where = real(path);
        if (!std::filesystem::is_regular_file(where, error)) {
            return std::nullopt;
        }
        const auto size = std::filesystem::file_size(where, error);
        const auto time = std::filesystem::last_write_time(where, error);
        return FileStamp{size, static_cast<std::uint64_t>(time.time_since_epoch().count())};
    }
    bool copy(const std::string& from, const std::string& to) override {
        std::error_code error;
        const bool copied = std::filesystem::copy_file(
            real(from), real(to), std::filesystem::copy_options::overwrite_existing, error);
        ++copies;
        if (afterCopy) {
            afterCopy(from);
        }
        return copied;
    }
    void remove(const std::string& path) override {
        std::error_code error;
        std::filesystem::remove(real(path), error);
    }
    std::string createTemporaryFolder() override {
        std::error_code error;
        const auto folder = root_ / "temp" / std::to_string(++folders);
        std::filesystem::create_directories(folder, error);
        return error ? std::string() : folder.string() + "/";
    }
    void removeFolder(const std::string& folder) override {
        std::error_code error;
        std::filesystem::remove(real(folder), error);
    }

    int copies = 0;
    int folders = 0;
    std::function<void(const std::string& from)> afterCopy;

  private:
    std::filesystem::path root_;
};

}  // namespace snapdesk::testing_fakes
