#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// What activation and image updating need from the main window.
class ActivationHost {
  public:
    virtual ~ActivationHost() = default;
    virtual WindowHandle mainWindowHandle() = 0;
    virtual void enableMainWindow(bool enabled) = 0;
    virtual void setTimer1(bool enabled) = 0;
    // Timer2 ticks call Activation::Timer2_Timer; false when the timer cannot run.
    virtual bool setTimer2(bool enabled, unsigned intervalMs) = 0;
    virtual void updateWindowList() = 0;
    // Neither minimised nor maximised.
    virtual bool mainWindowIsNormal() = 0;
    virtual void showMainWindow(ShowCommand command) = 0;
    // The in-memory "MaximizeLaunch" value.
    virtual std::string maximizeLaunch() = 0;
};

// Bringing the window behind a thumbnail to the user, and pictures taken on demand.
class Activation {
  public:
    static constexpr unsigned kCaptureWaitMs = 1500;
    // Longest sleep between two refreshes while a capture waits for its repaint.
    static constexpr unsigned kRefreshPauseMs = 50;

    Activation(Platform& platform, CoffeeShopList& list, ActivationHost& host)
        : platform_(platform), list_(list), host_(host) {}

    void activateThumbnail(long k);
    void captureWithPause(long k);
    // Update Image for the thumbnail last right-clicked.
    void updateClick(long selectedIndex);
    // Update All Images.
    void mnuLoadImages_Click() { loadImages(false); }
    // Update All Images at start-up, once the windows have drawn what they could: only the
    // windows whose tiles still have no picture are brought forward.
    void loadMissingImages() { loadImages(true); }
    void Timer2_Timer() { waitElapsed_ = true; }
    // Between two looks of a wait that ends early (see waitOnTimer2).
    static constexpr unsigned kLookPauseMs = 75;

    // Processes messages until Timer2 has run `ms` once; `refreshing` refreshes the list
    // between messages. `until`, when given, is asked every kLookPauseMs and when the desktop
    // tells of a window event; true ends the wait early.
    void waitOnTimer2(unsigned ms, bool refreshing, const std::function<bool()>& until = {});
    // The main window brought to the top and to the foreground.
    void bringMainWindowBack();
    // The window closed: a wait in progress ends and no further picture is taken.
    void stop() { stopped_ = true; }

  private:
    void loadImages(bool onlyMissing);
    void waitForRepaint() { waitOnTimer2(kCaptureWaitMs, true); }

    Platform& platform_;
    CoffeeShopList& list_;
    ActivationHost& host_;
    bool waitElapsed_ = false;
    bool stopped_ = false;
};

}  // namespace snapdesk
