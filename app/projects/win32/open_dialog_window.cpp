// "Open Project" on the dialog template IDD_OPENPROJECT: the view OpenDialog drives, the tool tip
// of the project list and the notifications of the two lists.

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "projects/win32/open_dialog_window.h"

#include <optional>
#include <string>
#include <vector>

#include "projects/win32/dialog_controls.h"
#include "projects/win32/open_dialog_ids.h"
#include "ui/win32/modal_dialog.h"

namespace snapdesk {

namespace {

class OpenDialogWindow final : public ModalDialog, private OpenDialogView {
  public:
    explicit OpenDialogWindow(OpenDialog& presenter) : presenter_(presenter) {}
    void show(HWND owner) { run(owner, IDD_OPENPROJECT); }

  private:
    // The view.
    void setProjectList(const std::vector<std::string>& names) override {
        fillListBox(item(IDC_lstProjects), names);
    }
    void removeProjectLine(int index) override {
        SendMessageW(item(IDC_lstProjects), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    }
    int selectedProject() override {
        const LRESULT index = SendMessageW(item(IDC_lstProjects), LB_GETCURSEL, 0, 0);
        return index == LB_ERR ? -1 : static_cast<int>(index);
    }
    void setMemberLines(const std::vector<std::string>& lines) override {
        fillListBox(item(IDC_lbxFileNames), lines, true);
    }
    void clearMemberSelection() override {
        SendMessageW(item(IDC_lbxFileNames), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
    void setSelectedProjectName(const std::string& name) override { setText(IDC_lblDisplay, name); }
    void setFilesLabel(const std::string& text) override { setText(IDC_lstFiles, text); }
    void close() override { end(); }

    // The dialog.
    bool onInit() override {
        toolTips_.emplace(window());
        toolTips_->add(IDC_lstProjects, open_dialog_text::kProjectsTip);
        presenter_.load(*this);
        return true;  // the focus goes to the project list
    }
    void onCommand(int id, int notification) override {
        if (id == IDC_lstProjects && notification == LBN_SELCHANGE) {
            presenter_.projectSelected(selectedProject());
        } else if (id == IDC_lstProjects && notification == LBN_DBLCLK) {
            presenter_.openClicked();
        } else if (id == IDC_lbxFileNames && notification == LBN_SELCHANGE) {
            presenter_.fileLineClicked();
        } else if (notification == BN_CLICKED && (id == IDC_cmdOpen || id == IDOK)) {
            presenter_.openClicked();
        } else if (notification == BN_CLICKED && id == IDC_cmdDelete) {
            presenter_.deleteClicked();
        }
    }
    void onClose() override { presenter_.cancelClicked(); }

    OpenDialog& presenter_;
    std::optional<DialogToolTips> toolTips_;
};

}  // namespace

void showOpenDialog(HWND owner, OpenDialog& presenter) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    OpenDialogWindow(presenter).show(owner);
}

}  // namespace snapdesk
