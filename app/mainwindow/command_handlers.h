#pragma once

// The command surface of the main window apart from the settings, Exit and Update All Images
// (those are the main form's): File items, View "Tabs", "Undo Hide", Help, the toolbar, the
// thumbnail popup, the drop-down lists and the tray icon.
//
// The main form owns one MainCommands next to the window list, answers its CommandHost, and
// routes to it: every menu command id its own command() does not take (command); a
// WM_COMMAND from the toolbar (buttonClickById: the project buttons share the File ids, but
// only the toolbar's command runs with Timer1 off); the right button on a tile
// (showThumbnailPopup); the tray icon's callback (trayIconEvent, from the tray window
// procedure). Popups go through CommandHost::trackPopupMenu, which returns the choice.

#include <cstdint>
#include <string>

#include "mainwindow/command_host.h"
#include "mainwindow/dynamic_menu.h"
#include "mainwindow/tray_menu.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

AboutBox aboutBox(const ProgramVersion& version);

class MainCommands {
  public:
    MainCommands(CoffeeShopList& list, CommandHost& host, ProjectCommands& projects,
                 ProgramVersion version);

    // A menu or popup command id; false when the id is none of these commands.
    bool command(int id);
    // A toolbar button, by key or id. Timer1 is off for the whole command.
    bool buttonClick(const std::string& key);
    bool buttonClickById(int id);

    // The right button on tile k: the popup, and the command chosen in it.
    void showThumbnailPopup(long k);
    // The popup's items for record k as they would show now.
    Menu thumbnailPopupFor(long k);

    // The tray icon's callback with its mouse event: restore the window or open the tray
    // menu. Run-time errors inside are ignored, as the tray window procedure does.
    void trayIconEvent(std::uintptr_t mouseEvent);
    void systemTrayPopup();

    void mnuTabs_Click();
    void mnuUndoHide_Click();
    void mnuHelpLaunch_Click();
    void mnuAbout_Click();

    // An element of a dynamic array was chosen.
    void zzzzUpdate_Click(int index);
    void zzzzTo_Click(int index);
    void zzzzFrom_Click(int index);
    void zzzzSystemTray_Click(int index);

    const DynamicItemArray& zzzzUpdate() const { return zzzzUpdate_; }
    const DynamicItemArray& zzzzTo() const { return zzzzTo_; }
    const DynamicItemArray& zzzzFrom() const { return zzzzFrom_; }
    const DynamicItemArray& zzzzSystemTray() const { return zzzzSystemTray_; }

  private:
    bool popupCommand(int id);
    bool dynamicCommand(int id);
    void dropDown(DynamicItemArray& array, int buttonId);
    // The record an element stands for now, 0 when none; selectedIndex set to it.
    long selectElement(const DynamicItemArray& array, int index);

    CoffeeShopList& list_;
    CommandHost& host_;
    ProjectCommands& projects_;
    ProgramVersion version_;
    DynamicItemArray zzzzUpdate_;
    DynamicItemArray zzzzTo_;
    DynamicItemArray zzzzFrom_;
    DynamicItemArray zzzzSystemTray_;
};

}  // namespace snapdesk
