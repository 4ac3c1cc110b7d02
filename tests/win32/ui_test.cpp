// Win32Ui: the message pump and message boxes of this thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_ui.h"
#include "test_apps.h"

namespace snapdesk {
namespace {

int gReceived = 0;

LRESULT CALLBACK countingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP + 7) {
        gReceived += static_cast<int>(wParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(UiTest, DoEventsDispatchesWhatIsPendingAndLeavesTheQuitRequest) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = countingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"SnapdeskUiTestSink";
    RegisterClassW(&windowClass);
    const HWND sink = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0,
                                      HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(sink, nullptr);
    gReceived = 0;
    PostMessageW(sink, WM_APP + 7, 1, 0);
    PostMessageW(sink, WM_APP + 7, 2, 0);
    Win32Ui ui;
    ui.doEvents();
    EXPECT_EQ(gReceived, 3);

    PostQuitMessage(42);
    ui.doEvents();
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 42u);
    DestroyWindow(sink);
}

// Reads the box another thread shows and presses OK, so the modal call returns.
TEST(UiTest, MessageBoxShowsTheTextAndTitleAndClosesWithOk) {
    const std::wstring title = L"Snapdesk Test \u00dc";
    std::atomic<bool> closed{false};
    std::wstring seenText;
    std::thread answerer([&] {
        HWND box = nullptr;
        testing::waitUntil([&] {
            box = FindWindowW(L"#32770", title.c_str());
            return box != nullptr;
        });
        if (box == nullptr) {
            return;
        }
        for (const HWND child : testing::childWindows(box)) {
            if (testing::classNameOf(child) == L"Static" && GetWindowTextLengthW(child) > 0) {
                seenText = testing::windowTextOf(child);
            }
        }
        closed = PostMessageW(box, WM_COMMAND, IDOK, 0) != FALSE;
    });
    Win32Ui ui;
    ui.messageBox("Error has occured in 'LongFileName'\nFileName: C:\\caf\xc3\xa9",
                  win32::toUtf8(title), MessageBoxStyle::OkCritical);
    answerer.join();
    EXPECT_TRUE(closed);
    EXPECT_EQ(seenText, L"Error has occured in 'LongFileName'\nFileName: C:\\caf\u00e9");
}

}  // namespace
}  // namespace snapdesk
