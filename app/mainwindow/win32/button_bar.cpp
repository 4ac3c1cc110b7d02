// The toolbar: a common-controls toolbar across the top. Images and the drop-down lists of
// its buttons come with the command surface; here it has its buttons, captions and tips.

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "mainwindow/win32/button_bar.h"

#include <array>

#include "mainwindow/menu_ids.h"

namespace snapdesk {

namespace {

struct ButtonText {
    int command;
    const wchar_t* caption;
    const wchar_t* toolTip;
};

constexpr std::array<ButtonText, 7> kButtons{{
    {ID_mnuNewProject, L"New Project", L"Open a new empty project."},
    {ID_mnuOpen, L"Open Project", L"Open or Delete a saved Project"},
    {ID_mnuSaveProject, L"Save Project", L"Save the current Project"},
    {kButtonUpdateImages, L"Update Image", L"Update an image display."},
    {kButtonAddToProject, L"To Project", L"Move a file to the Project tab."},
    {kButtonMoveFromProject, L"From Project", L"Move a file out of the Project tab."},
    {kButtonRefreshProject, L"Refresh Project", L"Refresh the current project."},
}};

constexpr int kImageSize = 16;

}  // namespace

ButtonBar::ButtonBar(HWND parent) {
    toolbar_ = CreateWindowExW(
        0, TOOLBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0,
        0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (toolbar_ == nullptr) {
        return;
    }
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(kImageSize, kImageSize));
    // Odd positions are buttons, even ones separators.
    std::array<TBBUTTON, kButtons.size() * 2 - 1> buttons{};
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        TBBUTTON& b = buttons[i * 2];
        b.iBitmap = I_IMAGENONE;
        b.idCommand = kButtons[i].command;
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = BTNS_BUTTON;
        b.iString = reinterpret_cast<INT_PTR>(kButtons[i].caption);
        if (i + 1 < kButtons.size()) {
            buttons[i * 2 + 1].fsStyle = BTNS_SEP;
        }
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(),
                 reinterpret_cast<LPARAM>(buttons.data()));
    autoSize();
}

void ButtonBar::setTextLabels(bool on) {
    for (const ButtonText& button : kButtons) {
        TBBUTTONINFOW info{};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_TEXT;
        info.pszText = const_cast<wchar_t*>(on ? button.caption : L"");
        SendMessageW(toolbar_, TB_SETBUTTONINFOW, button.command, reinterpret_cast<LPARAM>(&info));
    }
    SendMessageW(toolbar_, TB_SETMAXTEXTROWS, on ? 1 : 0, 0);
    // The buttons shrink to their images when the captions go.
    SendMessageW(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(0, 0));
    autoSize();
}

void ButtonBar::autoSize() {
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
}

int ButtonBar::heightPixels() const {
    RECT r{};
    if (toolbar_ == nullptr || !GetWindowRect(toolbar_, &r)) {
        return 0;
    }
    return r.bottom - r.top;
}

const wchar_t* ButtonBar::toolTip(int commandId) {
    for (const ButtonText& button : kButtons) {
        if (button.command == commandId) {
            return button.toolTip;
        }
    }
    return nullptr;
}

}  // namespace snapdesk
