#pragma once

// frmSplashDirTreeBuild: the window that covers the walk or the load of the folder tree at
// start-up. The presenter decides what it shows and when it works; a view draws it.

#include <string>

#include "location/dir_tree.h"
#include "platform/ui.h"

namespace snapdesk {

inline constexpr const char* kSplashLongText = "Initializing ... this may take a few minutes.";
inline constexpr const char* kSplashShortText = "Initializing ...";
inline constexpr const char* kSplashWelcome = "Welcome to";
inline constexpr const char* kSplashProductName = "Snapdesk!";
inline constexpr unsigned kSplashFirstWaitMs = 1000;
inline constexpr unsigned kSplashLastWaitMs = 2000;

class SplashView {
  public:
    virtual ~SplashView() = default;
    virtual void setTexts(const std::string& label1, const std::string& welcome,
                          const std::string& productName) = 0;
    virtual void centreOnScreen() = 0;
    // Runs the window's timer once at the interval, processing messages until it fires.
    virtual void waitForTimer(unsigned milliseconds) = 0;
    virtual void repaint() = 0;
    virtual void unload() = 0;
};

class SplashDirTreeBuild {
  public:
    SplashDirTreeBuild(DirectoryTree& tree, SplashView& view, Ui& ui)
        : tree_(tree), view_(view), ui_(ui) {}
    void load();
    void activate();

  private:
    DirectoryTree& tree_;
    SplashView& view_;
    Ui& ui_;
};

}  // namespace snapdesk
