#pragma once

// frmSplashDirTreeBuild on a real window: a frameless box centred on the screen with
// Label1, the "Welcome to" line and lblProductName, shown while the folder tree is walked or
// loaded. SplashDirTreeBuild decides what it shows and when it works.

// clang-format off
#include <windows.h>
// clang-format on

#include "location/dir_tree.h"
#include "platform/ui.h"

namespace snapdesk {

inline constexpr const wchar_t* kSplashWindowClass = L"frmSplashDirTreeBuild";
// Control ids of the labels.
inline constexpr int kSplashLabel1Id = 101;
inline constexpr int kSplashWelcomeId = 102;
inline constexpr int kSplashProductNameId = 103;

class SplashDirTreeBuildWindow final : public DirTreeSplashHost {
  public:
    // owner: the main window, disabled while the splash is up (may be nullptr).
    SplashDirTreeBuildWindow(Ui& ui, HWND owner) : ui_(ui), owner_(owner) {}
    void showSplash(DirectoryTree& tree) override;

  private:
    Ui& ui_;
    HWND owner_;
};

}  // namespace snapdesk
