#include "location/win32/location_dialog_ids.h"
#include "location/win32/location_dialogs.h"
#include "platform/win32/win32_convert.h"
#include "ui/win32/modal_dialog.h"

namespace snapdesk {
namespace {

class NoPathInfoDialog final : public ModalDialog {
  public:
    explicit NoPathInfoDialog(NoPathInfo& presenter) : presenter_(presenter) {}
    void show(HWND owner) { run(owner, IDD_NOPATHINFO); }

  private:
    bool onInit() override {
        setText(IDC_NOPATHINFO_LBLFILENAME, presenter_.fileNameLabel());
        return true;
    }
    void onCommand(int id, int notification) override {
        if (notification != BN_CLICKED) {
            return;
        }
        switch (id) {
            case IDC_NOPATHINFO_OKBUTTON:
                presenter_.ok();
                end();
                break;
            case IDC_NOPATHINFO_CMDBROWSE:
                presenter_.browse(win32::toHandle(window()));
                end();
                break;
            case IDC_NOPATHINFO_CMDCANCEL:
                presenter_.doNotInclude();
                end();
                break;
            default:
                break;
        }
    }
    void onClose() override {
        presenter_.doNotInclude();
        end();
    }

    NoPathInfo& presenter_;
};

}  // namespace

void runNoPathInfoDialog(HWND owner, NoPathInfo& presenter) {
    NoPathInfoDialog(presenter).show(owner);
}

}  // namespace snapdesk
