#include "projects/save_dialog.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "common/app_title.h"
#include "common/make_short_file_name.h"
#include "common/text.h"
#include "projects/project_rules.h"

namespace snapdesk {

namespace {

constexpr const char* kWinAmp = "\\WINAMP.EXE";
constexpr const char* kExplorer = "\\EXPLORER.EXE";
constexpr const char* kAllFiles = "All Files (*.*)|*.*";

bool isBrowser(const std::string& upperExe) {
    return text::contains(upperExe, "\\NETSCP6.EXE") ||
           text::contains(upperExe, "\\NETSCAPE.EXE") || text::contains(upperExe, "\\IEXPLORE.EXE");
}

bool isMarker(const std::string& path) {
    return path == kNotFound || path == kNoSave;
}

std::string winAmpLine(const std::string& filePath) {
    if (text::contains(text::upperCase(filePath), kWinAmp)) {
        return "WinAmp";
    }
    if (isMarker(filePath)) {
        return "WinAmp ";
    }
    return "WinAmp - " + text::from(filePath, text::findLast(filePath, "\\") + 1);
}

std::string pathMessage(const std::string& path) {
    return "         The path you entered:                                              \r\n"
           "         " +
           path +
           "\r\n"
           "         does not point to a file or folder.\r\n"
           "         Please check and re-enter the path.";
}

}  // namespace

SaveDialog::SaveDialog(CoffeeShopList& list, ProjectStore& store, Ui& ui, Shell& shell,
                       FileSystem& files, std::function<void(bool)> updatePaths,
                       const bool& saveCancelled)
    : list_(list),
      store_(store),
      ui_(ui),
      shell_(shell),
      files_(files),
      updatePaths_(std::move(updatePaths)),
      saveCancelled_(saveCancelled) {}

void SaveDialog::load(SaveDialogView& view) {
    view_ = &view;
    editing_ = false;
    saved_ = false;
    std::vector<std::string> names;
    std::int32_t count = 0;
    store_.getProjectNames(names, count);
    projectNames_.clear();
    for (const auto& name : names) {
        projectNames_.push_back(text::trim(name));
    }
    view.setProjectList(projectNames_);
    view.setProjectName("");

    if (updatePaths_) {
        updatePaths_(true);
    }
    lines_.clear();
    std::vector<std::string> labels;
    for (long i = 1; i <= list_.count(); ++i) {
        const std::string path = list_.filePath(i);
        if (list_.inTab(i) != kProjectTab || path == kNoSave) {
            continue;
        }
        const std::string exe = text::upperCase(list_.EXEPath(i));
        lines_.push_back({path, exe, i});
        labels.push_back(text::contains(exe, kWinAmp) ? winAmpLine(path)
                                                      : makeShortFileName(list_.CaptionString(i)));
    }
    view.setFileLines(labels);
    if (!lines_.empty()) {
        // A selection set from code raises no event: show its location here.
        view.selectFileLine(0);
        fileLineSelected();
    }
}

void SaveDialog::projectListClicked(int index) {
    if (view_ != nullptr && index >= 0 && index < static_cast<int>(projectNames_.size())) {
        view_->setProjectName(projectNames_[static_cast<std::size_t>(index)]);
    }
}

void SaveDialog::fileLineSelected() {
    if (const Line* line = selectedLine()) {
        view_->setLongPath(line->filePath);
    }
}

SaveDialog::Line* SaveDialog::selectedLine() {
    if (view_ == nullptr) {
        return nullptr;
    }
    const int index = view_->selectedFileLine();
    if (index < 0 || index >= static_cast<int>(lines_.size())) {
        return nullptr;
    }
    return &lines_[static_cast<std::size_t>(index)];
}

void SaveDialog::setEditing(bool editing) {
    editing_ = editing;
    view_->showBrowse(editing);
    view_->enableLongPath(editing);
    view_->setEditCaption(editing ? save_dialog_text::kStoreEdit : save_dialog_text::kEditPath);
    view_->setEditToolTip(editing ? save_dialog_text::kStoreChangesTip
                                  : save_dialog_text::kEnableEditingTip);
}

bool SaveDialog::storeEdit() {
    const std::string typed = text::trim(view_->longPath());
    Line* selected = selectedLine();
    if (selected == nullptr || isMarker(typed)) {
        return true;
    }
    Line& line = *selected;
    // An address is not a file: a browser member's text is stored as typed. A pattern would
    // find some file, but it is no location.
    if (!isBrowser(line.exePath) &&
        (typed.find_first_of("*?") != std::string::npos || !files_.findFirstFile(typed))) {
        ui_.messageBox(pathMessage(typed), kAppTitle, MessageBoxStyle::OkCritical);
        return false;
    }
    line.filePath = typed;
    list_.setFilePath(line.record, typed);
    list_.setSearchDone(line.record, true);
    return true;
}

void SaveDialog::editClicked() {
    if (view_ == nullptr) {
        return;
    }
    if (!editing_) {
        setEditing(true);
        return;
    }
    if (storeEdit()) {
        setEditing(false);
    }
}

void SaveDialog::browseClicked() {
    if (view_ == nullptr || !editing_) {
        return;
    }
    const Line* line = selectedLine();
    const std::string exe = line != nullptr ? line->exePath : std::string();
    std::string chosen;
    if (text::contains(exe, kExplorer)) {
        chosen = shell_.browseForFolder(view_->windowHandle());
    } else {
        const std::string current = text::trim(view_->longPath());
        FileDialogRequest request;
        request.filter = kAllFiles;
        if (isMarker(current)) {
            // No location yet: the dialog opens where it likes, with no name filled in.
        } else if (!text::beginsWith(current, "file")) {
            const std::size_t slash = text::findLast(current, "\\");
            request.initialFolder = text::left(current, slash);
            request.fileName = text::from(current, slash + 1);
        } else {
            request.initialFolder = "\\";
            request.fileName = text::from(current, text::findLast(current, "/") + 1);
        }
        chosen = shell_.openFileDialog(view_->windowHandle(), request);
    }
    if (!chosen.empty()) {
        view_->setLongPath(chosen);
    }
}

void SaveDialog::saveClicked() {
    if (view_ == nullptr) {
        return;
    }
    std::string name = text::trim(view_->projectName());
    const std::string problem = project_rules::projectNameProblem(name, store_.projectsFolder());
    if (!problem.empty()) {
        ui_.messageBox(problem, kAppTitle, MessageBoxStyle::OkExclamation);
        return;
    }
    if (editing_) {
        if (!storeEdit()) {
            return;
        }
        setEditing(false);
    }
    const std::string upperName = text::upperCase(name);
    const bool exists = std::any_of(
        projectNames_.begin(), projectNames_.end(),
        [&](const std::string& listed) { return text::upperCase(listed) == upperName; });
    if (exists && ui_.ask(project_rules::overwriteQuestion(name), kAppTitle,
                          QuestionStyle::YesNoCritical) != Answer::Yes) {
        return;
    }
    // A project that could not be written keeps the dialog open: the user was told why.
    if (!store_.saveProject(name, exists)) {
        return;
    }
    saved_ = true;
    if (!saveCancelled_) {
        SaveDialogView* view = std::exchange(view_, nullptr);
        view->close();
    }
}

void SaveDialog::cancelClicked() {
    if (SaveDialogView* view = std::exchange(view_, nullptr)) {
        view->close();
    }
}

}  // namespace snapdesk
