// The main form on simulated windows: start-up in its order, its settings, timers, tile
// events and closing.
#include <gtest/gtest.h>

#include <functional>

#include <algorithm>
#include <map>
#include <set>

#include "mainwindow/main_form.h"
#include "mainwindow/menu_ids.h"
#include "panel/sim_panel_view.h"
#include "sim_world.h"

namespace snapdesk::testing {
namespace {

using Calls = std::vector<std::string>;

// The top-level window in memory: a 12000 × 9000 twips screen, 60 twips of frame.
struct SimMainWindow : MainWindowView {
    WindowHandle window = 0;
    std::string text;
    Bounds outer{0, 0, 6000, 5000};
    int nonClientWidth = 120;
    int nonClientHeight = 600;
    int toolbarHeight = 630;
    bool minimized = false;
    bool maximized = false;
    std::map<int, bool> checks{{ID_mnuTextLabels, true}};
    std::map<int, std::string> captions;
    std::map<MainTimer, std::pair<bool, unsigned>> timers;
    bool inputEnabled = true;
    bool textLabels = true;
    int closesPosted = 0;
    bool comInitialised = false;
    std::uint32_t nearest = 0x00FF00;
    Calls* log = nullptr;

    void note(const std::string& call) {
        if (log != nullptr) {
            log->push_back(call);
        }
    }
    WindowHandle handle() override { return window; }
    void setCaption(const std::string& caption) override { text = caption; }
    WindowGeometry geometry() override {
        WindowGeometry g;
        g.outerWidth = outer.width;
        g.outerHeight = outer.height;
        g.nonClientWidth = nonClientWidth;
        g.nonClientHeight = nonClientHeight;
        g.innerWidth = minimized ? 0 : outer.width - nonClientWidth;
        g.innerHeight = minimized ? 0 : outer.height - nonClientHeight;
        g.buttonBarHeight = textLabels ? toolbarHeight : toolbarHeight - 240;
        g.minimized = minimized;
        g.maximized = maximized;
        return g;
    }
    Bounds placement() override { return outer; }
    void setPlacement(const Bounds& b) override {
        outer = b;
        note("place " + std::to_string(b.left) + "," + std::to_string(b.top) + " " +
             std::to_string(b.width) + "x" + std::to_string(b.height));
    }
    int screenHeight() override { return 9000; }
    int screenWidth() override { return 12000; }
    bool menuChecked(int id) override { return checks[id]; }
    void setMenuChecked(int id, bool c) override { checks[id] = c; }
    void setMenuCaption(int id, const std::string& c) override { captions[id] = c; }
    void setMenuEnabled(int, bool) override {}
    void setMenuVisible(int, bool) override {}
    void setToolbarTextLabels(bool on) override {
        textLabels = on;
        note(on ? "labels on" : "labels off");
    }
    bool setTimer(MainTimer t, unsigned ms, bool enabled) override {
        timers[t] = {enabled, ms};
        return true;
    }
    void enableInput(bool enabled) override {
        inputEnabled = enabled;
        note(enabled ? "enable" : "disable");
    }
    void show(ShowCommand c) override {
        if (c == ShowCommand::Maximize) {
            maximized = true;
        }
        note("show " + std::to_string(static_cast<int>(c)));
    }
    void repaint() override {}
    void postClose() override { ++closesPosted; }
    std::uint32_t nearestColor(std::uint32_t) override { return nearest; }
    bool initializeCom() override {
        comInitialised = true;
        return true;
    }

    // Popups: the items shown, and the choice the test made beforehand.
    std::vector<Menu> popups;
    int popupChoice = 0;
    int trackPopupMenu(const Menu& items, const PopupAnchor&) override {
        popups.push_back(visibleItems(items));
        return popupChoice;
    }
    void showAbout(const AboutBox&) override { note("about"); }
    void showHelp(const HelpRequest&) override { note("help"); }
    void showHotKeyDialog(HotKeySetting&) override { note("hot key dialog"); }
    std::optional<HotKey> hotKey;  // the key registered on the window
    HotKeyUse registerHotKey(const HotKey& key) override {
        hotKey = key;
        return HotKeyUse::Active;
    }
    void unregisterHotKey() override { hotKey.reset(); }

