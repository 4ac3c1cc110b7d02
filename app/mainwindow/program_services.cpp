#include "mainwindow/program_services.h"

#include "common/runtime_error.h"
#include "location/load_directory_tree.h"
#include "resources/version.h"

namespace snapdesk {

ProgramServices::ProgramServices(Platform& platform, Shell& shell, Automation& automation,
                                 LinkPathResolver& links, MainWindowView& window,
                                 PanelView& panelView, DirTreeSplashHost& splash)
    : platform_(platform),
      shell_(shell),
      automation_(automation),
      links_(links),
      window_(window),
      panelView_(panelView),
      splash_(splash),
      history_(platform.files, shell) {}

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
    store_->loadProjectStore();
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
        *list_, platform_, shell_, PathSources{automation_, links_, history_, *store_, *tree_},
        host);
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
    // Nothing asks to save a project yet: the window may close.
    return true;
}

void ProgramServices::saveOldPaths() {
    if (store_ != nullptr) {
        store_->saveOldPaths();
    }
}

bool ProgramServices::openRetryDue() {
    // Opening projects arrives with the project commands; no retry is ever due before.
    return false;
}

void ProgramServices::retryProjectMatch() {}

void ProgramServices::setProjectLabelCaption(const std::string& caption) {
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
    // The dialogs of saving arrive with the project commands, which alone can reach here.
}

void ProgramServices::showNoEmptyProject() {}

// The project commands arrive with their dialogs; until then the buttons and items do nothing.
void ProgramServices::mnuNewProject_Click() {}

void ProgramServices::mnuOpen_Click() {}

void ProgramServices::mnuSaveProject_Click() {}

void ProgramServices::mnuSaveProjectAs_Click() {}

void ProgramServices::refreshProject() {}

}  // namespace snapdesk
