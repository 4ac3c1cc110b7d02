#include "location/continue_search.h"

namespace snapdesk {

void ContinueSearch::quickSearch() {
    view_.disableButtons();
    view_.setBusyCursor(true);
    saveCancelled_ = false;
    actions_.quickSearch();
    view_.setBusyCursor(false);
    view_.close();
}

void ContinueSearch::fullSearch() {
    view_.disableButtons();
    view_.setBusyCursor(true);
    actions_.fullSearch();
    saveCancelled_ = false;
    view_.setBusyCursor(false);
    view_.close();
}

void ContinueSearch::noSearch() {
    view_.disableButtons();
    saveCancelled_ = false;
    view_.close();
}

void ContinueSearch::cancelSave() {
    view_.disableButtons();
    saveCancelled_ = true;
    view_.close();
}

}  // namespace snapdesk
