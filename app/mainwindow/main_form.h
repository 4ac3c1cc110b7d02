#pragma once

// MainForm: the main window's start-up, timers, tile events and closing. The window procedure
// of mainwindow/win32/main_window.* only forwards to it.

#include <memory>
#include <string>

#include "mainwindow/activation.h"
#include "mainwindow/command_handlers.h"
#include "mainwindow/command_host.h"
#include "mainwindow/hot_key_setting.h"
#include "mainwindow/hot_key_toggle.h"
#include "mainwindow/main_window_view.h"
#include "mainwindow/panel_state.h"
#include "mainwindow/search_highlight.h"
#include "mainwindow/settings_presenter.h"
#include "mainwindow/thumbnail_panel.h"
#include "mainwindow/user_settings.h"
#include "platform/platform.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// Work of the other modules that start-up, the timers and closing call at their places.
class MainFormServices {
  public:
    virtual ~MainFormServices() = default;
    // "a": the data folder "datafiles" in the program folder, created when missing.
    virtual void prepareDataFolder(const std::string& programFolder) = 0;
    // "c": the project store (sets the Recent folder the window naming reads).
    virtual void loadProjectStore() = 0;
    // "h": the browser-history texts cached for address look-ups.
    virtual void clearBrowserHistoryTexts() = 0;
    // "j": the folder list of the drive, built or loaded behind its splash window.
    virtual void loadDirectoryTree() = 0;
    // The list's background path search, after every Timer1 refresh and before closing.
    virtual void updatePaths(bool force) = 0;
    // Whether the user lets the current project go (may ask to save it).
    virtual bool checkProceed() = 0;
    // Unload: the Project tab's document locations appended to the stored paths.
    virtual void saveOldPaths() = 0;
    // Timer4: the follow-up matching of a project being opened; true while one is due.
    virtual bool openRetryDue() = 0;
    virtual void retryProjectMatch() = 0;
    // New, Open, Save, Save As and Refresh Project.
    virtual ProjectCommands& projectCommands() = 0;
    // The recovery file: offered back once loaded, then kept in step with the Project tab
    // (watch: a look that writes when due; keepNow: the session ends), and at a clean exit
    // removed unless it holds an Untitled tab's members.
    virtual void offerRecovery() {}
    virtual void watchRecovery() {}
    virtual void keepRecoveryNow() {}
    virtual void recoveryCleanExit() {}
};

// The program-wide values the main window keeps.
struct MainFormState {
    std::string programFolder;  // ends in "\"
    std::string helpFile;
    std::string windowStateText = "NORMAL";
    long selectedIndex = 0;
    int ieVersion = 3;
    std::string netscape6Version = "notfound";
    bool trayInstalled = false;
    bool subclassed = false;
    bool loaded = false;
    bool shutDown = false;       // a fatal error ended the run
    bool sessionEnding = false;  // Windows ends the session: no questions, the recovery kept
};

// Raises a flag for the life of a scope: what must not start underneath looks at it.
class RaisedFlag {
  public:
    explicit RaisedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RaisedFlag() { flag_ = false; }
    RaisedFlag(const RaisedFlag&) = delete;
    RaisedFlag& operator=(const RaisedFlag&) = delete;

  private:
    bool& flag_;
};

inline constexpr unsigned kTimer1IntervalMs = 3000;
// Often enough that a comment typed is on disk within the recovery's two-second grouping.
inline constexpr unsigned kRecoveryIntervalMs = 400;
inline constexpr short kRightButton = 2;
inline constexpr const char* kHelpFileName = "SNAPDESK.HLP";