    bool trayAccepted = true;
    bool addTrayIcon(const std::string& tip) override {
        note("tray add " + tip);
        return trayAccepted;
    }
    void removeTrayIcon() override { note("tray remove"); }
    void routeTrayMessages() override { note("subclass"); }
    void restoreWindowProcedure() override { note("unsubclass"); }
};

// The other modules' side of start-up and closing, recorded in one call list.
struct RecordingServices : MainFormServices {
    Calls* log = nullptr;
    bool proceed = true;
    std::optional<RuntimeError> treeFailure;

    void note(const std::string& call) { log->push_back(call); }
    void prepareDataFolder(const std::string& folder) override { note("data " + folder); }
    void loadProjectStore() override { note("project store"); }
    void clearBrowserHistoryTexts() override { note("history texts"); }
    void loadDirectoryTree() override {
        note("tree");
        if (treeFailure) {
            throw *treeFailure;
        }
    }
    void updatePaths(bool force) override { note(force ? "paths forced" : "paths"); }
    bool checkProceed() override {
        note("checkProceed");
        return proceed;
    }
    void saveOldPaths() override { note("old paths"); }
    bool openRetryDue() override { return false; }
    void retryProjectMatch() override { note("retry"); }
    ProjectCommands& projectCommands() override { return projects; }

    // Project commands are recorded, not run.
    struct Projects : ProjectCommands {
        Calls* log = nullptr;
        void mnuNewProject_Click() override { log->push_back("new project"); }
        void mnuOpen_Click() override { log->push_back("open project"); }
        void mnuSaveProject_Click() override {
            log->push_back("save project");
            if (whileOpen) {
                whileOpen();
            }
        }
        // What happens while the command's dialog is open.
        std::function<void()> whileOpen;
        void mnuSaveProjectAs_Click() override { log->push_back("save project as"); }
        void refreshProject() override { log->push_back("refresh project"); }
    } projects;
};

class MainFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        main.log = &calls;
        services.log = &calls;
        services.projects.log = &calls;
        main.window = world.topLevel("Snapdesk!", 99, "C:\\Snapdesk\\snapdesk.exe");
        // Timer2 fires at the first message pump after it was started, as the repaint wait
        // of a capture expects.
        world.machine.ui.onDoEvents = [this] {
            auto& timer2 = main.timers[MainTimer::Timer2];
            if (form_ && timer2.first) {
                form_->timerTick(MainTimer::Timer2);
            }
        };
    }

    MainForm& form() {
        if (!form_) {
            form_ = std::make_unique<MainForm>(world.machine.platform, main, view, services,
                                               ScreenMetrics{1024, 15, 15}, "C:\\Snapdesk");
        }
        return *form_;
    }
    std::string stored(const std::string& key) {
        return world.machine.registry
            .readUserString("Software\\Zim Software\\Snapdesk\\userSettings", key)
            .value_or("<none>");
    }
    void store(const std::string& key, const std::string& value) {
        world.machine.registry.writeUserString("Software\\Zim Software\\Snapdesk\\userSettings",
                                               key, value);
    }
    std::size_t indexOf(const std::string& call) const {
        return static_cast<std::size_t>(std::find(calls.begin(), calls.end(), call) -
                                        calls.begin());
    }

    SimWorld world;
    SimMainWindow main;
    SimPanelView view;
    RecordingServices services;
    Calls calls;
    std::unique_ptr<MainForm> form_;
};

