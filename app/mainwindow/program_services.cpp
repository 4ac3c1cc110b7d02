#include "mainwindow/program_services.h"

#include <algorithm>

#include "common/runtime_error.h"
#include "location/load_directory_tree.h"
#include "projects/project_rules.h"
#include "resources/version.h"

namespace snapdesk {

ProgramServices::ProgramServices(Platform& platform, Shell& shell, Automation& automation,
                                 LinkPathResolver& links, HistoryDatabase& historyDatabase,
                                 MainWindowView& window, PanelView& panelView,
                                 DirTreeSplashHost& splash, ProjectDialogsFactory makeDialogs)
    : platform_(platform),
      shell_(shell),
      automation_(automation),
      links_(links),
      window_(window),
      panelView_(panelView),
      splash_(splash),
      history_(platform.files, shell),
      modernHistory_(platform.files, shell, historyDatabase),
      makeDialogs_(std::move(makeDialogs)) {}

ProgramServices::~ProgramServices() = default;

void ProgramServices::attach(MainForm& form) {
    form_ = &form;
    list_ = &form.list();
}

void ProgramServices::prepareDataFolder(const std::string& programFolder) {
    programFolder_ = programFolder;
    const std::string data = programFolder_ + "datafiles";
    if (!platform_.files.fileAttributes(data)) {
        platform_.files.createFolder(data);
    }
}

void ProgramServices::loadProjectStore() {
    if (list_ == nullptr) {
        throw RuntimeError{91, "Object variable or With block variable not set",
                           "loadProjectStore"};
    }
    ProjectStoreHost& host = *this;
    store_ = std::make_unique<ProjectStore>(platform_.files, shell_, platform_.ui, *list_, host,
                                            programFolder_);
    store_->setOwnerWindow(window_.handle());
    store_->setWindowManager(&platform_.windows);
    store_->loadProjectStore();
    keeper_ =
        std::make_unique<RecoveryKeeper>(platform_.files, *store_, *list_, systemRecoveryClock());
    keeper_->setEditorText([this]() -> std::optional<std::pair<long, std::string>> {
        return form_ != nullptr ? form_->panel().commentBeingTyped() : std::nullopt;
    });
}

void ProgramServices::offerRecovery() {
    if (keeper_ == nullptr) {
        return;
    }
    if (recoveryDialog_ != nullptr && openCommands_ != nullptr) {
        RecoveryOffer offer(
            platform_.files, *store_, platform_.ui, *recoveryDialog_,
            [this](const RecoveryState& state) {
                // A name whose project is gone reopens as Untitled.
                std::vector<std::string> names;
                std::int32_t count = 0;
                store_->getProjectNames(names, count);
                const bool known =
                    std::find(names.begin(), names.end(), state.projectName) != names.end();
                openCommands_->openRecovered(known ? state.projectName : project_rules::kUntitled,
                                             state.members);
            });
        offer.offerAtStart(keeper_->path());
    }
    keeper_->start();
}

void ProgramServices::watchRecovery() {
    if (keeper_ != nullptr) {
        keeper_->check();
    }
}

void ProgramServices::keepRecoveryNow() {
    if (keeper_ != nullptr) {
        keeper_->writeNow();
    }
}

void ProgramServices::recoveryCleanExit() {
    if (keeper_ != nullptr) {
        keeper_->cleanExit();
    }
}

void ProgramServices::clearBrowserHistoryTexts() {
    history_.endPass();
}

void ProgramServices::loadDirectoryTree() {
    if (store_ == nullptr) {
        throw RuntimeError{91, "Object variable or With block variable not set",
                           "loadDirectoryTree"};
    }
    tree_ = snapdesk::loadDirectoryTree(platform_, shell_, store_->dataFolder(),
                                        store_->projectFolders(), splash_, SNAPDESK_VERSION_TEXT);
    PathSearchHost& host = *this;
    pathSearch_ = std::make_unique<PathSearch>(
        *list_, platform_, shell_,
        PathSources{automation_, links_, history_, *store_, *tree_, &modernHistory_}, host);
    SaveCommandsHost& saveHost = *this;
    if (makeDialogs_) {
        dialogs_ = makeDialogs_(ProjectDialogParts{*list_, *store_, *pathSearch_, saveHost, [this] {
                                                       return saveCommands_ != nullptr &&
                                                              saveCommands_->saveCancelled();
                                                   }});
    }
    if (dialogs_ != nullptr) {
        saveCommands_ = std::make_unique<SaveCommands>(*list_, *store_, *pathSearch_, *tree_,
                                                       *dialogs_, platform_.ui, saveHost);
        OpenCommandsHost& openHost = *this;
        openCommands_ = std::make_unique<OpenCommands>(
            OpenCommands::Parts{*list_, *store_, *pathSearch_, *dialogs_, *saveCommands_},
            platform_, shell_, automation_, openHost);
    }
}

void ProgramServices::updatePaths(bool force) {
    if (pathSearch_ != nullptr) {
        pathSearch_->updatePaths(force);
    }
}

bool ProgramServices::timer1Enabled() {
    return form_ != nullptr && form_->timer1Enabled();
}

void ProgramServices::setTimer1(bool enabled) {
    if (form_ != nullptr) {
        form_->setTimer1(enabled);
    }
}

int ProgramServices::ieVersion() {
    return form_ != nullptr ? form_->state().ieVersion : 3;
}

bool ProgramServices::checkProceed() {
    return saveCommands_ == nullptr || saveCommands_->checkProceed();
}

void ProgramServices::saveOldPaths() {
    if (store_ != nullptr) {
        store_->saveOldPaths();
    }
}

bool ProgramServices::openRetryDue() {
    return openCommands_ != nullptr && openCommands_->takeOpenRetry();
}

void ProgramServices::retryProjectMatch() {
    if (openCommands_ != nullptr) {
        openCommands_->retryProjectMatch();
    }
}

bool ProgramServices::restoreWindowPositions() {
    return form_ == nullptr || form_->settings().RestorePositions != "no";
}

std::string ProgramServices::netscape6Version() {
    return form_ != nullptr ? form_->state().netscape6Version : std::string();
}

void ProgramServices::waitForLaunch(unsigned ms, const std::function<bool()>& arrived) {
    const auto taken = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - launchStart_)
                           .count();
    if (form_ != nullptr && taken < ms) {
        form_->waitOnTimer2(ms - static_cast<unsigned>(taken), arrived);
    }
}

