#pragma once

// "Save Project As" (frmSave): the name of the project to save, the members it will hold and
// their locations, which the user may correct before the project is written.

#include <functional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/handles.h"
#include "platform/shell.h"
#include "platform/ui.h"
#include "projects/project_store.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// The dialog's controls as the presenter sets and reads them. List positions are 0-based;
// -1 is no selection.
class SaveDialogView {
  public:
    virtual ~SaveDialogView() = default;

    // The owner of the file and folder dialogs.
    virtual WindowHandle windowHandle() = 0;

    // lstIniSection
    virtual void setProjectList(const std::vector<std::string>& names) = 0;
    // txtSavePro
    virtual void setProjectName(const std::string& text) = 0;
    virtual std::string projectName() = 0;
    // lbxFiles
    virtual void setFileLines(const std::vector<std::string>& lines) = 0;
    virtual void selectFileLine(int index) = 0;
    virtual int selectedFileLine() = 0;
    // txtLongPath
    virtual void setLongPath(const std::string& text) = 0;
    virtual std::string longPath() = 0;
    virtual void enableLongPath(bool enabled) = 0;
    // cmdBrowse
    virtual void showBrowse(bool visible) = 0;
    // cmdEdit
    virtual void setEditCaption(const std::string& caption) = 0;
    virtual void setEditToolTip(const std::string& tip) = 0;

    virtual void close() = 0;
};

// The texts the dialog changes as it runs (the others are in its resource template).
namespace save_dialog_text {
inline constexpr const char* kEditPath = "Edit Path";
inline constexpr const char* kStoreEdit = "Store Edit";
inline constexpr const char* kEnableEditingTip = "Click to Enable Editing";
inline constexpr const char* kStoreChangesTip = "Click to store changes";
inline constexpr const char* kSaveTip = "Click to Save Project";
inline constexpr const char* kCancelTip = "Click to Cancel";
}  // namespace save_dialog_text

class SaveDialog {
  public:
    // `updatePaths`: the window list's location pass (true: the save-time form).
    // `saveCancelled`: set by the continue-search dialog; a save does not close the dialog then.
    SaveDialog(CoffeeShopList& list, ProjectStore& store, Ui& ui, Shell& shell, FileSystem& files,
               std::function<void(bool)> updatePaths, const bool& saveCancelled);

    // Form_Load: fills the controls of `view`, which stays attached until the dialog closes.
    void load(SaveDialogView& view);

    // Events.
    void projectListClicked(int index);  // lstIniSection
    void fileLineSelected();             // lbxFiles
    void editClicked();                  // cmdEdit, and Enter in txtLongPath
    void browseClicked();                // cmdBrowse
    void saveClicked();                  // cmdSaveProject, and Enter in txtSavePro
    void cancelClicked();                // cmdCancel, Escape, the close box

    // Whether the last close followed a written project.
    bool saved() const { return saved_; }
    bool editing() const { return editing_; }

  private:
    // One line of lbxFiles.
    struct Line {
        std::string filePath;
        std::string exePath;  // upper case
        long record = 0;      // position in the window list
    };

    void setEditing(bool editing);
    // Stores the edited location of the selected line; false (after the message) when a
    // document's location names nothing that exists.
    bool storeEdit();
    Line* selectedLine();

    CoffeeShopList& list_;
    ProjectStore& store_;
    Ui& ui_;
    Shell& shell_;
    FileSystem& files_;
    std::function<void(bool)> updatePaths_;
    const bool& saveCancelled_;
    SaveDialogView* view_ = nullptr;
    std::vector<std::string> projectNames_;  // lstIniSection
    std::vector<Line> lines_;
    bool editing_ = false;
    bool saved_ = false;
};

}  // namespace snapdesk
