// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "mainwindow/win32/hot_key_dialog.h"

#include "mainwindow/win32/hot_key_dialog_ids.h"
#include "ui/win32/modal_dialog.h"

namespace snapdesk {

namespace {

class HotKeyDialogWindow final : public ModalDialog {
  public:
    explicit HotKeyDialogWindow(HotKeySetting& setting) : setting_(setting) {}
    void show(HWND owner) { run(owner, IDD_HOTKEY); }

  private:
    bool onInit() override {
        // A key without Ctrl or Alt would be taken from typing in every program.
        SendMessageW(item(IDC_hotKey), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                     MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
        const HotKey& key = setting_.key();
        setControlKey(key.off() ? kDefaultHotKey : key);
        CheckDlgButton(window(), IDC_chkUseHotKey, key.off() ? BST_UNCHECKED : BST_CHECKED);
        enableKey(!key.off());
        setText(IDC_lblHotKeyStatus, hotKeyStatus(setting_.use()));
        return true;
    }

    void onCommand(int id, int notification) override {
        if (notification != BN_CLICKED) {
            return;
        }
        if (id == IDC_chkUseHotKey) {
            enableKey(useChecked());
        } else if (id == IDOK) {
            const HotKey chosen = useChecked() ? controlKey() : HotKey{};
            const HotKeyUse use = setting_.choose(chosen);
            if (use == HotKeyUse::Active || use == HotKeyUse::Off) {
                end();
            } else {
                setText(IDC_lblHotKeyStatus, hotKeyStatus(use));
            }
        }
    }

    bool useChecked() const {
        return IsDlgButtonChecked(window(), IDC_chkUseHotKey) == BST_CHECKED;
    }
    void enableKey(bool on) {
        EnableWindow(item(IDC_hotKey), on ? TRUE : FALSE);
        EnableWindow(item(IDC_lblHotKey), on ? TRUE : FALSE);
    }
    HotKey controlKey() const {
        return hotKeyFromControl(
            static_cast<std::uint16_t>(SendMessageW(item(IDC_hotKey), HKM_GETHOTKEY, 0, 0)));
    }
    void setControlKey(const HotKey& key) {
        SendMessageW(item(IDC_hotKey), HKM_SETHOTKEY, controlValueOf(key), 0);
    }

    HotKeySetting& setting_;
};

}  // namespace

void showHotKeyDialog(HWND owner, HotKeySetting& setting) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&controls);
    HotKeyDialogWindow(setting).show(owner);
}

}  // namespace snapdesk
