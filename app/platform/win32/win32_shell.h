#pragma once

#include "platform/shell.h"

namespace snapdesk {

// The shell through shell32.
class Win32Shell : public Shell {
  public:
    std::optional<std::string> specialFolderPath(int folder, WindowHandle owner) override;
    std::string browseForFolder(WindowHandle owner) override;
    std::string openFileDialog(WindowHandle owner, const FileDialogRequest& request) override;
    std::string findExecutable(const std::string& document, const std::string& defaultFolder,
                               long& code) override;
    long shellExecute(WindowHandle owner, const ShellOpenRequest& request) override;
    bool explorerWantsQuotedFolder() override;
    long startProgram(const std::string& program, const std::string& arguments) override;
};

}  // namespace snapdesk
