#pragma once

#include <optional>
#include <string>

#include "platform/handles.h"

namespace snapdesk {

// Folder numbers of the shell's special folders, as the shell numbers them.
namespace special_folders {
inline constexpr int kRecent = 8;
}

// What the program needs from the shell.
class Shell {
  public:
    virtual ~Shell() = default;

    // The file-system path of a special folder, as the shell gives it (no trailing "\"
    // added); nothing when the shell does not know the folder.
    virtual std::optional<std::string> specialFolderPath(int folder, WindowHandle owner) = 0;
};

}  // namespace snapdesk
