// Win32WindowManager against real windows of mditest.exe.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>

#include "../apps/mditest_protocol.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_window_manager.h"
#include "test_apps.h"

namespace snapdesk {
namespace {

using testing::Milliseconds;
using win32::toHandle;
using win32::toHwnd;

// Walks the top-level windows through the adapter, as the window discovery does.
std::vector<WindowHandle> walkTopLevel(WindowManager& windows) {
    std::vector<WindowHandle> all;
    for (WindowHandle w = windows.topWindow(); w != 0; w = windows.nextWindow(w)) {
        all.push_back(w);
    }
    return all;
}

std::vector<WindowHandle> walkChildren(WindowManager& windows, WindowHandle parent) {
    std::vector<WindowHandle> all;
    for (WindowHandle w = windows.firstChild(parent); w != 0; w = windows.nextWindow(w)) {
        all.push_back(w);
    }
    return all;
}

class WindowManagerTest : public ::testing::Test {
  protected:
    Win32WindowManager windows;
};

TEST_F(WindowManagerTest, WalkFindsTheFrameItsClientAndItsDocuments) {
    auto program = testing::startMdiTest(
        {L"--title", L"Walk Frame", L"--doc", L"first.txt", L"--doc-noicon", L"second.txt"});
    ASSERT_TRUE(program.started());
    const HWND frame = testing::waitForMdiFrame(program);
    ASSERT_NE(frame, nullptr);

    const auto top = walkTopLevel(windows);
    ASSERT_NE(std::find(top.begin(), top.end(), toHandle(frame)), top.end());

    const auto clients = walkChildren(windows, toHandle(frame));
    const auto client = std::find_if(clients.begin(), clients.end(), [&](WindowHandle w) {
        return windows.className(w, 20) == "MDIClient";
    });
    ASSERT_NE(client, clients.end());

    std::set<std::string> titles;
    for (const WindowHandle document : walkChildren(windows, *client)) {
        titles.insert(windows.windowText(document));
    }
    EXPECT_EQ(titles, (std::set<std::string>{"first.txt", "second.txt"}));
    EXPECT_EQ(windows.windowText(toHandle(frame)), "Walk Frame");
}

TEST_F(WindowManagerTest, TextsComeWholeAndClassNamesAreCutByTheBuffer) {
    const std::wstring longTitle(3000, L'x');
    const std::wstring unicodeTitle = L"Caf\u00e9 \u2014 \u6771\u4eac.txt";
    auto program = testing::startMdiTest({L"--title", longTitle + L"END", L"--class",
                                          L"SnapdeskLongFrameClassName", L"--doc", unicodeTitle});
    ASSERT_TRUE(program.started());
    const HWND frame = testing::waitForMdiFrame(program, L"SnapdeskLongFrameClassName");
    ASSERT_NE(frame, nullptr);

    const std::string text = windows.windowText(toHandle(frame));
    EXPECT_EQ(text.size(), 3003u);
    EXPECT_EQ(text.substr(2990), std::string(10, 'x') + "END");

    const auto documents = testing::mdiDocumentsOf(frame);
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_EQ(windows.windowText(toHandle(documents[0])),
              "Caf\xc3\xa9 \xe2\x80\x94 \xe6\x9d\xb1\xe4\xba\xac.txt");

    EXPECT_EQ(windows.className(toHandle(frame), 20), "SnapdeskLongFrameCl");
    EXPECT_EQ(windows.className(toHandle(frame), 6), "Snapd");
    EXPECT_EQ(windows.className(toHandle(frame), 100), "SnapdeskLongFrameClassName");
}

TEST_F(WindowManagerTest, StylesOwnersAndStates) {
    auto program = testing::startMdiTest(
        {L"--frame-max", L"--doc", L"plain.txt", L"--doc", L"small.txt", L"--min-doc", L"2",
         L"--doc-hidden", L"hidden.txt", L"--active", L"1", L"--tool-window", L"Tool Palette",
         L"--owned-window", L"Find and Replace", L"--one-char-window"});
    ASSERT_TRUE(program.started());
    const HWND frame = testing::waitForMdiFrame(program);
    ASSERT_NE(frame, nullptr);
    auto byClass = [&](const wchar_t* name) {
        return program.waitForWindow([&](HWND w) { return testing::classNameOf(w) == name; });
    };
    const HWND tool = byClass(L"MdiTestTool");
    const HWND owned = byClass(L"MdiTestOwned");
    const HWND oneChar = byClass(L"MdiTestOneChar");
    ASSERT_TRUE(tool && owned && oneChar);

    EXPECT_NE(windows.extendedStyle(toHandle(tool)) & WS_EX_TOOLWINDOW, 0u);
    EXPECT_EQ(windows.extendedStyle(toHandle(frame)) & WS_EX_TOOLWINDOW, 0u);
    EXPECT_EQ(windows.owner(toHandle(owned)), toHandle(frame));
    EXPECT_EQ(windows.owner(toHandle(frame)), 0u);
    EXPECT_EQ(windows.owner(toHandle(tool)), 0u);
    EXPECT_EQ(windows.windowText(toHandle(oneChar)), "Q");

    EXPECT_TRUE(windows.isZoomed(toHandle(frame)));
    EXPECT_FALSE(windows.isMinimized(toHandle(frame)));
    const HWND plain = testing::mdiDocumentTitled(frame, L"plain.txt");
    const HWND small = testing::mdiDocumentTitled(frame, L"small.txt");
    const HWND hidden = testing::mdiDocumentTitled(frame, L"hidden.txt");
    ASSERT_TRUE(plain && small && hidden);
    EXPECT_TRUE(windows.isVisible(toHandle(plain)));
    EXPECT_FALSE(windows.isMinimized(toHandle(plain)));
    EXPECT_TRUE(windows.isMinimized(toHandle(small)));
    EXPECT_FALSE(windows.isVisible(toHandle(hidden)));

    // A window in plain view is never cloaked, and is on no other desktop; where DWM or the
    // desktop manager is missing (Wine) the questions answer the same way.
    EXPECT_EQ(windows.cloakedBy(toHandle(frame)), 0u);
    EXPECT_NE(windows.desktopPlaceOf(toHandle(frame)), DesktopPlace::Other);

    const Rect rect = windows.windowRect(toHandle(owned));
    EXPECT_EQ(rect.width(), 220);
    EXPECT_EQ(rect.height(), 120);

    EXPECT_TRUE(windows.isWindow(toHandle(frame)));
    program.close();
    EXPECT_FALSE(windows.isWindow(toHandle(frame)));
}

TEST_F(WindowManagerTest, MinimisedFrame) {
    auto program = testing::startMdiTest({L"--frame-min", L"--doc", L"a.txt"});
    ASSERT_TRUE(program.started());
    const HWND frame = testing::waitForMdiFrame(program);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(windows.isMinimized(toHandle(frame)));
    EXPECT_FALSE(windows.isZoomed(toHandle(frame)));
}

// A window of this thread with an icon set on it and a class icon.
class OwnIconWindow {
  public:
    OwnIconWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hIcon = LoadIconW(nullptr, IDI_WARNING);
        windowClass.lpszClassName = L"SnapdeskIconTestWindow";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, windowClass.lpszClassName, L"icons", WS_POPUP, 0, 0, 10, 10,
                                 nullptr, nullptr, windowClass.hInstance, nullptr);
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    }
    ~OwnIconWindow() { DestroyWindow(window); }
    OwnIconWindow(const OwnIconWindow&) = delete;
    OwnIconWindow& operator=(const OwnIconWindow&) = delete;

