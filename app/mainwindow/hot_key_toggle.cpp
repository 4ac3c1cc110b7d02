#include "mainwindow/hot_key_toggle.h"

#include <utility>

namespace snapdesk {

bool HotKeyToggle::ours(WindowHandle window) {
    const WindowHandle main = host_.mainWindowHandle();
    return window == main ||
           (window != 0 && windows_.processOf(window) == windows_.processOf(main));
}

bool HotKeyToggle::snapdeskInFront() {
    return ours(windows_.foregroundWindow()) && !windows_.isMinimized(host_.mainWindowHandle());
}

HotKeyStep HotKeyToggle::pressed() {
    if (snapdeskInFront()) {
        sendBack();
        return HotKeyStep::Back;
    }
    const WindowHandle front = windows_.foregroundWindow();
    remembered_ = ours(front) ? 0 : front;
    host_.bringToFront();
    return HotKeyStep::Up;
}

void HotKeyToggle::sendBack() {
    host_.minimizeMainWindow();
    const WindowHandle back = std::exchange(remembered_, 0);
    // A window closed meanwhile may have given its handle to a window of Snapdesk's own.
    if (back != 0 && windows_.isWindow(back) && windows_.isVisible(back) && !ours(back)) {
        windows_.setForegroundWindow(back);
    }
}

}  // namespace snapdesk
