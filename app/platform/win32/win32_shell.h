#pragma once

#include "platform/shell.h"

namespace snapdesk {

// The shell through shell32.
class Win32Shell : public Shell {
  public:
    std::optional<std::string> specialFolderPath(int folder, WindowHandle owner) override;
    std::string browseForFolder(WindowHandle owner) override;
    std::string openFileDialog(WindowHandle owner, const FileDialogRequest& request) override;
};

}  // namespace snapdesk
