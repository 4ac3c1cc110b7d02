// Snapdesk started as a user starts it, with Wine's notepad on a file and our MDI program
// beside it: tiles, activation by click and double click, comments, pictures, the settings
// in the registry and the place of the window from one run to the next.
// SNAPDESK_E2E_SHOTS=folder saves a screenshot of the desktop at each step there.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "mainwindow/menu_ids.h"
#include "snapdesk_app.h"
#include "test_apps.h"
#include "zim_display_widget.h"

namespace snapdesk::testing {
namespace {

constexpr Milliseconds kTwoTicks{2 * 3000 + 2000};

HWND activeDocumentOf(HWND frame) {
    return reinterpret_cast<HWND>(SendMessageW(mdiClientOf(frame), WM_MDIGETACTIVE, 0, 0));
}

// Whether the tile's picture area shows more than one colour on screen.
bool pictureIsVaried(const Tile& tile) {
    const HWND picture = GetDlgItem(tile.window, zim::kIdDisplay);
    RECT r{};
    GetWindowRect(picture, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 2 || height <= 2) {
        return false;
    }
    // Only the tile's own pixels count, not a window that covers it.
    const POINT middle{r.left + width / 2, r.top + height / 2};
    if (WindowFromPoint(middle) != picture) {
        return false;
    }
    HDC screen = GetDC(nullptr);
    const COLORREF first = GetPixel(screen, r.left + 1, r.top + 1);
    bool varied = false;
    for (int y = r.top + 1; y < r.bottom - 1 && !varied; y += 3) {
        for (int x = r.left + 1; x < r.right - 1 && !varied; x += 3) {
            varied = GetPixel(screen, x, y) != first;
        }
    }
    ReleaseDC(nullptr, screen);
    return varied;
}

RECT screenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// The window below `parent`, at any depth, that shows exactly that text; nullptr when none.
HWND descendantShowing(HWND parent, const std::wstring& text) {
    for (const HWND child : childWindows(parent)) {
        if (windowTextOf(child) == text) {
            return child;
        }
        if (const HWND found = descendantShowing(child, text)) {
            return found;
        }
    }
    return nullptr;
}

class MainWindowE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        clearSnapdeskSettings();
        reportPath = writeTempTextFile(L"report.txt", "Quarterly figures\r\n");
        ASSERT_FALSE(reportPath.empty());
        notepad = std::make_unique<Program>(startNotepadOn(reportPath, notepadWindow));
        writer = std::make_unique<Program>(
            startMdiTest({L"--title", L"Report Writer", L"--doc", L"Chapter 1.txt", L"--doc",
                          L"Chapter 2.txt", L"--active", L"2"}));
        frame = waitForMdiFrame(*writer);
        ASSERT_NE(notepadWindow, nullptr);
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override {
        app.reset();
        writer.reset();
        notepad.reset();
        DeleteFileW(reportPath.c_str());
    }
    SnapdeskApp& start() {
        app = std::make_unique<SnapdeskApp>();
        return *app;
    }

