// The command surface of Snapdesk started as a user starts it, beside notepad on a file and
// our MDI program: the menu bar, the popup of a tile driven with keys, the toolbar lists,
// text labels, the tray icon's menu and clicks, and Exit. inside_probe.dll reads the menus,
// the tray icon and the window procedure inside Snapdesk.
// SNAPDESK_E2E_SHOTS=folder saves screenshots of the popup and of the bar without labels.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mainwindow/menu_ids.h"
#include "mainwindow/menu_model.h"
#include "mainwindow/tray_menu.h"
#include "menu_expect.h"
#include "platform/win32/win32_convert.h"
#include "probe_client.h"
#include "snapdesk_app.h"
#include "test_apps.h"
#include "tracking/tracked_window.h"
#include "zim_display_widget.h"

namespace snapdesk::testing {
namespace {

constexpr Milliseconds kTwoTicks{2 * 3000 + 2000};

// Does what opens a popup in Snapdesk; the popup's window and its items as the program reads
// them, or nullopt when none opened.
std::optional<ShownMenu> openPopup(const InsideProbe& probe, const std::function<void()>& open,
                                   HWND& popup) {
    const std::size_t opened = probe.count(L"popup");
    open();
    popup = waitForPopup();
    const auto record = probe.waitForRecord(L"popup", opened);
    if (popup == nullptr || !record) {
        return std::nullopt;
    }
    return parseMenu(record->lines);
}

// Chooses an item as a user does with the keyboard: down to it (separators are passed
// over), then Enter. `shown` is the popup's items as the program reads them.
bool choose(HWND popup, const ShownMenu& shown, unsigned id) {
    int position = 0;
    bool found = false;
    for (const ShownMenuItem& item : shown) {
        if (!item.separator) {
            ++position;
        }
        if (!item.separator && item.id == id) {
            found = true;
            break;
        }
    }
    if (!found) {
        ADD_FAILURE() << "the popup has no item " << id;
        key(popup, VK_ESCAPE);
        popupGone();
        return false;
    }
    for (int i = 0; i < position; ++i) {
        key(popup, VK_DOWN);
    }
    key(popup, VK_RETURN);
    return popupGone();
}

// A copy of the menu with that item's check mark set or cleared.
Menu withCheck(Menu menu, int id, bool checked) {
    for (MenuItem& item : menu) {
        if (item.id == id && item.items.empty()) {
            item.checked = checked;
        }
        item.items = withCheck(std::move(item.items), id, checked);
    }
    return menu;
}

bool checkedIn(const std::optional<ShownMenu>& menu, unsigned id) {
    const ShownMenuItem* item = menu ? findShownItem(*menu, id) : nullptr;
    return item != nullptr && item->checked;
}

int heightOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

std::vector<std::wstring> fileNames(const std::vector<Tile>& tiles) {
    std::vector<std::wstring> names;
    for (const Tile& tile : tiles) {
        names.push_back(tile.fileName);
    }
    return names;
}

bool hasName(const std::vector<Tile>& tiles, const std::wstring& name) {
    for (const Tile& tile : tiles) {
        if (tile.fileName == name) {
            return true;
        }
    }
    return false;
}

class CommandsE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        clearSnapdeskSettings();
        notesPath = writeTempTextFile(L"notes.txt", "Meeting notes\r\n");
        ASSERT_FALSE(notesPath.empty());
        HWND notepadWindow = nullptr;
        notepad = std::make_unique<Program>(startNotepadOn(notesPath, notepadWindow));
        ASSERT_NE(notepadWindow, nullptr);
        writer =
            std::make_unique<Program>(startMdiTest({L"--title", L"Report Writer", L"--doc",
                                                    L"Chapter 1.txt", L"--doc", L"Chapter 2.txt"}));
        ASSERT_NE(waitForMdiFrame(*writer), nullptr);
        app = std::make_unique<SnapdeskApp>();
        ASSERT_TRUE(app->started());
        for (const wchar_t* name : {L"notes.txt", L"Chapter 1.txt", L"Chapter 2.txt"}) {
            ASSERT_TRUE(app->waitForTile(name, kTwoTicks).has_value()) << name;
        }
    }
    void TearDown() override {
        // A menu left open would hold the program in its loop.
        if (const HWND popup = waitForPopup(Milliseconds{0})) {
            key(popup, VK_ESCAPE);
        }
        app.reset();
        writer.reset();
        notepad.reset();
        DeleteFileW(notesPath.c_str());
    }

