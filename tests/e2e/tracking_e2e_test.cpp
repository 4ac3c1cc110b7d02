// The window list on the live Wine desktop, with Wine's notepad and our MDI test program.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "mditest_protocol.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_platform.h"
#include "test_apps.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk::testing {
namespace {

using win32::toHandle;

HWND activeDocument(HWND frame, bool* maximized = nullptr) {
    BOOL flag = FALSE;
    const auto active = reinterpret_cast<HWND>(
        SendMessageW(mdiClientOf(frame), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&flag)));
    if (maximized)
        *maximized = flag != FALSE;
    return active;
}

bool isNotepad(HWND window) {
    return IsWindowVisible(window) && windowTextOf(window).find(L"Notepad") != std::wstring::npos;
}

class LiveDesktop : public ::testing::Test {
  protected:
    long positionOf(HWND window) const {
        for (long i = 1; i <= list.count(); ++i) {
            if (list.hWnd(i) == toHandle(window))
                return i;
        }
        return 0;
    }
    // Our MDI program with two documents, the second one active.
    Program startWriter() {
        Program program = startMdiTest({L"--title", L"Report Writer", L"--doc", L"Chapter 1.txt",
                                        L"--doc", L"Chapter 2.txt", L"--active", L"2"});
        frame = waitForMdiFrame(program);
        return program;
    }
    Program startNotepad() {
        Program program(L"notepad.exe");
        notepad = program.waitForWindow(isNotepad);
        // Wine activates a new window a little later; until it has, the z-order and the
        // foreground window still move under a refresh.
        if (notepad != nullptr) {
            program.waitForInputIdle(Milliseconds{2000});
            waitUntil([&] { return GetForegroundWindow() == notepad; });
        }
        return program;
    }

    Win32Platform system;
    CoffeeShopList list{system.platform()};
    HWND frame = nullptr;
    HWND notepad = nullptr;
};

TEST_F(LiveDesktop, NotepadAndMdiDocumentsAreTrackedByTheRules) {
    auto writer = startWriter();
    auto pad = startNotepad();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(notepad, nullptr) << "Wine's notepad did not start";
    list.refreshList();

    const long n = positionOf(notepad);
    ASSERT_NE(n, 0) << "notepad is not tracked";
    EXPECT_EQ(list.inTab(n), kOthersTab);
    EXPECT_EQ(list.CaptionString(n), "Untitled ");  // " - Notepad" cut, its blank kept
    const std::string exe = list.EXEPath(n);
    ASSERT_GE(exe.size(), 12u);
    EXPECT_EQ(exe.substr(exe.size() - 12), "\\NOTEPAD.EXE") << exe;

    EXPECT_EQ(positionOf(frame), 0) << "the frame of tracked documents is tracked itself";
    for (const auto* title : {L"Chapter 1.txt", L"Chapter 2.txt"}) {
        const HWND doc = mdiDocumentTitled(frame, title);
        ASSERT_NE(doc, nullptr);
        const long d = positionOf(doc);
        ASSERT_NE(d, 0);
        EXPECT_EQ(list.inTab(d), kDocumentsTab);
        EXPECT_EQ(list.hTopWnd(d), toHandle(frame));
        EXPECT_EQ(list.hClient(d), toHandle(mdiClientOf(frame)));
        EXPECT_EQ(list.CaptionString(d), win32::toUtf8(title));
    }
}

TEST_F(LiveDesktop, AClosedWindowLeavesOnTheNextRefresh) {
    auto writer = startWriter();
    auto pad = startNotepad();
    list.refreshList();
    ASSERT_NE(positionOf(notepad), 0);
    const long before = list.count();
    pad.close();
    ASSERT_TRUE(pad.hasExited());
    list.refreshList();
    EXPECT_EQ(positionOf(notepad), 0);
    EXPECT_EQ(list.count(), before - 1);
    EXPECT_NE(positionOf(mdiDocumentTitled(frame, L"Chapter 1.txt")), 0);
}

