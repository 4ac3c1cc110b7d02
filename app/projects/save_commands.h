#pragma once

// Save Project, Save Project As, New Project and the question whether to save changes: the
// commands around the project file writer, with the dialogs that ask for what the searches
// could not find.

#include <string>

#include "common/timer1_switch.h"
#include "location/dir_tree.h"
#include "location/path_search.h"
#include "platform/ui.h"
#include "projects/project_dialogs.h"
#include "projects/project_store.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// What the commands need from the main window.
class SaveCommandsHost : public Timer1Switch {
  public:
    // The window list shown again on the panel.
    virtual void updateWindowList() = 0;
    // The Project tab selected, with what a click on it does.
    virtual void showProjectTab() = 0;
    // "Project: " and the name, centred on the main window.
    virtual void showProjectName(const std::string& name) = 0;
    virtual int ieVersion() = 0;
};

class SaveCommands : private ContinueSearchActions {
  public:
    SaveCommands(CoffeeShopList& list, ProjectStore& store, PathSearch& search, DirectoryTree& tree,
                 ProjectDialogs& dialogs, Ui& ui, SaveCommandsHost& host);

    void mnuSaveProject_Click();
    void mnuSaveProjectAs_Click();
    void mnuNewProject_Click();
    // Whether the caller may let the current project go; may save it first.
    bool checkProceed();
    void saveProjectTab(bool askName);
    void resolveProjectMembers(const std::string& name);
    void startUntitled();
    // The store found nothing to write.
    void noEmptyProject();
    void noEmptyOverwrite();

    bool saveCancelled() const { return saveCancelled_; }

  private:
    void saveCommand(bool always);
    void askAboutSongs(const std::string& name);
    // Whether locations are still missing after the browser members were asked about.
    bool askAboutBrowsers();
    void askAboutMissingPaths(bool& savable);
    bool tabHasRecords() const;
    bool projectChanged(bool& fewer, bool& empty);

    // ContinueSearchActions
    void quickSearch() override;
    void fullSearch() override;

    CoffeeShopList& list_;
    ProjectStore& store_;
    PathSearch& search_;
    DirectoryTree& tree_;
    ProjectDialogs& dialogs_;
    Ui& ui_;
    SaveCommandsHost& host_;
    bool saveCancelled_ = false;
};

}  // namespace snapdesk
