#pragma once

// DirectoryTree: the list of every folder of the program's drive, its files in the data
// folder, and the searches of the list by file name (findPath) and folder name (findFolder).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/ui.h"
#include "tracking/tracked_window.h"  // kNotFound

namespace snapdesk {

class DirectoryTree;

// Shows the splash window modally; the window runs the walk or the load of the tree.
class DirTreeSplashHost {
  public:
    virtual ~DirTreeSplashHost() = default;
    virtual void showSplash(DirectoryTree& tree) = 0;
};

inline constexpr const char* kFullBuild = "fullbuild";
inline constexpr const char* kStoredBuild = "storedbuild";

class DirectoryTree {
  public:
    // dataFolder: the program folder's "datafiles" (a trailing "\" is optional); its first
    // characters name the drive that is walked. version is major.minor.revision.
    DirectoryTree(FileSystem& files, Shell& shell, Ui& ui, std::string dataFolder,
                  std::string version);

    // The folders of the files named in saved projects (empty entries, such as the store's
    // unused element 0, are left out); they follow the drive's folders after each build or
    // load.
    void setProjectFolders(std::vector<std::string> folders) {
        projectFolders_ = std::move(folders);
    }

    // Start-up: decides between walking and loading, then shows the splash that does it.
    void buildDirTree(DirTreeSplashHost& splash);
    void buildDirTreeFromScratch();
    void buildDirTreeFromStored();
    // Walks the drive again while the program runs; setRefreshTimer(false) stops the main
    // window's refresh timer meanwhile, setRefreshTimer(true) starts it again.
    void rebuildDirTree(const std::function<void(bool)>& setRefreshTimer);

    // One step of the search for a file called name over a slice of the list, from the end
    // towards the root. Returns the path, "notfound", or "" after a reported failure.
    std::string findPath(std::string& name, std::int32_t& start, std::uint32_t& bestHigh,
                         std::uint32_t& bestLow, bool& done, bool complete);
    std::string findFolder(const std::string& folderName) const;

    const std::string& buildMode() const { return buildMode_; }
    bool treeReady() const { return treeReady_; }
    std::int32_t dirCount() const { return static_cast<std::int32_t>(dirList_.size()) - 1; }
    std::int32_t searchChunk() const { return searchChunk_; }
    // Element i of the list, 1-based; element 0 is unused.
    const std::string& dir(std::int32_t i) const {
        return dirList_.at(static_cast<std::size_t>(i));
    }
    const std::vector<std::string>& dirList() const { return dirList_; }
    // Called after each folder the walk lists while the mode is "fullbuild" (splash repaint).
    std::function<void()> onFolderWalked;

    const std::string& dataFolder() const { return dataFolder_; }
    std::string levelPath(int level) const;

  private:
    // The list back to the drive root alone.
    void reset();
    // Walks level by level from the root, writing each level's file; true when the walk
    // reached a level without folders (the tree is complete).
    bool walkDrive();
    // Adds the project folders and the desktop folder, then sets the slice size. Runs after
    // every build or load, also a failed one, so that the list stays searchable.
    void appendExtraFolders();
    // The drive's folders as the files hold them (element 0 unused, 1 the root), or nothing
    // when a file is missing or damaged.
    std::optional<std::vector<std::string>> loadStoredFolders();
    void report(const std::string& procedure, const std::string& detail);

    FileSystem& files_;
    Shell& shell_;
    Ui& ui_;
    std::string dataFolder_;  // ends in "\"
    std::string version_;
    std::string root_;
    std::vector<std::string> dirList_;  // element 0 unused
    std::vector<std::string> projectFolders_;
    // What buildDirTree's check read, kept for the load it decided on.
    std::optional<std::vector<std::string>> checkedStored_;
    std::int32_t searchChunk_ = 1;
    // Grows whenever the list is replaced, so that a search step notices a rebuild that ran
    // while it processed messages.
    std::uint64_t generation_ = 0;
    bool treeReady_ = false;
    std::string buildMode_ = kStoredBuild;
};

}  // namespace snapdesk
