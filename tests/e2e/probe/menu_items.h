#pragma once

// A Win32 menu as its items read through the menu API, and a text form of it that passes
// from one process to another.
#include <windows.h>

#include <string>
#include <vector>

namespace snapdesk::testing {

struct ShownMenuItem {
    unsigned id = 0;
    bool separator = false;
    bool checked = false;
    bool grayed = false;
    std::wstring text;                 // as the menu holds it, TAB and shortcut included
    std::vector<ShownMenuItem> items;  // a submenu's items
    bool isPopup = false;
};
using ShownMenu = std::vector<ShownMenuItem>;

ShownMenu readMenu(HMENU menu);

// One line per item, "depth|id|marks|text", a submenu's items after their heading.
std::wstring writeMenu(const ShownMenu& menu);
ShownMenu parseMenu(const std::vector<std::wstring>& lines);

// The item of that id anywhere in the menu; nullptr when none.
const ShownMenuItem* findShownItem(const ShownMenu& menu, unsigned id);

}  // namespace snapdesk::testing
