#pragma once

// What the hot key does: Snapdesk up from behind whatever the user works in, and back again
// with the focus returned to that window.

#include "platform/window_manager.h"

namespace snapdesk {

// The main window as the hot key moves it.
class HotKeyHost {
  public:
    virtual ~HotKeyHost() = default;
    virtual WindowHandle mainWindowHandle() = 0;
    // Restored if minimised (maximised again if it was) and made the foreground window.
    virtual void bringToFront() = 0;
    virtual void minimizeMainWindow() = 0;
};

enum class HotKeyStep { Up, Back };

class HotKeyToggle {
  public:
    HotKeyToggle(WindowManager& windows, HotKeyHost& host) : windows_(windows), host_(host) {}

    // Up when another program is in front (its window remembered), back when Snapdesk is.
    HotKeyStep pressed();
    // Minimised, and the remembered window given the foreground if it is still there to take
    // it; otherwise Windows picks.
    void sendBack();
    // Whether the foreground window is Snapdesk's own and its main window is not minimised.
    bool snapdeskInFront();

  private:
    bool ours(WindowHandle window);

    WindowManager& windows_;
    HotKeyHost& host_;
    WindowHandle remembered_ = 0;
};

}  // namespace snapdesk
