#include "location/load_directory_tree.h"

namespace snapdesk {

std::unique_ptr<DirectoryTree> loadDirectoryTree(Platform& platform, Shell& shell,
                                                 const std::string& dataFolder,
                                                 const std::vector<std::string>& projectFolders,
                                                 DirTreeSplashHost& splash,
                                                 const std::string& version) {
    auto tree =
        std::make_unique<DirectoryTree>(platform.files, shell, platform.ui, dataFolder, version);
    tree->setProjectFolders(projectFolders);
    tree->buildDirTree(splash);
    return tree;
}

}  // namespace snapdesk
