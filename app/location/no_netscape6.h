#pragma once

// "Storing <browser> URLs": asks for the address of a browser window whose address could not
// be read. The window cannot be closed until one of its buttons was used.

#include <string>

#include "platform/ui.h"

namespace snapdesk {

class NoNetscape6 {
  public:
    NoNetscape6(Ui& ui, std::string browserCaption, std::string browserLabel)
        : ui_(ui),
          browserCaption_(std::move(browserCaption)),
          browserLabel_(std::move(browserLabel)) {}

    std::string windowCaption() const;
    // Label2: the browser window's name, indented.
    std::string captionLine() const;

    // "Save this URL": true when an address was typed; else says so and the dialog stays.
    bool saveUrl(const std::string& typed);
    // "Save Browser": the browser program itself is saved.
    void saveBrowser();
    // "Do Not Save".
    void doNotSave();
    // Asked before the window closes, whatever closes it: refused until a button was used.
    bool queryClose();

    // The address, kSaveBrowserExe, or "" to leave the member out.
    const std::string& answer() const { return answer_; }

  private:
    Ui& ui_;
    std::string browserCaption_;
    std::string browserLabel_;
    std::string answer_;
};

}  // namespace snapdesk