    // Opens the tile's popup: its window, and its items as the program reads them.
    std::optional<ShownMenu> popupOf(const std::wstring& fileName, const InsideProbe& probe,
                                     HWND& popup) {
        popup = nullptr;
        const auto tile = app->tileNamed(fileName);
        if (!tile) {
            return std::nullopt;
        }
        return openPopup(
            probe, [&] { SnapdeskApp::rightClick(*tile); }, popup);
    }
    void selectTab(int index) {
        const HWND tab = descendant(app->main(), WC_TABCONTROLW);
        SendMessageW(tab, TCM_SETCURFOCUS, index, 0);
    }

    std::wstring notesPath;
    std::unique_ptr<Program> notepad;
    std::unique_ptr<Program> writer;
    std::unique_ptr<SnapdeskApp> app;
};

TEST_F(CommandsE2E, TheTilePopupMovesKeepsHidesAndUndoHideBringsTheTileBack) {
    InsideProbe probe(app->main());
    ASSERT_TRUE(probe.attached());
    // Documents tab, tiles in the order they came.
    const std::vector<std::wstring> before = fileNames(app->tiles());
    ASSERT_EQ(before.size(), 3u);
    constexpr std::int16_t kTwoTabs = 2;

    HWND popup = nullptr;
    auto items = popupOf(before[2], probe, popup);
    ASSERT_TRUE(items.has_value()) << "no popup menu after a right click";
    expectMenuMatches(*items, thumbnailPopupItems(kDocumentsTab, kTwoTabs, false), "popup");
    screenshot("commands-1-popup");
    ASSERT_TRUE(choose(popup, *items, ID_mnuMvToFront));
    EXPECT_TRUE(waitUntil([&] {
        const auto now = fileNames(app->tiles());
        return now.size() == 3 && now[0] == before[2];
    })) << "the last tile comes first";

    items = popupOf(before[1], probe, popup);
    ASSERT_TRUE(items.has_value());
    ASSERT_TRUE(choose(popup, *items, ID_mnuKeepView));
    items = popupOf(before[1], probe, popup);
    ASSERT_TRUE(items.has_value());
    expectMenuMatches(*items, thumbnailPopupItems(kDocumentsTab, kTwoTabs, true),
                      "popup of a kept view");
    ASSERT_TRUE(choose(popup, *items, ID_mnuDoNotShow));
    EXPECT_TRUE(waitUntil([&] { return !hasName(app->tiles(), before[1]); }));
    const ShownMenuItem* undo = nullptr;
    EXPECT_TRUE(waitUntil([&] {
        const auto bar = probe.menuBar();
        undo = bar ? findShownItem(*bar, ID_mnuUndoHide) : nullptr;
        return undo != nullptr && !undo->grayed;
    })) << "Undo Hide is available once a tile is hidden";
    app->command(ID_mnuUndoHide);
    EXPECT_TRUE(waitUntil([&] { return hasName(app->tiles(), before[1]); }, kTwoTicks));

    items = popupOf(before[0], probe, popup);
    ASSERT_TRUE(items.has_value());
    ASSERT_TRUE(choose(popup, *items, ID_mnuMvToMyProject));
    EXPECT_TRUE(waitUntil([&] { return !hasName(app->tiles(), before[0]); }));
    EXPECT_EQ(app->tiles().size(), 2u);
    selectTab(1);
    EXPECT_TRUE(waitUntil([&] {
        const auto now = fileNames(app->tiles());
        return now.size() == 1 && now[0] == before[0];
    })) << "the Project tab shows the moved tile alone";
    items = popupOf(before[0], probe, popup);
    ASSERT_TRUE(items.has_value());
    expectMenuMatches(*items, thumbnailPopupItems(kProjectTab, kTwoTabs, false),
                      "popup on Project");
    key(popup, VK_ESCAPE);
    EXPECT_TRUE(popupGone());
}

