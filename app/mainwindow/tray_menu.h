#pragma once

// The notification-area icon: what its callback messages decide, and the popup of tracked
// documents (zzzzSystemTray).

#include <cstdint>
#include <string>

#include "mainwindow/dynamic_menu.h"
#include "platform/window_manager.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// The icon description the main window hands to the shell.
inline constexpr unsigned kTrayIconId = 125;
inline constexpr unsigned kTrayIconFlags = 7;  // NIF_MESSAGE | NIF_ICON | NIF_TIP
inline constexpr unsigned kTrayCallbackMessage = 1025;
inline constexpr std::size_t kTrayTipLength = 64;

// Mouse events the callback carries in lParam.
inline constexpr unsigned kTrayLeftButtonUp = 0x202;
inline constexpr unsigned kTrayLeftButtonDoubleClick = 0x203;
inline constexpr unsigned kTrayRightButtonUp = 0x205;

enum class TrayAction {
    PassOn,         // not the icon's message: the previous window procedure answers it
    Nothing,        // the icon's message, handled by doing nothing
    RestoreWindow,  // show the main window in `show` and bring it to the foreground
    ShowPopup,      // systemTrayPopup
};

struct TrayDecision {
    TrayAction action = TrayAction::PassOn;
    ShowCommand show = ShowCommand::Restore;
};

// What the tray window procedure does with a message. `activateOnDoubleClick` is the check
// mark of "Activate on &Double Click"; `windowStateText` "NORMAL" or "MAXIMIZED".
TrayDecision trayDecision(bool forMainWindow, unsigned message, std::uintptr_t lParam,
                          bool activateOnDoubleClick, const std::string& windowStateText);

// Item caption: number, ". ", the short name; then, when there is a comment, nine blanks, a
// TAB and the comment in double quotes. "&" is doubled so that names show as typed.
std::string trayItemCaption(int number, const std::string& captionString,
                            const std::string& comment);

// Fills the tray menu: the displayed Project records, a separator, the other displayed
// records, numbered on through both groups; "No Files Open" when there is none.
void buildSystemTrayList(DynamicItemArray& tray, const CoffeeShopList& list);
// After the menu closed: every document item hidden, the heading and its separator kept.
void hideSystemTrayDocuments(DynamicItemArray& tray);

}  // namespace snapdesk
