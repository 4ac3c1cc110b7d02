#pragma once

// "Path Not Found": offered when Project documents are still without a location; the user
// lets the program search further, saves without searching, or cancels the save.

#include "projects/project_dialogs.h"

namespace snapdesk {

// What the buttons do to the window.
class ContinueSearchView {
  public:
    virtual ~ContinueSearchView() = default;
    // All four buttons, so that none is pressed twice while a search runs.
    virtual void disableButtons() = 0;
    virtual void setBusyCursor(bool busy) = 0;
    virtual void close() = 0;
};

class ContinueSearch {
  public:
    ContinueSearch(ContinueSearchActions& actions, ContinueSearchView& view)
        : actions_(actions), view_(view) {}

    // True until a search or "No Search" is chosen: closing the window otherwise cancels.
    bool saveCancelled() const { return saveCancelled_; }

    void quickSearch();
    void fullSearch();
    void noSearch();
    void cancelSave();

  private:
    ContinueSearchActions& actions_;
    ContinueSearchView& view_;
    bool saveCancelled_ = true;
};

}  // namespace snapdesk