class MainForm final : private PanelHost,
                       private ActivationHost,
                       private CommandHost,
                       private HotKeyHost {
  public:
    MainForm(Platform& platform, MainWindowView& window, PanelView& panelView,
             MainFormServices& services, ScreenMetrics screen, std::string programFolder);
    ~MainForm() override;
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Steps "a" to "w". False after a fatal error was shown: the caller destroys the window.
    bool load();
    // Query-unload: false keeps the window open and writes nothing.
    bool queryUnload();
    void unload();
    // Windows asks whether the session may end: always yes, the recovery file written first.
    void queryEndSession();
    // The session ends: the recovery file and the window's settings written, no questions;
    // the caller destroys the window.
    void endSession();
    // A second start asked this one to come to the front.
    void bringToFront() override;
    // The system-wide hot key: Snapdesk up with its search started, or back if in front.
    void hotKeyPressed();
    // Minimised, the focus given back to the window that had it before the hot key.
    void sendBack() { hotKeyToggle_.sendBack(); }

    void timerTick(MainTimer timer);
    // A menu or accelerator command; false when the id is no command of the main window.
    bool command(int menuId);
    // A toolbar button (its command id); Timer1 is off while it runs.
    bool buttonCommand(int buttonId);
    // The tray icon's callback message with its mouse event.
    void trayIconEvent(std::uintptr_t mouseEvent);
    // The window's size changed, or Windows asks for its minimum (outer, twips).
    void resized();
    // The window's scale changed (it moved to another monitor, or the user's setting): the
    // pictures are stretched to the new thumbnail size at once and the panel laid out anew.
    void scaleChanged(ScreenMetrics screen);
    ResizeResult minimumSize();

    const MainFormState& state() const { return state_; }
    const PanelState& panelState() const { return panelState_; }
    const UserSettings& settings() const { return settings_; }
    CoffeeShopList& list() { return list_; }
    ThumbnailPanel& panel() { return *panel_; }
    Activation& activation() { return activation_; }
    MainCommands& commands() { return commands_; }
    // The location letter of the step that runs (or ran last).
    char location() const { return location_; }
    // The current project's name, as the Project tab shows it.
    void setProjectName(const std::string& name) { panelState_.projectName = name; }
    // The refresh timer, as work that must not run under it switches it.
    bool timer1Enabled() override { return timer1On_; }
    void setTimer1(bool enabled) override;
    // What opening a project asks of the main window.
    void waitOnTimer2(unsigned ms, const std::function<bool()>& until) {
        activation_.waitOnTimer2(ms, false, until);
    }
    void setTimer4(bool enabled, unsigned intervalMs) {
        window_.setTimer(MainTimer::Timer4, intervalMs, enabled);
    }
    void updateImage(long k);
    void bringMainWindowBack();

    // The search box's text changed.
    void searchChanged(const std::string& text);
    // A key of the search box: Up and Down move the highlight, Enter activates the highlighted
    // window as a click on its tile does, Ctrl with digit 1..9 the n-th match, Escape clears
    // the box, or sends the window back when it is empty. False when the key is not taken.
    bool searchKey(SearchKey key, int digit = 0);
    // The box emptied and given the keyboard focus.
    void startSearch();

  private:
    void runLoadSteps();
    void applyStoredSettings();
    // "Text  &Labels in Toolbar": also run at start-up when the labels were turned off.
    void toggleTextLabels();
    void redraw();
    void saveClosingSettings();

    // PanelHost
    WindowGeometry windowGeometry() override { return window_.geometry(); }
    void shutdown() override;
    void tileClick(long k) override;
    void tileDblClick(long k) override;
    void tileKeyPress(long k, short& keyAscii) override;
    void tileMouseDown(long k, short button, short shift, float x, float y) override;

    // ActivationHost
    WindowHandle mainWindowHandle() override { return window_.handle(); }
    void enableMainWindow(bool enabled) override { window_.enableInput(enabled); }
    bool setTimer2(bool enabled, unsigned intervalMs) override;
    void updateWindowList() override { redraw(); }
    bool mainWindowIsNormal() override;
    void showMainWindow(ShowCommand command) override { window_.show(command); }
    std::string maximizeLaunch() override { return settings_.MaximizeLaunch; }

    // CommandHost
    long selectedIndex() override { return state_.selectedIndex; }
    void setSelectedIndex(long i) override { state_.selectedIndex = i; }
    void updateClick() override { activation_.updateClick(state_.selectedIndex); }
    void mnuLoadImages_Click() override { activation_.mnuLoadImages_Click(); }
    void activateThumbnail(long k) override { activation_.activateThumbnail(k); }
    std::int16_t tabMode() override { return panelState_.tabMode; }
    void setTabMode(std::int16_t mode) override { panelState_.tabMode = mode; }
    int currentTab() override { return panelState_.currentTab; }
    bool menuChecked(int id) override { return window_.menuChecked(id); }
    void setMenuCaption(int id, const std::string& caption) override {
        window_.setMenuCaption(id, caption);
    }
    void setMenuEnabled(int id, bool enabled) override { window_.setMenuEnabled(id, enabled); }
    int trackPopupMenu(const Menu& items, const PopupAnchor& anchor) override {
        return window_.trackPopupMenu(items, anchor);
    }
    void showAbout(const AboutBox& box) override { window_.showAbout(box); }
    void showHelp(const HelpRequest& request) override { window_.showHelp(request); }
    std::string helpFile() override { return state_.helpFile; }
    std::string windowStateText() override { return state_.windowStateText; }
    void restoreMainWindow(ShowCommand state) override;
    void updatePaths(bool force) override { services_.updatePaths(force); }

    // HotKeyHost
    void minimizeMainWindow() override { window_.show(ShowCommand::Minimize); }

    // "&Hot Key...": its dialog, no hot key acted on while it is open.
    void chooseHotKey();

    Platform& platform_;
    MainWindowView& window_;
    PanelView& panelView_;
    MainFormServices& services_;
    ScreenMetrics screen_;
    MainFormState state_;
    PanelState panelState_;
    UserSettings settings_;
    CoffeeShopList list_;
    Activation activation_;
    // The project commands, marked open while they run: their dialogs answer messages, and no
    // other command, tray click or refresh may start underneath them.
    struct GuardedProjectCommands : ProjectCommands {
        explicit GuardedProjectCommands(ProjectCommands& commands) : inner(commands) {}
        template <typename Work>
        void run(Work work) {
            const RaisedFlag raised(open);
            work();
        }
        void mnuNewProject_Click() override {
            run([this] { inner.mnuNewProject_Click(); });
        }
        void mnuOpen_Click() override {
            run([this] { inner.mnuOpen_Click(); });
        }
        void mnuSaveProject_Click() override {
            run([this] { inner.mnuSaveProject_Click(); });
        }
        void mnuSaveProjectAs_Click() override {
            run([this] { inner.mnuSaveProjectAs_Click(); });
        }
        void refreshProject() override {
            run([this] { inner.refreshProject(); });
        }
        ProjectCommands& inner;
        bool open = false;
    } projectDialogs_;
    MainCommands commands_;
    std::unique_ptr<ThumbnailPanel> panel_;
    AppliedSettings applied_;
    HotKeySetting hotKey_;
    HotKeyToggle hotKeyToggle_;
    bool hotKeyDialogOpen_ = false;
    char location_ = ' ';
    bool timer1Running_ = false;

    bool timer1On_ = false;
};

// The fatal start-up message for a run-time error at a location.
std::string fatalLoadMessage(char location, long number, const std::string& description);

}  // namespace snapdesk
