// The menu bar, the thumbnail popup and the toolbar as data.
#include <gtest/gtest.h>

#include <set>

#include "mainwindow/menu_ids.h"
#include "mainwindow/menu_model.h"
#include "mainwindow/toolbar_model.h"

namespace snapdesk::testing {
namespace {

struct Expected {
    const char* name;
    int id;
    const char* text;  // caption, TAB, shortcut
    bool visible;
    bool checked;
    bool enabled;
};

TEST(MenuBar, EveryItemWithItsCaptionShortcutAndState) {
    const Menu& bar = menuBar();
    ASSERT_EQ(bar.size(), 4u);
    EXPECT_EQ(bar[0].caption, "&File");
    EXPECT_EQ(bar[1].caption, "&View");
    EXPECT_EQ(bar[2].caption, "&Settings");
    EXPECT_EQ(bar[3].caption, "&Help");
    const Expected items[] = {
        {"mnuNewProject", ID_mnuNewProject, "&New Project\tCtrl+N", true, false, true},
        {"mnuOpen", ID_mnuOpen, "&Open Project...\tCtrl+O", true, false, true},
        {"mnuSaveProject", ID_mnuSaveProject, "&Save Project\tCtrl+S", true, false, true},
        {"mnuSaveProjectAs", ID_mnuSaveProjectAs, "Save Project &As...", true, false, true},
        {"mnuExit", ID_mnuExit, "E&xit\tCtrl+Q", true, false, true},
        {"mnuLoadImages", ID_mnuLoadImages, "&Update All Images", true, false, true},
        {"mnuDoUpdates", ID_mnuDoUpdates, "&No Auto Image Update", false, false, true},
        {"mnuFolders", ID_mnuFolders, "Do Not Display &Folders", true, false, true},
        {"mnuTabs", ID_mnuTabs, "4 &Tabs", true, false, true},
        {"mnuTextLabels", ID_mnuTextLabels, "Text  &Labels in Toolbar", true, true, true},
        {"mnuUndoHide", ID_mnuUndoHide, "Undo &Hide", true, false, false},
        {"mnuSingleClick", ID_mnuSingleClick, "Activate on &Double Click", true, false, true},
        {"mnuAutoLoad", ID_mnuAutoLoad, "Do Not &Load Images on Start Up", true, false, true},
        {"mnuMaximize", ID_mnuMaximize, "&Maximize documents on activation", false, false, true},
        {"mnuRestorePositions", ID_mnuRestorePositions, "&Restore Window Positions", true, true,
         true},
        {"mnuFrequentImageUpdates", ID_mnuFrequentImageUpdates, "Frequent Image Updates", true,
         false, true},
        {"mnuMinimalImageUpdates", ID_mnuMinimalImageUpdates, "Minimal Image Updates", true, false,
         true},
        {"mnuNoAutoImageUpdate", ID_mnuNoAutoImageUpdate, "No Auto Image Updates", true, false,
         true},
        {"mnuHotKey", ID_mnuHotKey, "&Hot Key...", true, false, true},
        {"mnuHelpLaunch", ID_mnuHelpLaunch, "&Help with Snapdesk!", true, false, true},
        {"mnuAbout", ID_mnuAbout, "&About", true, false, true},
    };
    for (const Expected& e : items) {
        const MenuItem* item = findMenuItem(bar, e.name);
        ASSERT_NE(item, nullptr) << e.name;
        EXPECT_EQ(item->id, e.id) << e.name;
        EXPECT_EQ(findMenuItem(bar, e.id), item) << e.name;
        EXPECT_EQ(menuItemText(*item), e.text) << e.name;
        EXPECT_EQ(item->visible, e.visible) << e.name;
        EXPECT_EQ(item->checked, e.checked) << e.name;
        EXPECT_EQ(item->enabled, e.enabled) << e.name;
    }
    const MenuItem* timing = findMenuItem(bar, "mnuUpdateTiming");
    ASSERT_NE(timing, nullptr);
    EXPECT_EQ(timing->caption, "Image Update Frequency");
    EXPECT_EQ(timing->items.size(), 3u);
}

TEST(MenuBar, SeparatorsStandWhereTheMenusHaveThem) {
    const Menu& bar = menuBar();
    auto layout = [](const Menu& menu) {
        std::string out;
        for (const MenuItem& item : menu) {
            out += item.separator ? "-" : item.items.empty() ? "i" : ">";
        }
        return out;
    };
    EXPECT_EQ(layout(bar[0].items), "iiii-i");
    EXPECT_EQ(layout(bar[1].items), "i-iiiii");
    EXPECT_EQ(layout(bar[2].items), "iiii>i");
    EXPECT_EQ(layout(bar[3].items), "i-i");
}

TEST(MenuBar, IdsAreUniqueAndTheShortcutsAreCtrlKeys) {
    std::set<int> ids;
    std::function<void(const Menu&)> walk = [&](const Menu& menu) {
        for (const MenuItem& item : menu) {
            if (item.id != 0) {
                EXPECT_TRUE(ids.insert(item.id).second) << item.name;
            }
            walk(item.items);
        }
    };
    walk(menuBar());
    EXPECT_EQ(ids.size(), 21u);
    const auto keys = menuAccelerators();
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].key, 'N');
    EXPECT_EQ(keys[0].id, ID_mnuNewProject);
    EXPECT_EQ(keys[1].key, 'O');
    EXPECT_EQ(keys[1].id, ID_mnuOpen);
    EXPECT_EQ(keys[2].key, 'S');
    EXPECT_EQ(keys[2].id, ID_mnuSaveProject);
    EXPECT_EQ(keys[3].key, 'Q');
    EXPECT_EQ(keys[3].id, ID_mnuExit);
}