void ProgramServices::updateImage(long k) {
    if (form_ != nullptr) {
        form_->updateImage(k);
    }
}

void ProgramServices::bringMainWindowBack() {
    if (form_ != nullptr) {
        form_->bringMainWindowBack();
    }
}

void ProgramServices::setTimer4(bool enabled, unsigned intervalMs) {
    if (form_ != nullptr) {
        form_->setTimer4(enabled, intervalMs);
    }
}

void ProgramServices::updateWindowList() {
    if (form_ != nullptr) {
        form_->panel().updateWindowList();
    }
}

void ProgramServices::showProjectTab() {
    if (form_ != nullptr) {
        form_->panel().tabClick(kProjectTab);
    }
}

void ProgramServices::showProjectName(const std::string& name) {
    if (store_ != nullptr) {
        store_->setCurrentProjectName(name);
    }
    setProjectLabelCaption(project_rules::projectLabelCaption(name));
    setProjectLabelLeft((mainWindowWidth() - projectLabelWidth()) / 2);
}

void ProgramServices::setProjectLabelCaption(const std::string& caption) {
    // The tab shows the name again whenever it is clicked.
    if (form_ != nullptr && store_ != nullptr) {
        form_->setProjectName(store_->currentProjectName());
    }
    panelView_.setCaption(PanelControl::lblProjectName, caption);
}

int ProgramServices::projectLabelWidth() {
    return panelView_.bounds(PanelControl::lblProjectName).width;
}

int ProgramServices::mainWindowWidth() {
    return window_.geometry().outerWidth;
}

void ProgramServices::setProjectLabelLeft(int left) {
    Bounds b = panelView_.bounds(PanelControl::lblProjectName);
    b.left = left;
    panelView_.setBounds(PanelControl::lblProjectName, b);
}

void ProgramServices::showNoEmptyOverwrite() {
    if (saveCommands_ != nullptr) {
        saveCommands_->noEmptyOverwrite();
    }
}

void ProgramServices::showNoEmptyProject() {
    if (saveCommands_ != nullptr) {
        saveCommands_->noEmptyProject();
    }
}

void ProgramServices::mnuNewProject_Click() {
    if (saveCommands_ != nullptr) {
        saveCommands_->mnuNewProject_Click();
    }
}

void ProgramServices::mnuOpen_Click() {
    if (openCommands_ != nullptr) {
        openCommands_->mnuOpen_Click();
    }
}

void ProgramServices::mnuSaveProject_Click() {
    if (saveCommands_ != nullptr) {
        saveCommands_->mnuSaveProject_Click();
    }
}

void ProgramServices::mnuSaveProjectAs_Click() {
    if (saveCommands_ != nullptr) {
        saveCommands_->mnuSaveProjectAs_Click();
    }
}

void ProgramServices::refreshProject() {
    if (openCommands_ != nullptr) {
        openCommands_->refreshProject();
    }
}

}  // namespace snapdesk