    std::wstring reportPath;
    std::unique_ptr<Program> notepad;
    std::unique_ptr<Program> writer;
    std::unique_ptr<SnapdeskApp> app;
    HWND notepadWindow = nullptr;
    HWND frame = nullptr;
};

TEST_F(MainWindowE2E, OpensWithTwoTabsAndATileForEveryWindow) {
    SnapdeskApp& snapdesk = start();
    ASSERT_TRUE(snapdesk.started());
    EXPECT_EQ(windowTextOf(snapdesk.main()), L"Snapdesk!");
    const auto tabs = snapdesk.tabCaptions();
    ASSERT_EQ(tabs.size(), 2u);
    EXPECT_EQ(tabs[0], L"              Documents              ");
    EXPECT_EQ(tabs[1], L"                Project                ");
    for (const wchar_t* name : {L"report.txt", L"Chapter 1.txt", L"Chapter 2.txt"}) {
        EXPECT_TRUE(snapdesk.waitForTile(name, kTwoTicks).has_value()) << name;
    }
    screenshot("1-started");
    // A first start writes every setting with its default.
    for (const wchar_t* key : {L"Height", L"Width", L"autoLoad", L"singleClick", L"autoUpdates",
                               L"displayFolders", L"tabs", L"Left", L"Top", L"Maximized",
                               L"TextLabels", L"MaximizeLaunch", L"Update_Setting"}) {
        EXPECT_TRUE(snapdeskSetting(key).has_value()) << key;
    }
}

TEST_F(MainWindowE2E, TheTabsFillTheWindowUnderTheToolbarAndTheLabelsShow) {
    SnapdeskApp& snapdesk = start();
    ASSERT_TRUE(snapdesk.started());
    ASSERT_TRUE(snapdesk.waitForTile(L"report.txt", kTwoTicks).has_value());
    ASSERT_TRUE(bringToFront(snapdesk.main()));
    const HWND toolbar = descendant(snapdesk.main(), TOOLBARCLASSNAMEW);
    const HWND tabs = descendant(snapdesk.main(), WC_TABCONTROLW);
    const HWND hint = descendantShowing(snapdesk.main(), L"Click Any Image to Continue");
    const HWND project = descendantShowing(snapdesk.main(), L"Project: ");
    ASSERT_TRUE(toolbar && tabs && hint && project);
    const HWND portal = GetParent(GetParent(hint));  // the tile panel holds the labels' canvas
    ASSERT_EQ(GetParent(portal), tabs);
    RECT client{};
    GetClientRect(snapdesk.main(), &client);
    MapWindowPoints(snapdesk.main(), nullptr, reinterpret_cast<POINT*>(&client), 2);

    const RECT bar = screenRect(toolbar);
    const RECT tab = screenRect(tabs);
    EXPECT_EQ(tab.top, bar.bottom) << "the tab control starts right under the toolbar";
    EXPECT_EQ(tab.bottom, client.bottom) << "and its strip ends at the window's bottom";
    EXPECT_EQ(tab.left, client.left);
    EXPECT_EQ(tab.right, client.right);
    const RECT panel = screenRect(portal);
    EXPECT_EQ(panel.top, tab.top) << "the tile panel fills the tabs from their top";
    EXPECT_EQ(panel.left, tab.left);
    EXPECT_EQ(panel.right, tab.right);
    for (const HWND label : {hint, project}) {
        const RECT r = screenRect(label);
        EXPECT_GE(r.top, panel.top) << windowTextOf(label) << " lies on the panel";
        EXPECT_LT(r.bottom, panel.bottom) << windowTextOf(label);
    }
    const RECT shown = screenRect(hint);
    EXPECT_EQ(WindowFromPoint({(shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2}),
              hint)
        << "nothing covers the hint";
    screenshot("5-layout");
}

TEST_F(MainWindowE2E, TilesShowPicturesOfTheirWindows) {
    SnapdeskApp& snapdesk = start();
    ASSERT_TRUE(snapdesk.started());
    // Start-up took a picture of every window ("Do Not Load Images on Start Up" is off).
    ASSERT_TRUE(bringToFront(snapdesk.main()));
    for (const wchar_t* name : {L"report.txt", L"Chapter 1.txt", L"Chapter 2.txt"}) {
        const auto tile = snapdesk.waitForTile(name, kTwoTicks);
        ASSERT_TRUE(tile.has_value()) << name;
        EXPECT_TRUE(waitUntil([&] { return pictureIsVaried(*tile); }, Milliseconds{3000})) << name;
    }
}

TEST_F(MainWindowE2E, AClickActivatesAndWithDoubleClickActivationOnlyADoubleClickDoes) {
    SnapdeskApp& snapdesk = start();
    ASSERT_TRUE(snapdesk.started());
    const auto first = snapdesk.waitForTile(L"Chapter 1.txt", kTwoTicks);
    ASSERT_TRUE(first.has_value());
    const HWND chapter1 = mdiDocumentTitled(frame, L"Chapter 1.txt");
    const HWND chapter2 = mdiDocumentTitled(frame, L"Chapter 2.txt");

    SnapdeskApp::click(*first);
    EXPECT_TRUE(waitUntil(
        [&] { return GetForegroundWindow() == frame && activeDocumentOf(frame) == chapter1; }));
    screenshot("2-clicked");

    ASSERT_TRUE(bringToFront(snapdesk.main()));
    snapdesk.command(ID_mnuSingleClick);  // "Activate on &Double Click"
    EXPECT_TRUE(waitUntil([] { return snapdeskSetting(L"singleClick") == L"no"; }))
        << "the setting is written when it is chosen";
    const auto second = snapdesk.tileNamed(L"Chapter 2.txt");
    ASSERT_TRUE(second.has_value());
    SnapdeskApp::click(*second);
    EXPECT_FALSE(waitUntil([&] { return GetForegroundWindow() == frame; }, Milliseconds{2500}))
        << "a single click only moves the focus";
    SnapdeskApp::doubleClick(*second);
    EXPECT_TRUE(waitUntil(
        [&] { return GetForegroundWindow() == frame && activeDocumentOf(frame) == chapter2; }));
}

TEST_F(MainWindowE2E, ATypedCommentStaysWithItsTile) {
    SnapdeskApp& snapdesk = start();
    ASSERT_TRUE(snapdesk.started());
    const auto tile = snapdesk.waitForTile(L"report.txt", kTwoTicks);
    ASSERT_TRUE(tile.has_value());
    SnapdeskApp::typeComment(*tile, L"figures for Monday");
    EXPECT_TRUE(waitUntil([&] {
        const auto now = snapdesk.tileNamed(L"report.txt");
        return now && now->comment == L"figures for Monday";
    }));
    // The next redraws take the comment from the window's record.
    Sleep(static_cast<DWORD>(kTwoTicks.count()));
    const auto later = snapdesk.tileNamed(L"report.txt");
    ASSERT_TRUE(later.has_value());
    EXPECT_EQ(later->comment, L"figures for Monday");
    screenshot("3-comment");
}

TEST_F(MainWindowE2E, UpdateAllImagesLeavesEveryWindowAsItWas) {
    ShowWindow(notepadWindow, SW_MINIMIZE);
    const HWND chapter1 = mdiDocumentTitled(frame, L"Chapter 1.txt");
    const HWND chapter2 = mdiDocumentTitled(frame, L"Chapter 2.txt");
    SendMessageW(mdiClientOf(frame), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(chapter2), 0);
    SendMessageW(mdiClientOf(frame), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(chapter2), 0);
    ASSERT_TRUE(waitUntil([&] { return IsIconic(notepadWindow) && IsZoomed(chapter2); }));

    storeSnapdeskSetting(L"autoLoad", L"no");  // no pictures at start: the command takes them
    SnapdeskApp& snapdesk = start();
    ASSERT_TRUE(snapdesk.started());
    ASSERT_TRUE(snapdesk.waitForTile(L"Chapter 1.txt", kTwoTicks).has_value());
    snapdesk.command(ID_mnuLoadImages);
    // Three windows, each shown for its picture and put back; between two of them Snapdesk is
    // in front for a moment too. The command is done when the desktop stays as it was for
    // longer than one picture's wait.
    const auto putBack = [&] {
        return GetForegroundWindow() == snapdesk.main() && IsIconic(notepadWindow) &&
               activeDocumentOf(frame) == chapter2 && IsZoomed(chapter2);
    };
    Sleep(1000);
    EXPECT_TRUE(waitUntil(
        [&] {
            if (!putBack()) {
                return false;
            }
            return !waitUntil([&] { return !putBack(); }, Milliseconds{3000});
        },
        Milliseconds{40000}));
    EXPECT_TRUE(IsIconic(notepadWindow)) << "notepad was minimised";
    EXPECT_EQ(activeDocumentOf(frame), chapter2) << "the active document stays active";
    EXPECT_TRUE(IsZoomed(chapter2)) << "and maximised";
    EXPECT_FALSE(IsIconic(chapter1));
    for (const wchar_t* name : {L"report.txt", L"Chapter 1.txt", L"Chapter 2.txt"}) {
        const auto tile = snapdesk.tileNamed(name);
        ASSERT_TRUE(tile.has_value()) << name;
        EXPECT_TRUE(pictureIsVaried(*tile)) << name;
    }
    screenshot("4-update-all");
}

TEST_F(MainWindowE2E, ClosingKeepsThePlaceForTheNextStart) {
    {
        SnapdeskApp& snapdesk = start();
        ASSERT_TRUE(snapdesk.started());
        SetWindowPos(snapdesk.main(), nullptr, 40, 30, 720, 560, SWP_NOZORDER);
        ASSERT_TRUE(waitUntil([&] {
            RECT r{};
            GetWindowRect(snapdesk.main(), &r);
            return r.left == 40 && r.right - r.left == 720;
        }));
        snapdesk.command(ID_mnuTabs);  // four tabs, kept as "tabs"
        ASSERT_TRUE(waitUntil([&] { return snapdesk.tabCaptions().size() == 4; }));
        ASSERT_TRUE(snapdesk.closeAndWait());
    }
    EXPECT_EQ(snapdeskSetting(L"Left"), L"600");  // twips, 15 a pixel
    EXPECT_EQ(snapdeskSetting(L"Top"), L"450");
    EXPECT_EQ(snapdeskSetting(L"Width"), L"10800");
    EXPECT_EQ(snapdeskSetting(L"Height"), L"8400");
    EXPECT_EQ(snapdeskSetting(L"Maximized"), L"no");
    EXPECT_EQ(snapdeskSetting(L"tabs"), L"4");

    SnapdeskApp& again = start();
    ASSERT_TRUE(again.started());
    RECT r{};
    GetWindowRect(again.main(), &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    // It opens 50 twips narrower and 10 lower than it closed.
    EXPECT_NEAR(r.right - r.left, (10800 - 50) / 15, 1);
    EXPECT_NEAR(r.bottom - r.top, (8400 - 10) / 15, 1);
    EXPECT_EQ(again.tabCaptions().size(), 4u);
}

}  // namespace
}  // namespace snapdesk::testing
