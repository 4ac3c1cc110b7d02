#pragma once

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <memory>

#include "base/unique_handle.h"
#include "mainwindow/win32/search_box.h"

namespace snapdesk {

// The toolbar buttonBar along the top of the main window: seven buttons with images, and the
// search box at its right end.
class ButtonBar {
  public:
    // Images of the size for the parent's scale.
    explicit ButtonBar(HWND parent);
    ButtonBar(const ButtonBar&) = delete;
    ButtonBar& operator=(const ButtonBar&) = delete;

    HWND hwnd() const { return toolbar_; }
    // Captions under the buttons, or none; the bar changes its height accordingly.
    void setTextLabels(bool on);
    // Keeps the bar across the top after the parent was resized.
    void autoSize();
    int heightPixels() const;
    // The window's scale changed: images of the size for it, buttons sized again.
    void setDpi(int dpi);
    int imageSize() const { return imageSize_; }
    // Null when the toolbar could not be made.
    SearchBox* searchBox() { return search_.get(); }
    // The tool tip of a button, for TTN_GETDISPINFO; nullptr for other ids.
    static const wchar_t* toolTip(int commandId);

  private:
    void addButtons(bool withCaptions);
    void rebuildButtons();
    HWND toolbar_ = nullptr;  // a child: destroyed with the main window
    win32::unique_image_list images_;
    int imageSize_ = 16;
    bool textLabels_ = true;
    std::unique_ptr<SearchBox> search_;
};

}  // namespace snapdesk
