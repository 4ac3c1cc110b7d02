// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "mainwindow/win32/search_box.h"

#include <algorithm>

#include "platform/win32/win32_convert.h"

namespace snapdesk {

namespace {

constexpr UINT_PTR kEditSubclassId = 1;
// EM_SETCUEBANNER: a hint in the empty box (common controls 6); ignored where unknown.
constexpr UINT kSetCueBanner = 0x1501;
constexpr wchar_t kCue[] = L"Search windows";
// Lengths in pixels of 96 dpi.
constexpr int kWidth = 200;
constexpr int kMinimumWidth = 80;
constexpr int kHeight = 22;
constexpr int kMargin = 6;
constexpr int kFontPoints = 9;

int scaled(int pixels, int dpi) {
    return MulDiv(pixels, dpi, 96);
}

bool controlDown() {
    return GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0;
}

}  // namespace

SearchBox::SearchBox(HWND toolbar, int dpi) : toolbar_(toolbar) {
    if (toolbar_ == nullptr) {
        return;
    }
    edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, 0,
                            toolbar_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (edit_ == nullptr) {
        return;
    }
    SendMessageW(edit_, kSetCueBanner, TRUE, reinterpret_cast<LPARAM>(kCue));
    SetWindowSubclass(edit_, editProc, kEditSubclassId, reinterpret_cast<DWORD_PTR>(this));
    setDpi(dpi);
}

SearchBox::~SearchBox() {
    if (edit_ != nullptr && IsWindow(edit_)) {
        RemoveWindowSubclass(edit_, editProc, kEditSubclassId);
        // The font goes with this object: the window must not keep drawing with it.
        DestroyWindow(edit_);
    }
}

void SearchBox::setDpi(int dpi) {
    dpi_ = dpi;
    if (edit_ == nullptr) {
        return;
    }
    font_.reset(CreateFontW(-MulDiv(kFontPoints, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
    SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    place();
}

void SearchBox::place() {
    if (edit_ == nullptr) {
        return;
    }
    RECT bar{};
    GetClientRect(toolbar_, &bar);
    int buttonsEnd = 0;
    const auto buttons = static_cast<int>(SendMessageW(toolbar_, TB_BUTTONCOUNT, 0, 0));
    RECT last{};
    if (buttons > 0 && SendMessageW(toolbar_, TB_GETITEMRECT, static_cast<WPARAM>(buttons - 1),
                                    reinterpret_cast<LPARAM>(&last)) != 0) {
        buttonsEnd = last.right;
    }
    const int margin = scaled(kMargin, dpi_);
    const int height = std::min(scaled(kHeight, dpi_), static_cast<int>(bar.bottom - bar.top));
    const int room = bar.right - margin - (buttonsEnd + margin);
    const int width = std::max(scaled(kMinimumWidth, dpi_), std::min(scaled(kWidth, dpi_), room));
    const int left = std::max(buttonsEnd + margin, static_cast<int>(bar.right) - margin - width);
    const int top = (bar.bottom - bar.top - height) / 2;
    SetWindowPos(edit_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string SearchBox::text() const {
    if (edit_ == nullptr) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
    return win32::toUtf8(text);
}

void SearchBox::setText(const std::string& text) {
    if (edit_ != nullptr) {
        SetWindowTextW(edit_, win32::toWide(text).c_str());
    }
}

void SearchBox::focus() {
    if (edit_ != nullptr) {
        SetFocus(edit_);
    }
}

bool SearchBox::key(WPARAM virtualKey) {
    if (!keys_) {
        return false;
    }
    switch (virtualKey) {
        case VK_UP:
            return keys_(SearchKey::Up, 0);
        case VK_DOWN:
            return keys_(SearchKey::Down, 0);
        case VK_RETURN:
            return keys_(SearchKey::Enter, 0);
        case VK_ESCAPE:
            return keys_(SearchKey::Escape, 0);
        default:
            break;
    }
    if (virtualKey >= '1' && virtualKey <= '9' && controlDown()) {
        return keys_(SearchKey::CtrlDigit, static_cast<int>(virtualKey - '0'));
    }
    return false;
}

LRESULT CALLBACK SearchBox::editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR /*id*/, DWORD_PTR self) {
    auto* box = reinterpret_cast<SearchBox*>(self);
    switch (message) {
        case WM_KEYDOWN:
            if (box->key(wParam)) {
                return 0;
            }
            break;
        case WM_CHAR:
            // Enter and Escape were keys for the box, not text (a single-line edit beeps).
            if (wParam == L'\r' || wParam == 0x1B) {
                return 0;
            }
            break;
        case WM_GETDLGCODE:
            return DefSubclassProc(edit, message, wParam, lParam) | DLGC_WANTALLKEYS;
        default:
            break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace snapdesk