    HICON bigIcon = LoadIconW(nullptr, IDI_ERROR);
    HWND window = nullptr;
};

TEST_F(WindowManagerTest, IconQueryAndClassIconOfAWindowOfThisThread) {
    OwnIconWindow own;
    ASSERT_NE(own.window, nullptr);
    const IconAnswer answer = windows.queryBigIcon(toHandle(own.window), 500);
    EXPECT_TRUE(answer.answered);
    EXPECT_FALSE(answer.refused);
    EXPECT_EQ(answer.icon, win32::toIconHandle(own.bigIcon));
    EXPECT_EQ(windows.classIcon(toHandle(own.window)),
              win32::toIconHandle(LoadIconW(nullptr, IDI_WARNING)));

    const IconHandle application = windows.stockIcon(StockIcon::Application);
    const IconHandle logo = windows.stockIcon(StockIcon::WindowLogo);
    EXPECT_NE(application, 0u);
    EXPECT_NE(logo, 0u);
    EXPECT_NE(application, logo);
    EXPECT_EQ(application, win32::toIconHandle(LoadIconW(nullptr, IDI_APPLICATION)));
}

// Wine 8 cannot carry WM_GETICON to another thread ("pack_message ... not supported yet"):
// the call fails at once, and class icons of other processes read as 0. Windows answers.
TEST_F(WindowManagerTest, IconsOfDocumentsOfAnotherProgram) {
    auto program = testing::startMdiTest({L"--doc", L"icon.txt", L"--doc-noicon", L"none.txt"});
    ASSERT_TRUE(program.started());
    const HWND frame = testing::waitForMdiFrame(program);
    ASSERT_NE(frame, nullptr);
    const HWND withIcon = testing::mdiDocumentTitled(frame, L"icon.txt");
    const HWND without = testing::mdiDocumentTitled(frame, L"none.txt");
    ASSERT_TRUE(withIcon && without);
    ASSERT_TRUE(testing::respondsWithin(withIcon, Milliseconds{2000}));

    const auto start = std::chrono::steady_clock::now();
    const IconAnswer answer = windows.queryBigIcon(toHandle(withIcon), 500);
    const IconAnswer none = windows.queryBigIcon(toHandle(without), 500);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    if (testing::runningUnderWine()) {
        EXPECT_FALSE(answer.answered);
        EXPECT_TRUE(answer.refused);
        EXPECT_FALSE(none.answered);
        EXPECT_TRUE(none.refused);
        EXPECT_EQ(windows.classIcon(toHandle(withIcon)), 0u);
    } else {
        EXPECT_TRUE(answer.answered);
        EXPECT_NE(answer.icon, 0u);
        EXPECT_NE(windows.classIcon(toHandle(withIcon)), 0u);
        EXPECT_TRUE(none.answered);
        EXPECT_EQ(none.icon, 0u);
    }
    EXPECT_EQ(windows.classIcon(toHandle(without)), 0u);
}

