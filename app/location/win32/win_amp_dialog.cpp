#include "location/win32/location_dialog_ids.h"
#include "location/win32/location_dialogs.h"
#include "platform/win32/win32_convert.h"
#include "ui/win32/modal_dialog.h"

namespace snapdesk {
namespace {

class WinAmpDialog final : public ModalDialog {
  public:
    explicit WinAmpDialog(WinAmp& presenter) : presenter_(presenter) {}
    void show(HWND owner) { run(owner, IDD_WINAMP); }

  private:
    bool onInit() override {
        presenter_.loadRecentList(win32::toHandle(window()));
        HWND list = item(IDC_WINAMP_COMBO1);
        for (const RecentSong& line : presenter_.recentList()) {
            SendMessageW(list, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(win32::toWide(line.shown).c_str()));
        }
        SendMessageW(list, CB_SETCURSEL, 0, 0);
        setText(IDC_WINAMP_TXTLONGPATH, presenter_.initialPath());
        return true;
    }
    void onCommand(int id, int notification) override {
        if (id == IDC_WINAMP_COMBO1 && notification == CBN_SELCHANGE) {
            const LRESULT line = SendMessageW(item(IDC_WINAMP_COMBO1), CB_GETCURSEL, 0, 0);
            if (line != CB_ERR) {
                setText(IDC_WINAMP_TXTLONGPATH,
                        presenter_.pathOfLine(static_cast<std::size_t>(line)));
            }
            return;
        }
        if (notification != BN_CLICKED) {
            return;
        }
        if (id == IDC_WINAMP_CMDBROWSE) {
            setText(IDC_WINAMP_TXTLONGPATH, presenter_.browse(win32::toHandle(window())));
        } else if (id == IDC_WINAMP_OKBUTTON && presenter_.accept(text(IDC_WINAMP_TXTLONGPATH))) {
            end();
        }
    }

    WinAmp& presenter_;
};

}  // namespace

void runWinAmpDialog(HWND owner, WinAmp& presenter) {
    WinAmpDialog(presenter).show(owner);
}

}  // namespace snapdesk
