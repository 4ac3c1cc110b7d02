// Win32WindowRenderer: windows of other programs drawn in the background, without coming
// forward; one that draws nothing and one that does not answer.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_picture.h"
#include "platform/win32/win32_window_renderer.h"
#include "test_apps.h"

namespace snapdesk {
namespace {

using Clock = std::chrono::steady_clock;

// Whether the bitmap shows the red the test windows draw.
bool showsDocumentRed(HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> bits(static_cast<std::size_t>(width) * height);
    const HDC screen = GetDC(nullptr);
    const int lines = GetDIBits(screen, bitmap, 0, height, bits.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (const std::uint32_t pixel : bits) {
        const unsigned red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
        if (lines == height && red > 150 && green < 90 && blue < 90) {
            return true;
        }
    }
    return false;
}

// The answers for these windows, collected until all are in or the time-out passes. Every
// collect returns at once, whatever the windows do.
std::vector<RenderedWindow> answers(WindowRenderer& renderer, std::size_t expected,
                                    Clock::duration& longestCollect) {
    std::vector<RenderedWindow> all;
    longestCollect = {};
    testing::waitUntil([&] {
        const auto start = Clock::now();
        for (auto& r : renderer.collect()) {
            all.push_back(std::move(r));
        }
        longestCollect = std::max(longestCollect, Clock::now() - start);
        return all.size() >= expected;
    });
    return all;
}

// A window that draws itself on WM_PRINT, as Windows' own controls do: red on the left half.
LRESULT CALLBACK selfDrawingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PRINT) {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        RECT all{};
        GetWindowRect(window, &all);
        OffsetRect(&all, -all.left, -all.top);
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        const HBRUSH red = CreateSolidBrush(RGB(200, 40, 40));
        RECT half{0, 0, all.right / 2, all.bottom};
        FillRect(dc, &half, red);
        DeleteObject(red);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Under Wine, WM_PRINT does not reach a window of another process (the device context is the
// caller's): a window of this process, answering on this thread, stands for one that draws.
TEST(WindowRendererTest, DrawsABackgroundWindowAndKnowsWhenNothingWasDrawn) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = selfDrawingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"SelfDrawingWindow";
    RegisterClassW(&windowClass);
    const HWND drawn = CreateWindowExW(0, L"SelfDrawingWindow", L"drawn", WS_POPUP | WS_VISIBLE, 50,
                                       50, 400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(drawn, nullptr);
    wchar_t path[MAX_PATH];
    GetSystemDirectoryW(path, MAX_PATH);
    testing::Program notepad(std::wstring(path) + L"\\notepad.exe");
    const HWND notepadWindow = notepad.waitForWindow([](HWND w) {
        return IsWindowVisible(w) &&
               testing::windowTextOf(w).find(L"Notepad") != std::wstring::npos;
    });
    ASSERT_NE(notepadWindow, nullptr);
    ASSERT_TRUE(testing::bringToFront(notepadWindow));
    const int before = win32::gdiObjectsAlive();
    {
        Win32WindowRenderer renderer;
        renderer.request(win32::toHandle(drawn), 120, 90);
        renderer.request(win32::toHandle(notepadWindow), 120, 90);
        Clock::duration longest{};
        const auto done = answers(renderer, 2, longest);
        ASSERT_EQ(done.size(), 2u);
        EXPECT_EQ(done[0].window, win32::toHandle(drawn));
        ASSERT_EQ(done[0].outcome, RenderOutcome::Drawn);
        ASSERT_NE(done[0].picture, nullptr);
        EXPECT_EQ(done[0].picture->width(), 120);
        EXPECT_EQ(done[0].picture->height(), 90);
        const auto* real = dynamic_cast<const Win32Picture*>(done[0].picture.get());
        ASSERT_NE(real, nullptr);
        EXPECT_TRUE(showsDocumentRed(real->bitmap(), 120, 90)) << "the window as it draws itself";
        // Wine's notepad leaves PrintWindow's bitmap one colour.
        EXPECT_EQ(done[1].outcome, RenderOutcome::Blank);
        EXPECT_EQ(done[1].picture, nullptr);
        EXPECT_EQ(GetForegroundWindow(), notepadWindow) << "nothing was brought forward";
    }
    DestroyWindow(drawn);
    EXPECT_EQ(win32::gdiObjectsAlive(), before) << "every DC and bitmap released";
}

TEST(WindowRendererTest, AWindowThatDoesNotAnswerIsSkippedWithoutHoldingUpTheCaller) {
    testing::Program mdi = testing::startMdiTest({L"--doc", L"stuck.txt", L"--doc", L"later.txt"});
    const HWND frame = testing::waitForMdiFrame(mdi);
    ASSERT_NE(frame, nullptr);
    const HWND stuck = testing::mdiDocumentTitled(frame, L"stuck.txt");
    ASSERT_TRUE(testing::hangMdiTest(frame, 20000));
    Win32WindowRenderer renderer;
    const auto start = Clock::now();
    renderer.request(win32::toHandle(stuck), 120, 90);
    renderer.request(win32::toHandle(frame), 120, 90);
    const auto queued = Clock::now() - start;
    Clock::duration longest{};
    const auto done = answers(renderer, 2, longest);
    ASSERT_EQ(done.size(), 2u) << "both answered while the program still hangs";
    EXPECT_EQ(done[0].outcome, RenderOutcome::NotAnswered);
    EXPECT_EQ(done[1].outcome, RenderOutcome::NotAnswered);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(15)) << "not after the hang ended";
    // The caller's thread only queues and takes results: asking the two windows itself would
    // cost it at least two time-outs of 100 ms.
    EXPECT_LT(queued, std::chrono::milliseconds(150));
    EXPECT_LT(longest, std::chrono::milliseconds(150));
}

}  // namespace
}  // namespace snapdesk
