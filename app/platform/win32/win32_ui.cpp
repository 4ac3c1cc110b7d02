#include "platform/win32/win32_ui.h"

#include "base/system_function.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk {

namespace {

// Window events come through SetWinEventHook, which user32 of the oldest systems lacks: it is
// looked up at run time. Out of context, the callback runs on this thread while it takes
// messages.
using SetWinEventHookFn = HWINEVENTHOOK(WINAPI*)(DWORD, DWORD, HMODULE, WINEVENTPROC, DWORD, DWORD,
                                                 DWORD);
using UnhookWinEventFn = BOOL(WINAPI*)(HWINEVENTHOOK);

constexpr DWORD kObjectShow = 0x8002;        // EVENT_OBJECT_SHOW
constexpr DWORD kObjectNameChange = 0x800C;  // EVENT_OBJECT_NAMECHANGE

bool windowEventSeen = false;

void CALLBACK onWindowEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                            DWORD) {
    // The window itself, not its caret, cursor or a part of it.
    if (window != nullptr && object == OBJID_WINDOW && child == CHILDID_SELF) {
        windowEventSeen = true;
    }
}

template <typename F>
F user32Function(const char* name) {
    return win32::systemFunction<F>(L"user32.dll", name);
}

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

bool Win32Ui::watchWindowEvents(bool on) {
    static HWINEVENTHOOK hooks[2] = {};
    static const auto unhook = user32Function<UnhookWinEventFn>("UnhookWinEvent");
    for (HWINEVENTHOOK& hook : hooks) {
        if (hook != nullptr && unhook != nullptr) {
            unhook(hook);
        }
        hook = nullptr;
    }
    windowEventSeen = false;
    static const auto setHook = user32Function<SetWinEventHookFn>("SetWinEventHook");
    if (!on || setHook == nullptr) {
        return false;
    }
    const DWORD flags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    hooks[0] = setHook(kObjectShow, kObjectShow, nullptr, onWindowEvent, 0, 0, flags);
    hooks[1] = setHook(kObjectNameChange, kObjectNameChange, nullptr, onWindowEvent, 0, 0, flags);
    return hooks[0] != nullptr || hooks[1] != nullptr;
}

bool Win32Ui::takeWindowEvent() {
    const bool seen = windowEventSeen;
    windowEventSeen = false;
    return seen;
}

}  // namespace snapdesk
