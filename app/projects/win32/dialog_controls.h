#pragma once

// What the project dialogs do alike with their controls: list boxes filled with lines, and tool
// tips over controls.

// clang-format off
#include <windows.h>
// clang-format on

#include <string>
#include <vector>

namespace snapdesk {

// Replaces the lines of a list box. With `scrollSideways`, a line longer than the list can be
// scrolled to (the list needs WS_HSCROLL).
void fillListBox(HWND list, const std::vector<std::string>& lines, bool scrollSideways = false);

// Tool tips over the controls of a dialog; the tip window is owned by the dialog and goes with it.
class DialogToolTips {
  public:
    explicit DialogToolTips(HWND dialog);

    void add(int controlId, const std::string& tip);
    void change(int controlId, const std::string& tip);

  private:
    HWND dialog_;
    HWND tips_;
};

}  // namespace snapdesk
