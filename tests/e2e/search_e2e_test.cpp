// Finding a window by typing, as a user does: two notepad documents on the Project tab, one
// with a comment and in a folder of its own, the project saved so that both have locations.
// From notepad, the hot key brings Snapdesk up with its search box ready; words typed there
// with the keyboard (xdotool on the test display) leave the tile they name, Enter brings its
// window to the front, Escape gets every tile back and, once more, sends Snapdesk back.
// SNAPDESK_E2E_SHOTS=folder saves a screenshot of the desktop at each step there.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
// clang-format on

#include <memory>
#include <string>
#include <vector>

#include "platform/win32/win32_convert.h"
#include "snapdesk_app.h"
#include "test_apps.h"

namespace snapdesk::testing {
namespace {

constexpr Milliseconds kTwoTicks{2 * 3000 + 2000};
const std::wstring kFolder = L"C:\\Harbour Ledgers";
const std::wstring kDocument = kFolder + L"\\tide table.txt";
const std::wstring kData = L"C:\\Snapdesk\\datafiles\\";
const std::wstring kProjectFile = kData + L"projects\\Harbour.txt";

std::vector<std::wstring> tileNames(const SnapdeskApp& app) {
    std::vector<std::wstring> names;
    for (const Tile& t : app.tiles()) {
        names.push_back(t.fileName);
    }
    return names;
}

class SearchE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        // The Recent shortcuts are made through the shell's COM objects.
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        clearSnapdeskSettings();
        // Locations learnt by earlier runs would answer for this run's documents; the folder
        // list is walked anew at start-up, so it knows the new folder.
        for (const std::wstring& f :
             {kProjectFile, kData + L"oldpaths.txt", kData + L"dirTree0.txt"}) {
            DeleteFileW(f.c_str());
        }
        CreateDirectoryW(kFolder.c_str(), nullptr);
        ASSERT_TRUE(writeTextFile(kDocument, "high water\r\n"));
        shortcut = addRecentShortcut(L"tide table.txt", kDocument);
        ASSERT_FALSE(shortcut.empty());
        tide = std::make_unique<Program>(startNotepadOn(kDocument, tideWindow));
        crew = std::make_unique<OpenTextDocuments>(
            std::initializer_list<const wchar_t*>{L"crew list.txt"});
        ASSERT_NE(tideWindow, nullptr);
        ASSERT_TRUE(crew->allOpen());
        app = std::make_unique<SnapdeskApp>();
        ASSERT_TRUE(app->started());
    }
    void TearDown() override {
        app.reset();
        tide.reset();
        crew.reset();
        DeleteFileW(shortcut.c_str());
        DeleteFileW(kDocument.c_str());
        RemoveDirectoryW(kFolder.c_str());
        DeleteFileW(kProjectFile.c_str());
        CoUninitialize();
    }

    HWND searchBox() const {
        return descendant(descendant(app->main(), TOOLBARCLASSNAMEW), L"Edit");
    }
    std::wstring searchText() const {
        // WM_GETTEXT is carried across processes; GetWindowText is not.
        wchar_t typed[128] = {};
        SendMessageW(searchBox(), WM_GETTEXT, 128, reinterpret_cast<LPARAM>(typed));
        return typed;
    }
    // The hot key typed where the user works: Snapdesk restored, in front, with the keyboard
    // focus in an empty search box.
    void hotKeyFrom(HWND working) {
        ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == working; }));
        ASSERT_TRUE(xdotool({"key", "ctrl+alt+space"}));
        const DWORD thread = GetWindowThreadProcessId(app->main(), nullptr);
        EXPECT_TRUE(waitUntil([&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            return !IsIconic(app->main()) && GetForegroundWindow() == app->main() &&
                   GetGUIThreadInfo(thread, &info) && info.hwndFocus == searchBox();
        })) << "Snapdesk up with the search box focused";
        EXPECT_EQ(searchText(), L"");
    }
    // Typed, and arrived in the box.
    bool type(const std::wstring& text) {
        return xdotool({"type", "--delay", "40", win32::toUtf8(text)}) &&
               waitUntil([&] { return searchText() == text; });
    }
    bool onlyTile(const std::wstring& name) {
        return waitUntil([&] { return tileNames(*app) == std::vector<std::wstring>{name}; });
    }

    std::wstring shortcut;
    HWND tideWindow = nullptr;
    std::unique_ptr<Program> tide;
    std::unique_ptr<OpenTextDocuments> crew;
    std::unique_ptr<SnapdeskApp> app;
};

TEST_F(SearchE2E, WordsOfACommentOrALocationLeaveOneTileEnterBringsItEscapeAllBack) {
    const auto tile = app->waitForTile(L"tide table.txt", kTwoTicks);
    ASSERT_TRUE(tile.has_value());
    SnapdeskApp::typeComment(*tile, L"spring tides north");
    ASSERT_TRUE(waitUntil([&] {
        const auto now = app->tileNamed(L"tide table.txt");
        return now && now->comment == L"spring tides north";
    }));
    ASSERT_TRUE(app->moveToProject(L"tide table.txt", kTwoTicks));
    ASSERT_TRUE(app->moveToProject(L"crew list.txt", kTwoTicks));
    ASSERT_TRUE(app->saveProjectAsWithoutQuestions(L"Harbour")) << "both locations are known";
    const std::vector<std::wstring> captions = app->tabCaptions();

    // Snapdesk minimised while the user works in the other document.
    PostMessageW(app->main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(waitUntil([&] { return IsIconic(app->main()) != FALSE; }));
    const std::vector<HWND> crewWindows = windowsWith(L"crew list.txt");
    ASSERT_FALSE(crewWindows.empty());
    ASSERT_TRUE(clickCaption(crewWindows.front()));
    hotKeyFrom(crewWindows.front());

    // Two words of the comment, the other way round: the Project tab with only that tile.
    ASSERT_TRUE(type(L"tides Spring"));
    EXPECT_TRUE(onlyTile(L"tide table.txt"));
    EXPECT_TRUE(waitUntil([&] {
        return app->tabCaptions() ==
               std::vector<std::wstring>{L"              Documents (0)              ",
                                         L"                Project (1)                "};
    }));
    screenshot("search-1-comment-words");
    ASSERT_TRUE(xdotool({"key", "Return"}));
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == tideWindow; }))
        << "Enter brings the highlighted window to the front";

    // A word of the folder the document is in, the box emptied by the hot key.
    hotKeyFrom(tideWindow);
    ASSERT_TRUE(type(L"ledgers"));
    EXPECT_TRUE(onlyTile(L"tide table.txt"));
    screenshot("search-2-folder-word");
    ASSERT_TRUE(xdotool({"key", "Return"}));
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == tideWindow; }));

    // Escape empties the box: every tile and the captions as they were; a second one sends
    // Snapdesk back to the document the user came from.
    hotKeyFrom(tideWindow);
    ASSERT_TRUE(type(L"crew"));
    EXPECT_TRUE(onlyTile(L"crew list.txt"));
    ASSERT_TRUE(xdotool({"key", "Escape"}));
    EXPECT_TRUE(app->waitForTiles({L"tide table.txt", L"crew list.txt"}, kTwoTicks));
    EXPECT_EQ(app->tabCaptions(), captions);
    EXPECT_EQ(searchText(), L"");
    ASSERT_TRUE(xdotool({"key", "Escape"}));
    EXPECT_TRUE(waitUntil([&] {
        return IsIconic(app->main()) && GetForegroundWindow() == tideWindow;
    })) << "sent back";
}

}  // namespace
}  // namespace snapdesk::testing
