#include "projects/open_commands.h"

#include <algorithm>

#include "common/app_title.h"
#include "common/runtime_error.h"
#include "common/text.h"
#include "projects/project_tab.h"
#include "tracking/long_file_name.h"
#include "tracking/program_key.h"

namespace snapdesk {
namespace {

bool isNoSaveOrNotFound(const std::string& path) {
    return path == kNoSave || path == kNotFound;
}

bool isKind(const std::string& exe, const char* program) {
    return text::contains(text::upperCase(exe), program);
}

}  // namespace

OpenCommands::OpenCommands(Parts parts, Platform& platform, Shell& shell, Automation& automation,
                           OpenCommandsHost& host)
    : list_(parts.list),
      store_(parts.store),
      search_(parts.search),
      dialogs_(parts.dialogs),
      saves_(parts.saves),
      platform_(platform),
      shell_(shell),
      automation_(automation),
      host_(host),
      placer_(platform.windows) {}

void OpenCommands::mnuOpen_Click() {
    host_.setTimer1(false);
    if (!saves_.checkProceed()) {
        host_.setTimer1(true);
        return;
    }
    const std::optional<std::string> chosen = dialogs_.showOpenProject();
    if (!chosen) {
        host_.setTimer1(true);
        return;
    }
    try {
        openProject(*chosen);
    } catch (const RuntimeError& e) {
        platform_.ui.messageBox("An error has occured in 'mnuOpen' :      " + e.description,
                                kAppTitle, MessageBoxStyle::Ok);
        host_.setTimer1(true);
    }
    platform_.ui.setBusyCursor(false);
}

void OpenCommands::openRecovered(const std::string& name,
                                 const std::vector<StoredMember>& members) {
    host_.setTimer1(false);
    try {
        openProject(name, &members);
    } catch (const RuntimeError& e) {
        platform_.ui.messageBox("An error has occured in 'mnuOpen' :      " + e.description,
                                kAppTitle, MessageBoxStyle::Ok);
        host_.setTimer1(true);
    }
    platform_.ui.setBusyCursor(false);
}

void OpenCommands::openProject(const std::string& name, const std::vector<StoredMember>* given) {
    platform_.ui.setBusyCursor(true);
    store_.setCurrentProjectName(name);
    host_.showProjectName(name);
    emptyProjectTab(list_);
    placer_.startOpen();

    preOpenHandles_.clear();
    netscape6Counter_ = 0;
    for (long i = 1; i <= list_.count(); ++i) {
        preOpenHandles_.push_back(list_.hWnd(i));
        if (isKind(list_.EXEPath(i), "\\NETSCP6.EXE")) {
            netscape6Counter_ = 1;
        }
    }
    host_.showProjectTab();

    std::vector<std::string> notOpened;
    const std::vector<ProjectMember> members =
        given != nullptr ? membersToOpen(*given, notOpened) : readMembers(name, notOpened);
    launched_.assign(members.size(), false);
    launchAll(members);

    // The window answers between the steps that follow, each a walk of the desktop or more.
    Ui& ui = platform_.ui;
    list_.refreshList();
    matchLaunched(members);
    ui.doEvents();
    list_.refreshList();
    ui.doEvents();
    host_.updateWindowList();
    ui.doEvents();
    placeLeftovers(members);
    for (std::size_t j = 0; j < members.size(); ++j) {
        if (!launched_[j] && isNoSaveOrNotFound(members[j].location)) {
            notOpened.push_back(text::left(members[j].name, 80) +
                                ": its location was not found yet");
        }
    }
    ui.doEvents();
    updateProjectImages();
    host_.bringMainWindowBack();
    ui.doEvents();

    search_.updatePaths(true);
    ui.doEvents();
    host_.updateWindowList();
    host_.setTimer4(true, kFirstRetryMs);
    host_.setTimer1(true);
    openPass_ = 0;
    openRetry_ = true;
    if (!notOpened.empty()) {
        platform_.ui.messageBox(launch_rules::notOpenedMessage(notOpened), kAppTitle,
                                MessageBoxStyle::OkExclamation);
    }
}

// The project's members, without those a hand-edited file leaves unusable (listed in
// `notOpened`). A member without a location is its program.
std::vector<ProjectMember> OpenCommands::readMembers(const std::string& name,
                                                     std::vector<std::string>& notOpened) {
    std::vector<std::string> names, paths, exes, comments, profiles, placements;
    std::int32_t count = 0;
    store_.readProject(name, names, paths, exes, comments, count, &profiles, &placements);
    std::vector<StoredMember> stored;
    for (std::size_t j = 0; j < static_cast<std::size_t>(count); ++j) {
        stored.push_back({names[j], paths[j], exes[j], comments[j], profiles[j], placements[j]});
    }
    return membersToOpen(stored, notOpened);
}

std::vector<ProjectMember> OpenCommands::membersToOpen(const std::vector<StoredMember>& stored,
                                                       std::vector<std::string>& notOpened) {
    std::vector<ProjectMember> members;
    for (std::size_t j = 0; j < stored.size(); ++j) {
        const StoredMember& s = stored[j];
        ProjectMember member{s.caption,
                             s.path.empty() ? text::upperCase(s.exe) : s.path,
                             text::upperCase(s.exe),
                             s.comment,
                             s.profile,
                             s.placement};
        // Without its program, a document belongs to the one the shell opens it with.
        if (member.exe.empty() && !member.location.empty()) {
            member.exe = associatedProgram(member.location);
        }
        const std::string label =
            member.name.empty() ? "Member " + std::to_string(j + 1) : text::left(member.name, 80);
        std::string problem = launch_rules::memberProblem(member);
        if (problem.empty() && members.size() >= launch_rules::kMostMembersOpened) {
            problem = "more than " + std::to_string(launch_rules::kMostMembersOpened) +
                      " members are not opened at once";
        }
        if (!problem.empty()) {
            notOpened.push_back(label + ": " + problem);
            continue;
        }
        members.push_back(std::move(member));
    }
    return members;
}

void OpenCommands::launchAll(const std::vector<ProjectMember>& members) {
    netscape6Members_ =
        static_cast<int>(std::count_if(members.begin(), members.end(), [](const ProjectMember& m) {
            return launch_rules::launchClass(m) != LaunchClass::Ordinary;
        }));
    // Woken by the desktop where it tells of new windows; looked for all the same.
    struct WatchWindows {
        Ui& ui;
        explicit WatchWindows(Ui& u) : ui(u) { ui.watchWindowEvents(true); }
        ~WatchWindows() { ui.watchWindowEvents(false); }
    } watch(platform_.ui);
    for (const LaunchClass pass :
         {LaunchClass::Ordinary, LaunchClass::Netscape6, LaunchClass::Netscape6Web}) {
        for (std::size_t j = 0; j < members.size(); ++j) {
            const ProjectMember& member = members[j];
            // A member kept before its location was found can only be found among the windows.
            if (launch_rules::launchClass(member) != pass || isOpen(member) ||
                isNoSaveOrNotFound(member.location)) {
                continue;
            }
            if (!launch(member)) {
                continue;
            }
            // The wait is the longest the program may take; it ends when its window is there.
            host_.waitForLaunch(
                launch_rules::waitAfterLaunch(member, netscape6Counter_, netscape6Members_),
                [this, j, &member] { return memberArrived(j, member); });
            list_.refreshList();
        }
    }
}

bool OpenCommands::isOpen(const ProjectMember& member) const {
    const std::string name = text::upperCase(member.name);
    const std::string location = text::upperCase(member.location);
    for (long i = 1; i <= list_.count(); ++i) {
        const std::string exe = programKeyOf(list_, i);
        if (exe != member.exe || text::contains(exe, "\\WINAMP.EXE")) {
            continue;
        }
        const std::string caption = text::upperCase(list_.CaptionString(i));
        const std::string path = list_.filePath(i);
        if ((caption == name || text::beginsWith(caption, name + ".")) &&
            (isNoSaveOrNotFound(path) || text::upperCase(path) == location)) {
            return true;
        }
    }
    return false;
}

std::string OpenCommands::associatedProgram(const std::string& document) {
    long code = 0;
    const std::string program = shell_.findExecutable(document, "C:\\", code);
    return program.empty() ? std::string()
                           : text::upperCase(LongFileName(platform_.files, platform_.ui, program));
}

bool OpenCommands::launch(const ProjectMember& member) {
    host_.launchStarting();
    const std::string associated =
        launch_rules::needsAssociation(member) ? associatedProgram(member.location) : "";
    const LaunchContext context{host_.ieVersion(), host_.netscape6Version(),
                                shell_.explorerWantsQuotedFolder()};
    LaunchPlan plan = launch_rules::planLaunch(member, context, associated);
    // A program would only complain about a document that is gone; the user hears it here.
    if (plan.how == LaunchHow::ShellOpen && launch_rules::isFilePath(member.location) &&
        !platform_.files.fileAttributes(member.location)) {
        plan = LaunchPlan{};
        plan.refusal = launch_rules::launchErrorText(2);
    }
    std::string reason = plan.refusal;
    if (plan.how != LaunchHow::Refused) {
        try {
            const long code = launchByPlan(plan);
            if (code > 32) {
                return true;
            }
            reason = launch_rules::launchErrorText(code);
        } catch (const RuntimeError& e) {
            // A browser that cannot be created or sent anywhere is this member's failure only.
            reason = e.description;
        }
    }
    platform_.ui.messageBox(launch_rules::launchErrorMessage(member, reason), kAppTitle,
                            MessageBoxStyle::Ok);
    return false;
}

long OpenCommands::launchByPlan(const LaunchPlan& plan) {
    switch (plan.how) {
        case LaunchHow::ShellOpen:
            return shell_.shellExecute(0, ShellOpenRequest{plan.verb, plan.file, plan.parameters,
                                                           plan.workingFolder, plan.currentFolder});
        case LaunchHow::StartProgram:
            return shell_.startProgram(plan.file, plan.parameters);
        case LaunchHow::BrowserObject: {
            const std::unique_ptr<BrowserObject> browser = automation_.createBrowser();
            if (!plan.address.empty()) {
                browser->navigate(plan.address);
            }
            browser->setVisible(true);
            return kLaunchOk;
        }
        case LaunchHow::Refused:
            break;
    }
    return 0;
}

bool OpenCommands::matchesMember(long i, const ProjectMember& member) const {
    const std::string exe = programKeyOf(list_, i);
    if (exe != member.exe || list_.inTab(i) == kProjectTab) {
        return false;
    }
    if (text::contains(exe, "\\WINAMP.EXE")) {
        return true;
    }
    const std::string name = text::upperCase(member.name);
    const std::string caption = text::upperCase(list_.CaptionString(i));
    const std::string path = list_.filePath(i);
    return (text::beginsWith(caption, name) || text::beginsWith(name, caption)) &&
           (isNoSaveOrNotFound(path) || text::upperCase(path) == text::upperCase(member.location));
}

bool OpenCommands::memberArrived(std::size_t j, const ProjectMember& member) {
    // A look many times a second: the member's picture is taken once the launches are over.
    list_.refreshList(false);
    for (long i = 1; i <= list_.count(); ++i) {
        // A window open before the open is left to the matching after the launches.
        if (std::find(preOpenHandles_.begin(), preOpenHandles_.end(), list_.hWnd(i)) ==
                preOpenHandles_.end() &&
            matchesMember(i, member)) {
            memberWindowArrived(member, i);
            launched_[j] = true;
            return true;
        }
    }
    return false;
}

void OpenCommands::matchLaunched(const std::vector<ProjectMember>& members) {
    for (std::size_t j = 0; j < members.size(); ++j) {
        if (launched_[j]) {
            continue;  // matched when its window came
        }
        for (long i = 1; i <= list_.count(); ++i) {
            if (matchesMember(i, members[j])) {
                memberWindowArrived(members[j], i);
                launched_[j] = true;
                break;
            }
        }
    }
}

void OpenCommands::placeLeftovers(const std::vector<ProjectMember>& members) {
    if (projectTabCount() < static_cast<long>(members.size())) {
        for (std::size_t j = 0; j < members.size(); ++j) {
            if (launched_[j]) {
                continue;
            }
            for (long i = list_.count(); i >= 1; --i) {
                if (list_.inTab(i) != kProjectTab && programKeyOf(list_, i) == members[j].exe &&
                    std::find(preOpenHandles_.begin(), preOpenHandles_.end(), list_.hWnd(i)) ==
                        preOpenHandles_.end()) {
                    memberWindowArrived(members[j], i);
                    launched_[j] = true;
                    break;
                }
            }
        }
    }
    host_.updateWindowList();
}

void OpenCommands::updateProjectImages() {
    const bool oldBrowser = host_.ieVersion() < 5;
    for (long k = 1; k <= list_.count(); ++k) {
        if (list_.inTab(k) != kProjectTab) {
            continue;
        }
        const std::string exe = list_.EXEPath(k);
        if ((oldBrowser && isKind(exe, "\\IEXPLORE.EXE")) || isKind(exe, "\\EXPLORER.EXE") ||
            isKind(exe, "\\WINAMP.EXE") || !list_.gotPhoto(k)) {
            host_.updateImage(k);
        }
    }
}

void OpenCommands::memberWindowArrived(const ProjectMember& member, long k) {
    list_.setInTab(k, kProjectTab);
    list_.setFilePath(k, member.location);
    list_.setSearchDone(k, true);
    list_.setCommentString(k, member.comment);
    list_.setBrowserProfile(k, member.profile);
    if (host_.restoreWindowPositions()) {
        placer_.place(list_, k, member.placement);
    }
}

long OpenCommands::projectTabCount() const {
    long count = 0;
    for (long i = 1; i <= list_.count(); ++i) {
        count += list_.inTab(i) == kProjectTab ? 1 : 0;
    }
    return count;
}

bool OpenCommands::takeOpenRetry() {
    const bool due = openRetry_;
    openRetry_ = false;
    return due;
}

bool OpenCommands::onProjectTabAlready(const ProjectMember& member) const {
    const std::string location = text::upperCase(member.location);
    for (long i = 1; i <= list_.count(); ++i) {
        if (list_.inTab(i) == kProjectTab && programKeyOf(list_, i) == member.exe &&
            text::upperCase(list_.filePath(i)) == location) {
            return true;
        }
    }
    return false;
}

void OpenCommands::retryProjectMatch() {
    ++openPass_;
    host_.setTimer1(false);
    host_.setTimer4(false, kFirstRetryMs);
    host_.updateWindowList();
    std::vector<std::string> notOpened;
    for (const ProjectMember& member : readMembers(store_.currentProjectName(), notOpened)) {
        if (onProjectTabAlready(member)) {
            continue;
        }
        const std::string name = text::upperCase(member.name);
        for (long i = 1; i <= list_.count(); ++i) {
            if (list_.inTab(i) != kProjectTab && programKeyOf(list_, i) == member.exe &&
                text::upperCase(list_.CaptionString(i)) == name) {
                memberWindowArrived(member, i);
                break;
            }
        }
    }
    host_.updateWindowList();
    host_.setTimer1(true);
    if (openPass_ == 1) {
        host_.setTimer4(true, kSecondRetryMs);
        openRetry_ = true;
    } else {
        host_.setTimer4(false, kSecondRetryMs);
        openRetry_ = false;
    }
}

void OpenCommands::refreshProject() {
    host_.setTimer1(false);
    host_.updateWindowList();
    std::vector<std::string> notOpened;
    for (const ProjectMember& member : readMembers(store_.currentProjectName(), notOpened)) {
        if (onProjectTabAlready(member)) {
            continue;
        }
        const std::string location = text::upperCase(member.location);
        for (long i = 1; i <= list_.count(); ++i) {
            if (list_.inTab(i) != kProjectTab && programKeyOf(list_, i) == member.exe &&
                text::upperCase(list_.filePath(i)) == location) {
                list_.setInTab(i, kProjectTab);
                list_.setSearchDone(i, true);
                break;
            }
        }
    }
    host_.updateWindowList();
    host_.setTimer1(true);
}

}  // namespace snapdesk
