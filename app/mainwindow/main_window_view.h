#pragma once

#include <string>

#include "mainwindow/command_host.h"
#include "mainwindow/hot_key_setting.h"
#include "mainwindow/thumbnail_panel.h"
#include "platform/handles.h"
#include "platform/window_manager.h"

namespace snapdesk {

// Recovery looks at the Project tab for the recovery file.
enum class MainTimer : int { Timer1 = 1, Timer2 = 2, Timer4 = 4, Recovery = 5 };

// The top-level main window as the main form drives it; lengths are twips. The system-wide
// hot key is registered on it.
class MainWindowView : public HotKeyRegistrar {
  public:
    ~MainWindowView() override = default;
    virtual WindowHandle handle() = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual WindowGeometry geometry() = 0;
    // Outer edges of the window while it is neither minimised nor maximised.
    virtual Bounds placement() = 0;
    virtual void setPlacement(const Bounds& outer) = 0;
    virtual int screenHeight() = 0;
    virtual int screenWidth() = 0;

    virtual bool menuChecked(int id) = 0;
    virtual void setMenuChecked(int id, bool checked) = 0;
    virtual void setMenuCaption(int id, const std::string& caption) = 0;
    virtual void setMenuEnabled(int id, bool enabled) = 0;
    virtual void setMenuVisible(int id, bool visible) = 0;
    // Captions under the toolbar buttons, and its height with them.
    virtual void setToolbarTextLabels(bool on) = 0;

    // False when the system gave no timer.
    virtual bool setTimer(MainTimer timer, unsigned intervalMs, bool enabled) = 0;
    virtual void enableInput(bool enabled) = 0;
    virtual void show(ShowCommand command) = 0;
    virtual void repaint() = 0;
    // Asks the window to close once the current message is done.
    virtual void postClose() = 0;
    // The colour the display offers nearest to `color` (0x00BBGGRR).
    virtual std::uint32_t nearestColor(std::uint32_t color) = 0;
    virtual bool initializeCom() = 0;

    // Shows a popup menu and waits: the chosen command id, 0 for none.
    virtual int trackPopupMenu(const Menu& items, const PopupAnchor& anchor) = 0;
    virtual void showAbout(const AboutBox& box) = 0;
    virtual void showHelp(const HelpRequest& request) = 0;
    // The Hot Key dialog over the main window: the key shown with its status, a new one
    // chosen through the setting.
    virtual void showHotKeyDialog(HotKeySetting& setting) = 0;

    // The tray icon, with its tip; false when the shell refused it. Its notifications reach
    // the main form once routed (the window procedure is subclassed), until restored.
    virtual bool addTrayIcon(const std::string& tip) = 0;
    virtual void removeTrayIcon() = 0;
    virtual void routeTrayMessages() = 0;
    virtual void restoreWindowProcedure() = 0;

    // The search box: its text replaced (as typing would, the change reported back), and the
    // keyboard focus given to it.
    virtual void setSearchText(const std::string& /*text*/) {}
    virtual void focusSearch() {}
};

}  // namespace snapdesk
