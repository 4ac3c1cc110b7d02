#pragma once

// The command handlers over the real window list and thumbnail panel on the simulated
// desktop; the main form's side is recorded.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/runtime_error.h"
#include "mainwindow/command_handlers.h"
#include "mainwindow/menu_ids.h"
#include "mainwindow/thumbnail_panel.h"
#include "panel/sim_panel_view.h"
#include "sim_world.h"

namespace snapdesk::testing {

using Calls = std::vector<std::string>;

// The main form as the commands see it. Popups answer from `choices` (0 when it is empty).
struct SimCommandHost : CommandHost {
    ThumbnailPanel* panel = nullptr;
    PanelState* state = nullptr;
    Calls calls;
    long selected = 0;
    bool timer1 = true;
    std::map<int, bool> checks;
    std::map<int, std::string> captions;
    std::map<int, bool> enabled{{ID_mnuUndoHide, false}};
    std::string stateText = "NORMAL";
    std::deque<int> choices;
    std::vector<Menu> popups;  // every popup shown, as handed over
    std::vector<PopupAnchor> anchors;
    std::vector<bool> timer1AtPopup;
    std::function<void()> whilePopupOpen;  // runs while a popup is open (timer ticks ...)
    std::vector<AboutBox> abouts;
    std::vector<bool> timer1AtAbout;
    std::vector<HelpRequest> helps;
    std::optional<RuntimeError> restoreFailure;

    long selectedIndex() override { return selected; }
    void setSelectedIndex(long i) override { selected = i; }
    bool timer1Enabled() override { return timer1; }
    void setTimer1(bool on) override {
        timer1 = on;
        calls.push_back(on ? "Timer1 on" : "Timer1 off");
    }
    void updateWindowList() override {
        calls.push_back("updateWindowList");
        if (panel != nullptr) {
            panel->updateWindowList();
        }
    }
    void updateClick() override { calls.push_back("updateClick " + std::to_string(selected)); }
    void mnuLoadImages_Click() override { calls.push_back("mnuLoadImages_Click"); }
    void activateThumbnail(long k) override {
        calls.push_back("activateThumbnail " + std::to_string(k));
    }
    std::int16_t tabMode() override { return state->tabMode; }
    void setTabMode(std::int16_t mode) override { state->tabMode = mode; }
    int currentTab() override { return state->currentTab; }
    bool menuChecked(int id) override { return checks[id]; }
    void setMenuCaption(int id, const std::string& c) override { captions[id] = c; }
    void setMenuEnabled(int id, bool e) override { enabled[id] = e; }
    int trackPopupMenu(const Menu& items, const PopupAnchor& anchor) override {
        popups.push_back(items);
        anchors.push_back(anchor);
        timer1AtPopup.push_back(timer1);
        if (whilePopupOpen) {
            whilePopupOpen();
        }
        if (choices.empty()) {
            return 0;
        }
        const int id = choices.front();
        choices.pop_front();
        return id;
    }
    void showAbout(const AboutBox& box) override {
        abouts.push_back(box);
        timer1AtAbout.push_back(timer1);
    }
    void showHelp(const HelpRequest& r) override { helps.push_back(r); }
    std::string helpFile() override { return "C:\\Snapdesk\\SNAPDESK.HLP"; }
    std::string windowStateText() override { return stateText; }
    void restoreMainWindow(ShowCommand show) override {
        if (restoreFailure) {
            throw *restoreFailure;
        }
        calls.push_back("restore " + std::to_string(static_cast<int>(show)));
    }
    void updatePaths(bool force) override {
        calls.push_back(force ? "updatePaths forced" : "updatePaths");
    }

    // Captions of the visible items of the last popup; separators as "-".
    std::vector<std::string> lastPopupCaptions() const {
        std::vector<std::string> out;
        for (const MenuItem& item : popups.back()) {
            if (item.visible) {
                out.push_back(item.separator ? "-" : item.caption);
            }
        }
        return out;
    }
};

// The project commands, recorded with the state of Timer1 when they ran.
struct RecordingProjects : ProjectCommands {
    SimCommandHost* host = nullptr;
    std::optional<RuntimeError> failure;

    void run(const std::string& name) {
        host->calls.push_back(name + (host->timer1 ? " (Timer1 on)" : " (Timer1 off)"));
        if (failure) {
            throw *failure;
        }
    }
    void mnuNewProject_Click() override { run("mnuNewProject_Click"); }
    void mnuOpen_Click() override { run("mnuOpen_Click"); }
    void mnuSaveProject_Click() override { run("mnuSaveProject_Click"); }
    void mnuSaveProjectAs_Click() override { run("mnuSaveProjectAs_Click"); }
    void refreshProject() override { run("refreshProject"); }
};

class Commands : public ::testing::Test {
  protected:
    void SetUp() override {
        state.tabColors = {0xFF9090, 0xFF9090, 0xFF9090, 0xFF9090};
        panelHost.geometry = geometry();
        panel = std::make_unique<ThumbnailPanel>(state, world.list, world.machine.ui, view,
                                                 panelHost, ScreenMetrics{1024, 15, 15});
        panel->scaleToScreen(panelHost.geometry);
        panel->fixedLayout(panelHost.geometry);
        host.panel = panel.get();
        host.state = &state;
        projects.host = &host;
    }

    static WindowGeometry geometry() {
        WindowGeometry g;
        g.innerWidth = 16000;
        g.innerHeight = 11000;
        g.nonClientWidth = 120;
        g.nonClientHeight = 600;
        g.outerWidth = 16120;
        g.outerHeight = 11600;
        g.buttonBarHeight = 600;
        return g;
    }

    // A tracked top-level window on `tab` whose document name is `name`; its position.
    long add(const std::string& name, std::int16_t tab = kDocumentsTab) {
        const auto process = static_cast<std::uint32_t>(100 + windows.size());
        windows.push_back(world.topLevel(name + " - Editor", process));
        world.list.refreshList();
        const long k = world.positionOf(windows.back());
        world.list.setCaptionString(k, name);
        world.list.setInTab(k, tab);
        return k;
    }
    long at(std::size_t n) const { return world.positionOf(windows.at(n)); }

    std::vector<long> visibleTiles() {
        std::vector<long> out;
        for (long k = 1; k < static_cast<long>(view.tiles.size()); ++k) {
            if (view.tile(k).shown) {
                out.push_back(k);
            }
        }
        return out;
    }
    std::size_t count(const std::string& call) const {
        return static_cast<std::size_t>(std::count(host.calls.begin(), host.calls.end(), call));
    }

    SimWorld world;
    SimPanelView view;
    SimPanelHost panelHost;
    PanelState state;
    std::unique_ptr<ThumbnailPanel> panel;
    SimCommandHost host;
    RecordingProjects projects;
    MainCommands commands{world.list, host, projects, ProgramVersion{2, 5, 17}};
    std::vector<WindowHandle> windows;
};

}  // namespace snapdesk::testing
