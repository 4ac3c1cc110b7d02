#pragma once

// "Cannot Find Path Information": what the user answers for a Project member whose location
// stays unknown after every search.

#include <functional>
#include <string>

#include "platform/shell.h"

namespace snapdesk {

// The file dialog's filter for a member name: its own extension first when it has a short one.
std::string noPathFileFilter(const std::string& noPathName);

class NoPathInfo {
  public:
    // `browseForFolder`: the shell's folder dialog over the main window, for Explorer members.
    NoPathInfo(std::string noPathName, std::string noPathExe, Shell& shell,
               std::function<std::string()> browseForFolder);

    // The name shown under "Cannot find the path to:".
    std::string fileNameLabel() const;
    // The path chosen: the program itself, a file, a folder, or "" to leave the member out.
    const std::string& answer() const { return answer_; }

    // OK (also Enter): the program itself becomes the member.
    void ok() { answer_ = noPathExe_; }
    // "Browse for path...": a folder for an Explorer member, else an existing file; "" when
    // the user cancels.
    void browse(WindowHandle dialog);
    // "Do not include in Project", and the close box.
    void doNotInclude() { answer_.clear(); }

  private:
    std::string noPathName_;
    std::string noPathExe_;
    Shell& shell_;
    std::function<std::string()> browseForFolder_;
    std::string answer_;
};

}  // namespace snapdesk