TEST_F(CommandsE2E, TheMenuBarInsideTheProgramHasEveryItemOfTheCommands) {
    InsideProbe probe(app->main());
    ASSERT_TRUE(probe.attached());
    const auto bar = probe.menuBar();
    ASSERT_TRUE(bar.has_value()) << "no record from inside the program";
    // With no settings stored, the program starts with frequent image updates.
    expectMenuMatches(*bar, withCheck(menuBar(), ID_mnuFrequentImageUpdates, true), "menu bar");

    // The commands move the check marks the user sees.
    app->command(ID_mnuSingleClick);
    app->command(ID_mnuMinimalImageUpdates);
    app->command(ID_mnuTextLabels);
    std::optional<ShownMenu> now;
    EXPECT_TRUE(waitUntil([&] {
        now = probe.menuBar();
        return checkedIn(now, ID_mnuSingleClick) && checkedIn(now, ID_mnuMinimalImageUpdates) &&
               !checkedIn(now, ID_mnuFrequentImageUpdates) && !checkedIn(now, ID_mnuTextLabels);
    }));
    app->command(ID_mnuTabs);
    EXPECT_TRUE(waitUntil([&] {
        now = probe.menuBar();
        const ShownMenuItem* tabs = now ? findShownItem(*now, ID_mnuTabs) : nullptr;
        return tabs != nullptr && tabs->text == L"2 &Tabs";
    })) << "with four tabs the item offers two";
}

TEST_F(CommandsE2E, EachToolbarListOpensUnderItsButtonListsTheDocumentsAndMovesTheChosenOne) {
    InsideProbe probe(app->main());
    ASSERT_TRUE(probe.attached());
    const HWND toolbar = descendant(app->main(), TOOLBARCLASSNAMEW);
    ASSERT_NE(toolbar, nullptr);
    const std::vector<std::wstring> documents = fileNames(app->tiles());
    ASSERT_EQ(documents.size(), 3u);

    // Opens a button's list; its window, and its items as the program reads them.
    HWND popup = nullptr;
    const auto openList = [&](int button) -> std::optional<ShownMenu> {
        auto items = openPopup(
            probe,
            [&] {
                PostMessageW(app->main(), WM_COMMAND, MAKEWPARAM(button, 0),
                             reinterpret_cast<LPARAM>(toolbar));
            },
            popup);
        if (!items) {
            return std::nullopt;
        }
        RECT bar{};
        RECT list{};
        GetWindowRect(toolbar, &bar);
        GetWindowRect(popup, &list);
        EXPECT_NEAR(list.top, bar.bottom, 4) << "the list opens under the toolbar";
        return items;
    };
    const auto sorted = [](std::vector<std::wstring> texts) {
        std::sort(texts.begin(), texts.end());
        return texts;
    };
    const auto documentTexts = [](const ShownMenu& items) {
        std::vector<std::wstring> texts;
        for (const ShownMenuItem& item : items) {
            if (!item.separator) {
                texts.push_back(item.text);
            }
        }
        return texts;
    };
    const auto idOf = [](const ShownMenu& items, const std::wstring& text) {
        for (const ShownMenuItem& item : items) {
            if (item.text == text) {
                return item.id;
            }
        }
        return 0u;
    };

    // Update Image: "All", a separator, then every document.
    auto items = openList(ID_buttonUpdateImages);
    ASSERT_TRUE(items.has_value());
    screenshot("commands-3-update-list");
    ASSERT_GE(items->size(), 2u);
    EXPECT_EQ((*items)[0].text, L"All");
    EXPECT_TRUE((*items)[1].separator);
    std::vector<std::wstring> expected = documents;
    expected.push_back(L"All");
    EXPECT_EQ(sorted(documentTexts(*items)), sorted(expected));
    key(popup, VK_ESCAPE);
    ASSERT_TRUE(popupGone());

    // To Project: every document not on the Project tab; the chosen one goes there.
    items = openList(ID_buttonAddToProject);
    ASSERT_TRUE(items.has_value());
    screenshot("commands-4-to-project-list");
    EXPECT_EQ(sorted(documentTexts(*items)), sorted(documents));
    ASSERT_TRUE(choose(popup, *items, idOf(*items, documents[0])));
    EXPECT_TRUE(waitUntil([&] { return !hasName(app->tiles(), documents[0]); }));

    // From Project: only that one; chosen, it comes back to Documents.
    items = openList(ID_buttonMoveFromProject);
    ASSERT_TRUE(items.has_value());
    EXPECT_EQ(documentTexts(*items), std::vector<std::wstring>{documents[0]});
    ASSERT_TRUE(choose(popup, *items, idOf(*items, documents[0])));
    EXPECT_TRUE(waitUntil([&] { return hasName(app->tiles(), documents[0]); }));

    // Nothing left on the Project tab to move back.
    items = openList(ID_buttonMoveFromProject);
    ASSERT_TRUE(items.has_value());
    EXPECT_EQ(documentTexts(*items), std::vector<std::wstring>{L"No Files To Move"});
    key(popup, VK_ESCAPE);
    EXPECT_TRUE(popupGone());
}

