#pragma once

#include <functional>
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

    // The programs documents open with, by document path in upper case; others have none (31).
    std::map<std::string, std::string> associations;
    // Every launch as text, e.g. `ShellExecute open "C:\A.TXT" "" "" in ""`; the answer is
    // what onLaunch gives (success when unset), so a test can make windows appear.
    std::vector<std::string> launches;
    std::function<long(const std::string& launch)> onLaunch;

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
    std::string findExecutable(const std::string& document, const std::string&,
                               long& code) override {
        std::string upper;
        for (char c : document) {
            upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
        const auto it = associations.find(upper);
        code = it == associations.end() ? 31 : kLaunchOk;
        return it == associations.end() ? std::string() : it->second;
    }
    long shellExecute(WindowHandle, const ShellOpenRequest& r) override {
        return launch("ShellExecute " + r.verb + " \"" + r.file + "\" \"" + r.parameters + "\" \"" +
                      r.workingFolder + "\" in \"" + r.currentFolder + "\"");
    }
    long startProgram(const std::string& program, const std::string& arguments) override {
        return launch("Start \"" + program + "\" " + arguments);
    }

  private:
    long launch(const std::string& text) {
        launches.push_back(text);
        return onLaunch ? onLaunch(text) : kLaunchOk;
    }
};

}  // namespace snapdesk::sim