TEST_F(LiveDesktop, ActivateDocumentMaximisesOrRestoresAsTheModesSay) {
    auto writer = startWriter();
    auto pad = startNotepad();
    ASSERT_TRUE(bringToFront(notepad));
    list.refreshList();
    const HWND first = mdiDocumentTitled(frame, L"Chapter 1.txt");
    const HWND second = mdiDocumentTitled(frame, L"Chapter 2.txt");
    bool front = false;

    // Maximise the first document, frame restored.
    list.activateDocument(positionOf(first), 0, 1, front);
    waitUntil([&] { return GetForegroundWindow() == frame; });
    EXPECT_EQ(GetForegroundWindow(), frame);
    bool maximized = false;
    EXPECT_EQ(activeDocument(frame, &maximized), first);
    EXPECT_TRUE(maximized);
    EXPECT_TRUE(IsZoomed(first));
    EXPECT_FALSE(IsZoomed(frame));
    list.refreshList();  // sees the first document maximised
    ASSERT_TRUE(list.isZoomed(positionOf(first)));

    // Restore: the second document comes up in a normal state.
    ASSERT_TRUE(bringToFront(notepad));
    list.activateDocument(positionOf(second), 1, 1, front);
    waitUntil([&] { return GetForegroundWindow() == frame; });
    EXPECT_EQ(activeDocument(frame, &maximized), second);
    EXPECT_FALSE(maximized);
    EXPECT_FALSE(IsZoomed(second));
    list.refreshList();  // the first document, no longer active, keeps its last-seen state

    // "As it was": the first document was last seen maximised; the frame gets maximised.
    ASSERT_TRUE(bringToFront(notepad));
    list.activateDocument(positionOf(first), 2, 0, front);
    waitUntil([&] { return GetForegroundWindow() == frame; });
    EXPECT_EQ(activeDocument(frame, &maximized), first);
    EXPECT_TRUE(maximized);
    EXPECT_TRUE(IsZoomed(frame));

    // A top-level record is brought to the front restored.
    list.activateDocument(positionOf(notepad), 1, 3, front);
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == notepad; }));
    EXPECT_FALSE(IsZoomed(notepad));
}

TEST_F(LiveDesktop, AHungProgramDoesNotHoldTheRefreshLongerThanItsTimeOuts) {
    auto writer = startWriter();
    auto pad = startNotepad();
    // In front, so that the capture of its active document is attempted as well.
    ASSERT_TRUE(bringToFront(frame));
    list.refreshList();
    ASSERT_NE(positionOf(mdiDocumentTitled(frame, L"Chapter 1.txt")), 0);
    // From now on its thread answers no message.
    ASSERT_TRUE(hangMdiTest(frame, mditest::kHangForever));
    const auto start = std::chrono::steady_clock::now();
    list.refreshList();
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Every query to the hung program is bounded by 500 ms: two documents, their client and
    // the frame, with room for Wine's own slowness.
    std::printf("refresh with a hung program: %.2f s\n", seconds);
    EXPECT_LT(seconds, 4.0);
    EXPECT_NE(positionOf(notepad), 0) << "other records were lost";
}

TEST_F(LiveDesktop, OnlyTheWindowInFrontIsCaptured) {
    auto writer = startWriter();
    auto pad = startNotepad();
    ASSERT_TRUE(bringToFront(frame));
    list.refreshList();
    const HWND active = activeDocument(frame);
    ASSERT_NE(active, nullptr);
    const long a = positionOf(active);
    ASSERT_NE(a, 0);
    EXPECT_TRUE(list.gotPhoto(a));
    const auto picture = list.thePhoto(a);
    ASSERT_NE(picture, nullptr);
    EXPECT_GT(picture->width(), 10);
    EXPECT_GT(picture->height(), 10);

    const long n = positionOf(notepad);
    ASSERT_NE(n, 0);
    EXPECT_FALSE(list.gotPhoto(n));
    EXPECT_EQ(list.thePhoto(n), nullptr);
    for (const HWND doc : mdiDocumentsOf(frame)) {
        if (doc != active) {
            EXPECT_EQ(list.thePhoto(positionOf(doc)), nullptr) << "inactive document captured";
        }
    }
    // Now notepad is in front: it gets its picture, the document keeps the one it had.
    ASSERT_TRUE(bringToFront(notepad));
    list.refreshList();
    EXPECT_TRUE(list.gotPhoto(n));
    EXPECT_EQ(list.thePhoto(a), picture);
}

}  // namespace
}  // namespace snapdesk::testing
