#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <map>
#include <string>

#include "mainwindow/main_window_view.h"
#include "mainwindow/win32/button_bar.h"
#include "mainwindow/win32/twips_scale.h"

namespace snapdesk {

// The main window as the main form drives it: its frame, menu bar, toolbar and timers.
class Win32MainWindowView final : public MainWindowView {
  public:
    Win32MainWindowView(HWND window, ButtonBar& buttonBar);
    ~Win32MainWindowView() override;
    Win32MainWindowView(const Win32MainWindowView&) = delete;
    Win32MainWindowView& operator=(const Win32MainWindowView&) = delete;

    WindowHandle handle() override;
    void setCaption(const std::string& caption) override;
    WindowGeometry geometry() override;
    Bounds placement() override;
    void setPlacement(const Bounds& outer) override;
    int screenHeight() override;
    int screenWidth() override;

    bool menuChecked(int id) override;
    void setMenuChecked(int id, bool checked) override;
    void setMenuCaption(int id, const std::string& caption) override;
    void setMenuEnabled(int id, bool enabled) override;
    void setMenuVisible(int id, bool visible) override;
    void setToolbarTextLabels(bool on) override;

    bool setTimer(MainTimer timer, unsigned intervalMs, bool enabled) override;
    void enableInput(bool enabled) override;
    void show(ShowCommand command) override;
    void repaint() override;
    void postClose() override;
    std::uint32_t nearestColor(std::uint32_t color) override;
    bool initializeCom() override;

    int trackPopupMenu(const Menu& items, const PopupAnchor& anchor) override;
    void showAbout(const AboutBox& box) override;
    void showHelp(const HelpRequest& request) override;
    void showHotKeyDialog(HotKeySetting& setting) override;

    HotKeyUse registerHotKey(const HotKey& key) override;
    void unregisterHotKey() override;

    bool addTrayIcon(const std::string& tip) override;
    // A restarted shell has lost every icon ("TaskbarCreated"): the icon we had comes back.
    void addTrayIconAgain();
    void removeTrayIcon() override;
    void routeTrayMessages() override;
    void restoreWindowProcedure() override;
    void setSearchText(const std::string& text) override;
    void focusSearch() override;

    const TwipsScale& scale() const { return scale_; }
    void setScale(const TwipsScale& scale) { scale_ = scale; }
    // Where the routed tray notifications go (the mouse event of the callback message).
    void setTrayEventHandler(void (*handler)(HWND window, LPARAM mouseEvent)) {
        trayHandler_ = handler;
    }

  private:
    // Items kept as state only (no visible menu entry): their check marks live here.
    bool inMenu(int id) const;

    HWND window_;
    ButtonBar& buttonBar_;
    TwipsScale scale_ = TwipsScale::ofWindow(window_);
    std::map<int, bool> hiddenChecks_;
    bool comInitialised_ = false;
    bool trayAdded_ = false;
    std::wstring trayTip_;
    WNDPROC previousProc_ = nullptr;
    void (*trayHandler_)(HWND, LPARAM) = nullptr;

    static LRESULT CALLBACK trayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace snapdesk