TEST_F(CommandsE2E, TextLabelsOffShortensTheToolbarAndTheRestGoesToThePanel) {
    const HWND toolbar = descendant(app->main(), TOOLBARCLASSNAMEW);
    const HWND tab = descendant(app->main(), WC_TABCONTROLW);
    ASSERT_NE(toolbar, nullptr);
    ASSERT_NE(tab, nullptr);
    const int barWith = heightOf(toolbar);
    const int panelWith = heightOf(tab);
    app->command(ID_mnuTextLabels);
    ASSERT_TRUE(waitUntil([&] { return heightOf(toolbar) < barWith; }));
    Sleep(500);
    const int barWithout = heightOf(toolbar);
    const int panelWithout = heightOf(tab);
    screenshot("commands-2-no-labels");
    std::printf("toolbar %d -> %d, panel %d -> %d\n", barWith, barWithout, panelWith, panelWithout);
    EXPECT_EQ(panelWithout - panelWith, barWith - barWithout);
    EXPECT_EQ(snapdeskSetting(L"TextLabels"), L"no");
    app->command(ID_mnuTextLabels);
    EXPECT_TRUE(waitUntil([&] { return heightOf(toolbar) == barWith; }));
    EXPECT_TRUE(waitUntil([&] { return heightOf(tab) == panelWith; }));
}

TEST_F(CommandsE2E, TheTrayIconOpensItsMenuAndRestoresTheWindow) {
    const HWND main = app->main();
    InsideProbe probe(main);
    ASSERT_TRUE(probe.attached());
    HWND popup = nullptr;
    const auto shown = openPopup(
        probe, [&] { PostMessageW(main, kTrayCallbackMessage, kTrayIconId, WM_RBUTTONUP); }, popup);
    ASSERT_TRUE(shown.has_value());
    // The heading, a separator, then every document numbered in the order of its tile.
    const ShownMenu& items = *shown;
    const std::vector<Tile> tiles = app->tiles();
    ASSERT_EQ(items.size(), tiles.size() + 2);
    EXPECT_EQ(items[0].text, L"Click a document to view");
    EXPECT_TRUE(items[1].separator);
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        EXPECT_EQ(win32::toUtf8(items[i + 2].text),
                  trayItemCaption(static_cast<int>(i + 1), win32::toUtf8(tiles[i].fileName), ""));
    }
    screenshot("commands-5-tray-menu");
    key(popup, VK_ESCAPE);
    ASSERT_TRUE(popupGone());

    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(waitUntil([&] { return IsIconic(main) != FALSE; }));
    PostMessageW(main, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONUP);
    EXPECT_TRUE(waitUntil([&] { return IsIconic(main) == FALSE; })) << "a click restores";

    app->command(ID_mnuSingleClick);
    ASSERT_TRUE(waitUntil([] { return snapdeskSetting(L"singleClick") == L"no"; }));
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(waitUntil([&] { return IsIconic(main) != FALSE; }));
    PostMessageW(main, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONUP);
    EXPECT_FALSE(waitUntil([&] { return IsIconic(main) == FALSE; }, Milliseconds{2500}))
        << "with double click activation a click does nothing";
    PostMessageW(main, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(waitUntil([&] { return IsIconic(main) == FALSE; })) << "a double click does";
}

