// The help window: the text of SNAPDESK.HLP in a read-only edit that fills a sizable dialog.

// clang-format off
#include <windows.h>
// clang-format on

#include "mainwindow/win32/help_window.h"

#include <optional>

#include "base/unique_handle.h"
#include "base/window_dpi.h"
#include "mainwindow/help_text.h"
#include "mainwindow/menu_ids.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_file_system.h"

namespace snapdesk {

namespace {

struct HelpText {
    std::wstring text;
    win32::unique_hfont font;
};

// The edit control breaks lines only at CR LF.
std::wstring withWindowsLineEnds(const std::string& content) {
    std::string out;
    out.reserve(content.size() + content.size() / 16);
    for (std::size_t i = 0; i < content.size(); ++i) {
        if (content[i] == '\n' && (i == 0 || content[i - 1] != '\r')) {
            out += '\r';
        }
        out += content[i];
    }
    return win32::toWide(out);
}

std::optional<std::string> readHelpFile(const std::string& file) {
    try {
        return Win32FileSystem().readFile(file);
    } catch (...) {
        return std::nullopt;  // reported as a file that cannot be read
    }
}

void fitText(HWND dialog) {
    RECT client{};
    GetClientRect(dialog, &client);
    MoveWindow(GetDlgItem(dialog, IDC_HELP_TEXT), 0, 0, client.right, client.bottom, TRUE);
}

INT_PTR CALLBACK helpProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* help = reinterpret_cast<HelpText*>(lParam);
            const HWND text = GetDlgItem(dialog, IDC_HELP_TEXT);
            // The help lays out its lists in columns.
            help->font.reset(CreateFontW(-MulDiv(13, win32::windowDpi(dialog), 96), 0, 0, 0,
                                         FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         FIXED_PITCH | FF_MODERN, L"Courier New"));
            SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(help->font.get()), FALSE);
            SetWindowTextW(text, help->text.c_str());
            fitText(dialog);
            // At the contents: caret at the start, nothing selected.
            SetFocus(text);
            SendMessageW(text, EM_SETSEL, 0, 0);
            SendMessageW(text, EM_SCROLLCARET, 0, 0);
            return FALSE;
        }
        case WM_SIZE:
            fitText(dialog);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

void showHelpWindow(HWND owner, const std::string& file) {
    const std::optional<std::string> content = readHelpFile(file);
    if (!content) {
        const std::wstring message =
            L"The help file " + win32::toWide(file) + L" could not be found or read.";
        MessageBoxW(owner, message.c_str(), L"Snapdesk!", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    HelpText help{withWindowsLineEnds(unwrapParagraphs(*content)), {}};
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_HELP), owner, helpProc,
                    reinterpret_cast<LPARAM>(&help));
}

}  // namespace snapdesk
