#pragma once

namespace snapdesk {

// The main window's refresh timer, as work and dialogs that must not run under it switch it.
class Timer1Switch {
  public:
    virtual ~Timer1Switch() = default;
    virtual bool timer1Enabled() = 0;
    virtual void setTimer1(bool enabled) = 0;
};

// Switches the timer off for its lifetime and gives it back its state after.
class Timer1Pause {
  public:
    explicit Timer1Pause(Timer1Switch& timer) : timer_(timer), wasOn_(timer.timer1Enabled()) {
        timer_.setTimer1(false);
    }
    ~Timer1Pause() { timer_.setTimer1(wasOn_); }
    Timer1Pause(const Timer1Pause&) = delete;
    Timer1Pause& operator=(const Timer1Pause&) = delete;

  private:
    Timer1Switch& timer_;
    bool wasOn_;
};

}  // namespace snapdesk