TEST_F(MainFormTest, FirstStartWritesTheDefaultsAndOpensAtTheBuiltInSize) {
    ASSERT_TRUE(form().load());
    for (const char* key : {"Height", "Width", "autoLoad", "singleClick", "autoUpdates",
                            "displayFolders", "tabs", "Left", "Top", "Maximized", "TextLabels",
                            "MaximizeLaunch", "Update_Setting", "RestorePositions", "HotKey"}) {
        EXPECT_NE(stored(key), "<none>") << key;
    }
    EXPECT_EQ(world.machine.registry.writes.size(), 15u);
    EXPECT_EQ(main.hotKey, kDefaultHotKey);
    const PanelState& panel = form().panelState();
    const int height = panel.preferredHeight < 9000 ? panel.preferredHeight - 700 : 9000 - 700;
    const int width = panel.preferredWidth < 12000 ? panel.preferredWidth : 12000;
    EXPECT_EQ(main.outer, (Bounds{0, 0, width, height}));
    EXPECT_EQ(panel.tabMode, 2);
    EXPECT_EQ(main.text, "Snapdesk!");
    EXPECT_EQ(main.timers[MainTimer::Timer1], std::make_pair(true, 3000u));
    EXPECT_EQ(form().state().helpFile, "C:\\Snapdesk\\SNAPDESK.HLP");
    EXPECT_EQ(main.captions[ID_mnuHelpLaunch], "&Help with Snapdesk!");
    EXPECT_EQ(main.captions[ID_mnuTabs], "4 &Tabs");
    EXPECT_TRUE(main.checks[ID_mnuFrequentImageUpdates]);
    EXPECT_FALSE(main.checks[ID_mnuMinimalImageUpdates]);
    EXPECT_TRUE(main.comInitialised);
    // The in-memory value is "no" after start-up, whatever was stored.
    EXPECT_EQ(form().settings().MaximizeLaunch, "no");
    EXPECT_EQ(form().location(), 'w');
}

TEST_F(MainFormTest, StartUpRunsItsStepsInOrder) {
    ASSERT_TRUE(form().load());
    const Calls expected{"data C:\\Snapdesk\\", "project store", "history texts", "tree", "show 5",
                         "tray add Snapdesk!",  "subclass"};
    std::size_t last = 0;
    for (const auto& call : expected) {
        const std::size_t at = indexOf(call);
        ASSERT_LT(at, calls.size()) << call;
        EXPECT_GE(at, last) << call;
        last = at;
    }
    EXPECT_TRUE(form().state().subclassed);
}

TEST_F(MainFormTest, StoredSizeOpensTenAndFiftyTwipsSmaller) {
    store("Height", "9000");
    store("Width", "12000");
    store("Left", "300");
    store("Top", "450");
    ASSERT_TRUE(form().load());
    EXPECT_EQ(main.outer, (Bounds{300, 450, 11950, 8990}));
}

TEST_F(MainFormTest, AFailingStepShowsTheFatalMessageWithItsLocation) {
    services.treeFailure = RuntimeError(53, "File not found", "dirTree");
    EXPECT_FALSE(form().load());
    ASSERT_EQ(world.machine.ui.messages.size(), 1u);
    const auto& shown = world.machine.ui.messages[0];
    EXPECT_EQ(shown.text,
              "Sorry! A Fatal Error Loading Main Form Has Occured at location: j\n"
              "53 - File not found");
    EXPECT_EQ(shown.title, "Snapdesk!");
    EXPECT_EQ(shown.style, MessageBoxStyle::OkCritical);
    EXPECT_TRUE(form().state().shutDown);
    // Nothing after the failing step ran.
    EXPECT_EQ(indexOf("tray add Snapdesk!"), calls.size());
}

TEST_F(MainFormTest, ARefusedTrayIconLeavesTheWindowUnsubclassed) {
    main.trayAccepted = false;
    ASSERT_TRUE(form().load());
    EXPECT_EQ(indexOf("subclass"), calls.size());
    ASSERT_TRUE(form().queryUnload());
    form().unload();
    EXPECT_EQ(indexOf("tray remove"), calls.size());
    EXPECT_EQ(indexOf("unsubclass"), calls.size());
}

TEST_F(MainFormTest, ColoursFollowTheColourDepth) {
    ASSERT_TRUE(form().load());
    EXPECT_EQ(form().panelState().tabColors[3], 0xFF9090u);
    EXPECT_EQ(form().panelState().commentBackColor, 0xFF9898u);
    EXPECT_EQ(view.colors[PanelControl::canvas], 0xFF9090u);
}

TEST_F(MainFormTest, A256ColourDisplayGetsTheNearestColourItOffers) {
    world.machine.display.caps = DisplayCaps{1024, 1, 8};
    main.nearest = 0x80C040;
    ASSERT_TRUE(form().load());
    EXPECT_EQ(form().panelState().tabColors[0], 0x80C040u);
    EXPECT_EQ(form().panelState().tabColors[2], 0x80C040u);
    EXPECT_EQ(form().panelState().commentBackColor, 0x80C040u);
}

