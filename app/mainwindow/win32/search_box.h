#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <functional>
#include <string>

#include "base/unique_handle.h"
#include "mainwindow/search_highlight.h"

namespace snapdesk {

// The search box at the right end of the toolbar: an edit control whose changes reach its
// owner as WM_COMMAND/EN_CHANGE through the toolbar, and whose navigation keys go to a handler.
class SearchBox {
  public:
    using KeyHandler = std::function<bool(SearchKey key, int digit)>;

    SearchBox(HWND toolbar, int dpi);
    ~SearchBox();
    SearchBox(const SearchBox&) = delete;
    SearchBox& operator=(const SearchBox&) = delete;

    HWND hwnd() const { return edit_; }
    void setKeyHandler(KeyHandler handler) { keys_ = std::move(handler); }
    // At the toolbar's right end, right of its last button, centred in its height.
    void place();
    void setDpi(int dpi);
    std::string text() const;
    void setText(const std::string& text);
    void focus();

  private:
    static LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    bool key(WPARAM virtualKey);

    HWND toolbar_;
    HWND edit_ = nullptr;  // a child of the toolbar: destroyed with it
    int dpi_ = 96;
    win32::unique_hfont font_;
    KeyHandler keys_;
};

}  // namespace snapdesk
