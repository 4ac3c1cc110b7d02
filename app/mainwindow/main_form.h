#pragma once

// MainForm: the main window's start-up, timers, tile events and closing. The window procedure
// of mainwindow/win32/main_window.* only forwards to it.

#include <memory>
#include <string>

#include "mainwindow/activation.h"
#include "mainwindow/main_window_view.h"
#include "mainwindow/panel_state.h"
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
    // "s": the tray icon; true when the shell took it. "t": its notifications routed to the
    // main window. At unload the icon goes first, then the routing.
    virtual bool addTrayIcon() = 0;
    virtual void routeTrayMessages() = 0;
    virtual void removeTrayIcon() = 0;
    virtual void restoreWindowProcedure() = 0;
    // The list's background path search, after every Timer1 refresh and before closing.
    virtual void updatePaths(bool force) = 0;
    // Whether the user lets the current project go (may ask to save it).
    virtual bool checkProceed() = 0;
    // Unload: the Project tab's document locations appended to the stored paths.
    virtual void saveOldPaths() = 0;
    // Timer4: the follow-up matching of a project being opened; true while one is due.
    virtual bool openRetryDue() = 0;
    virtual void retryProjectMatch() = 0;
    // A right button on tile k: the thumbnail popup menu.
    virtual void showThumbnailPopup(long k) = 0;
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
    bool shutDown = false;  // a fatal error ended the run
};

inline constexpr unsigned kTimer1IntervalMs = 3000;
inline constexpr short kRightButton = 2;
inline constexpr const char* kHelpFileName = "SNAPDESK.HLP";

class MainForm final : private PanelHost, private ActivationHost {
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

    void timerTick(MainTimer timer);
    // A menu or accelerator command; false when the id is not the main form's.
    bool command(int menuId);
    // The window's size changed, or Windows asks for its minimum (outer, twips).
    void resized();
    ResizeResult minimumSize();

    const MainFormState& state() const { return state_; }
    const PanelState& panelState() const { return panelState_; }
    const UserSettings& settings() const { return settings_; }
    CoffeeShopList& list() { return list_; }
    ThumbnailPanel& panel() { return *panel_; }
    Activation& activation() { return activation_; }
    // The location letter of the step that runs (or ran last).
    char location() const { return location_; }

  private:
    void runLoadSteps();
    void applyStoredSettings();
    // "Text  &Labels in Toolbar": also run at start-up when the labels were turned off.
    void toggleTextLabels();
    void redraw();

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
    void setTimer1(bool enabled) override;
    bool setTimer2(bool enabled, unsigned intervalMs) override;
    void updateWindowList() override { redraw(); }
    bool mainWindowIsNormal() override;
    void showMainWindow(ShowCommand command) override { window_.show(command); }
    std::string maximizeLaunch() override { return settings_.MaximizeLaunch; }

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
    std::unique_ptr<ThumbnailPanel> panel_;
    AppliedSettings applied_;
    char location_ = ' ';
    bool timer1Running_ = false;
};

// The fatal start-up message for a run-time error at a location.
std::string fatalLoadMessage(char location, long number, const std::string& description);

}  // namespace snapdesk
