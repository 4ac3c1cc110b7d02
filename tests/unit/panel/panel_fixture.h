#pragma once

// The panel on the simulated view and desktop, in a window of the usual size.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "mainwindow/thumbnail_panel.h"
#include "sim_panel_view.h"
#include "sim_world.h"

namespace snapdesk::testing {

inline constexpr std::uint32_t kPanelBlue = 0xFF9090;
inline constexpr int kTile = 3135;  // widget height at 1024 pixels
inline constexpr int kTileWidth = 4575;
inline constexpr int kGap = 27 * 15;
inline constexpr int kFirstRow = 150 + 240;  // below lblClickAny (10 pt at 15 twips per pixel)

inline WindowGeometry windowOf(int innerWidth, int innerHeight) {
    WindowGeometry g;
    g.innerWidth = innerWidth;
    g.innerHeight = innerHeight;
    g.nonClientWidth = 120;
    g.nonClientHeight = 600;
    g.outerWidth = innerWidth + 120;
    g.outerHeight = innerHeight + 600;
    g.buttonBarHeight = 600;
    return g;
}

class Panel : public ::testing::Test {
  protected:
    SimWorld world;
    SimPanelView view;
    SimPanelHost host;
    PanelState state;
    std::unique_ptr<ThumbnailPanel> panel;
    std::vector<WindowHandle> windows;

    void start(int tabMode = 2, WindowGeometry geometry = windowOf(16000, 11000)) {
        state.tabMode = static_cast<std::int16_t>(tabMode);
        state.tabColors = {kPanelBlue, kPanelBlue, kPanelBlue, kPanelBlue};
        state.commentBackColor = 0xFF9898;
        host.geometry = geometry;
        panel = std::make_unique<ThumbnailPanel>(state, world.list, world.machine.ui, view, host,
                                                 ScreenMetrics{1024, 15, 15});
        panel->scaleToScreen(host.geometry);
        panel->fixedLayout(host.geometry);
    }

    // n more windows, all on `tab` after the next refresh.
    void addWindows(int n, std::int16_t tab = kDocumentsTab) {
        for (int i = 0; i < n; ++i) {
            const auto process = static_cast<std::uint32_t>(100 + windows.size());
            windows.push_back(
                world.topLevel("Doc " + std::to_string(windows.size() + 1) + " - Editor", process));
        }
        world.list.refreshList();
        for (long k = 1; k <= world.list.count(); ++k) {
            if (world.list.inTab(k) != kProjectTab && k > world.list.count() - n) {
                world.list.setInTab(k, tab);
            }
        }
    }

    SimTile& tile(long k) { return view.tile(k); }
    std::vector<long> visibleTiles() {
        std::vector<long> out;
        for (long k = 1; k < static_cast<long>(view.tiles.size()); ++k) {
            if (tile(k).shown) {
                out.push_back(k);
            }
        }
        return out;
    }
    const std::vector<sim::ShownMessage>& messages() { return world.machine.ui.messages; }
};

}  // namespace snapdesk::testing
