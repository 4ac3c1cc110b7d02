#include "location/win32/location_dialog_ids.h"
#include "location/win32/location_dialogs.h"
#include "platform/win32/win32_convert.h"
#include "ui/win32/modal_dialog.h"

namespace snapdesk {
namespace {

class NoNetscape6Dialog final : public ModalDialog {
  public:
    explicit NoNetscape6Dialog(NoNetscape6& presenter) : presenter_(presenter) {}
    void show(HWND owner) { run(owner, IDD_NONETSCAPE6); }

  private:
    bool onInit() override {
        SetWindowTextW(window(), win32::toWide(presenter_.windowCaption()).c_str());
        setText(IDC_NONETSCAPE6_LABEL2, presenter_.captionLine());
        setText(IDC_NONETSCAPE6_TEXT1, "");
        // The address box first, so that the user can type or paste at once.
        SetFocus(item(IDC_NONETSCAPE6_TEXT1));
        return false;
    }
    void onCommand(int id, int notification) override {
        if (notification != BN_CLICKED) {
            return;
        }
        switch (id) {
            case IDC_NONETSCAPE6_OKBUTTON:
                if (presenter_.saveUrl(text(IDC_NONETSCAPE6_TEXT1))) {
                    onClose();
                }
                break;
            case IDC_NONETSCAPE6_CMDSAVEBROWSER:
                presenter_.saveBrowser();
                onClose();
                break;
            case IDC_NONETSCAPE6_CMDCANCEL:
                presenter_.doNotSave();
                onClose();
                break;
            default:
                break;
        }
    }
    void onClose() override {
        if (presenter_.queryClose()) {
            end();
        }
    }

    NoNetscape6& presenter_;
};

}  // namespace

void runNoNetscape6Dialog(HWND owner, NoNetscape6& presenter) {
    NoNetscape6Dialog(presenter).show(owner);
}

}  // namespace snapdesk
