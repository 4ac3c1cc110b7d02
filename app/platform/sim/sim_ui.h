#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace snapdesk::sim {

struct ShownMessage {
    std::string text;
    std::string title;
    MessageBoxStyle style;
};

// Message boxes are recorded, not shown. doEvents runs what a test queued to happen while
// messages are processed (a timer firing, a window closing) and can log to a call list.
class SimUi : public Ui {
  public:
    std::vector<ShownMessage> messages;
    // Questions asked, and the answers to give them in turn (Cancel when none is left).
    std::vector<std::string> questions;
    std::vector<Answer> answers;
    std::function<void()> onDoEvents;
    std::function<void(const std::string&)> log;
    int doEventsCalls = 0;

    void messageBox(const std::string& text, const std::string& title,
                    MessageBoxStyle style) override {
        messages.push_back({text, title, style});
    }
    Answer ask(const std::string& text, const std::string&, QuestionStyle, int) override {
        questions.push_back(text);
        if (answers.empty()) {
            return Answer::Cancel;
        }
        const Answer answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    bool busyCursor = false;
    void setBusyCursor(bool busy) override { busyCursor = busy; }
    void doEvents() override {
        ++doEventsCalls;
        if (log) {
            log("DoEvents");
        }
        if (onDoEvents) {
            onDoEvents();
        }
    }
};

}  // namespace snapdesk::sim
