#pragma once

#include <string>

namespace snapdesk {

enum class MessageBoxStyle { Ok, OkCritical };

// What the program needs from its user interface, apart from its own windows.
class Ui {
  public:
    virtual ~Ui() = default;

    virtual void messageBox(const std::string& text, const std::string& title,
                            MessageBoxStyle style) = 0;
    // Processes pending window messages (timers of the main window may run meanwhile).
    virtual void doEvents() = 0;
    // Sleeps until a message arrives or `maxMs` pass, so that a loop waiting for a timer does
    // not spin. A user interface without a message queue returns at once.
    virtual void waitForMessages(unsigned /*maxMs*/) {}
};

}  // namespace snapdesk