TEST_F(CommandsE2E, TheTrayIconComesBackWhenTheShellRestarts) {
    const HWND main = app->main();
    InsideProbe probe(main);
    ASSERT_TRUE(probe.attached());
    // A restarting shell loses every icon, then broadcasts "TaskbarCreated" (Wine's never does).
    ASSERT_EQ(probe.dropTrayIcon(), false) << "the icon is gone";
    PostMessageW(main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(waitUntil([&] { return probe.trayIconPresent() == true; }, Milliseconds{5000}));
}

TEST_F(CommandsE2E, HelpShowsTheHelpFileAtItsBeginningAndNamesAMissingOne) {
    app->command(ID_mnuHelpLaunch);
    const HWND help = app->program().waitForWindow(
        [](HWND w) { return IsWindowVisible(w) && windowTextOf(w) == L"Snapdesk! Help"; });
    ASSERT_NE(help, nullptr);
    const HWND text = GetDlgItem(help, IDC_HELP_TEXT);
    // WM_GETTEXT, as GetWindowText of another process's edit gives no text.
    std::wstring shown(static_cast<std::size_t>(SendMessageW(text, WM_GETTEXTLENGTH, 0, 0)) + 1,
                       L'\0');
    shown.resize(static_cast<std::size_t>(
        SendMessageW(text, WM_GETTEXT, shown.size(), reinterpret_cast<LPARAM>(shown.data()))));
    EXPECT_EQ(shown.rfind(L"Snapdesk! Help\r\n", 0), 0u) << "the whole file, lines kept";
    EXPECT_NE(shown.find(L"4. The thumbnail's right-click menu"), std::wstring::npos);
    EXPECT_EQ(SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "at its contents";
    // The text follows the window's size.
    SetWindowPos(help, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(waitUntil([&] {
        RECT inner{};
        RECT client{};
        GetWindowRect(text, &inner);
        GetClientRect(help, &client);
        return inner.right - inner.left == client.right &&
               inner.bottom - inner.top == client.bottom;
    }));
    // Narrower than the file's longest lines: they wrap at the window's width, none is cut.
    const auto fileLines = std::count(shown.begin(), shown.end(), L'\n') + 1;
    const auto lines = SendMessageW(text, EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(lines, fileLines) << "long lines wrap";
    RECT area{};
    GetClientRect(text, &area);
    const auto x = [&](std::size_t at) {
        return static_cast<short>(LOWORD(SendMessageW(text, EM_POSFROMCHAR, at, 0)));
    };
    for (LRESULT line = 0; line < lines; ++line) {
        const auto start = static_cast<std::size_t>(SendMessageW(text, EM_LINEINDEX, line, 0));
        std::size_t end = start + static_cast<std::size_t>(SendMessageW(
                                      text, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
        while (end > start && shown[end - 1] == L' ') {
            --end;  // a blank at a break may hang past the edge
        }
        if (end - start >= 2) {
            // The last character ends one character's width after it begins.
            EXPECT_LE(2 * x(end - 1) - x(end - 2), area.right) << "line " << line;
        }
    }
    screenshot("commands-6-help");
    PostMessageW(help, WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(help); }));

    ASSERT_TRUE(DeleteFileW(L"C:\\Snapdesk\\SNAPDESK.HLP"));
    app->command(ID_mnuHelpLaunch);
    const HWND box = app->program().waitForWindow([](HWND w) {
        return IsWindowVisible(w) && windowTextOf(w) == L"Snapdesk!" && classNameOf(w) == L"#32770";
    });
    ASSERT_NE(box, nullptr) << "a message box";
    bool named = false;
    for (const HWND child : childWindows(box)) {
        named =
            named || windowTextOf(child).find(L"C:\\Snapdesk\\SNAPDESK.HLP") != std::wstring::npos;
    }
    EXPECT_TRUE(named) << "it names the file";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(box); }));
}

TEST_F(CommandsE2E, ExitRemovesTheTrayIconRestoresTheProcedureAndEndsCleanly) {
    const HWND main = app->main();
    InsideProbe probe(main);
    ASSERT_TRUE(probe.attached());
    // The desktop's tray can lose an icon on its own: when the tests' previous programs have
    // all ended, Wine may replace the desktop process, tray included, just as the next ones
    // start. Its removal is then not seen in this run.
    std::optional<bool> present;
    waitUntil([&] { return (present = probe.trayIconPresent()) == true; }, Milliseconds{3000});
    ASSERT_TRUE(present.has_value()) << "no answer from inside the program";
    if (!*present) {
        std::printf("the tray had lost Snapdesk's icon before Exit: its removal is not checked\n");
    }
    app->command(ID_mnuExit);
    ASSERT_TRUE(waitUntil([&] { return app->program().hasExited(); }, Milliseconds{20000}));
    DWORD code = 1;
    GetExitCodeProcess(app->program().process(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(IsWindow(main));
    // Seen inside the program once its window had handled WM_DESTROY.
    const auto destroyed = probe.waitForRecord(L"destroyed", 0, Milliseconds{0});
    ASSERT_TRUE(destroyed.has_value());
    ASSERT_EQ(destroyed->lines.size(), 2u);
    EXPECT_EQ(destroyed->lines[0], L"procedure restored");
    if (*present) {
        EXPECT_EQ(destroyed->lines[1], L"icon absent") << "Exit takes the icon out of the tray";
    }
}

}  // namespace
}  // namespace snapdesk::testing
