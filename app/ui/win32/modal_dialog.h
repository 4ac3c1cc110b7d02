#pragma once

// What the save's dialogs share: a template of the resource script shown modally over the main
// window, placed centred with its top at a third of the free screen height, and failures of a
// handler carried out of the dialog to the caller.

// clang-format off
#include <windows.h>
// clang-format on

#include <exception>
#include <string>
#include <utility>

namespace snapdesk {

class ModalDialog {
  public:
    virtual ~ModalDialog() = default;

  protected:
    // Shows the dialog until a handler ends it; rethrows what a handler threw.
    void run(HWND owner, int templateId);

    // Sets the texts; false gives the focus to a control of its own.
    virtual bool onInit() { return true; }
    virtual void onCommand(int id, int notification) = 0;
    // The close box, Alt+F4 and Escape.
    virtual void onClose() { end(); }

    void end() { EndDialog(window_, 0); }
    HWND window() const { return window_; }
    HWND item(int id) const { return GetDlgItem(window_, id); }
    void setText(int id, const std::string& text);
    std::string text(int id) const;

  private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam);

    HWND window_ = nullptr;
    std::exception_ptr failure_;
};

// Left = (screen width - width) / 2, top = (screen height - height) / 3.
void placeLikeSaveDialogs(HWND dialog);

}  // namespace snapdesk
