// "Save Project As" on the dialog template IDD_SAVE: the view SaveDialog drives, the tool tips
// of the buttons and the keys of the two text boxes.

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "projects/win32/save_dialog_window.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_convert.h"
#include "projects/win32/save_dialog_ids.h"

namespace snapdesk {

namespace {

constexpr UINT_PTR kEnterSubclassId = 1;

std::string windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return win32::toUtf8(text);
}

class Win32SaveDialogView final : public SaveDialogView {
  public:
    explicit Win32SaveDialogView(HWND dialog) : dialog_(dialog) { makeToolTips(); }

    WindowHandle windowHandle() override { return win32::toHandle(dialog_); }

    void setProjectList(const std::vector<std::string>& names) override {
        fillList(IDC_lstIniSection, names);
    }
    void setProjectName(const std::string& text) override { setText(IDC_txtSavePro, text); }
    std::string projectName() override { return windowText(item(IDC_txtSavePro)); }

    void setFileLines(const std::vector<std::string>& lines) override {
        fillList(IDC_lbxFiles, lines);
        // A line longer than the list scrolls sideways.
        HWND list = item(IDC_lbxFiles);
        LONG widest = 0;
        {
            const win32::unique_window_dc dc = win32::get_dc(list);
            const auto font = win32::select_object(
                dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
            for (const auto& line : lines) {
                const std::wstring wide = win32::toWide(line);
                SIZE size{};
                GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
                widest = std::max(widest, size.cx);
            }
        }
        SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 8), 0);
    }
    void selectFileLine(int index) override {
        SendMessageW(item(IDC_lbxFiles), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    int selectedFileLine() override {
        const LRESULT index = SendMessageW(item(IDC_lbxFiles), LB_GETCURSEL, 0, 0);
        return index == LB_ERR ? -1 : static_cast<int>(index);
    }

    void setLongPath(const std::string& text) override { setText(IDC_txtLongPath, text); }
    std::string longPath() override { return windowText(item(IDC_txtLongPath)); }
    void enableLongPath(bool enabled) override {
        HWND box = item(IDC_txtLongPath);
        // A disabled box keeps no focus: hand it to the button that toggles it.
        if (!enabled && GetFocus() == box) {
            SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDC_cmdEdit)), TRUE);
        }
        EnableWindow(box, enabled);
    }
    void showBrowse(bool visible) override {
        HWND button = item(IDC_cmdBrowse);
        if (!visible && GetFocus() == button) {
            SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDC_cmdEdit)), TRUE);
        }
        ShowWindow(button, visible ? SW_SHOW : SW_HIDE);
    }
    void setEditCaption(const std::string& caption) override { setText(IDC_cmdEdit, caption); }
    void setEditToolTip(const std::string& tip) override { setToolTip(IDC_cmdEdit, tip); }

    void close() override { EndDialog(dialog_, IDOK); }

  private:
    HWND item(int id) const { return GetDlgItem(dialog_, id); }
    void setText(int id, const std::string& text) {
        SetWindowTextW(item(id), win32::toWide(text).c_str());
    }
    void fillList(int id, const std::vector<std::string>& lines) {
        HWND list = item(id);
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        for (const auto& line : lines) {
            const std::wstring wide = win32::toWide(line);
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        }
    }
    TOOLINFOW toolOf(int id) const {
        TOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dialog_;
        tool.uId = reinterpret_cast<UINT_PTR>(item(id));
        return tool;
    }
    void makeToolTips() {
        // Owned by the dialog, so it goes with it.
        toolTips_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                    dialog_, nullptr, GetModuleHandleW(nullptr), nullptr);
        for (const auto& [id, tip] : {std::pair{IDC_cmdEdit, save_dialog_text::kEnableEditingTip},
                                      {IDC_cmdSaveProject, save_dialog_text::kSaveTip},
                                      {IDCANCEL, save_dialog_text::kCancelTip}}) {
            std::wstring wide = win32::toWide(tip);
            TOOLINFOW tool = toolOf(id);
            tool.lpszText = wide.data();
            SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    void setToolTip(int id, const std::string& tip) {
        std::wstring wide = win32::toWide(tip);
        TOOLINFOW tool = toolOf(id);
        tool.lpszText = wide.data();
        SendMessageW(toolTips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }

    HWND dialog_;
    HWND toolTips_ = nullptr;
};

struct DialogState {
    SaveDialog& presenter;
    // Made when the dialog's window exists.
    std::optional<Win32SaveDialogView> view;
};

// Enter in a text box clicks the button whose id the subclass carries, where the dialog would
// otherwise click its default button.
LRESULT CALLBACK enterProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                           UINT_PTR subclassId, DWORD_PTR buttonId) {
    switch (message) {
        case WM_GETDLGCODE: {
            const auto* pending = reinterpret_cast<const MSG*>(lParam);
            if (pending != nullptr && pending->message == WM_KEYDOWN &&
                pending->wParam == VK_RETURN) {
                return DefSubclassProc(box, message, wParam, lParam) | DLGC_WANTMESSAGE;
            }
            break;
        }
        case WM_KEYDOWN:
            if (wParam == VK_RETURN) {
                HWND dialog = GetParent(box);
                const int id = static_cast<int>(buttonId);
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == L'\r') {
                return 0;  // no beep
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(box, enterProc, subclassId);
            break;
        default:
            break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

// Left centred, top at a third of the height left free.
void placeOnScreen(HWND dialog) {
    RECT frame{};
    GetWindowRect(dialog, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 3, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK saveDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            state = reinterpret_cast<DialogState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetWindowSubclass(GetDlgItem(dialog, IDC_txtSavePro), enterProc, kEnterSubclassId,
                              IDC_cmdSaveProject);
            SetWindowSubclass(GetDlgItem(dialog, IDC_txtLongPath), enterProc, kEnterSubclassId,
                              IDC_cmdEdit);
            placeOnScreen(dialog);
            state->view.emplace(dialog);
            state->presenter.load(*state->view);
            SetFocus(GetDlgItem(dialog, IDC_txtSavePro));
            return FALSE;  // the focus is set
        }
        case WM_COMMAND: {
            if (state == nullptr) {
                break;
            }
            SaveDialog& presenter = state->presenter;
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (code == LBN_SELCHANGE && id == IDC_lstIniSection) {
                presenter.projectListClicked(
                    static_cast<int>(SendMessageW(GetDlgItem(dialog, id), LB_GETCURSEL, 0, 0)));
                return TRUE;
            }
            if (code == LBN_SELCHANGE && id == IDC_lbxFiles) {
                presenter.fileLineSelected();
                return TRUE;
            }
            if (code != BN_CLICKED) {
                break;
            }
            switch (id) {
                case IDC_cmdEdit:
                    presenter.editClicked();
                    return TRUE;
                case IDC_cmdBrowse:
                    presenter.browseClicked();
                    return TRUE;
                case IDC_cmdSaveProject:
                    presenter.saveClicked();
                    return TRUE;
                case IDCANCEL:
                    presenter.cancelClicked();
                    return TRUE;
                default:
                    break;
            }
            break;
        }
        default:
            break;
    }
    return FALSE;
}

}  // namespace

void showSaveDialog(HWND owner, SaveDialog& presenter) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    DialogState state{presenter, std::nullopt};
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SAVE), owner, saveDialogProc,
                    reinterpret_cast<LPARAM>(&state));
}

}  // namespace snapdesk
