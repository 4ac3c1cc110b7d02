#pragma once

#include <string>

namespace snapdesk {

enum class MessageBoxStyle { Ok, OkCritical, OkExclamation };
// Questions in a message box: the buttons and the icon.
enum class QuestionStyle {
    YesNoCritical,
    YesNoExclamation,
    YesNoCancelQuestion,
    YesNoCancelExclamation
};
enum class Answer { Yes, No, Cancel };

// What the program needs from its user interface, apart from its own windows.
class Ui {
  public:
    virtual ~Ui() = default;

    virtual void messageBox(const std::string& text, const std::string& title,
                            MessageBoxStyle style) = 0;
    // Asks in a message box; `defaultButton` counts the buttons from 1. A user interface that
    // cannot ask gives the cautious answer.
    virtual Answer ask(const std::string& /*text*/, const std::string& /*title*/,
                       QuestionStyle /*style*/, int /*defaultButton*/ = 1) {
        return Answer::Cancel;
    }
    // The hourglass pointer while long work runs, the normal one after it.
    virtual void setBusyCursor(bool /*busy*/) {}
    // Processes pending window messages (timers of the main window may run meanwhile).
    virtual void doEvents() = 0;
    // Sleeps until a message arrives or `maxMs` pass, so that a loop waiting for a timer does
    // not spin. A user interface without a message queue returns at once.
    virtual void waitForMessages(unsigned /*maxMs*/) {}
    // While on, a window of another program being shown or retitled wakes waitForMessages and
    // is told by takeWindowEvent, where the system reports such events. False when nothing is
    // watched: a wait for a window then looks for it at its own pace.
    virtual bool watchWindowEvents(bool /*on*/) { return false; }
    // Whether such an event came since the last call.
    virtual bool takeWindowEvent() { return false; }
};

}  // namespace snapdesk
