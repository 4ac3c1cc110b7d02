#include "mainwindow/command_handlers.h"

#include "common/app_title.h"
#include "common/runtime_error.h"
#include "mainwindow/menu_ids.h"
#include "mainwindow/project_membership.h"
#include "mainwindow/toolbar_dropdowns.h"
#include "mainwindow/toolbar_model.h"

namespace snapdesk {
namespace {

// Timer1 off for the length of a command, on again at its end, also after a failure.
class Timer1Off {
  public:
    explicit Timer1Off(CommandHost& host) : host_(host) { host_.setTimer1(false); }
    ~Timer1Off() { host_.setTimer1(true); }
    Timer1Off(const Timer1Off&) = delete;
    Timer1Off& operator=(const Timer1Off&) = delete;

  private:
    CommandHost& host_;
};

// Where the record of `window` stands now. A menu is modal and timer ticks run while it is
// open, so the list may have changed between building the menu and the choice.
long positionNow(const CoffeeShopList& list, long position, WindowHandle window) {
    if (window == 0 || list.hWnd(position) == window) {
        return position;
    }
    for (long i = 1; i <= list.count(); ++i) {
        if (list.hWnd(i) == window) {
            return i;
        }
    }
    return 0;
}

}  // namespace

AboutBox aboutBox(const ProgramVersion& version) {
    return {std::string("About ") + kAppTitle, "Version " + std::to_string(version.major) + "." +
                                                   std::to_string(version.minor) + "." +
                                                   std::to_string(version.revision)};
}

MainCommands::MainCommands(CoffeeShopList& list, CommandHost& host, ProjectCommands& projects,
                           ProgramVersion version)
    : list_(list),
      host_(host),
      projects_(projects),
      version_(version),
      zzzzUpdate_(makeZzzzUpdate()),
      zzzzTo_(makeZzzzTo()),
      zzzzFrom_(makeZzzzFrom()),
      zzzzSystemTray_(makeZzzzSystemTray()) {}

bool MainCommands::command(int id) {
    switch (id) {
        case ID_mnuNewProject:
            projects_.mnuNewProject_Click();
            return true;
        case ID_mnuOpen:
            projects_.mnuOpen_Click();
            return true;
        case ID_mnuSaveProject:
            projects_.mnuSaveProject_Click();
            return true;
        case ID_mnuSaveProjectAs:
            projects_.mnuSaveProjectAs_Click();
            return true;
        case ID_mnuTabs:
            mnuTabs_Click();
            return true;
        case ID_mnuUndoHide:
            mnuUndoHide_Click();
            return true;
        case ID_mnuHelpLaunch:
            mnuHelpLaunch_Click();
            return true;
        case ID_mnuAbout:
            mnuAbout_Click();
            return true;
        case ID_buttonUpdateImages:
        case ID_buttonAddToProject:
        case ID_buttonMoveFromProject:
        case ID_buttonRefreshProject:
            return buttonClickById(id);
        default:
            return popupCommand(id) || dynamicCommand(id);
    }
}

bool MainCommands::buttonClick(const std::string& key) {
    const ToolbarButton* button = findButton(key);
    return button != nullptr && buttonClickById(button->id);
}

bool MainCommands::buttonClickById(int id) {
    if (findButton(id) == nullptr) {
        return false;
    }
    Timer1Off off(host_);
    switch (id) {
        case ID_mnuNewProject:
            projects_.mnuNewProject_Click();
            break;
        case ID_mnuOpen:
            projects_.mnuOpen_Click();
            break;
        case ID_mnuSaveProject:
            projects_.mnuSaveProject_Click();
            break;
        case ID_buttonUpdateImages:
            buildUpdateImagesList(zzzzUpdate_, list_);
            dropDown(zzzzUpdate_, id);
            break;
        case ID_buttonAddToProject:
            buildMoveList(zzzzTo_, list_, true);
            dropDown(zzzzTo_, id);
            break;
        case ID_buttonMoveFromProject:
            buildMoveList(zzzzFrom_, list_, false);
            dropDown(zzzzFrom_, id);
            break;
        case ID_buttonRefreshProject:
            projects_.refreshProject();
            break;
        default:
            break;
    }
    return true;
}

void MainCommands::dropDown(DynamicItemArray& array, int buttonId) {
    const int chosen =
        host_.trackPopupMenu(array.menuItems(), {PopupAnchor::Place::BelowButton, buttonId});
    if (chosen != 0) {
        dynamicCommand(chosen);
    }
}

Menu MainCommands::thumbnailPopupFor(long k) {
    return thumbnailPopupItems(host_.currentTab(), host_.tabMode(), list_.flgKeepView(k));
}

void MainCommands::showThumbnailPopup(long k) {
    host_.setSelectedIndex(k);
    const WindowHandle window = list_.hWnd(k);
    const int chosen = host_.trackPopupMenu(thumbnailPopupFor(k), {});
    if (chosen == 0) {
        return;
    }
    const long now = positionNow(list_, k, window);
    if (now == 0) {
        return;  // the window went away while the menu was open
    }
    host_.setSelectedIndex(now);
    popupCommand(chosen);
}

bool MainCommands::popupCommand(int id) {
    const long i = host_.selectedIndex();
    switch (id) {
        case ID_mnuUpdate:
            host_.updateClick();
            return true;
        case ID_mnuMvToMyProject:
            mnuMvToMyProject_Click(list_, host_);
            return true;
        case ID_mnuMvToDocs:
            mnuMvToDocs_Click(list_, host_);
            return true;
        case ID_mnuMvToApps:
            mnuMvToApps_Click(list_, host_);
            return true;
        case ID_mnuMvtoWeb:
            mnuMvtoWeb_Click(list_, host_);
            return true;
        case ID_mnuMvToFront:
            list_.mvToFront(i);
            host_.updateWindowList();
            return true;
        case ID_mnuMvToEnd:
            list_.mvToEnd(i);
            host_.updateWindowList();
            return true;
        case ID_mnuKeepView:
            // The check mark follows the record the next time the popup opens.
            list_.setFlgKeepView(i, !list_.flgKeepView(i));
            return true;
        case ID_mnuDoNotShow:
            list_.setDoDisplay(i, false);
            host_.setMenuEnabled(ID_mnuUndoHide, true);
            list_.mvToEnd(i);
            host_.updateWindowList();
            return true;
        default:
            return false;
    }
}

bool MainCommands::dynamicCommand(int id) {
    if (const auto update = zzzzUpdate_.indexOf(id)) {
        zzzzUpdate_Click(*update);
    } else if (const auto to = zzzzTo_.indexOf(id)) {
        zzzzTo_Click(*to);
    } else if (const auto from = zzzzFrom_.indexOf(id)) {
        zzzzFrom_Click(*from);
    } else if (const auto tray = zzzzSystemTray_.indexOf(id)) {
        zzzzSystemTray_Click(*tray);
    } else {
        return false;
    }
    return true;
}

long MainCommands::selectElement(const DynamicItemArray& array, int index) {
    const DynamicItem* element = array.item(index);
    if (element == nullptr) {
        return 0;
    }
    const long position = tagPosition(element->tag);
    if (position == 0) {
        return 0;
    }
    const long now = positionNow(list_, position, element->window);
    if (now == 0) {
        return 0;
    }
    host_.setSelectedIndex(now);
    return now;
}

void MainCommands::zzzzUpdate_Click(int index) {
    const DynamicItem* element = zzzzUpdate_.item(index);
    if (element != nullptr && element->tag == kTagAll) {
        host_.mnuLoadImages_Click();
    } else if (selectElement(zzzzUpdate_, index) != 0) {
        host_.updateClick();
    }
}

void MainCommands::zzzzTo_Click(int index) {
    if (selectElement(zzzzTo_, index) != 0) {
        mnuMvToMyProject_Click(list_, host_);
    }
}

void MainCommands::zzzzFrom_Click(int index) {
    if (selectElement(zzzzFrom_, index) != 0) {
        moveBackFromProject(list_, host_);
    }
}

void MainCommands::zzzzSystemTray_Click(int index) {
    if (const long i = selectElement(zzzzSystemTray_, index); i != 0) {
        host_.activateThumbnail(i);
    }
}

void MainCommands::trayIconEvent(std::uintptr_t mouseEvent) {
    const TrayDecision decision =
        trayDecision(true, kTrayCallbackMessage, mouseEvent, host_.menuChecked(ID_mnuSingleClick),
                     host_.windowStateText());
    try {
        switch (decision.action) {
            case TrayAction::RestoreWindow:
                host_.restoreMainWindow(decision.show);
                break;
            case TrayAction::ShowPopup:
                systemTrayPopup();
                break;
            case TrayAction::PassOn:
            case TrayAction::Nothing:
                break;
        }
    } catch (const RuntimeError&) {
        // The message stays handled.
    }
}

void MainCommands::systemTrayPopup() {
    buildSystemTrayList(zzzzSystemTray_, list_);
    const int chosen = host_.trackPopupMenu(zzzzSystemTray_.menuItems(), {});
    hideSystemTrayDocuments(zzzzSystemTray_);
    if (chosen != 0) {
        dynamicCommand(chosen);
    }
}

void MainCommands::mnuTabs_Click() {
    const std::int16_t mode = host_.tabMode() == 4 ? 2 : 4;
    host_.setTabMode(mode);
    host_.setMenuCaption(ID_mnuTabs, tabsMenuCaption(mode));
    host_.updateWindowList();
}

void MainCommands::mnuUndoHide_Click() {
    for (long i = 1; i <= list_.count(); ++i) {
        list_.setDoDisplay(i, true);
    }
    host_.setMenuEnabled(ID_mnuUndoHide, false);
}

void MainCommands::mnuHelpLaunch_Click() {
    host_.showHelp({host_.helpFile(), 3, ""});
}

void MainCommands::mnuAbout_Click() {
    const bool wasRunning = host_.timer1Enabled();
    host_.setTimer1(false);
    host_.showAbout(aboutBox(version_));
    host_.setTimer1(wasRunning);
}

}  // namespace snapdesk
