#include "platform/win32/win32_ui.h"

#include "platform/win32/win32_convert.h"

namespace snapdesk {

namespace {

// The window in front of this thread (a dialog, or the main window), so that a message box is
// modal to it.
HWND ownerWindow() {
    return GetActiveWindow();
}

}  // namespace

void Win32Ui::messageBox(const std::string& text, const std::string& title, MessageBoxStyle style) {
    const UINT icon = style == MessageBoxStyle::OkCritical      ? MB_ICONERROR
                      : style == MessageBoxStyle::OkExclamation ? MB_ICONEXCLAMATION
                                                                : 0;
    MessageBoxW(ownerWindow(), win32::toWide(text).c_str(), win32::toWide(title).c_str(),
                MB_OK | icon);
}

Answer Win32Ui::ask(const std::string& text, const std::string& title, QuestionStyle style,
                    int defaultButton) {
    UINT type = 0;
    switch (style) {
        case QuestionStyle::YesNoCritical:
            type = MB_YESNO | MB_ICONERROR;
            break;
        case QuestionStyle::YesNoExclamation:
            type = MB_YESNO | MB_ICONEXCLAMATION;
            break;
        case QuestionStyle::YesNoCancelQuestion:
            type = MB_YESNOCANCEL | MB_ICONQUESTION;
            break;
        case QuestionStyle::YesNoCancelExclamation:
            type = MB_YESNOCANCEL | MB_ICONEXCLAMATION;
            break;
    }
    type |= defaultButton == 2 ? MB_DEFBUTTON2 : defaultButton == 3 ? MB_DEFBUTTON3 : 0;
    switch (MessageBoxW(ownerWindow(), win32::toWide(text).c_str(), win32::toWide(title).c_str(),
                        type)) {
        case IDYES:
            return Answer::Yes;
        case IDNO:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

void Win32Ui::setBusyCursor(bool busy) {
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void Win32Ui::doEvents() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Leave the quit request to the main message loop, which ends the program.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void Win32Ui::waitForMessages(unsigned maxMs) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, maxMs, QS_ALLINPUT);
}

}  // namespace snapdesk
