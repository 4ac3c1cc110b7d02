#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <map>

#include "mainwindow/main_window_view.h"
#include "mainwindow/win32/button_bar.h"
#include "mainwindow/win32/twips_scale.h"

namespace snapdesk {

// The main window as the main form drives it: its frame, menu bar, toolbar and timers.
class Win32MainWindowView final : public MainWindowView {
  public:
    Win32MainWindowView(HWND window, ButtonBar& buttonBar);

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

    const TwipsScale& scale() const { return scale_; }

  private:
    // Items kept as state only (no visible menu entry): their check marks live here.
    bool inMenu(int id) const;

    HWND window_;
    ButtonBar& buttonBar_;
    TwipsScale scale_ = TwipsScale::ofScreen();
    std::map<int, bool> hiddenChecks_;
    bool comInitialised_ = false;
};

}  // namespace snapdesk
