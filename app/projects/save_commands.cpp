#include "projects/save_commands.h"

#include <cstdint>
#include <vector>

#include "common/app_title.h"
#include "common/modern_programs.h"
#include "common/runtime_error.h"
#include "common/text.h"
#include "projects/project_rules.h"
#include "projects/project_tab.h"

namespace snapdesk {
namespace {

using project_rules::kProjectTabMarker;
using project_rules::kUntitled;

bool isPlayer(const std::string& exe) {
    return text::contains(text::upperCase(exe), "\\WINAMP.EXE");
}

// The members of a project (or of the Project tab) as the comparison needs them.
struct Members {
    std::vector<std::string> names, paths, exes, comments;
    std::int32_t count = 0;
};

Members readMembers(ProjectStore& store, const std::string& name) {
    Members m;
    store.readProject(name, m.names, m.paths, m.exes, m.comments, m.count);
    return m;
}

bool sameMember(const Members& a, std::size_t i, const Members& b, std::size_t j) {
    return text::upperCase(a.paths[i]) == text::upperCase(b.paths[j]) ||
           (isPlayer(a.exes[i]) && isPlayer(b.exes[j]));
}

bool hasMatch(const Members& a, std::size_t i, const Members& b) {
    for (std::size_t j = 0; j < b.paths.size(); ++j) {
        if (sameMember(a, i, b, j)) {
            return true;
        }
    }
    return false;
}

}  // namespace

SaveCommands::SaveCommands(CoffeeShopList& list, ProjectStore& store, PathSearch& search,
                           DirectoryTree& tree, ProjectDialogs& dialogs, Ui& ui,
                           SaveCommandsHost& host)
    : list_(list),
      store_(store),
      search_(search),
      tree_(tree),
      dialogs_(dialogs),
      ui_(ui),
      host_(host) {}

void SaveCommands::mnuSaveProject_Click() {
    saveCommand(false);
}

void SaveCommands::mnuSaveProjectAs_Click() {
    saveCommand(true);
}

void SaveCommands::saveCommand(bool always) {
    host_.setTimer1(false);
    try {
        long savable = 0;
        for (long i = 1; i <= list_.count(); ++i) {
            savable += list_.inTab(i) == kProjectTab && list_.filePath(i) != kNoSave ? 1 : 0;
        }
        const bool untitled = store_.currentProjectName() == kUntitled;
        if (savable > 0) {
            saveProjectTab(always || untitled);
        } else if (always || untitled) {
            noEmptyProject();
        } else {
            noEmptyOverwrite();
        }
    } catch (const RuntimeError& e) {
        ui_.setBusyCursor(false);
        saveCancelled_ = true;
        ui_.messageBox(
            "An error has occured in 'saveProjectTab'\n" + e.description + " " + e.source,
            kAppTitle, MessageBoxStyle::Ok);
    }
    host_.setTimer1(true);
}

void SaveCommands::saveProjectTab(bool askName) {
    ui_.setBusyCursor(true);
    search_.findOfficePaths();
    search_.findWordPath();
    search_.findExplorerPaths();
    search_.findBrowserPaths();
    search_.findModernBrowserPaths();
    ui_.setBusyCursor(false);

    resolveProjectMembers(store_.currentProjectName());
    if (saveCancelled_) {
        return;
    }
    bool savable = false;
    askAboutMissingPaths(savable);
    if (!savable) {
        if (store_.currentProjectName() == kUntitled) {
            noEmptyProject();
        } else {
            noEmptyOverwrite();
        }
        return;
    }
    if (askName) {
        dialogs_.showSave();
        return;
    }
    std::string name = store_.currentProjectName();
    ui_.setBusyCursor(true);
    // A project that could not be written counts as not saved: the user was told why.
    saveCancelled_ = !store_.saveProject(name, true);
    ui_.setBusyCursor(false);
}

void SaveCommands::askAboutMissingPaths(bool& savable) {
    for (long i = 1; i <= list_.count(); ++i) {
        if (list_.inTab(i) != kProjectTab) {
            continue;
        }
        const std::string path = list_.filePath(i);
        if (path == kNotFound) {
            const std::string answer =
                dialogs_.showNoPathInfo(list_.CaptionString(i), list_.EXEPath(i));
            list_.setFilePath(i, answer.empty() ? kNoSave : answer);
            list_.setSearchDone(i, true);
            savable = savable || !answer.empty();
        } else if (path != kNoSave) {
            savable = true;
        }
    }
}

void SaveCommands::resolveProjectMembers(const std::string& name) {
    saveCancelled_ = false;
    askAboutSongs(name);
    if (askAboutBrowsers()) {
        saveCancelled_ = dialogs_.showContinueSearch(*this);
    }
}

void SaveCommands::askAboutSongs(const std::string& name) {
    for (long i = 1; i <= list_.count(); ++i) {
        const std::string exe = list_.EXEPath(i);
        if (list_.inTab(i) != kProjectTab || !text::contains(exe, "\\WINAMP.EXE")) {
            continue;
        }
        const std::string path = list_.filePath(i);
        // A member left out has no song to show.
        const bool known = path != kNotFound && path != kNoSave;
        if (known) {
            const Members saved = readMembers(store_, name);
            bool same = false;
            for (std::size_t j = 0; j < saved.exes.size(); ++j) {
                if (isPlayer(saved.exes[j])) {
                    same = text::upperCase(saved.paths[j]) == text::upperCase(path);
                    break;
                }
            }
            if (same) {
                continue;
            }
        }
        dialogs_.showWinAmp(known ? path : std::string(), exe);
    }
}

bool SaveCommands::askAboutBrowsers() {
    bool missing = false;
    for (long i = 1; i <= list_.count(); ++i) {
        if (list_.inTab(i) != kProjectTab || list_.filePath(i) != kNotFound) {
            continue;
        }
        const std::string exe = list_.EXEPath(i);
        const bool netscape6 = text::contains(exe, "\\NETSCP6.EXE");
        const bool netscape4 = text::contains(exe, "\\NETSCAPE.EXE");
        const bool oldExplorer = text::contains(exe, "\\IEXPLORE.EXE") && host_.ieVersion() < 5;
        // Today's browsers are asked about like the old ones whose history had no such page.
        const ModernBrowser modern = modernBrowserOf(exe);
        if (!netscape6 && !netscape4 && !oldExplorer && modern == ModernBrowser::None) {
            missing = true;
            continue;
        }
        const std::string label = modern != ModernBrowser::None ? modernBrowserLabel(modern)
                                  : netscape6                   ? "Netscape 6"
                                  : netscape4
                                      ? "Netscape 4"
                                      : "Internet Explorer " + std::to_string(host_.ieVersion());
        const std::string answer = dialogs_.showNoNetscape6(list_.CaptionString(i), label);
        list_.setFilePath(i, answer == kSaveBrowserExe ? exe
                             : answer.empty()          ? std::string(kNoSave)
                                                       : answer);
        list_.setSearchDone(i, true);
    }
    return missing;
}

void SaveCommands::quickSearch() {
    ui_.setBusyCursor(true);
    bool restart = true;
    search_.finishFilePathSearch(restart);
    ui_.setBusyCursor(false);
}

void SaveCommands::fullSearch() {
    ui_.setBusyCursor(true);
    // The save keeps the timer off until it ends.
    tree_.rebuildDirTree({});
    bool restart = true;
    search_.finishFilePathSearch(restart);
    search_.updatePaths(true);
    ui_.setBusyCursor(false);
}

bool SaveCommands::tabHasRecords() const {
    for (long i = 1; i <= list_.count(); ++i) {
        if (list_.inTab(i) == kProjectTab) {
            return true;
        }
    }
    return false;
}

void SaveCommands::noEmptyProject() {
    dialogs_.showNoEmptyProject(tabHasRecords());
}

void SaveCommands::noEmptyOverwrite() {
    switch (dialogs_.showNoEmptyOverwrite()) {
        case EmptyOverwriteChoice::DeleteProject:
            store_.deleteProject(store_.currentProjectName());
            startUntitled();
            break;
        case EmptyOverwriteChoice::OpenNewProject:
            startUntitled();
            break;
        case EmptyOverwriteChoice::Closed:
            break;
    }
}

void SaveCommands::startUntitled() {
    store_.setCurrentProjectName(kUntitled);
    host_.showProjectName(kUntitled);
    for (long i = list_.count(); i >= 1; --i) {
        if (list_.inTab(i) == kProjectTab) {
            list_.setInTab(i, list_.originalTab(i));
            list_.mvToEnd(i);
        }
    }
    host_.updateWindowList();
}

void SaveCommands::mnuNewProject_Click() {
    host_.setTimer1(false);
    if (checkProceed()) {
        store_.setCurrentProjectName(kUntitled);
        host_.showProjectName(kUntitled);
        emptyProjectTab(list_);
        host_.updateWindowList();
    }
    host_.setTimer1(true);
}

bool SaveCommands::projectChanged(bool& fewer, bool& empty) {
    const Members tab = readMembers(store_, kProjectTabMarker);
    const Members saved = readMembers(store_, store_.currentProjectName());
    empty = tab.count == 0;
    fewer = tab.count < saved.count;
    if (empty) {
        return saved.count > 0;
    }
    if (fewer) {
        return true;
    }
    const bool more = tab.count > saved.count;
    for (std::size_t i = 0; i < tab.paths.size(); ++i) {
        if (!(more && tab.paths[i] == kNoSave) && !hasMatch(tab, i, saved)) {
            return true;
        }
    }
    for (std::size_t j = 0; j < saved.paths.size(); ++j) {
        if (!hasMatch(saved, j, tab)) {
            return true;
        }
    }
    return false;
}

bool SaveCommands::checkProceed() {
    const std::string name = store_.currentProjectName();
    if (name == kUntitled) {
        return true;
    }
    bool fewer = false, empty = false;
    bool changed = false;
    try {
        changed = projectChanged(fewer, empty);
    } catch (const RuntimeError& e) {
        ui_.messageBox("An error has occured in 'checkProceed' at 2  " + e.description, kAppTitle,
                       MessageBoxStyle::Ok);
        return true;
    }
    if (!changed) {
        return true;
    }
    const QuestionStyle style = !empty && fewer ? QuestionStyle::YesNoCancelExclamation
                                                : QuestionStyle::YesNoCancelQuestion;
    switch (ui_.ask("Do you want to save changes in " + name + "?", kAppTitle, style, 2)) {
        case Answer::Yes:
            host_.showProjectTab();
            mnuSaveProject_Click();
            // A save that did not happen must not let the changes go.
            return !saveCancelled_;
        case Answer::No:
            return true;
        case Answer::Cancel:
            return false;
    }
    return false;
}

}  // namespace snapdesk
