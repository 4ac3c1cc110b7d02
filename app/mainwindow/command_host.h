#pragma once

// What the command handlers of the menus, toolbar, thumbnail popup and tray need from the
// main window (CommandHost, implemented by the main form) and from the project commands
// (ProjectCommands, implemented by the project code).

#include <cstdint>
#include <string>

#include "mainwindow/menu_model.h"
#include "platform/window_manager.h"

namespace snapdesk {

// Where a popup menu opens.
struct PopupAnchor {
    enum class Place { AtPointer, BelowButton };
    Place place = Place::AtPointer;
    int buttonId = 0;  // BelowButton: at the button's left edge, just below it
};

// The About dialog's texts.
struct AboutBox {
    std::string caption;  // "About Snapdesk!"
    std::string version;  // "Version 1.2.3"
};

// Help through the help engine: the file at its contents, with an empty key.
struct HelpRequest {
    std::string file;
    int command = 3;  // contents
    std::string key;
};

class CommandHost {
  public:
    virtual ~CommandHost() = default;

    // The record the popup, drop-down and tray commands act on (1-based).
    virtual long selectedIndex() = 0;
    virtual void setSelectedIndex(long i) = 0;

    virtual bool timer1Enabled() = 0;
    virtual void setTimer1(bool enabled) = 0;

    // The panel redraw with a refresh of the list (updateWindowList without argument).
    virtual void updateWindowList() = 0;
    // Update Image of selectedIndex, and Update All Images.
    virtual void updateClick() = 0;
    virtual void mnuLoadImages_Click() = 0;
    // Brings the window behind record k to the user, as a click on its tile does.
    virtual void activateThumbnail(long k) = 0;

    virtual std::int16_t tabMode() = 0;
    virtual void setTabMode(std::int16_t mode) = 0;
    // The tab the panel shows, 0..3.
    virtual int currentTab() = 0;

    // Menu bar state, by id.
    virtual bool menuChecked(int id) = 0;
    virtual void setMenuCaption(int id, const std::string& caption) = 0;
    virtual void setMenuEnabled(int id, bool enabled) = 0;

    // Shows a popup menu and waits until it closes: the chosen command id, 0 for none. Hidden
    // items are left out of the menu. The choice comes back here, not as a later command.
    virtual int trackPopupMenu(const Menu& items, const PopupAnchor& anchor) = 0;

    // Modal; returns when the dialog is closed.
    virtual void showAbout(const AboutBox& box) = 0;
    virtual void showHelp(const HelpRequest& request) = 0;
    // Program folder + "SNAPDESK.HLP".
    virtual std::string helpFile() = 0;

    // "NORMAL" or "MAXIMIZED": the last state the window had when not minimised.
    virtual std::string windowStateText() = 0;
    // The main window in this state, then the foreground window.
    virtual void restoreMainWindow(ShowCommand state) = 0;

    // The window list's location search for the Project tab.
    virtual void updatePaths(bool force) = 0;
};

// Entry points of the project commands; the project code implements them.
class ProjectCommands {
  public:
    virtual ~ProjectCommands() = default;
    virtual void mnuNewProject_Click() = 0;
    virtual void mnuOpen_Click() = 0;
    virtual void mnuSaveProject_Click() = 0;
    virtual void mnuSaveProjectAs_Click() = 0;
    virtual void refreshProject() = 0;
};

}  // namespace snapdesk
