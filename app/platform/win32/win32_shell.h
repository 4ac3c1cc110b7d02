#pragma once

#include "platform/shell.h"
#include "platform/ui.h"

namespace snapdesk {

// The shell through shell32.
class Win32Shell : public Shell {
  public:
    Win32Shell() = default;
    // With `ui`, a document or program is opened on a thread of its own while `ui` keeps
    // handling the window's messages: the shell may wait for a program to come up.
    explicit Win32Shell(Ui& ui) : ui_(&ui) {}

    std::optional<std::string> specialFolderPath(int folder, WindowHandle owner) override;
    std::string browseForFolder(WindowHandle owner) override;
    std::string openFileDialog(WindowHandle owner, const FileDialogRequest& request) override;
    std::string findExecutable(const std::string& document, const std::string& defaultFolder,
                               long& code) override;
    long shellExecute(WindowHandle owner, const ShellOpenRequest& request) override;
    bool explorerWantsQuotedFolder() override;
    long startProgram(const std::string& program, const std::string& arguments) override;

  private:
    Ui* ui_ = nullptr;
};

}  // namespace snapdesk
