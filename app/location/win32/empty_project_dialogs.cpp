#include "location/win32/location_dialog_ids.h"
#include "location/win32/location_dialogs.h"
#include "projects/empty_project.h"
#include "ui/win32/modal_dialog.h"

namespace snapdesk {
namespace {

class NoEmptyProjectDialog final : public ModalDialog {
  public:
    explicit NoEmptyProjectDialog(bool tabHasRecords) : tabHasRecords_(tabHasRecords) {}
    void show(HWND owner) { run(owner, IDD_NOEMPTYPROJECT); }

  private:
    bool onInit() override {
        const EmptyProjectLines& lines = noEmptyProjectLines(tabHasRecords_);
        const int labels[] = {IDC_NOEMPTYPROJECT_LABEL1, IDC_NOEMPTYPROJECT_LABEL2,
                              IDC_NOEMPTYPROJECT_LABEL3, IDC_NOEMPTYPROJECT_LABEL4,
                              IDC_NOEMPTYPROJECT_LABEL5};
        for (std::size_t i = 0; i < lines.size(); ++i) {
            setText(labels[i], lines[i]);
        }
        return true;
    }
    void onCommand(int id, int notification) override {
        if (id == IDC_NOEMPTYPROJECT_OKBUTTON && notification == BN_CLICKED) {
            end();
        }
    }

    bool tabHasRecords_;
};

class NoEmptyOverwriteDialog final : public ModalDialog {
  public:
    EmptyOverwriteChoice show(HWND owner) {
        run(owner, IDD_NOEMPTYOVERWRITE);
        return choice_;
    }

  private:
    bool onInit() override {
        SetFocus(item(IDC_NOEMPTYOVERWRITE_CMDOPENNEW));
        return false;
    }
    void onCommand(int id, int notification) override {
        if (notification != BN_CLICKED) {
            return;
        }
        if (id == IDC_NOEMPTYOVERWRITE_CMDDELETE) {
            choice_ = EmptyOverwriteChoice::DeleteProject;
            end();
        } else if (id == IDC_NOEMPTYOVERWRITE_CMDOPENNEW) {
            choice_ = EmptyOverwriteChoice::OpenNewProject;
            end();
        }
    }

    EmptyOverwriteChoice choice_ = EmptyOverwriteChoice::Closed;
};

}  // namespace

void runNoEmptyProjectDialog(HWND owner, bool tabHasRecords) {
    NoEmptyProjectDialog(tabHasRecords).show(owner);
}

EmptyOverwriteChoice runNoEmptyOverwriteDialog(HWND owner) {
    return NoEmptyOverwriteDialog().show(owner);
}

}  // namespace snapdesk
