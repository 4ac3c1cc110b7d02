#pragma once

#include <optional>
#include <string>

#include "platform/handles.h"

namespace snapdesk {

// Folder numbers of the shell's special folders, as the shell numbers them.
namespace special_folders {
inline constexpr int kDesktop = 0;
inline constexpr int kRecent = 8;
inline constexpr int kApplicationData = 26;
inline constexpr int kLocalApplicationData = 28;
inline constexpr int kHistory = 34;
}  // namespace special_folders

// The file dialog for an existing file. The filter lists description and pattern pairs
// separated by "|", as "Text (*.txt)|*.txt|All Files (*.*)|*.*".
struct FileDialogRequest {
    std::string title;
    std::string filter;
    std::string initialFolder;  // "" for the dialog's own choice
    std::string fileName;       // preselected name, or ""
};

// A document or program opened through the shell, shown in a normal window.
struct ShellOpenRequest {
    std::string verb;  // "open" or "explore"
    std::string file;
    std::string parameters;     // "" for none
    std::string workingFolder;  // "" for none
    // The current folder while the shell starts it (restored after); "" leaves it alone.
    std::string currentFolder;
};

// The shell's answers to a launch: above 32 is success, 32 or less the shell's error code.
inline constexpr long kLaunchOk = 33;

// What the program needs from the shell.
class Shell {
  public:
    virtual ~Shell() = default;

    // The file-system path of a special folder, as the shell gives it (no trailing "\"
    // added); nothing when the shell does not know the folder.
    virtual std::optional<std::string> specialFolderPath(int folder, WindowHandle owner) = 0;
    // The shell's folder dialog, owned by `owner`, rooted at the desktop, file-system folders
    // only and without a title: the chosen folder's path, or "" when nothing was chosen.
    virtual std::string browseForFolder(WindowHandle owner) = 0;
    // The file dialog owned by `owner`, for a file that must exist and without the read-only
    // box: the chosen file's path, or "" when cancelled.
    virtual std::string openFileDialog(WindowHandle owner, const FileDialogRequest& request) = 0;

    // The program the shell opens `document` with, or "" with the error code (32 or less).
    virtual std::string findExecutable(const std::string& document,
                                       const std::string& defaultFolder, long& code) = 0;
    // ShellExecute over `owner`; its result code.
    virtual long shellExecute(WindowHandle owner, const ShellOpenRequest& request) = 0;
    // Whether Explorer must be given a folder as `/n "folder"`: Wine's Explorer takes the
    // usual `/n , folder` for its desktop.
    virtual bool explorerWantsQuotedFolder() { return false; }
    // Starts exactly `program` (never another file that a command line could name) with
    // `arguments`, minimised with focus; a code as for shellExecute.
    virtual long startProgram(const std::string& program, const std::string& arguments) = 0;
};

}  // namespace snapdesk
