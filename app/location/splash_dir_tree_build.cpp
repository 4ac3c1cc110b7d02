#include "location/splash_dir_tree_build.h"

namespace snapdesk {

void SplashDirTreeBuild::load() {
    view_.setTexts(tree_.buildMode() == kFullBuild ? kSplashLongText : kSplashShortText,
                   kSplashWelcome, kSplashProductName);
    view_.centreOnScreen();
}

void SplashDirTreeBuild::activate() {
    ui_.doEvents();
    view_.waitForTimer(kSplashFirstWaitMs);
    struct RepaintWhileWalking {
        DirectoryTree& tree;
        ~RepaintWhileWalking() { tree.onFolderWalked = nullptr; }
    } repainting{tree_};
    tree_.onFolderWalked = [this] { view_.repaint(); };
    if (tree_.buildMode() != kFullBuild) {
        tree_.buildDirTreeFromStored();
    } else {
        tree_.buildDirTreeFromScratch();
    }
    view_.waitForTimer(kSplashLastWaitMs);
    view_.unload();
}

}  // namespace snapdesk