TEST_F(MainFormTest, BrowserVersionsComeFromTheMachineKeys) {
    world.machine.registry.setMachineString("Software\\Microsoft\\Internet Explorer\\", "Version",
                                            "5.50.4807.2300");
    world.machine.registry.setMachineString("Software\\Netscape\\Netscape 6\\", "CurrentVersion",
                                            "6.2.3 (en)");
    ASSERT_TRUE(form().load());
    EXPECT_EQ(form().state().ieVersion, 5);
    EXPECT_EQ(form().state().netscape6Version, "6.2");
}

TEST_F(MainFormTest, WithoutBrowsersTheVersionsHaveTheirDefaults) {
    ASSERT_TRUE(form().load());
    EXPECT_EQ(form().state().ieVersion, 3);
    EXPECT_EQ(form().state().netscape6Version, "notfound");
}

TEST_F(MainFormTest, TextLabelsOffAtStartRunsTheToggleAndShrinksTheToolbar) {
    store("TextLabels", "no");
    ASSERT_TRUE(form().load());
    EXPECT_FALSE(main.checks[ID_mnuTextLabels]);
    EXPECT_FALSE(main.textLabels);
    EXPECT_EQ(stored("TextLabels"), "no");
    // The panel starts where the shorter toolbar ends.
    EXPECT_EQ(view.boxes[PanelControl::MainFrame].top, main.toolbarHeight - 240);
}

TEST_F(MainFormTest, TheTextLabelsCommandGivesThePanelTheToolbarsHeight) {
    ASSERT_TRUE(form().load());
    const Bounds before = view.boxes[PanelControl::MainFrame];
    ASSERT_TRUE(form().command(ID_mnuTextLabels));
    const Bounds after = view.boxes[PanelControl::MainFrame];
    EXPECT_EQ(before.top - after.top, 240);
    EXPECT_EQ(after.height - before.height, 240);
    EXPECT_EQ(stored("TextLabels"), "no");
    ASSERT_TRUE(form().command(ID_mnuTextLabels));
    EXPECT_EQ(view.boxes[PanelControl::MainFrame], before);
    EXPECT_EQ(stored("TextLabels"), "yes");
}

TEST_F(MainFormTest, SettingsCommandsToggleAndPersist) {
    ASSERT_TRUE(form().load());
    const bool wasDouble = main.checks[ID_mnuSingleClick];
    ASSERT_TRUE(form().command(ID_mnuSingleClick));
    EXPECT_NE(main.checks[ID_mnuSingleClick], wasDouble);
    EXPECT_EQ(view.captions[PanelControl::lblClickAny],
              wasDouble ? "Click Any Image to Continue" : "Double Click Any Image to Continue");
    EXPECT_EQ(stored("singleClick"), wasDouble ? "yes" : "no");

    ASSERT_TRUE(form().command(ID_mnuFolders));
    EXPECT_EQ(form().list().displayFolders(), !main.checks[ID_mnuFolders]);

    ASSERT_TRUE(form().command(ID_mnuMinimalImageUpdates));
    EXPECT_TRUE(main.checks[ID_mnuMinimalImageUpdates]);
    EXPECT_FALSE(main.checks[ID_mnuFrequentImageUpdates]);
    EXPECT_FALSE(main.checks[ID_mnuNoAutoImageUpdate]);
    EXPECT_EQ(stored("Update_Setting"), "3");

    ASSERT_TRUE(form().command(ID_mnuMaximize));
    EXPECT_EQ(form().settings().MaximizeLaunch, "yes");
    EXPECT_EQ(stored("MaximizeLaunch"), "yes");
    calls.clear();
    ASSERT_TRUE(form().command(ID_mnuAbout));
    EXPECT_EQ(calls, (Calls{"about"}));
}

TEST_F(MainFormTest, ATimer1TickShowsANewWindowAndThenSearchesPaths) {
    store("autoLoad", "no");  // no images at start: nothing but the tick refreshes
    ASSERT_TRUE(form().load());
    const long before = form().list().count();
    world.topLevel("report.txt - Notepad", 7, "C:\\Windows\\notepad.exe");
    calls.clear();
    form().timerTick(MainTimer::Timer1);
    EXPECT_EQ(form().list().count(), before + 1);
    EXPECT_EQ(calls.back(), "paths");
    const long k = form().list().count();
    ASSERT_NE(form().panel().cswDocs(k), nullptr);
    EXPECT_TRUE(form().panel().cswDocs(k)->visible());
}

