#pragma once

#include "platform/ui.h"

namespace snapdesk {

// Message boxes and the message pump of the user-interface thread.
class Win32Ui : public Ui {
  public:
    void messageBox(const std::string& text, const std::string& title,
                    MessageBoxStyle style) override;
    Answer ask(const std::string& text, const std::string& title, QuestionStyle style,
               int defaultButton) override;
    void setBusyCursor(bool busy) override;
    void doEvents() override;
    void waitForMessages(unsigned maxMs) override;
    bool watchWindowEvents(bool on) override;
    bool takeWindowEvent() override;
};

}  // namespace snapdesk
