#include "ui/win32/modal_dialog.h"

#include "platform/win32/win32_convert.h"

namespace snapdesk {

void placeLikeSaveDialogs(HWND dialog) {
    RECT frame{};
    GetWindowRect(dialog, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 3;
    SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ModalDialog::run(HWND owner, int templateId) {
    failure_ = nullptr;
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, procedure,
                    reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    if (failure_) {
        std::rethrow_exception(std::exchange(failure_, nullptr));
    }
}

void ModalDialog::setText(int id, const std::string& text) {
    SetDlgItemTextW(window_, id, win32::toWide(text).c_str());
}

std::string ModalDialog::text(int id) const {
    HWND control = item(id);
    std::wstring buffer(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    buffer.resize(static_cast<std::size_t>(
        GetWindowTextW(control, buffer.data(), static_cast<int>(buffer.size()))));
    return win32::toUtf8(buffer);
}

INT_PTR CALLBACK ModalDialog::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<ModalDialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        dialog->window_ = window;
    }
    auto* dialog = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr) {
        return FALSE;
    }
    // A failure may not unwind through the dialog manager: the dialog ends and the caller
    // gets it.
    try {
        return dialog->handle(message, wParam);
    } catch (...) {
        dialog->failure_ = std::current_exception();
        EndDialog(window, 0);
        return TRUE;
    }
}

INT_PTR ModalDialog::handle(UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const bool defaultFocus = onInit();
            placeLikeSaveDialogs(window_);
            return defaultFocus ? TRUE : FALSE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                onClose();
            } else {
                onCommand(LOWORD(wParam), HIWORD(wParam));
            }
            return TRUE;
        case WM_CLOSE:
            onClose();
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace snapdesk
