#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "location/browser_history.h"
#include "location/dir_tree.h"
#include "location/modern_history.h"
#include "location/path_search.h"
#include "mainwindow/main_form.h"
#include "mainwindow/main_window_view.h"
#include "mainwindow/panel_view.h"
#include "platform/automation.h"
#include "platform/history_database.h"
#include "platform/link_path_resolver.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "projects/open_commands.h"
#include "projects/project_dialogs.h"
#include "projects/project_store.h"
#include "projects/project_store_host.h"
#include "projects/recovery_keeper.h"
#include "projects/recovery_offer.h"
#include "projects/save_commands.h"

namespace snapdesk {

// What the dialogs of a save work on; ready once the folder list is.
struct ProjectDialogParts {
    CoffeeShopList& list;
    ProjectStore& store;
    PathSearch& search;
    Timer1Switch& timer;
    // Whether the save running now was cancelled.
    std::function<bool()> saveCancelled;
};
using ProjectDialogsFactory =
    std::function<std::unique_ptr<ProjectDialogs>(const ProjectDialogParts&)>;

// The other modules as the main form reaches them at start-up, on its timers and at closing.
class ProgramServices final : public MainFormServices,
                              private ProjectStoreHost,
                              private ProjectCommands,
                              private PathSearchHost,
                              private OpenCommandsHost {
  public:
    ProgramServices(Platform& platform, Shell& shell, Automation& automation,
                    LinkPathResolver& links, HistoryDatabase& historyDatabase,
                    MainWindowView& window, PanelView& panelView, DirTreeSplashHost& splash,
                    ProjectDialogsFactory makeDialogs);
    ~ProgramServices() override;

    // The main form whose window list, timer and browser version the services use; before
    // start-up.
    void attach(MainForm& form);
    ProjectStore* projectStore() { return store_.get(); }
    // The dialog that offers a kept Project back at start-up; without one nothing is offered.
    void setRecoveryOfferDialog(std::unique_ptr<RecoveryOfferDialog> dialog) {
        recoveryDialog_ = std::move(dialog);
    }
    RecoveryKeeper* recoveryKeeper() { return keeper_.get(); }
    DirectoryTree* directoryTree() { return tree_.get(); }
    // Ready once the folder list is (start-up step "j").
    PathSearch* pathSearch() { return pathSearch_.get(); }
    SaveCommands* saveCommands() { return saveCommands_.get(); }
    OpenCommands* openCommands() { return openCommands_.get(); }

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
    void offerRecovery() override;
    void watchRecovery() override;
    void keepRecoveryNow() override;
    void recoveryCleanExit() override;

  private:
    // ProjectStoreHost
    void setProjectLabelCaption(const std::string& caption) override;
    int projectLabelWidth() override;
    int mainWindowWidth() override;
    void setProjectLabelLeft(int left) override;
    void showNoEmptyOverwrite() override;
    void showNoEmptyProject() override;

    // PathSearchHost, SaveCommandsHost, OpenCommandsHost
    bool timer1Enabled() override;
    void setTimer1(bool enabled) override;
    WindowHandle mainWindowHandle() override { return window_.handle(); }
    int ieVersion() override;
    void updateWindowList() override;
    void showProjectTab() override;
    void showProjectName(const std::string& name) override;
    std::string netscape6Version() override;
    void launchStarting() override { launchStart_ = std::chrono::steady_clock::now(); }
    void waitForLaunch(unsigned ms, const std::function<bool()>& arrived) override;
    void updateImage(long k) override;
    void bringMainWindowBack() override;
    void setTimer4(bool enabled, unsigned intervalMs) override;
    bool restoreWindowPositions() override;

    // ProjectCommands
    void mnuNewProject_Click() override;
    void mnuOpen_Click() override;
    void mnuSaveProject_Click() override;
    void mnuSaveProjectAs_Click() override;
    void refreshProject() override;

    Platform& platform_;
    Shell& shell_;
    Automation& automation_;
    LinkPathResolver& links_;
    MainWindowView& window_;
    PanelView& panelView_;
    DirTreeSplashHost& splash_;
    MainForm* form_ = nullptr;
    CoffeeShopList* list_ = nullptr;
    BrowserHistory history_;
    ModernBrowserHistory modernHistory_;
    std::string programFolder_;
    std::unique_ptr<ProjectStore> store_;
    std::unique_ptr<DirectoryTree> tree_;
    std::unique_ptr<PathSearch> pathSearch_;
    ProjectDialogsFactory makeDialogs_;
    std::unique_ptr<ProjectDialogs> dialogs_;
    std::unique_ptr<SaveCommands> saveCommands_;
    std::unique_ptr<OpenCommands> openCommands_;
    std::unique_ptr<RecoveryOfferDialog> recoveryDialog_;
    std::unique_ptr<RecoveryKeeper> keeper_;
    std::chrono::steady_clock::time_point launchStart_ = std::chrono::steady_clock::now();
};

}  // namespace snapdesk
