#pragma once

// Step "j" of the main window's start-up: the folder list of the drive, loaded from its files
// in the data folder or built by walking the drive, behind the splash window.

#include <memory>
#include <string>
#include <vector>

#include "location/dir_tree.h"
#include "platform/platform.h"
#include "platform/shell.h"

namespace snapdesk {

// dataFolder: the program folder's "datafiles"; projectFolders: the project store's
// projectFolders() (element 0 empty); version: major.minor.revision. The tree returned is
// ready to be searched and lives for the run.
std::unique_ptr<DirectoryTree> loadDirectoryTree(Platform& platform, Shell& shell,
                                                 const std::string& dataFolder,
                                                 const std::vector<std::string>& projectFolders,
                                                 DirTreeSplashHost& splash,
                                                 const std::string& version);

}  // namespace snapdesk