TEST_F(WindowManagerTest, IconQueryOfAHungWindowGivesUpAfterItsTimeOut) {
    auto program = testing::startMdiTest({L"--doc", L"busy.txt"});
    ASSERT_TRUE(program.started());
    const HWND frame = testing::waitForMdiFrame(program);
    ASSERT_NE(frame, nullptr);
    const HWND document = testing::mdiDocumentTitled(frame, L"busy.txt");
    ASSERT_NE(document, nullptr);

    ASSERT_TRUE(testing::hangMdiTest(frame, mditest::kHangForever));
    const auto start = std::chrono::steady_clock::now();
    const IconAnswer answer = windows.queryBigIcon(toHandle(document), 500);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(answer.answered);
    EXPECT_FALSE(answer.refused);  // hung, not refused: the window does not answer at all
    EXPECT_EQ(answer.icon, 0u);
    // A safety bound, not a speed goal: the query must not wait for the hung window.
    EXPECT_LT(elapsed, std::chrono::seconds(3));
    program.close(Milliseconds{0});
}

TEST_F(WindowManagerTest, HangOnTheCommandLineEndsAfterItsTime) {
    auto program = testing::startMdiTest({L"--doc", L"late.txt", L"--hang-ms", L"2000"});
    ASSERT_TRUE(program.started());
    const HWND frame = testing::waitForMdiFrame(program);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(
        testing::waitUntil([&] { return !testing::respondsWithin(frame, Milliseconds{100}); }));
    EXPECT_TRUE(
        testing::waitUntil([&] { return testing::respondsWithin(frame, Milliseconds{100}); }));
}

