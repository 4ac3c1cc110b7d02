#include "tracking/coffee_shop_list.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "common/app_title.h"
#include "common/runtime_error.h"
#include "common/text.h"
#include "snapshots/graphics_code.h"

namespace snapdesk {

CoffeeShopList::CoffeeShopList(Platform& platform)
    : platform_(platform),
      records_(kInitialSlots),
      windowLogoIcon_(platform.windows.stockIcon(StockIcon::WindowLogo)),
      applicationIcon_(platform.windows.stockIcon(StockIcon::Application)),
      provisional_(platform) {}

// ---- list maintenance ----

void CoffeeShopList::refreshList(bool takePictures) {
    takePictures_ = takePictures;
    auto& windows = platform_.windows;
    for (long i = 1; i <= count_; ++i) {
        if (!windows.isWindow(at(i).hWnd)) {
            at(i).hWnd = 0;
        }
    }
    compact();
    shownThisPass_.clear();
    cloakedThisPass_.clear();
    enumerateWindows();
    for (long i = 1; i <= count_; ++i) {
        // A window the walk has just found visible needs no second look.
        const WindowHandle w = at(i).hWnd;
        if (cloakedThisPass_.contains(at(i).hTopWnd) ||
            (!shownThisPass_.contains(w) && (!windows.isWindow(w) || !windows.isVisible(w)))) {
            at(i).hWnd = 0;
        }
    }
    compact();
    classifyWindows();
    provisional_.collect(liveRecords());
    provisional_.request(liveRecords(), kRendersPerPass);
}

void CoffeeShopList::renderPictures(unsigned maxMs) {
    constexpr unsigned kPollMs = 20;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(maxMs);
    provisional_.request(liveRecords(), std::numeric_limits<std::size_t>::max());
    while (provisional_.waiting() && std::chrono::steady_clock::now() < deadline) {
        platform_.ui.waitForMessages(kPollMs);
        platform_.ui.doEvents();
        provisional_.collect(liveRecords());
    }
}

void CoffeeShopList::CompactList(long& newCount) {
    try {
        if (count_ != 0) {
            // Close every gap: the records above an empty slot move down by one.
            const auto kept =
                std::stable_partition(records_.begin(), records_.end(),
                                      [](const TrackedWindow& r) { return r.hWnd != 0; });
            std::fill(kept, records_.end(), TrackedWindow{});
        }
        const auto firstEmpty = std::find_if(records_.begin(), records_.end(),
                                             [](const TrackedWindow& r) { return r.hWnd == 0; });
        newCount = static_cast<long>(firstEmpty - records_.begin());
    } catch (const std::exception& e) {
        platform_.ui.messageBox(
            std::string("An error has occurred in 'CompactList'.\n") + e.what() + " CompactList",
            kAppTitle, MessageBoxStyle::Ok);
        newCount = 0;
    }
}

long CoffeeShopList::findRecord(WindowHandle hWnd) {
    if (!positionsValid_) {
        positions_.clear();
        for (long i = count_; i >= 1; --i) {
            positions_[at(i).hWnd] = i;  // the first record of a window wins
        }
        positionsValid_ = true;
    }
    const auto found = positions_.find(hWnd);
    return found == positions_.end() ? 0 : found->second;
}

void CoffeeShopList::compact() {
    positionsValid_ = false;
    long newCount = 0;
    CompactList(newCount);
    count_ = newCount;
}

void CoffeeShopList::removeWindow(WindowHandle hWnd) {
    // The list has no gaps between operations: without a record there is nothing to close.
    if (const long i = findRecord(hWnd); i != 0) {
        at(i).hWnd = 0;
        compact();
    }
}

void CoffeeShopList::AddWindowToList(WindowHandle hWnd, WindowHandle hTopWnd, WindowHandle hClient,
                                     const std::string& text, bool isExcel, std::int16_t tab) {
    if (text::contains(text, "- Microsoft Visual Basic [run]") ||
        text::contains(text, "VB Resource")) {
        return;
    }
    long position = findRecord(hWnd);
    const bool existed = position != 0;
    if (!existed) {
        position = ++count_;
        positions_[hWnd] = position;
        records_[static_cast<std::size_t>(position - 1)] = TrackedWindow{};
        if (static_cast<std::size_t>(count_) >= records_.size()) {
            records_.resize(records_.size() + kGrowth);
        }
    }
    TrackedWindow& record = at(position);
    record.WindowText = text::NulTrim(text);
    if (record.WindowText.empty()) {
        record.WindowText = "[unknown]";
    }
    if (!displayFolders_ && text::contains(text::upperCase(record.EXEPath), "\\EXPLORER.EXE") &&
        !text::beginsWith(record.LastWindowText, "Exploring ")) {
        if (existed) {
            removeWindow(hWnd);
        }
        return;
    }
    if (!existed) {
        record.hWnd = hWnd;
        record.hTopWnd = hTopWnd;
        record.hClient = hClient;
        record.inTab = tab;
        record.originalTab = tab;
        record.isExcel = isExcel;
        record.filePath = kNotFound;
        record.doDisplay = true;
    }
    refreshIcon(record, existed);
    refreshZoomState(record);
}

void CoffeeShopList::refreshIcon(TrackedWindow& record, bool existed) {
    if (record.gotPhoto) {
        return;
    }
    auto& windows = platform_.windows;
    const std::optional<IconAnswer> asked = askIcon(record.hTopWnd);
    if (!asked) {
        if (!existed) {
            record.hIcon = applicationIcon_;  // until it answers
        }
        return;
    }
    const IconAnswer& answer = *asked;
    IconHandle icon = applicationIcon_;
    if (answer.answered) {
        icon = answer.icon != 0 ? answer.icon : windows.classIcon(record.hTopWnd);
    }
    // The window-logo icon says nothing about the document: keep the one we had.
    if (!(existed && icon == windowLogoIcon_)) {
        record.hIcon = icon;
    }
}

std::optional<IconAnswer> CoffeeShopList::askIcon(WindowHandle window) {
    unsigned& spent = iconWaitSpent_[window];
    const unsigned turn = std::min(kIconTurnMs, kIconTimeoutMs - spent);
    const IconAnswer answer = platform_.windows.queryBigIcon(window, turn);
    spent += turn;
    if (answer.answered || answer.refused || spent >= kIconTimeoutMs) {
        iconWaitSpent_.erase(window);
        return answer;
    }
    return std::nullopt;
}

ShowState CoffeeShopList::stateOf(WindowHandle window) {
    const auto seen = shownThisPass_.find(window);
    return seen != shownThisPass_.end() ? seen->second : platform_.windows.showState(window);
}

void CoffeeShopList::refreshZoomState(TrackedWindow& record) {
    auto& windows = platform_.windows;
    const ShowState top = stateOf(record.hTopWnd);
    if (record.hWnd == record.hTopWnd) {
        if (!top.minimized) {
            record.isZoomed = record.parentZoomed = top.zoomed;
        }
        return;
    }
    if (!top.minimized) {
        record.parentZoomed = top.zoomed;
    }
    if (!stateOf(record.hWnd).minimized) {
        bool maximized = false;
        if (windows.mdiActive(record.hClient, &maximized) == record.hWnd) {
            record.isZoomed = maximized;
        }
    }
}

// ---- order ----

void CoffeeShopList::moveTo(long a, long b) {
    positionsValid_ = false;
    if (inRange(a) && inRange(b)) {
        std::swap(at(a), at(b));
    }
}

void CoffeeShopList::mvToFront(long i) {
    positionsValid_ = false;
    if (inRange(i)) {
        std::rotate(records_.begin(), records_.begin() + (i - 1), records_.begin() + i);
    }
}

void CoffeeShopList::mvToEnd(long i) {
    positionsValid_ = false;
    if (inRange(i)) {
        std::rotate(records_.begin() + (i - 1), records_.begin() + i, records_.begin() + count_);
    }
}

void CoffeeShopList::updateImage(long i) {
    if (inRange(i)) {
        captureRecord(at(i));
    }
}

void CoffeeShopList::captureRecord(TrackedWindow& r) {
    r.thePhoto = TakeSnapShot(platform_, r.hWnd, r.hClient, r.hTopWnd, r.gotPhoto, r.thePhoto);
    if (r.gotPhoto || r.thePhoto == nullptr) {
        r.photoIsProvisional = false;
    }
}

void CoffeeShopList::rescalePhotos() {
    for (long i = 1; i <= count(); ++i) {
        TrackedWindow& r = at(i);
        r.thePhoto = rescaledPicture(platform_, r.thePhoto);
    }
}

// ---- activation ----

bool ForceForeground(WindowManager& windows, WindowHandle window) {
    const WindowHandle foreground = windows.foregroundWindow();
    if (foreground == window) {
        return false;
    }
    const auto foregroundThread = windows.threadOf(foreground);
    const auto targetThread = windows.threadOf(window);
    bool switched = false;
    if (foregroundThread != targetThread) {
        windows.attachThreadInput(foregroundThread, targetThread, true);
        switched = windows.setForegroundWindow(window);
        windows.attachThreadInput(foregroundThread, targetThread, false);
    } else {
        switched = windows.setForegroundWindow(window);
    }
    windows.showWindow(window,
                       windows.isMinimized(window) ? ShowCommand::Restore : ShowCommand::Show);
    return switched;
}

void CoffeeShopList::activateDocument(long i, std::int16_t childMode, std::int16_t frameMode,
                                      bool& isFront) {
    isFront = false;
    if (!inRange(i)) {
        return;
    }
    // A copy: a timer may refresh the list while messages are processed below.
    const TrackedWindow r = at(i);
    auto& windows = platform_.windows;
    auto& ui = platform_.ui;
    const bool childMaximize = childMode == 0 || (childMode == 2 && r.isZoomed);
    const ShowCommand frameShow = (frameMode == 0 || (frameMode == 2 && r.parentZoomed))
                                      ? ShowCommand::Maximize
                                      : ShowCommand::Restore;
    const MdiMessage childMessage = childMaximize ? MdiMessage::Maximize : MdiMessage::Restore;
    const bool isAol =
        text::contains(r.EXEPath, "\\AOL.EXE") || text::contains(r.EXEPath, "\\WAOL.EXE");

    if (r.hTopWnd == r.hWnd) {
        windows.showWindow(r.hWnd, childMaximize ? ShowCommand::Maximize : ShowCommand::Restore);
        ui.doEvents();
        windows.bringWindowToTop(r.hTopWnd);
        windows.setForegroundWindow(r.hTopWnd);
        ui.doEvents();
    } else if (!r.isExcel && !isAol) {
        windows.bringWindowToTop(r.hTopWnd);
        ForceForeground(windows, r.hTopWnd);
        windows.placeOnTop(r.hWnd);
        windows.sendMdiMessage(r.hClient, childMessage, r.hWnd);
        windows.showWindow(r.hTopWnd, frameShow);
        ui.doEvents();
        windows.bringWindowToTop(r.hTopWnd);
        windows.setForegroundWindow(r.hTopWnd);
        ForceForeground(windows, r.hTopWnd);
        ui.doEvents();
    } else if (!r.isExcel) {
        windows.bringWindowToTop(r.hTopWnd);
        ForceForeground(windows, r.hTopWnd);
        windows.sendMdiMessage(r.hClient, childMessage, r.hWnd);
        windows.bringWindowToTop(r.hWnd);
        windows.showWindow(r.hTopWnd, frameShow);
        ui.doEvents();
        windows.bringWindowToTop(r.hTopWnd);
        windows.setForegroundWindow(r.hTopWnd);
        ForceForeground(windows, r.hTopWnd);
        ui.doEvents();
        windows.bringWindowToTop(r.hTopWnd);
        ForceForeground(windows, r.hTopWnd);
    } else {
        const WindowHandle active = windows.mdiActive(r.hClient, nullptr);
        windows.bringWindowToTop(r.hTopWnd);
        ForceForeground(windows, r.hTopWnd);
        windows.bringWindowToTop(r.hWnd);
        windows.showWindow(r.hTopWnd, frameShow);
        windows.bringWindowToTop(r.hWnd);
        if (active != r.hWnd) {
            windows.sendMdiMessage(r.hClient, MdiMessage::Restore, r.hWnd);
        }
    }
    isFront = windows.foregroundWindow() == r.hWnd;
}

// ---- per-record properties ----

std::string CoffeeShopList::EXEPath(long i) const {
    return get(i, &TrackedWindow::EXEPath);
}
void CoffeeShopList::setEXEPath(long i, const std::string& v) {
    setText(i, &TrackedWindow::EXEPath, v);
}
bool CoffeeShopList::searchDone(long i) const {
    return get(i, &TrackedWindow::searchDone);
}
void CoffeeShopList::setSearchDone(long i, bool v) {
    set(i, &TrackedWindow::searchDone, v);
}
std::string CoffeeShopList::filePath(long i) const {
    return get(i, &TrackedWindow::filePath);
}
void CoffeeShopList::setFilePath(long i, const std::string& v) {
    setText(i, &TrackedWindow::filePath, v);
}
std::int32_t CoffeeShopList::updateCount(long i) const {
    return get(i, &TrackedWindow::updateCount);
}
void CoffeeShopList::setUpdateCount(long i, std::int32_t value) {
    if (!inRange(i))
        return;
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        throw RuntimeError(errors::kOverflow, "Overflow", "CoffeeShopList");
    }
    at(i).updateCount = static_cast<std::int16_t>(value);
}
std::string CoffeeShopList::CommentString(long i) const {
    return get(i, &TrackedWindow::CommentString);
}
void CoffeeShopList::setCommentString(long i, const std::string& v) {
    setText(i, &TrackedWindow::CommentString, v);
}
std::string CoffeeShopList::CaptionString(long i) const {
    return get(i, &TrackedWindow::CaptionString);
}
void CoffeeShopList::setCaptionString(long i, const std::string& v) {
    setText(i, &TrackedWindow::CaptionString, v);
}
bool CoffeeShopList::gotPhoto(long i) const {
    return get(i, &TrackedWindow::gotPhoto);
}
void CoffeeShopList::setGotPhoto(long i, bool v) {
    set(i, &TrackedWindow::gotPhoto, v);
}
bool CoffeeShopList::doDisplay(long i) const {
    return get(i, &TrackedWindow::doDisplay);
}
void CoffeeShopList::setDoDisplay(long i, bool v) {
    set(i, &TrackedWindow::doDisplay, v);
}
bool CoffeeShopList::flgKeepView(long i) const {
    return get(i, &TrackedWindow::flgKeepView);
}
void CoffeeShopList::setFlgKeepView(long i, bool v) {
    set(i, &TrackedWindow::flgKeepView, v);
}
std::int16_t CoffeeShopList::inTab(long i) const {
    return get(i, &TrackedWindow::inTab);
}
void CoffeeShopList::setInTab(long i, std::int16_t v) {
    set(i, &TrackedWindow::inTab, v);
}
bool CoffeeShopList::isZoomed(long i) const {
    return get(i, &TrackedWindow::isZoomed);
}
void CoffeeShopList::setIsZoomed(long i, bool v) {
    set(i, &TrackedWindow::isZoomed, v);
}
bool CoffeeShopList::parentZoomed(long i) const {
    return get(i, &TrackedWindow::parentZoomed);
}
void CoffeeShopList::setParentZoomed(long i, bool v) {
    set(i, &TrackedWindow::parentZoomed, v);
}
std::int16_t CoffeeShopList::originalTab(long i) const {
    return get(i, &TrackedWindow::originalTab);
}
IconHandle CoffeeShopList::hIcon(long i) const {
    if (!inRange(i))
        return 0;
    return at(i).hIcon != 0 ? at(i).hIcon : applicationIcon_;
}
WindowHandle CoffeeShopList::hWnd(long i) const {
    return get(i, &TrackedWindow::hWnd);
}
WindowHandle CoffeeShopList::hClient(long i) const {
    return get(i, &TrackedWindow::hClient);
}
WindowHandle CoffeeShopList::hTopWnd(long i) const {
    return get(i, &TrackedWindow::hTopWnd);
}
PicturePtr CoffeeShopList::thePhoto(long i) const {
    return get(i, &TrackedWindow::thePhoto);
}
std::string CoffeeShopList::WindowText(long i) const {
    return get(i, &TrackedWindow::WindowText);
}

}  // namespace snapdesk
