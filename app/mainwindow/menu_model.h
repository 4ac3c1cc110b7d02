#pragma once

// The main window's menus as data: the view walks them to create its menus, and the command
// handlers answer the ids they carry (menu_ids.h).
//
// A Win32 view builds a menu bar from menuBar(): a popup per top-level item, an item per
// command (text = menuItemText, MF_CHECKED / MF_GRAYED from the flags), MF_SEPARATOR for a
// separator, a nested popup for an item with items. Hidden items exist in the model but are
// not inserted; a view that shows one later inserts it at its place among the visible ones.

#include <cstdint>
#include <string>
#include <vector>

namespace snapdesk {

struct MenuItem {
    std::string name;      // control name, e.g. "mnuNewProject"; empty for a separator
    int id = 0;            // command id; 0 for separators and submenus
    std::string caption;   // "&" marks the access key
    std::string shortcut;  // shown after a TAB, e.g. "Ctrl+N"; empty when none
    char shortcutKey = 0;  // the letter pressed with Ctrl; 0 when none
    bool separator = false;
    bool visible = true;  // false: the item exists but is not shown
    bool checked = false;
    bool enabled = true;
    std::vector<MenuItem> items;  // the submenu of a menu heading
};

using Menu = std::vector<MenuItem>;

// A key pressed with Ctrl that runs a command.
struct Accelerator {
    char key = 0;
    int id = 0;
};

// The four menus of the menu bar, "&File" to "&Help", with their state at start.
const Menu& menuBar();
// The Ctrl shortcuts of the menu bar.
std::vector<Accelerator> menuAccelerators();
// The caption followed by a TAB and the shortcut when there is one.
std::string menuItemText(const MenuItem& item);
// The item with this id anywhere in the menu and its submenus; nullptr when none.
const MenuItem* findMenuItem(const Menu& menu, int id);
const MenuItem* findMenuItem(const Menu& menu, const std::string& name);
// The items a popup shows: hidden ones left out.
Menu visibleItems(const Menu& menu);

// mnuTabs names the mode it switches to.
std::string tabsMenuCaption(std::int16_t tabMode);

// The thumbnail popup mnuPopup for a record shown on `tab` (0..3): the move commands that
// lead away from that tab (in two-tab mode only those to Documents and Project), and
// "&Keep This View" checked from the record.
Menu thumbnailPopupItems(int tab, std::int16_t tabMode, bool keepView);

}  // namespace snapdesk
