// Which desktop windows become records, on which tab, with which executable and name.
#include "common/text.h"
#include "snapshots/capture_schedule.h"
#include "snapshots/graphics_code.h"
#include "snapshots/image_update_mode.h"
#include "tracking/coffee_shop_list.h"
#include "tracking/naming_rules.h"
#include "tracking/recent_folder.h"

namespace snapdesk {

namespace {

constexpr std::uint32_t kToolWindowStyle = 0x80;  // WS_EX_TOOLWINDOW
constexpr std::uint32_t kMdiChildStyle = 0x40;    // WS_EX_MDICHILD
constexpr int kClassNameBuffer = 20;

// Cloaked windows are kept alive but nobody can see them (suspended packaged programs, shell
// hosts); only a window cloaked because it sits on another virtual desktop can be reached.
bool hiddenByCloak(WindowManager& windows, WindowHandle top) {
    const std::uint32_t cloak = windows.cloakedBy(top);
    if ((cloak & (kCloakedByApp | kCloakInherited)) != 0) {
        return true;
    }
    return (cloak & kCloakedByShell) != 0 && windows.desktopPlaceOf(top) != DesktopPlace::Other;
}

}  // namespace

bool CoffeeShopList::isToolWindow(WindowHandle window) {
    return (platform_.windows.extendedStyle(window) & kToolWindowStyle) != 0;
}

bool CoffeeShopList::hasWindowIcon(WindowHandle window) {
    const std::optional<IconAnswer> asked = askIcon(window);
    if (!asked) {
        return false;  // asked again at the next refresh
    }
    const IconAnswer& answer = *asked;
    if (answer.refused) {
        // Nothing can be learnt about its icon: an MDI document window counts as having one.
        return (platform_.windows.extendedStyle(window) & kMdiChildStyle) != 0;
    }
    if (!answer.answered) {
        return false;
    }
    return (answer.icon != 0 ? answer.icon : platform_.windows.classIcon(window)) != 0;
}

// The MDI documents of a frame: grandchildren with a title, shown, with an icon.
bool CoffeeShopList::addDocumentsOf(WindowHandle top, bool isExcel) {
    auto& windows = platform_.windows;
    bool added = false;
    for (auto client = windows.firstChild(top); client != 0; client = windows.nextWindow(client)) {
        for (auto doc = windows.firstChild(client); doc != 0; doc = windows.nextWindow(doc)) {
            const std::string docText = windows.windowText(doc);
            // Cheapest tests first: the icon query is a message to another program.
            if (docText.size() <= 1) {
                continue;
            }
            const ShowState state = windows.showState(doc);
            if (state.visible && hasWindowIcon(doc)) {
                shownThisPass_[doc] = state;
                AddWindowToList(doc, top, client, docText, isExcel, kDocumentsTab);
                added = true;
            }
        }
    }
    return added;
}

// Owned windows count only when their owner is a tool window; tool windows and SDI helper
// windows never. The answer of the last walk stands for a window that stayed visible.
bool CoffeeShopList::admitsTopWindow(WindowHandle top,
                                     std::unordered_map<WindowHandle, bool>& verdicts) {
    if (const auto known = admittedTops_.find(top); known != admittedTops_.end()) {
        return verdicts[top] = known->second;
    }
    auto& windows = platform_.windows;
    const WindowHandle owner = windows.owner(top);
    const bool admitted = !((owner != 0 && !isToolWindow(owner)) || isToolWindow(top)) &&
                          !text::contains(windows.className(top, kClassNameBuffer), "MS-SDI");
    return verdicts[top] = admitted;
}

void CoffeeShopList::enumerateWindows() {
    auto& windows = platform_.windows;
    std::unordered_map<WindowHandle, bool> verdicts;
    for (auto top = windows.topWindow(); top != 0; top = windows.nextWindow(top)) {
        if (top == mainWindow_) {
            continue;
        }
        const ShowState state = windows.showState(top);
        if (!state.visible) {
            continue;
        }
        if (hiddenByCloak(windows, top)) {
            cloakedThisPass_.insert(top);
            continue;
        }
        shownThisPass_[top] = state;
        const std::string text = windows.windowText(top);
        const bool isExcel = text::contains(text, "Excel");
        if (text.size() < 2 || text::beginsWith(text, "Program Manager")) {
            continue;
        }
        const bool hasDocuments = !text::beginsWith(text, "Eudora") && addDocumentsOf(top, isExcel);
        if (hasDocuments) {
            // A frame is never tracked as a whole while its documents are.
            removeWindow(top);
            continue;
        }
        if (admitsTopWindow(top, verdicts)) {
            AddWindowToList(top, top, top, text, isExcel, kOthersTab);
        }
    }
    admittedTops_ = std::move(verdicts);
}

void CoffeeShopList::classifyWindows() {
    bool processTableBuilt = false;
    // The window the user works in, as this pass sees it.
    const WindowHandle foreground = platform_.windows.foregroundWindow();
    // From the end: a removal only moves records that were already visited.
    for (long i = count_; i >= 1; --i) {
        if (i <= count_) {
            classifyRecord(i, processTableBuilt, foreground);
        }
    }
}

void CoffeeShopList::classifyRecord(long i, bool& processTableBuilt, WindowHandle foreground) {
    TrackedWindow& r = at(i);
    if (r.EXEPath.empty() && r.hTopWnd != 0) {
        if (!processTableBuilt) {
            processTable_.build(records_, count_, platform_);
            processTableBuilt = true;
        }
        if (auto program = processTable_.programOf(r.hTopWnd)) {
            r.EXEPath = std::move(program->exePath);
            r.appId = std::move(program->appId);
        }
    }
    const std::string& exe = r.EXEPath;
    if (isWebBrowser(exe)) {
        r.originalTab = kWebBrowsersTab;
        if (r.CaptionString.empty()) {
            r.inTab = kWebBrowsersTab;  // a record the user moved keeps its tab
        }
    }

    std::string name;
    const bool keepName = text::upperCase(r.CaptionString) != "NETSCAPE" &&
                          text::upperCase(r.WindowText) == text::upperCase(r.LastWindowText) &&
                          !r.CaptionString.empty();
    if (keepName) {
        name = r.CaptionString;
    } else if (auto fixed = fixedDocumentName(exe)) {
        name = std::move(*fixed);
        r.CaptionString = name;
        r.filePath = exe;
        r.searchDone = true;
    } else {
        name = documentName(r.WindowText, exe, recentFolder(), platform_.files);
    }
    r.LastWindowText = r.WindowText;

    if (name != r.CaptionString) {
        r.CaptionString = name;
        r.updateCount = 0;
        if (!text::contains(exe, "\\WINAMP.EXE")) {
            // A new name is a new document: find its location again.
            r.filePath = kNotFound;
            r.searchIndex = 0;
            r.bestTimeLow = 0;
            r.bestTimeHigh = 0;
            r.searchDone = false;
        }
    }

    if (!displayFolders_ && text::contains(exe, "\\EXPLORER.EXE") &&
        !text::beginsWith(r.LastWindowText, "Exploring")) {
        removeWindow(r.hWnd);
        return;
    }

    if (takePictures_ && r.hTopWnd == foreground && !r.flgKeepView) {
        applyCaptureSchedule(imageUpdateMode(), r.gotPhoto, r.updateCount,
                             [&] { captureRecord(r); });
    }
}

}  // namespace snapdesk
