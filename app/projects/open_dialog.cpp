#include "projects/open_dialog.h"

#include <cstdint>
#include <utility>

#include "common/app_title.h"
#include "common/make_short_file_name.h"
#include "common/text.h"

namespace snapdesk {

namespace {

constexpr const char* kWinAmp = "\\WINAMP.EXE";

std::string winAmpLine(const std::string& location) {
    if (text::contains(text::upperCase(location), kWinAmp)) {
        return "WinAmp";
    }
    const std::string song = text::from(location, text::findLast(location, "\\") + 1);
    return text::contains(song, "WINAMP.EXE") ? "WinAmp" : "WinAmp - " + song;
}

std::string emptyProjectLine(const std::string& project) {
    return "No Files in Project: '" + project + "'";
}

std::string deleteQuestion(const std::string& project) {
    return "\r\nDo you really want to remove '" + project + "'?\r\n";
}

}  // namespace

std::vector<std::string> projectMemberLines(const std::string& project,
                                            const std::vector<std::string>& names,
                                            const std::vector<std::string>& paths,
                                            const std::vector<std::string>& exes) {
    if (names.empty()) {
        return {emptyProjectLine(project)};
    }
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < names.size(); ++i) {
        lines.push_back(text::contains(exes[i], kWinAmp) ? winAmpLine(paths[i])
                                                         : makeShortFileName(names[i]));
    }
    return lines;
}

OpenDialog::OpenDialog(ProjectStore& store, Ui& ui) : store_(store), ui_(ui) {}

void OpenDialog::load(OpenDialogView& view) {
    view_ = &view;
    projectToOpen_.reset();
    std::int32_t count = 0;
    store_.getProjectNames(projectNames_, count);
    view.setProjectList(projectNames_);
    view.setFilesLabel("");
}

std::optional<std::string> OpenDialog::projectAt(int index) const {
    if (index < 0 || index >= static_cast<int>(projectNames_.size())) {
        return std::nullopt;
    }
    return projectNames_[static_cast<std::size_t>(index)];
}

void OpenDialog::projectSelected(int index) {
    const std::optional<std::string> name = projectAt(index);
    if (view_ == nullptr || !name) {
        return;
    }
    std::vector<std::string> names, paths, exes, comments;
    std::int32_t count = 0;
    store_.readProject(*name, names, paths, exes, comments, count);
    view_->setFilesLabel("");
    view_->setSelectedProjectName(*name);
    view_->setMemberLines(projectMemberLines(*name, names, paths, exes));
    ui_.doEvents();
}

void OpenDialog::fileLineClicked() {
    if (view_ != nullptr) {
        view_->clearMemberSelection();
    }
}

void OpenDialog::openClicked() {
    if (view_ != nullptr) {
        projectToOpen_ = projectAt(view_->selectedProject());
        close();
    }
}

void OpenDialog::cancelClicked() {
    projectToOpen_.reset();
    close();
}

void OpenDialog::deleteClicked() {
    if (view_ == nullptr) {
        return;
    }
    const int index = view_->selectedProject();
    const std::optional<std::string> name = projectAt(index);
    if (!name ||
        ui_.ask(deleteQuestion(*name), kAppTitle, QuestionStyle::YesNoExclamation) != Answer::Yes) {
        return;
    }
    projectNames_.erase(projectNames_.begin() + index);
    view_->removeProjectLine(index);
    view_->setFilesLabel("");
    view_->setSelectedProjectName("");
    store_.deleteProject(*name);
    view_->setMemberLines({});
}

void OpenDialog::close() {
    if (OpenDialogView* view = std::exchange(view_, nullptr)) {
        view->close();
    }
}

}  // namespace snapdesk