TEST(MenuBar, TheTabsItemNamesTheModeItSwitchesTo) {
    EXPECT_EQ(tabsMenuCaption(2), "4 &Tabs");
    EXPECT_EQ(tabsMenuCaption(4), "2 &Tabs");
}

std::vector<std::string> visibleMoves(int tab, std::int16_t mode) {
    std::vector<std::string> out;
    for (const MenuItem& item : thumbnailPopupItems(tab, mode, false)) {
        if (item.visible && item.name.rfind("mnuMv", 0) == 0 && item.name != "mnuMvToFront" &&
            item.name != "mnuMvToEnd") {
            out.push_back(item.name);
        }
    }
    return out;
}

TEST(ThumbnailPopup, MoveCommandsLeadAwayFromTheTab) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(visibleMoves(0, 4), (Names{"mnuMvToMyProject", "mnuMvToApps", "mnuMvtoWeb"}));
    EXPECT_EQ(visibleMoves(1, 4), (Names{"mnuMvToMyProject", "mnuMvToDocs", "mnuMvToApps"}));
    EXPECT_EQ(visibleMoves(2, 4), (Names{"mnuMvToMyProject", "mnuMvToDocs", "mnuMvtoWeb"}));
    EXPECT_EQ(visibleMoves(3, 4), (Names{"mnuMvToDocs", "mnuMvToApps", "mnuMvtoWeb"}));
    // Two tabs: only Documents and Project exist.
    EXPECT_EQ(visibleMoves(0, 2), (Names{"mnuMvToMyProject"}));
    EXPECT_EQ(visibleMoves(3, 2), (Names{"mnuMvToDocs"}));
}

TEST(ThumbnailPopup, ItemsInOrderWithTheKeepViewMark) {
    const Menu popup = thumbnailPopupItems(0, 4, true);
    std::vector<std::string> captions;
    for (const MenuItem& item : popup) {
        captions.push_back(item.separator ? "-" : item.caption);
    }
    EXPECT_EQ(captions, (std::vector<std::string>{
                            "&Update Image", "-", "Move to &Project", "Move to &Documents",
                            "Move to &Others", "Move to &Web Browsers", "-", "Move to &Front",
                            "Move to &End", "-", "&Keep This View", "Do &Not Show"}));
    EXPECT_TRUE(findMenuItem(popup, ID_mnuKeepView)->checked);
    EXPECT_FALSE(findMenuItem(thumbnailPopupItems(0, 4, false), ID_mnuKeepView)->checked);
    EXPECT_EQ(visibleItems(popup).size(), popup.size() - 1);
}

TEST(Toolbar, SevenButtonsAtOddPositionsWithTheirTexts) {
    const auto& buttons = buttonBarButtons();
    const char* keys[] = {"NewProject",   "OpenProject",     "SaveProject",   "updateimages",
                          "addtoproject", "movefromproject", "refreshproject"};
    const char* captions[] = {"New Project", "Open Project", "Save Project",   "Update Image",
                              "To Project",  "From Project", "Refresh Project"};
    const char* tips[] = {"Open a new empty project.",       "Open or Delete a saved Project",
                          "Save the current Project",        "Update an image display.",
                          "Move a file to the Project tab.", "Move a file out of the Project tab.",
                          "Refresh the current project."};
    std::set<int> ids;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i].position, static_cast<int>(2 * i + 1));
        EXPECT_STREQ(buttons[i].key, keys[i]);
        EXPECT_EQ(buttonCaption(buttons[i], true), captions[i]);
        EXPECT_EQ(buttonCaption(buttons[i], false), "");
        EXPECT_STREQ(buttons[i].toolTip, tips[i]);
        EXPECT_EQ(findButton(keys[i]), &buttons[i]);
        EXPECT_EQ(findButton(buttons[i].id), &buttons[i]);
        EXPECT_EQ(buttons[i].dropDown, i >= 3 && i <= 5);
        ids.insert(buttons[i].id);
    }
    EXPECT_EQ(ids.size(), 7u);
    EXPECT_EQ(findButton("UpdateImages"), nullptr);  // keys keep their case
}

}  // namespace
}  // namespace snapdesk::testing
