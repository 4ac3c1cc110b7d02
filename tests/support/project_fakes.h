#pragma once

// Stand-ins for the main window where a test runs the project store, the folder list and the
// location search without it. Portable: no <windows.h>, no test framework.

#include <string>

#include "location/dir_tree.h"
#include "projects/project_store_host.h"

namespace snapdesk::testing_fakes {

// A main window that shows nothing and asks nothing.
struct NoStoreHost : ProjectStoreHost {
    void updatePaths(bool) override {}
    void setProjectLabelCaption(const std::string&) override {}
    int projectLabelWidth() override { return 0; }
    int mainWindowWidth() override { return 0; }
    void setProjectLabelLeft(int) override {}
    void showNoEmptyOverwrite() override {}
    void showNoEmptyProject() override {}
};

// Runs the walk or the load of the folder list at once, without a splash window.
struct DirectSplash : DirTreeSplashHost {
    void showSplash(DirectoryTree& tree) override {
        if (tree.buildMode() == kFullBuild) {
            tree.buildDirTreeFromScratch();
        } else {
            tree.buildDirTreeFromStored();
        }
    }
};

}  // namespace snapdesk::testing_fakes
