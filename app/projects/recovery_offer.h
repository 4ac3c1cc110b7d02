#pragma once

// At start-up: a recovery file left behind means the last run did not end cleanly. Its members
// are offered back once: reopened now, kept as a project for later, or discarded.

#include <functional>
#include <string>

#include "platform/file_system.h"
#include "platform/ui.h"
#include "projects/project_store.h"
#include "projects/recovery_file.h"

namespace snapdesk {

namespace recovery_text {
inline constexpr const char* kTitle = "Snapdesk Recovered Your Project";
inline constexpr const char* kNoLocationsKept =
    "None of these members has a known location yet, so there is nothing to keep as a project. "
    "Reopen them instead, or discard them.";
inline constexpr const char* kNotWritten = "The project could not be written. Please try again.";
// The one line for a recovery file that cannot be read, and the name it was set aside under.
std::string setAsideLine(const std::string& aside);
}  // namespace recovery_text

class RecoveryOffer;

// The dialog of the offer: shows offer.message(), and a name box for keeping; each button calls
// the offer, which tells whether the dialog closes.
class RecoveryOfferDialog {
  public:
    virtual ~RecoveryOfferDialog() = default;
    virtual void show(RecoveryOffer& offer) = 0;
};

class RecoveryOffer {
  public:
    // reopen: the members put back on the Project tab through the open command.
    RecoveryOffer(FileSystem& files, ProjectStore& store, Ui& ui, RecoveryOfferDialog& dialog,
                  std::function<void(const RecoveryState&)> reopen);

    // Reads the file at `path` and offers what it holds; silent when there is nothing to offer.
    void offerAtStart(const std::string& path);

    // What the dialog shows.
    std::string message() const;
    // The name suggested for keeping: the project's own, or none for an Untitled tab.
    std::string suggestedName() const;
    // The buttons; true when the dialog closes.
    bool reopenClicked();
    bool keepClicked(const std::string& typedName);
    bool discardClicked();

  private:
    FileSystem& files_;
    ProjectStore& store_;
    Ui& ui_;
    RecoveryOfferDialog& dialog_;
    std::function<void(const RecoveryState&)> reopen_;
    std::string path_;
    RecoveryState state_;
    bool reopenChosen_ = false;
};

}  // namespace snapdesk
