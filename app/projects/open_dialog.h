#pragma once

// "Open Project" (frmOpenProject): the saved projects, the members of the one selected, and the
// answer which project to open. Projects may be deleted here too.

#include <optional>
#include <string>
#include <vector>

#include "platform/ui.h"
#include "projects/project_store.h"

namespace snapdesk {

// The dialog's controls as the presenter sets and reads them. List positions are 0-based;
// -1 is no selection.
class OpenDialogView {
  public:
    virtual ~OpenDialogView() = default;

    // lstProjects
    virtual void setProjectList(const std::vector<std::string>& names) = 0;
    virtual void removeProjectLine(int index) = 0;
    virtual int selectedProject() = 0;
    // lbxFileNames
    virtual void setMemberLines(const std::vector<std::string>& lines) = 0;
    virtual void clearMemberSelection() = 0;
    // lblDisplay, beside "Selected Project :"
    virtual void setSelectedProjectName(const std::string& name) = 0;
    // lstFiles
    virtual void setFilesLabel(const std::string& text) = 0;

    virtual void close() = 0;
};

// The texts the dialog sets as it runs (the others are in its resource template).
namespace open_dialog_text {
inline constexpr const char* kProjectsTip = "Select to View Files in this Project";
}  // namespace open_dialog_text

// The lines of lbxFileNames for the members of `project` as readProject gives them (executables
// upper case): a member's short name, a WinAmp member as "WinAmp" or "WinAmp - " and its song;
// a project without members gives one line that says so.
std::vector<std::string> projectMemberLines(const std::string& project,
                                            const std::vector<std::string>& names,
                                            const std::vector<std::string>& paths,
                                            const std::vector<std::string>& exes);

class OpenDialog {
  public:
    OpenDialog(ProjectStore& store, Ui& ui);

    // Form_Load: fills the controls of `view`, which stays attached until the dialog closes.
    void load(OpenDialogView& view);

    // Events.
    void projectSelected(int index);  // lstProjects
    void fileLineClicked();           // lbxFileNames
    void openClicked();               // cmdOpen, a double click or Enter in lstProjects
    void cancelClicked();             // cmdCancel, Escape, the close box
    void deleteClicked();             // cmdDelete

    // The project to open (openConfirmed and projectToOpen); nothing when cancelled.
    const std::optional<std::string>& projectToOpen() const { return projectToOpen_; }

  private:
    // The name on line `index` of lstProjects; nothing when it holds no such line.
    std::optional<std::string> projectAt(int index) const;
    void close();

    ProjectStore& store_;
    Ui& ui_;
    OpenDialogView* view_ = nullptr;
    std::vector<std::string> projectNames_;  // lstProjects
    std::optional<std::string> projectToOpen_;
};

}  // namespace snapdesk
