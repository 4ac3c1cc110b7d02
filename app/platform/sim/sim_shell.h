#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace snapdesk::sim {

// Special folders a test sets; unknown ones fail as the shell does.
class SimShell : public Shell {
  public:
    std::map<int, std::string> folders;
    int queries = 0;
    WindowHandle lastOwner = 0;
    // What the folder dialog answers, and how often it was shown.
    std::string chosenFolder;
    int folderDialogs = 0;
    // What the file dialog answers, and the requests it was shown with.
    std::string chosenFile;
    std::vector<FileDialogRequest> fileDialogs;

    std::optional<std::string> specialFolderPath(int folder, WindowHandle owner) override {
        ++queries;
        lastOwner = owner;
        const auto it = folders.find(folder);
        if (it == folders.end()) {
            return std::nullopt;
        }
        return it->second;
    }
    std::string browseForFolder(WindowHandle owner) override {
        ++folderDialogs;
        lastOwner = owner;
        return chosenFolder;
    }
    std::string openFileDialog(WindowHandle owner, const FileDialogRequest& request) override {
        lastOwner = owner;
        fileDialogs.push_back(request);
        return chosenFile;
    }
};

}  // namespace snapdesk::sim
