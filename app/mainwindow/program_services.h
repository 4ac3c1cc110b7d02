#pragma once

#include <memory>
#include <string>

#include "location/dir_tree.h"
#include "mainwindow/main_form.h"
#include "mainwindow/main_window_view.h"
#include "mainwindow/panel_view.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "projects/project_store.h"
#include "projects/project_store_host.h"

namespace snapdesk {

// The other modules as the main form reaches them at start-up, on its timers and at closing.
// Work of modules still to come is marked at its place and does nothing yet.
class ProgramServices final : public MainFormServices,
                              private ProjectStoreHost,
                              private ProjectCommands {
  public:
    ProgramServices(Platform& platform, Shell& shell, MainWindowView& window, PanelView& panelView,
                    DirTreeSplashHost& splash);
    ~ProgramServices() override;

    // The window list the project store reads and fills; before start-up.
    void attach(CoffeeShopList& list);
    ProjectStore* projectStore() { return store_.get(); }
    DirectoryTree* directoryTree() { return tree_.get(); }

    void prepareDataFolder(const std::string& programFolder) override;
    void loadProjectStore() override;
    void clearBrowserHistoryTexts() override;
    void loadDirectoryTree() override;
    // Also the store's pass before a save: one location search serves both.
    void updatePaths(bool force) override;
    bool checkProceed() override;
    void saveOldPaths() override;
    bool openRetryDue() override;
    void retryProjectMatch() override;
    ProjectCommands& projectCommands() override { return *this; }

  private:
    // ProjectStoreHost
    void setProjectLabelCaption(const std::string& caption) override;
    int projectLabelWidth() override;
    int mainWindowWidth() override;
    void setProjectLabelLeft(int left) override;
    void showNoEmptyOverwrite() override;
    void showNoEmptyProject() override;

    // ProjectCommands
    void mnuNewProject_Click() override;
    void mnuOpen_Click() override;
    void mnuSaveProject_Click() override;
    void mnuSaveProjectAs_Click() override;
    void refreshProject() override;

    Platform& platform_;
    Shell& shell_;
    MainWindowView& window_;
    PanelView& panelView_;
    DirTreeSplashHost& splash_;
    CoffeeShopList* list_ = nullptr;
    std::string programFolder_;
    std::unique_ptr<ProjectStore> store_;
    std::unique_ptr<DirectoryTree> tree_;
};

}  // namespace snapdesk
