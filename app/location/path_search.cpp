#include "location/path_search.h"

#include "common/app_title.h"
#include "common/runtime_error.h"
#include "location/cloud_files.h"
#include "tracking/recent_folder.h"

namespace snapdesk {
namespace {

constexpr const char* kExploring = "Exploring - ";
constexpr const char* kIeSuffix = " - Microsoft Internet Explorer";
// Longer than any window class the searches compare.
constexpr int kLongestClassName = 64;

std::string replaceAll(std::string s, const std::string& from, const std::string& to) {
    for (std::size_t at = s.find(from); at != std::string::npos;
         at = s.find(from, at + to.size())) {
        s.replace(at, from.size(), to);
    }
    return s;
}

std::string withoutExploring(const std::string& caption) {
    return text::beginsWith(caption, kExploring) ? caption.substr(std::string(kExploring).size())
                                                 : caption;
}

bool exeIs(const std::string& exePath, const char* exe) {
    return text::contains(text::upperCase(exePath), exe);
}

// "(C:)": a drive shown by its letter alone.
bool isDriveCaption(const std::string& caption) {
    const std::string t = text::trim(caption);
    return t.size() == 4 && t[0] == '(' && t.compare(2, 2, ":)") == 0;
}

// A caption that ends in a dot and three characters names its file whole.
bool endsInThreeLetterExtension(const std::string& caption) {
    const std::size_t dot = caption.rfind('.');
    return dot != std::string::npos && caption.size() - dot - 1 == 3;
}

// The location a shell window shows, from its address.
std::string shellWindowPath(const std::string& name, std::string url) {
    if (url.empty()) {
        url = name;
    } else if (text::beginsWith(text::upperCase(url), "FILE://")) {
        return addressToPath("file" + url.substr(4));
    }
    return replaceAll(replaceAll(url, "%20", " "), "/", "\\");
}

}  // namespace

PathSearch::PathSearch(CoffeeShopList& list, Platform& platform, Shell& shell, PathSources sources,
                       PathSearchHost& host)
    : list_(list), platform_(platform), shell_(shell), sources_(sources), host_(host) {}

void PathSearch::updatePaths(bool force) {
    const bool timerWasOn = host_.timer1Enabled();
    host_.setTimer1(false);
    try {
        if (!force) {
            alternation_ = 1 - alternation_;
        }
        if (force || alternation_ == 1) {
            forgetShellWindows();
            bool treeStepTaken = false;
            for (long i = list_.count(); i >= 1; --i) {
                if (exeIs(list_.EXEPath(i), "\\WINAMP.EXE") || !onProjectTab(i) ||
                    list_.searchDone(i)) {
                    continue;
                }
                searchRecord(i, treeStepTaken);
            }
        }
    } catch (const RuntimeError& e) {
        platform_.ui.messageBox(
            "Error has occured in 'updatePaths'\n" + e.description + " " + e.source, kAppTitle,
            MessageBoxStyle::Ok);
    }
    forgetShellWindows();
    host_.setTimer1(timerWasOn);
}

void PathSearch::searchRecord(long i, bool& treeStepTaken) {
    const std::string caption = list_.CaptionString(i);
    if (text::beginsWith(caption, "Exploring")) {
        list_.setFilePath(i, caption);
        list_.setSearchDone(i, true);
        return;
    }
    if (list_.originalTab(i) == kWebBrowsersTab) {
        std::string address;
        if (exeIs(list_.EXEPath(i), "\\IEXPLORE.EXE") && host_.ieVersion() >= 5) {
            address = browserWindowAddress(caption);
        }
        list_.setFilePath(i, address.empty() ? kNotFound : address);
        list_.setSearchDone(i, !address.empty());
        return;
    }
    if (text::contains(text::left(caption, 3), ":")) {
        list_.setFilePath(i, pathFromCaption(i, caption));
        list_.setSearchDone(i, true);
        return;
    }

    const std::string name = text::NulTrim(caption);
    std::string candidate = shortcutOrStoredPath(i, name);
    if (candidate == kNotFound && list_.filePath(i) == kNotFound && !treeStepTaken) {
        treeStepTaken = true;
        const WindowHandle window = list_.hWnd(i);
        std::string searched = name;
        std::int32_t index = list_.searchIndex(i);
        std::uint32_t high = list_.bestTimeHigh(i);
        std::uint32_t low = list_.bestTimeLow(i);
        bool done = list_.searchDone(i);
        const std::string found = sources_.tree.findPath(searched, index, high, low, done, false);
        // The step answers messages: a command may have changed the list meanwhile.
        if (list_.hWnd(i) != window) {
            return;
        }
        list_.setSearchIndex(i, index);
        list_.setSearchDone(i, done);
        candidate.clear();
        if (found != kNotFound && !found.empty()) {
            list_.setBestTimeHigh(i, high);
            list_.setBestTimeLow(i, low);
            candidate = found;
        }
    }
    // A location once found is kept when its shortcut or stored path has gone since.
    if (!candidate.empty() && !(candidate == kNotFound && list_.filePath(i) != kNotFound)) {
        list_.setFilePath(i, candidate);
    }
}

std::string PathSearch::pathFromCaption(long i, const std::string& caption) {
    if (endsInThreeLetterExtension(caption)) {
        return caption;
    }
    if (exeIs(list_.EXEPath(i), "\\EXPLORER.EXE")) {
        return isDriveCaption(caption) ? text::trim(caption).substr(1, 2) + "\\" : caption;
    }
    if (const auto match = platform_.files.findFirstFile(caption + ".*")) {
        const std::size_t dot = match->name.rfind('.');
        if (dot != std::string::npos) {
            const std::size_t length = match->name.size() - dot;
            if (length >= 2 && length <= 4) {
                return caption + match->name.substr(dot);
            }
        }
    }
    return caption;
}

std::string PathSearch::shortcutOrStoredPath(long i, const std::string& name) {
    std::string candidate;
    if (recentFolder() != kRecentFolderUnknown && !exeIs(list_.EXEPath(i), "\\EXPLORER.EXE") &&
        list_.originalTab(i) != kWebBrowsersTab) {
        candidate = text::NulTrim(
            sources_.links.getLinkPath(host_.mainWindowHandle(), recentFolder() + name + ".lnk"));
    }
    if (candidate.empty()) {
        candidate = sources_.store.storedPath(name);
    }
    return candidate;
}

std::string PathSearch::browserWindowAddress(const std::string& caption) {
    const auto& windows = shellWindowsOfPass();
    if (!windows) {
        return {};
    }
    // A window whose title starts the caption is the better match.
    for (const bool fromStart : {true, false}) {
        for (const ShellWindowLocation& w : *windows) {
            const std::string title = w.locationName + kIeSuffix;
            if (fromStart ? text::beginsWith(caption, title) : text::contains(caption, title)) {
                return addressToPath(w.locationURL);
            }
        }
    }
    return {};
}

void PathSearch::finishFilePathSearch(bool& restart) {
    for (long i = 1; i <= list_.count(); ++i) {
        const std::string path = list_.filePath(i);
        if (!onProjectTab(i)) {
            continue;
        }
        if (restart && (path == kNotFound || path == kNoSave)) {
            list_.setSearchIndex(i, 0);
            list_.setBestTimeLow(i, 0);
            list_.setBestTimeHigh(i, 0);
            list_.setSearchDone(i, false);
        } else if (path != kNotFound || list_.searchDone(i)) {
            continue;
        }
        std::string name = list_.CaptionString(i);
        std::int32_t index = list_.searchIndex(i);
        std::uint32_t high = list_.bestTimeHigh(i);
        std::uint32_t low = list_.bestTimeLow(i);
        bool done = false;
        const std::string found = sources_.tree.findPath(name, index, high, low, done, true);
        list_.setSearchIndex(i, index);
        list_.setBestTimeHigh(i, high);
        list_.setBestTimeLow(i, low);
        // A search that failed (and said so) has found nothing.
        list_.setFilePath(i, found.empty() ? kNotFound : found);
        list_.setSearchDone(i, true);
    }
}

OfficeProgram PathSearch::officeProgramOfRecord(long i) {
    const OfficeProgram byClass =
        officeProgramOfClass(platform_.windows.className(list_.hTopWnd(i), kLongestClassName));
    return byClass != OfficeProgram::None ? byClass : officeProgramOf(list_.EXEPath(i));
}

void PathSearch::findOfficePaths() {
    answeredByOffice_.clear();
    // A program that hung or died is not asked again about its other windows.
    std::set<std::uint32_t> failedProcesses;
    for (long i = list_.count(); i >= 1; --i) {
        const WindowHandle window = list_.hWnd(i);
        if (!onProjectTab(i) || !platform_.windows.isWindow(window)) {
            continue;
        }
        const OfficeProgram program = officeProgramOfRecord(i);
        const std::uint32_t process = platform_.windows.processOf(window);
        if (program == OfficeProgram::None || failedProcesses.contains(process)) {
            continue;
        }
        std::optional<std::string> fullName;
        try {
            fullName = sources_.automation.officeDocumentFullName(window, program);
        } catch (const RuntimeError&) {
            failedProcesses.insert(process);
            continue;
        }
        // A document never saved has a bare name such as "Book1": nothing to open again.
        if (!fullName || fullName->find_first_of("\\/") == std::string::npos) {
            continue;
        }
        list_.setFilePath(i,
                          officeDocumentLocation(*fullName, platform_.registry, platform_.files));
        list_.setSearchDone(i, true);
        answeredByOffice_.insert(window);
    }
}

void PathSearch::findWordPath() {
    const auto isWordRecord = [this](long i) {
        return onProjectTab(i) && exeIs(list_.EXEPath(i), "\\WINWORD.EXE") &&
               !answeredByOffice_.contains(list_.hWnd(i));
    };
    const auto isLiveWordRecord = [&](long i) {
        return isWordRecord(i) && platform_.windows.isWindow(list_.hWnd(i));
    };
    bool any = false;
    for (long i = list_.count(); i >= 1 && !any; --i) {
        any = isLiveWordRecord(i);
    }
    if (!any) {
        return;
    }
    std::optional<std::vector<WordDocument>> documents;
    try {
        documents = sources_.automation.wordDocuments();
    } catch (const RuntimeError&) {
        // The word processor failed in the middle: its records stay as they were.
        return;
    }
    if (!documents) {
        return;
    }
    for (long i = list_.count(); i >= 1; --i) {
        if (!isWordRecord(i)) {
            continue;
        }
        const std::string c = text::upperCase(list_.CaptionString(i));
        for (const WordDocument& document : *documents) {
            const std::string n = text::upperCase(document.name);
            const bool matches = text::beginsWith(c, n) || text::beginsWith(n, c + ".") ||
                                 text::beginsWith(n, c + " .");
            const std::string folder = text::trim(document.folder);
            if (!matches || folder.empty()) {
                continue;
            }
            list_.setFilePath(i, text::endsWith(folder, "\\") ? folder + document.name
                                                              : folder + "\\" + document.name);
            list_.setSearchDone(i, true);
            break;
        }
    }
}

void PathSearch::findExplorerPaths() {
    forgetShellWindows();
    for (long i = list_.count(); i >= 1; --i) {
        if (!onProjectTab(i) || !exeIs(list_.EXEPath(i), "\\EXPLORER.EXE")) {
            continue;
        }
        const std::string caption = list_.CaptionString(i);
        const std::string trimmed = text::trim(caption);
        const std::size_t open = trimmed.rfind('(');
        const std::size_t drive = trimmed.rfind(":)");
        std::string path;
        if (text::contains(caption, "\\")) {
            path = withoutExploring(caption);
        } else if (open != std::string::npos && drive != std::string::npos && drive == open + 2) {
            path = trimmed.substr(open + 1, 2) + "\\";
        } else if (platform_.windows.isWindow(list_.hTopWnd(i))) {
            path = explorerFolder(caption);
            if (path.empty()) {
                continue;  // the shell failed midway: the record stays as it was
            }
        } else {
            continue;
        }
        list_.setFilePath(i, path);
        list_.setSearchDone(i, true);
    }
    forgetShellWindows();
}

std::string PathSearch::explorerFolder(const std::string& caption) {
    const std::string name = withoutExploring(caption);
    const auto& windows = shellWindowsOfPass();
    if (shellWalkFailed_) {
        return {};
    }
    std::string found;
    if (windows) {
        const std::string upperName = text::upperCase(name);
        for (const ShellWindowLocation& w : *windows) {
            if (text::upperCase(w.locationName) == upperName) {
                found = shellWindowPath(name, w.locationURL);
            }
        }
    }
    return found.empty() ? sources_.tree.findFolder(name) : found;
}

void PathSearch::findBrowserPaths() {
    BrowserHistory& history = sources_.history;
    history.setOwnerWindow(host_.mainWindowHandle());
    // The texts read for this save go, whatever ends it.
    struct PassEnd {
        BrowserHistory& history;
        ~PassEnd() { history.endPass(); }
    } passEnd{history};
    for (long i = list_.count(); i >= 1; --i) {
        if (!onProjectTab(i)) {
            continue;
        }
        const std::string exe = list_.EXEPath(i);
        const std::string caption = list_.CaptionString(i);
        std::string address;
        if (exeIs(exe, "\\NETSCAPE.EXE")) {
            if (history.netscape4HistoryPath(exe) == kNotFound) {
                continue;
            }
            address = history.netscape4Address(caption);
        } else if (exeIs(exe, "\\NETSCP6.EXE")) {
            if (history.netscape6HistoryPath() == kNotFound) {
                continue;
            }
            address = history.netscape6Address(caption);
        } else if (exeIs(exe, "\\IEXPLORE.EXE") && host_.ieVersion() < 5) {
            if (history.ieHistoryPath() == kNotFound) {
                continue;
            }
            address = history.ieHistoryAddress(caption);
        } else {
            continue;
        }
        // A page no history knows keeps the address the user gave it at an earlier save.
        if (address == kNotFound && list_.filePath(i) != kNotFound) {
            continue;
        }
        list_.setFilePath(i, address);
        list_.setSearchDone(i, true);
    }
}

std::string PathSearch::browseForFolder() {
    return shell_.browseForFolder(host_.mainWindowHandle());
}

const std::optional<std::vector<ShellWindowLocation>>& PathSearch::shellWindowsOfPass() {
    if (!shellWindowsAsked_) {
        shellWindowsAsked_ = true;
        try {
            shellWindows_ = sources_.automation.shellWindows();
        } catch (const RuntimeError&) {
            shellWalkFailed_ = true;
            shellWindows_.reset();
        }
    }
    return shellWindows_;
}

void PathSearch::forgetShellWindows() {
    shellWindowsAsked_ = false;
    shellWalkFailed_ = false;
    shellWindows_.reset();
}

}  // namespace snapdesk