TEST_F(MainFormTest, TicksBeforeTheLoadEndsDoNothing) {
    form().timerTick(MainTimer::Timer1);
    EXPECT_TRUE(calls.empty());
}

TEST_F(MainFormTest, ClickActivatesOnlyWithoutDoubleClickActivation) {
    store("singleClick", "no");  // "Activate on &Double Click" checked
    world.topLevel("report.txt - Notepad", 7, "C:\\Windows\\notepad.exe");
    ASSERT_TRUE(form().load());
    const long k = form().list().count();
    ASSERT_GE(k, 1);
    calls.clear();
    view.events->tileClick(k);
    EXPECT_EQ(indexOf("disable"), calls.size()) << "a single click must not activate";
    view.events->tileDblClick(k);
    EXPECT_LT(indexOf("disable"), calls.size());

    ASSERT_TRUE(form().command(ID_mnuSingleClick));  // back to single-click activation
    calls.clear();
    view.events->tileClick(k);
    EXPECT_LT(indexOf("disable"), calls.size());
    EXPECT_TRUE(main.inputEnabled);

    calls.clear();
    short enter = 13;
    view.events->tileKeyPress(k, enter);
    EXPECT_LT(indexOf("disable"), calls.size());
    calls.clear();
    short other = 'a';
    view.events->tileKeyPress(k, other);
    EXPECT_EQ(indexOf("disable"), calls.size());
}

// The window closes while Update All Images waits for a repaint (a close message pumped in
// the wait): the wait ends, and nothing runs after the close.
TEST_F(MainFormTest, AClosePumpedDuringAPictureEndsTheWaitAndStopsTheForm) {
    store("autoLoad", "no");
    world.topLevel("report.txt - Notepad", 7, "C:\\Windows\\notepad.exe");
    ASSERT_TRUE(form().load());
    bool closed = false;
    world.machine.ui.onDoEvents = [&] {
        if (!closed) {
            closed = true;
            ASSERT_TRUE(form().queryUnload());
            form().unload();
        }
    };
    ASSERT_TRUE(form().command(ID_mnuLoadImages));  // returns instead of waiting for good
    EXPECT_TRUE(closed);
    calls.clear();
    form().timerTick(MainTimer::Timer1);
    EXPECT_FALSE(form().command(ID_mnuTabs));
    EXPECT_EQ(indexOf("paths"), calls.size()) << "no tick after the close";
}

TEST_F(MainFormTest, ARightButtonOpensThePopupForThatTile) {
    world.topLevel("report.txt - Notepad", 7, "C:\\Windows\\notepad.exe");
    ASSERT_TRUE(form().load());
    view.events->tileMouseDown(1, 1, 0, 10, 10);
    EXPECT_TRUE(main.popups.empty()) << "the left button opens nothing";
    view.events->tileMouseDown(1, 2, 0, 10, 10);
    ASSERT_EQ(main.popups.size(), 1u);
    EXPECT_EQ(form().state().selectedIndex, 1);
    EXPECT_NE(findMenuItem(main.popups[0], ID_mnuKeepView), nullptr);
}

// Commands the main form does not handle itself reach the command surface, through the
// same form: the tab mode, and the project entry points from the menu and the toolbar.
TEST_F(MainFormTest, OtherCommandsReachTheCommandSurface) {
    ASSERT_TRUE(form().load());
    ASSERT_TRUE(form().command(ID_mnuTabs));
    EXPECT_EQ(form().panelState().tabMode, 4);
    EXPECT_EQ(main.captions[ID_mnuTabs], "2 &Tabs");
    calls.clear();
    ASSERT_TRUE(form().command(ID_mnuNewProject));
    ASSERT_TRUE(form().buttonCommand(ID_mnuSaveProject));
    EXPECT_EQ(calls, (Calls{"new project", "save project"}));
    EXPECT_TRUE(main.timers[MainTimer::Timer1].first) << "Timer1 runs again after the button";
    EXPECT_FALSE(form().command(99999));
}

