#pragma once

// A simulated drive C: with the program's data folder in C:\Snapdesk\datafiles and the
// Windows folder C:\WINDOWS, and a splash that runs the walk or the load without waits.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "location/dir_tree.h"
#include "location/dir_tree_file.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_ui.h"

namespace snapdesk::testing_dir_tree {

inline constexpr std::uint32_t kHidden = 0x2;
inline constexpr std::uint32_t kSystem = 0x4;
inline constexpr std::uint32_t kFolder = 0x10;
inline constexpr const char* kDataFolder = "C:\\Snapdesk\\datafiles";

struct DirectSplash : DirTreeSplashHost {
    std::vector<std::string> modes;
    void showSplash(DirectoryTree& tree) override {
        modes.push_back(tree.buildMode());
        if (tree.buildMode() == kFullBuild) {
            tree.buildDirTreeFromScratch();
        } else {
            tree.buildDirTreeFromStored();
        }
    }
};

class DirTreeTest : public ::testing::Test {
  protected:
    DirTreeTest() {
        files.addFolder(kDataFolder);
        files.addFolder("C:\\WINDOWS");
    }
    std::unique_ptr<DirectoryTree> makeTree() {
        return std::make_unique<DirectoryTree>(files, shell, ui, kDataFolder, "1.2.3");
    }
    // A tree built or loaded at start-up.
    std::unique_ptr<DirectoryTree> startedTree() {
        auto tree = makeTree();
        tree->buildDirTree(splash);
        return tree;
    }
    static std::vector<std::string> listOf(const DirectoryTree& tree) {
        return {tree.dirList().begin() + 1, tree.dirList().end()};
    }
    std::string level(int n) {
        return files.readFile(std::string(kDataFolder) + "\\dirTree" + std::to_string(n) + ".txt")
            .value_or("<missing>");
    }
    void writeLevel(int n, const std::string& content) {
        files.writeFile(std::string(kDataFolder) + "\\dirTree" + std::to_string(n) + ".txt",
                        content);
    }
    sim::SimFileSystem files;
    sim::SimShell shell;
    sim::SimUi ui;
    DirectSplash splash;
};

}  // namespace snapdesk::testing_dir_tree
