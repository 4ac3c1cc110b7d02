#pragma once

// The thumbnail panel on its real child windows inside a top-level window of the benchmark,
// over the real window list of the desktop, set up in the order start-up uses.
#include <windows.h>

#include <memory>

#include "counting_panel_view.h"
#include "mainwindow/thumbnail_panel.h"
#include "platform/win32/win32_platform.h"

namespace snapdesk::bench {

class PanelBenchHost : private PanelHost {
  public:
    // Opens the window (width x height pixels, at 0,0) and lays the panel out in it.
    PanelBenchHost(int width, int height);
    ~PanelBenchHost() override;
    PanelBenchHost(const PanelBenchHost&) = delete;
    PanelBenchHost& operator=(const PanelBenchHost&) = delete;

    HWND window() const { return window_; }
    CoffeeShopList& list() { return list_; }
    ThumbnailPanel& panel() { return *panel_; }
    CountingPanelView& view() { return *counting_; }
    // Whether a fatal error made the panel ask for the window to close.
    bool shutDownAsked() const { return shutDownAsked_; }

    // What Timer1 runs: refresh and redraw.
    void tick() { panel_->updateWindowList(); }
    // Tiles of k >= 1 whose window is visible.
    int visibleTiles() const;

  private:
    WindowGeometry windowGeometry() override;
    void shutdown() override { shutDownAsked_ = true; }
    void tileClick(long) override {}
    void tileDblClick(long) override {}
    void tileKeyPress(long, short&) override {}
    void tileMouseDown(long, short, short, float, float) override {}

    Win32Platform system_;
    CoffeeShopList list_;
    HWND window_ = nullptr;
    PanelState state_;
    std::unique_ptr<PanelView> real_;
    std::unique_ptr<CountingPanelView> counting_;
    std::unique_ptr<ThumbnailPanel> panel_;
    bool shutDownAsked_ = false;
};

// Dispatches every message waiting for this thread (paints included).
void pumpMessages();

}  // namespace snapdesk::bench
