// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "projects/win32/dialog_controls.h"

#include <algorithm>

#include "base/unique_handle.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk {

namespace {

LONG widestLine(HWND list, const std::vector<std::string>& lines) {
    const win32::unique_window_dc dc = win32::get_dc(list);
    const auto font = win32::select_object(
        dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (const auto& line : lines) {
        const std::wstring wide = win32::toWide(line);
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
        widest = std::max(widest, size.cx);
    }
    return widest;
}

// The tool of a control of the dialog; `tip` must outlive the message that uses it.
TOOLINFOW toolOf(HWND dialog, int controlId, std::wstring& tip) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, controlId));
    tool.lpszText = tip.data();
    return tool;
}

}  // namespace

void fillListBox(HWND list, const std::vector<std::string>& lines, bool scrollSideways) {
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const auto& line : lines) {
        const std::wstring wide = win32::toWide(line);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    if (scrollSideways) {
        SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widestLine(list, lines) + 8),
                     0);
    }
}

DialogToolTips::DialogToolTips(HWND dialog)
    : dialog_(dialog),
      tips_(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                            GetModuleHandleW(nullptr), nullptr)) {}

void DialogToolTips::add(int controlId, const std::string& tip) {
    std::wstring wide = win32::toWide(tip);
    TOOLINFOW tool = toolOf(dialog_, controlId, wide);
    SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void DialogToolTips::change(int controlId, const std::string& tip) {
    std::wstring wide = win32::toWide(tip);
    TOOLINFOW tool = toolOf(dialog_, controlId, wide);
    SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace snapdesk
