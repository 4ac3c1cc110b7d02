#pragma once

// Driving a project dialog from a second thread the way a user does, and reading what it shows:
// its texts and lists, its tool tips, the message boxes it asks with, texts cut off.
// clang-format off
#include <windows.h>
// clang-format on

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace snapdesk::dialog_driving {

std::string textOf(HWND window);
std::string classOf(HWND window);
// Waits for a condition, at most five seconds.
bool waitFor(const std::function<bool()>& condition);
std::vector<HWND> childrenOf(HWND parent);
// A window of this process owned by `owner` (any owner when null), of the dialog class, with
// this caption.
HWND ownedDialog(HWND owner, const wchar_t* caption);
// A key as the keyboard sends it to the control with the focus.
void press(HWND control, WPARAM key);
std::vector<std::string> listItems(HWND list);
// The tips of the dialog's tool-tip window for these controls, in this order.
std::vector<std::string> toolTipsOf(HWND dialog, std::initializer_list<int> controlIds);
// The message box titled "Snapdesk!" the dialog shows next, once it is visible; null when none
// shows within five seconds.
HWND waitForMessageBox(HWND dialog);
// The text of the message box titled "Snapdesk!" the dialog shows next, which is then answered
// with Enter on `button`.
std::string answerMessageBox(HWND dialog, int button = IDOK);
// A label or button whose text, in its font, is wider or taller than its window.
std::vector<std::string> cutTexts(HWND dialog);

}  // namespace snapdesk::dialog_driving
