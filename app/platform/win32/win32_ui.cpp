#include "platform/win32/win32_ui.h"

#include "platform/win32/win32_convert.h"

namespace snapdesk {

void Win32Ui::messageBox(const std::string& text, const std::string& title, MessageBoxStyle style) {
    const UINT icon = style == MessageBoxStyle::OkCritical ? MB_ICONERROR : 0;
    MessageBoxW(nullptr, win32::toWide(text).c_str(), win32::toWide(title).c_str(), MB_OK | icon);
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
