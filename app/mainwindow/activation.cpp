#include "mainwindow/activation.h"

#include <chrono>
#include <vector>

#include "common/text.h"

namespace snapdesk {
namespace {

bool isAol(const std::string& exe) {
    return text::contains(exe, "\\WAOL.EXE") || text::contains(exe, "\\AOL.EXE");
}

// Where the window's record stands now; 0 when it left the list.
long positionOf(const CoffeeShopList& list, WindowHandle window) {
    for (long i = 1; i <= list.count(); ++i) {
        if (list.hWnd(i) == window) {
            return i;
        }
    }
    return 0;
}

}  // namespace

void Activation::activateThumbnail(long k) {
    // No second click can start a second activation meanwhile.
    host_.enableMainWindow(false);
    bool isFront = false;
    const bool keepState = host_.maximizeLaunch() == "no";
    if (list_.hWnd(k) != list_.hTopWnd(k)) {
        if (isAol(list_.EXEPath(k))) {
            if (keepState) {
                list_.activateDocument(k, 2, 2, isFront);
            } else if (text::contains(list_.CaptionString(k), "Buddy List Window")) {
                list_.activateDocument(k, 2, 0, isFront);
            } else {
                list_.activateDocument(k, 0, 0, isFront);
            }
        } else if (keepState) {
            list_.activateDocument(k, 2, 2, isFront);
        } else {
            list_.activateDocument(k, 0, 0, isFront);
        }
    } else {
        list_.activateDocument(k, 2, 3, isFront);
    }
    // The user works in it now: the schedule takes a fresh picture.
    list_.setUpdateCount(k, 0);
    platform_.ui.doEvents();
    host_.updateWindowList();
    platform_.ui.doEvents();
    host_.enableMainWindow(true);
}

void Activation::waitOnTimer2(unsigned ms, bool refreshing, const std::function<bool()>& until) {
    using Clock = std::chrono::steady_clock;
    auto& ui = platform_.ui;
    waitElapsed_ = false;
    if (host_.setTimer2(true, ms)) {
        // The window may have come while the program was being started: look at once.
        auto lastLook = Clock::now() - std::chrono::milliseconds(kLookPauseMs);
        while (!waitElapsed_ && !stopped_) {
            if (until) {
                // Messages come often (a window being painted): the look keeps its own pace.
                const auto now = Clock::now();
                if (ui.takeWindowEvent() ||
                    now - lastLook >= std::chrono::milliseconds(kLookPauseMs)) {
                    lastLook = now;
                    if (until()) {
                        break;
                    }
                }
            }
            // A window being pictured or started works meanwhile: leave it the machine.
            ui.waitForMessages(until ? kLookPauseMs : kRefreshPauseMs);
            ui.doEvents();
            if (refreshing) {
                list_.refreshList();
            }
        }
    }
    host_.setTimer2(false, ms);
}

void Activation::bringMainWindowBack() {
    auto& windows = platform_.windows;
    const WindowHandle main = host_.mainWindowHandle();
    windows.bringWindowToTop(main);
    ForceForeground(windows, main);
    windows.bringWindowToTop(main);
}

void Activation::captureWithPause(long k) {
    if (stopped_ || k < 1 || k > list_.count()) {
        return;
    }
    auto& windows = platform_.windows;
    auto& ui = platform_.ui;
    // The record may move while the list refreshes: keep what identifies the window.
    const WindowHandle hWnd = list_.hWnd(k);
    const WindowHandle hTopWnd = list_.hTopWnd(k);
    const WindowHandle hClient = list_.hClient(k);
    const bool aol = isAol(list_.EXEPath(k));
    const bool wasIconic = windows.isMinimized(hWnd);
    const bool savedZoomed = list_.isZoomed(k);
    const bool topWasIconic = windows.isMinimized(hTopWnd);
    const bool savedParentZoomed = list_.parentZoomed(k);
    WindowHandle prevActive = 0;
    bool prevMaximized = false;

    bool isFront = false;
    if (aol) {
        list_.activateDocument(k, 1, 2, isFront);
    } else if (hWnd == hTopWnd) {
        list_.activateDocument(k, 2, 3, isFront);
    } else {
        prevActive = windows.mdiActive(hClient, &prevMaximized);
        list_.activateDocument(k, 0, 0, isFront);
    }
    ForceForeground(windows, hTopWnd);

    waitForRepaint();
    ui.doEvents();
    list_.refreshList();
    // A refresh may have moved the record: capture the window, wherever it stands now.
    const long now = positionOf(list_, hWnd);
    list_.updateImage(now);
    ui.doEvents();
    list_.refreshList();

    if (aol) {
        if (wasIconic)
            windows.showWindow(hWnd, ShowCommand::Minimize);
        if (topWasIconic)
            windows.showWindow(hTopWnd, ShowCommand::Minimize);
    } else if (hWnd == hTopWnd) {
        if (!savedZoomed)
            windows.showWindow(hWnd, ShowCommand::Restore);
        if (wasIconic)
            windows.showWindow(hWnd, ShowCommand::Minimize);
    } else {
        if ((prevActive == hWnd && !prevMaximized) || wasIconic) {
            windows.sendMdiMessage(hClient, MdiMessage::Restore, hWnd);
        }
        if (wasIconic) {
            // A restore alone would leave the user's minimised document open.
            windows.showWindow(hWnd, ShowCommand::Minimize);
        }
        ui.doEvents();
        if (prevActive != 0 && prevActive != hWnd) {
            windows.bringWindowToTop(prevActive);
            windows.sendMdiMessage(hClient, MdiMessage::Activate, prevActive);
            windows.sendMdiMessage(
                hClient, prevMaximized ? MdiMessage::Maximize : MdiMessage::Restore, prevActive);
        }
        ui.doEvents();
        if (!savedParentZoomed)
            windows.showWindow(hTopWnd, ShowCommand::Restore);
        if (topWasIconic)
            windows.showWindow(hTopWnd, ShowCommand::Minimize);
    }
    ui.doEvents();
    bringMainWindowBack();
    list_.setIsZoomed(now, savedZoomed);
    list_.setParentZoomed(now, savedParentZoomed);
}

void Activation::updateClick(long selectedIndex) {
    host_.setTimer1(false);
    captureWithPause(selectedIndex);
    host_.setTimer1(true);
    host_.updateWindowList();
}

void Activation::loadImages(bool onlyMissing) {
    // Windows come and go while the pictures are taken: visit each window once, by handle.
    std::vector<WindowHandle> windows;
    for (long k = 1; k <= list_.count(); ++k) {
        if (!onlyMissing || !(list_.gotPhoto(k) || list_.photoIsProvisional(k))) {
            windows.push_back(list_.hWnd(k));
        }
    }
    if (windows.empty()) {
        return;
    }
    const bool wasNormal = host_.mainWindowIsNormal();
    host_.setTimer1(false);
    for (const WindowHandle window : windows) {
        platform_.ui.doEvents();
        if (stopped_) {
            return;
        }
        const long k = positionOf(list_, window);
        if (k != 0 && list_.doDisplay(k)) {
            captureWithPause(k);
        }
    }
    host_.updateWindowList();
    host_.showMainWindow(wasNormal ? ShowCommand::Restore : ShowCommand::Maximize);
    bringMainWindowBack();
    host_.setTimer1(true);
}

}  // namespace snapdesk
