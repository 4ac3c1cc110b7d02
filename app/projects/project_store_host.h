#pragma once

#include <string>

namespace snapdesk {

// What saving a project needs from the main window and its dialogs.
class ProjectStoreHost {
  public:
    virtual ~ProjectStoreHost() = default;

    // The window list's location pass over the Project tab (true: the save-time form).
    virtual void updatePaths(bool saving) = 0;
    // The project label of the main window.
    virtual void setProjectLabelCaption(const std::string& caption) = 0;
    virtual int projectLabelWidth() = 0;
    virtual int mainWindowWidth() = 0;
    virtual void setProjectLabelLeft(int left) = 0;
    // Modal dialogs shown when a save found nothing to write.
    virtual void showNoEmptyOverwrite() = 0;
    virtual void showNoEmptyProject() = 0;
};

}  // namespace snapdesk
