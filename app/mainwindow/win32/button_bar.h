#pragma once

// clang-format off
#include <windows.h>
// clang-format on

namespace snapdesk {

// Command numbers of the toolbar buttons without a menu item of their own.
inline constexpr int kButtonUpdateImages = 1401;
inline constexpr int kButtonAddToProject = 1402;
inline constexpr int kButtonMoveFromProject = 1403;
inline constexpr int kButtonRefreshProject = 1404;

// The toolbar buttonBar along the top of the main window: seven captioned buttons.
class ButtonBar {
  public:
    explicit ButtonBar(HWND parent);
    ButtonBar(const ButtonBar&) = delete;
    ButtonBar& operator=(const ButtonBar&) = delete;

    HWND hwnd() const { return toolbar_; }
    // Captions under the buttons, or none; the bar changes its height accordingly.
    void setTextLabels(bool on);
    // Keeps the bar across the top after the parent was resized.
    void autoSize();
    int heightPixels() const;
    // The tool tip of a button, for TTN_GETDISPINFO; nullptr for other ids.
    static const wchar_t* toolTip(int commandId);

  private:
    HWND toolbar_ = nullptr;
};

}  // namespace snapdesk
