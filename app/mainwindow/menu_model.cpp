#include "mainwindow/menu_model.h"

#include <utility>

#include "common/app_title.h"
#include "mainwindow/menu_ids.h"
#include "tracking/tracked_window.h"

namespace snapdesk {
namespace {

MenuItem command(std::string name, int id, std::string caption) {
    MenuItem item;
    item.name = std::move(name);
    item.id = id;
    item.caption = std::move(caption);
    return item;
}

MenuItem withShortcut(MenuItem item, char key) {
    item.shortcut = std::string("Ctrl+") + key;
    item.shortcutKey = key;
    return item;
}

MenuItem hidden(MenuItem item) {
    item.visible = false;
    return item;
}

MenuItem separator() {
    MenuItem item;
    item.separator = true;
    return item;
}

MenuItem heading(std::string name, std::string caption, Menu items) {
    MenuItem item;
    item.name = std::move(name);
    item.caption = std::move(caption);
    item.items = std::move(items);
    return item;
}

Menu buildMenuBar() {
    MenuItem textLabels = command("mnuTextLabels", ID_mnuTextLabels, "Text  &Labels in Toolbar");
    textLabels.checked = true;
    MenuItem restorePositions =
        command("mnuRestorePositions", ID_mnuRestorePositions, "&Restore Window Positions");
    restorePositions.checked = true;
    MenuItem undoHide = command("mnuUndoHide", ID_mnuUndoHide, "Undo &Hide");
    undoHide.enabled = false;
    return {
        heading("mnuProject", "&File",
                {withShortcut(command("mnuNewProject", ID_mnuNewProject, "&New Project"), 'N'),
                 withShortcut(command("mnuOpen", ID_mnuOpen, "&Open Project..."), 'O'),
                 withShortcut(command("mnuSaveProject", ID_mnuSaveProject, "&Save Project"), 'S'),
                 command("mnuSaveProjectAs", ID_mnuSaveProjectAs, "Save Project &As..."),
                 separator(), withShortcut(command("mnuExit", ID_mnuExit, "E&xit"), 'Q')}),
        heading("mnuView", "&View",
                {command("mnuLoadImages", ID_mnuLoadImages, "&Update All Images"), separator(),
                 hidden(command("mnuDoUpdates", ID_mnuDoUpdates, "&No Auto Image Update")),
                 command("mnuFolders", ID_mnuFolders, "Do Not Display &Folders"),
                 command("mnuTabs", ID_mnuTabs, tabsMenuCaption(2)), textLabels, undoHide}),
        heading(
            "mnuSettings", "&Settings",
            {command("mnuSingleClick", ID_mnuSingleClick, "Activate on &Double Click"),
             command("mnuAutoLoad", ID_mnuAutoLoad, "Do Not &Load Images on Start Up"),
             hidden(command("mnuMaximize", ID_mnuMaximize, "&Maximize documents on activation")),
             restorePositions,
             heading("mnuUpdateTiming", "Image Update Frequency",
                     {command("mnuFrequentImageUpdates", ID_mnuFrequentImageUpdates,
                              "Frequent Image Updates"),
                      command("mnuMinimalImageUpdates", ID_mnuMinimalImageUpdates,
                              "Minimal Image Updates"),
                      command("mnuNoAutoImageUpdate", ID_mnuNoAutoImageUpdate,
                              "No Auto Image Updates")}),
             command("mnuHotKey", ID_mnuHotKey, "&Hot Key...")}),
        heading("mnuHelp", "&Help",
                {command("mnuHelpLaunch", ID_mnuHelpLaunch, std::string("&Help with ") + kAppTitle),
                 separator(), command("mnuAbout", ID_mnuAbout, "&About")}),
    };
}

void collectAccelerators(const Menu& menu, std::vector<Accelerator>& out) {
    for (const MenuItem& item : menu) {
        if (item.shortcutKey != 0) {
            out.push_back({item.shortcutKey, item.id});
        }
        collectAccelerators(item.items, out);
    }
}

template <typename Match>
const MenuItem* find(const Menu& menu, const Match& match) {
    for (const MenuItem& item : menu) {
        if (match(item)) {
            return &item;
        }
        if (const MenuItem* inner = find(item.items, match)) {
            return inner;
        }
    }
    return nullptr;
}

}  // namespace

const Menu& menuBar() {
    static const Menu bar = buildMenuBar();
    return bar;
}

std::vector<Accelerator> menuAccelerators() {
    std::vector<Accelerator> out;
    collectAccelerators(menuBar(), out);
    return out;
}

std::string menuItemText(const MenuItem& item) {
    return item.shortcut.empty() ? item.caption : item.caption + "\t" + item.shortcut;
}

const MenuItem* findMenuItem(const Menu& menu, int id) {
    return find(menu, [id](const MenuItem& item) { return id != 0 && item.id == id; });
}

const MenuItem* findMenuItem(const Menu& menu, const std::string& name) {
    return find(menu, [&name](const MenuItem& item) { return !name.empty() && item.name == name; });
}

Menu visibleItems(const Menu& menu) {
    Menu out;
    for (const MenuItem& item : menu) {
        if (item.visible) {
            out.push_back(item);
        }
    }
    return out;
}

std::string tabsMenuCaption(std::int16_t tabMode) {
    return tabMode == 4 ? "2 &Tabs" : "4 &Tabs";
}

Menu thumbnailPopupItems(int tab, std::int16_t tabMode, bool keepView) {
    MenuItem toProject = command("mnuMvToMyProject", ID_mnuMvToMyProject, "Move to &Project");
    MenuItem toDocs = command("mnuMvToDocs", ID_mnuMvToDocs, "Move to &Documents");
    MenuItem toApps = command("mnuMvToApps", ID_mnuMvToApps, "Move to &Others");
    MenuItem toWeb = command("mnuMvtoWeb", ID_mnuMvtoWeb, "Move to &Web Browsers");
    // Away from the current tab only.
    toDocs.visible = tab != kDocumentsTab;
    toWeb.visible = tab != kWebBrowsersTab;
    toApps.visible = tab != kOthersTab;
    toProject.visible = tab != kProjectTab;
    if (tabMode != 4) {
        toApps.visible = false;
        toWeb.visible = false;
    }
    MenuItem keep = command("mnuKeepView", ID_mnuKeepView, "&Keep This View");
    keep.checked = keepView;
    return {command("mnuUpdate", ID_mnuUpdate, "&Update Image"),
            separator(),
            toProject,
            toDocs,
            toApps,
            toWeb,
            separator(),
            command("mnuMvToFront", ID_mnuMvToFront, "Move to &Front"),
            command("mnuMvToEnd", ID_mnuMvToEnd, "Move to &End"),
            separator(),
            keep,
            command("mnuDoNotShow", ID_mnuDoNotShow, "Do &Not Show")};
}

}  // namespace snapdesk
