#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/handles.h"
#include "platform/shell.h"
#include "platform/ui.h"
#include "platform/window_manager.h"
#include "projects/cinifile.h"
#include "projects/project_store_host.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// One member as a project file holds it: `path` may also be "notfound" or "nosave" where the
// whole Project tab is kept (the recovery file).
struct StoredMember {
    std::string caption, path, exe, comment, profile, placement;
};

// The saved projects, the stored-paths file and the table of document locations learnt
// from them, all below the program folder's "datafiles".
class ProjectStore {
  public:
    // programFolder: the folder of the program file; a trailing "\" is added when missing.
    ProjectStore(FileSystem& files, Shell& shell, Ui& ui, CoffeeShopList& list,
                 ProjectStoreHost& host, std::string programFolder);

    // The owner window of the shell's questions (the main window).
    void setOwnerWindow(WindowHandle window) { owner_ = window; }
    // Where saves read the members' window placements; none are saved without it.
    void setWindowManager(WindowManager* windows) { windows_ = windows; }

    void loadProjectStore();
    void convertOldData();
    void buildStoredPaths();
    // Writes the Project tab's members as the project `name` (trimmed in place). True when the
    // project file was written; false for an empty name, when there was nothing to write (the
    // empty-project dialogs have been shown) or when the file could not be written (the user
    // has been told; the old file and the current project name are unchanged).
    bool saveProject(std::string& name, bool overwrite);
    void readProject(std::string name, std::vector<std::string>& names,
                     std::vector<std::string>& paths, std::vector<std::string>& exes,
                     std::vector<std::string>& comments, std::int32_t& count,
                     std::vector<std::string>* profiles = nullptr,
                     std::vector<std::string>* placements = nullptr);
    // The Project tab's members in list order: all of them, or only those a project can hold.
    std::vector<StoredMember> projectTabMembers(bool savableOnly) const;
    // The members' sections (and the warning) written into a file's batch; false when a value
    // did not reach it.
    static bool writeMembers(CInifile& file, const std::vector<StoredMember>& members);
    // The members a file holds, read by number.
    static std::vector<StoredMember> readMembers(CInifile& file);
    // The members written as the project `name` (a name the rules allow), without touching the
    // Project tab or the current project name. False when the file could not be written.
    bool storeProject(const std::string& name, const std::vector<StoredMember>& members,
                      bool overwrite);
    // Counts the project files written, so that a watcher sees a save of an unchanged tab.
    std::uint32_t projectsWritten() const { return projectsWritten_; }
    void getProjectNames(std::vector<std::string>& names, std::int32_t& count) const;
    void deleteProject(const std::string& name);
    std::string storedPath(const std::string& name) const;
    void saveOldPaths();

    const std::string& currentProjectName() const { return currentProjectName_; }
    void setCurrentProjectName(std::string name) { currentProjectName_ = std::move(name); }
    // Index 0 is empty; 1 … size-1 are the distinct folders of stored paths.
    const std::vector<std::string>& projectFolders() const { return projectFolders_; }
    std::size_t storedCount() const { return storedNames_.size(); }

    std::string projectFile(const std::string& name) const;
    std::string dataFolder() const { return programFolder_ + "datafiles"; }
    std::string projectsFolder() const { return programFolder_ + "datafiles\\projects"; }
    std::string storedPathsFile() const { return programFolder_ + "datafiles\\oldpaths.txt"; }
    std::string oldDataFile() const { return programFolder_ + "datafiles\\zimsmod.ini"; }

  private:
    bool exists(const std::string& path);

    FileSystem& files_;
    Shell& shell_;
    Ui& ui_;
    CoffeeShopList& list_;
    ProjectStoreHost& host_;
    std::string programFolder_;
    WindowHandle owner_ = 0;
    WindowManager* windows_ = nullptr;
    std::string currentProjectName_;
    std::vector<std::string> projectNames_;
    std::vector<std::string> storedNames_, storedPaths_;
    std::vector<std::string> projectFolders_{std::string()};
    std::unique_ptr<CInifile> storedPathsIni_;
    std::uint32_t projectsWritten_ = 0;
};

}  // namespace snapdesk
