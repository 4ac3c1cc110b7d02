#include "location/continue_search.h"
#include "location/win32/location_dialog_ids.h"
#include "location/win32/location_dialogs.h"
#include "ui/win32/modal_dialog.h"

namespace snapdesk {
namespace {

class ContinueSearchDialog final : public ModalDialog, private ContinueSearchView {
  public:
    explicit ContinueSearchDialog(ContinueSearchActions& actions) : presenter_(actions, *this) {}
    bool show(HWND owner) {
        run(owner, IDD_CONTINUESEARCH);
        return presenter_.saveCancelled();
    }

  private:
    void onCommand(int id, int notification) override {
        if (notification != BN_CLICKED) {
            return;
        }
        switch (id) {
            case IDC_CONTINUESEARCH_CMDQUICKSEARCH:
                presenter_.quickSearch();
                break;
            case IDC_CONTINUESEARCH_CMDCOMPLETE:
                presenter_.fullSearch();
                break;
            case IDC_CONTINUESEARCH_CMDNOSEARCH:
                presenter_.noSearch();
                break;
            case IDC_CONTINUESEARCH_CMDCANCELSAVE:
                presenter_.cancelSave();
                break;
            default:
                break;
        }
    }

    void disableButtons() override {
        for (int id : {IDC_CONTINUESEARCH_CMDQUICKSEARCH, IDC_CONTINUESEARCH_CMDCOMPLETE,
                       IDC_CONTINUESEARCH_CMDNOSEARCH, IDC_CONTINUESEARCH_CMDCANCELSAVE}) {
            EnableWindow(item(id), FALSE);
        }
    }
    void setBusyCursor(bool busy) override {
        SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
    }
    void close() override { end(); }

    ContinueSearch presenter_;
};

}  // namespace

bool runContinueSearchDialog(HWND owner, ContinueSearchActions& actions) {
    return ContinueSearchDialog(actions).show(owner);
}

}  // namespace snapdesk
