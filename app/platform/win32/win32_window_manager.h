#pragma once

#include "platform/window_manager.h"

namespace snapdesk {

// The desktop's windows through user32.
class Win32WindowManager : public WindowManager {
  public:
    WindowHandle topWindow() override;
    WindowHandle nextWindow(WindowHandle window) override;
    WindowHandle firstChild(WindowHandle window) override;

    bool isWindow(WindowHandle window) override;
    bool isVisible(WindowHandle window) override;
    bool isMinimized(WindowHandle window) override;
    bool isZoomed(WindowHandle window) override;
    ShowState showState(WindowHandle window) override;
    std::uint32_t cloakedBy(WindowHandle window) override;
    DesktopPlace desktopPlaceOf(WindowHandle window) override;

    std::string windowText(WindowHandle window) override;
    std::string className(WindowHandle window, int maxChars) override;
    std::uint32_t extendedStyle(WindowHandle window) override;
    WindowHandle owner(WindowHandle window) override;
    Rect windowRect(WindowHandle window) override;

    IconAnswer queryBigIcon(WindowHandle window, unsigned timeoutMs) override;
    IconHandle classIcon(WindowHandle window) override;
    IconHandle stockIcon(StockIcon which) override;

    std::uint32_t threadOf(WindowHandle window) override;
    std::uint32_t processOf(WindowHandle window) override;
    bool attachThreadInput(std::uint32_t from, std::uint32_t to, bool attach) override;

    WindowHandle foregroundWindow() override;
    bool setForegroundWindow(WindowHandle window) override;
    void bringWindowToTop(WindowHandle window) override;
    void showWindow(WindowHandle window, ShowCommand command) override;
    void placeOnTop(WindowHandle window) override;

    WindowHandle mdiActive(WindowHandle client, bool* maximized) override;
    void sendMdiMessage(WindowHandle client, MdiMessage message, WindowHandle document) override;

    // In win32_window_placement.cpp.
    std::optional<WindowPlacement> windowPlacement(WindowHandle window) override;
    void setWindowPlacement(WindowHandle window, const WindowPlacement& placement) override;
    void moveChild(WindowHandle window, const Rect& rect) override;
    std::vector<MonitorArea> monitors() override;
};

}  // namespace snapdesk
