// clang-format off
#include <windows.h>
// clang-format on

#include "projects/win32/recovery_dialog_window.h"

#include "projects/win32/recovery_dialog_ids.h"
#include "ui/win32/modal_dialog.h"

namespace snapdesk {

namespace {

class RecoveryDialogWindow final : public ModalDialog {
  public:
    explicit RecoveryDialogWindow(RecoveryOffer& offer) : offer_(offer) {}
    void show(HWND owner) { run(owner, IDD_RECOVERY); }

  private:
    bool onInit() override {
        setText(IDC_lblRecoveryMessage, offer_.message());
        setText(IDC_txtKeepName, offer_.suggestedName());
        // Shown before the main window has been used: it must not hide behind it.
        SetForegroundWindow(window());
        return true;
    }
    void onCommand(int id, int notification) override {
        if (notification != BN_CLICKED) {
            return;
        }
        bool done = false;
        switch (id) {
            case IDOK:
            case IDC_cmdReopen:
                done = offer_.reopenClicked();
                break;
            case IDC_cmdKeep:
                done = offer_.keepClicked(text(IDC_txtKeepName));
                break;
            case IDC_cmdDiscard:
                done = offer_.discardClicked();
                break;
            default:
                break;
        }
        if (done) {
            end();
        }
    }

    // Escape and the close box decide nothing: the kept Project needs one of the answers.
    void onClose() override {}

    RecoveryOffer& offer_;
};

}  // namespace

void Win32RecoveryOfferDialog::show(RecoveryOffer& offer) {
    RecoveryDialogWindow(offer).show(owner_);
}

}  // namespace snapdesk