TEST_F(WindowManagerTest, MdiMessagesMaximiseAndRestoreADocument) {
    auto program =
        testing::startMdiTest({L"--doc", L"one.txt", L"--doc", L"two.txt", L"--active", L"1"});
    ASSERT_TRUE(program.started());
    const HWND frame = testing::waitForMdiFrame(program);
    ASSERT_NE(frame, nullptr);
    const WindowHandle client = toHandle(testing::mdiClientOf(frame));
    const HWND one = testing::mdiDocumentTitled(frame, L"one.txt");
    const HWND two = testing::mdiDocumentTitled(frame, L"two.txt");
    ASSERT_TRUE(client && one && two);

    bool maximized = true;
    EXPECT_EQ(windows.mdiActive(client, &maximized), toHandle(one));
    EXPECT_FALSE(maximized);

    windows.sendMdiMessage(client, MdiMessage::Maximize, toHandle(two));
    EXPECT_TRUE(IsZoomed(two));
    EXPECT_EQ(windows.mdiActive(client, &maximized), toHandle(two));
    EXPECT_TRUE(maximized);

    windows.sendMdiMessage(client, MdiMessage::Restore, toHandle(two));
    EXPECT_FALSE(IsZoomed(two));
    EXPECT_EQ(windows.mdiActive(client, &maximized), toHandle(two));
    EXPECT_FALSE(maximized);
    EXPECT_EQ(windows.mdiActive(client, nullptr), toHandle(two));
}

TEST_F(WindowManagerTest, ThreadsProcessesAndTheForeground) {
    auto program = testing::startMdiTest({L"--doc", L"front.txt"});
    ASSERT_TRUE(program.started());
    const HWND frame = testing::waitForMdiFrame(program);
    ASSERT_NE(frame, nullptr);
    const WindowHandle handle = toHandle(frame);

    EXPECT_EQ(windows.processOf(handle), program.processId());
    const std::uint32_t thread = windows.threadOf(handle);
    EXPECT_NE(thread, 0u);
    EXPECT_NE(thread, GetCurrentThreadId());
    EXPECT_EQ(windows.processOf(0), 0u);

    EXPECT_TRUE(testing::waitUntil([&] {
        windows.bringWindowToTop(handle);
        windows.setForegroundWindow(handle);
        return windows.foregroundWindow() == handle;
    }));
    windows.placeOnTop(handle);
    EXPECT_EQ(walkTopLevel(windows).front(), handle);

    windows.showWindow(handle, ShowCommand::Maximize);
    EXPECT_TRUE(IsZoomed(frame));
    windows.showWindow(handle, ShowCommand::Restore);
    EXPECT_FALSE(IsZoomed(frame));

    EXPECT_TRUE(windows.attachThreadInput(GetCurrentThreadId(), thread, true));
    EXPECT_TRUE(windows.attachThreadInput(GetCurrentThreadId(), thread, false));
}

TEST_F(WindowManagerTest, RuntimeCommandsAddAndRenameDocuments) {
    auto program = testing::startMdiTest({L"--doc", L"draft"});
    ASSERT_TRUE(program.started());
    const HWND frame = testing::waitForMdiFrame(program);
    ASSERT_NE(frame, nullptr);
    const HWND added = testing::addMdiDocument(frame, L"added.txt");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(windows.windowText(toHandle(added)), "added.txt");
    EXPECT_EQ(windows.mdiActive(toHandle(testing::mdiClientOf(frame)), nullptr), toHandle(added));

    const HWND plain = testing::addMdiDocument(frame, L"plain.txt", false);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(testing::classNameOf(plain), L"MdiTestDocumentNoIcon");

    EXPECT_EQ(testing::renameActiveMdiDocument(frame, L"final report.txt"), plain);
    EXPECT_EQ(windows.windowText(toHandle(plain)), "final report.txt");
    EXPECT_EQ(testing::mdiDocumentsOf(frame).size(), 3u);
}

}  // namespace
}  // namespace snapdesk