TEST_F(MainFormTest, NothingElseRunsWhileACommandsDialogIsOpen) {
    ASSERT_TRUE(form().load());
    calls.clear();
    services.projects.whileOpen = [this] {
        form().command(ID_mnuNewProject);
        form().buttonCommand(ID_mnuSaveProjectAs);
        form().trayIconEvent(0x0203);  // a double click on the tray icon
        form().timerTick(MainTimer::Timer1);
    };
    ASSERT_TRUE(form().command(ID_mnuSaveProject));
    EXPECT_EQ(calls, (Calls{"save project"}));
    // Afterwards the commands run again.
    services.projects.whileOpen = nullptr;
    form().command(ID_mnuNewProject);
    EXPECT_EQ(calls, (Calls{"save project", "new project"}));
}

TEST_F(MainFormTest, ClosingWritesThePlaceThenUnloadsInOrder) {
    ASSERT_TRUE(form().load());
    main.outer = {600, 300, 9000, 7000};
    main.maximized = false;
    world.machine.registry.writes.clear();
    calls.clear();
    ASSERT_TRUE(form().queryUnload());
    EXPECT_EQ(world.machine.registry.writes,
              (std::vector<std::string>{"Top=300", "Left=600", "Width=9000", "Height=7000",
                                        "Maximized=no", "tabs=2"}));
    form().unload();
    EXPECT_EQ(calls,
              (Calls{"paths forced", "checkProceed", "old paths", "tray remove", "unsubclass"}));
    EXPECT_FALSE(main.hotKey) << "the hot key let go";
}

TEST_F(MainFormTest, ClosingWhileMinimisedKeepsTheStoredPlace) {
    ASSERT_TRUE(form().load());
    ASSERT_TRUE(form().command(ID_mnuTextLabels));  // any later write is the close's
    main.minimized = true;
    world.machine.registry.writes.clear();
    ASSERT_TRUE(form().queryUnload());
    EXPECT_EQ(world.machine.registry.writes, (std::vector<std::string>{"Maximized=no", "tabs=2"}));
}

TEST_F(MainFormTest, CancelInTheSavePromptKeepsTheWindowAndWritesNothing) {
    ASSERT_TRUE(form().load());
    services.proceed = false;
    world.machine.registry.writes.clear();
    EXPECT_FALSE(form().queryUnload());
    EXPECT_TRUE(world.machine.registry.writes.empty());
}

TEST_F(MainFormTest, AStoredMaximisedWindowOpensMaximised) {
    store("Maximized", "yes");
    ASSERT_TRUE(form().load());
    EXPECT_TRUE(main.maximized);
    EXPECT_EQ(form().state().windowStateText, "MAXIMIZED");
}

TEST_F(MainFormTest, SearchKeysActivateMatchesAndEscapeClearsThenSendsTheWindowBack) {
    world.topLevel("report.txt - Notepad", 7, "C:\\Windows\\notepad.exe");
    const WindowHandle notes = world.topLevel("notes.txt - WordPad", 8, "C:\\Windows\\wordpad.exe");
    ASSERT_TRUE(form().load());
    form().searchChanged("wordpad");

    calls.clear();
    EXPECT_TRUE(form().searchKey(SearchKey::CtrlDigit, 2));
    EXPECT_EQ(indexOf("disable"), calls.size()) << "there is no second match";
    EXPECT_TRUE(form().searchKey(SearchKey::Enter));
    EXPECT_LT(indexOf("disable"), calls.size());
    EXPECT_EQ(world.desktop.foregroundWindow(), notes);

    const std::string minimise = "show " + std::to_string(static_cast<int>(ShowCommand::Minimize));
    calls.clear();
    EXPECT_TRUE(form().searchKey(SearchKey::Escape));
    EXPECT_EQ(form().panel().searchText(), "");
    EXPECT_EQ(indexOf(minimise), calls.size()) << "the first Escape only clears the box";
    EXPECT_TRUE(form().searchKey(SearchKey::Escape));
    EXPECT_LT(indexOf(minimise), calls.size());
}

}  // namespace
}  // namespace snapdesk::testing
