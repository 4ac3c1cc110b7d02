// One capture of an 800 x 600 window under Wine, against a bare 1:1 copy of the same window
// (GetWindowDC, compatible DC and bitmap, BitBlt), and the GDI objects alive after 1,000.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_picture.h"
#include "platform/win32/win32_platform.h"
#include "snapshots/graphics_code.h"
#include "test_apps.h"

using namespace snapdesk;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kCaptures = 1000;

double millisecondsSince(Clock::time_point start, int runs) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / runs;
}

void bareCopy(HWND window, int width, int height) {
    HDC source = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
}

}  // namespace

int main() {
    OleInitialize(nullptr);
    auto program = testing::startMdiTest({L"--title", L"Capture Bench", L"--doc", L"page.txt"});
    const HWND frame = testing::waitForMdiFrame(program);
    if (frame == nullptr) {
        std::printf("mditest did not start\n");
        return 1;
    }
    SetWindowPos(frame, HWND_TOP, 10, 10, 800, 600, SWP_SHOWWINDOW);
    if (!testing::bringToFront(frame)) {
        std::printf("the window did not come to the front\n");
        return 1;
    }
    Win32Platform system;
    Platform& platform = system.platform();
    const WindowHandle window = win32::toHandle(frame);

    const int aliveBefore = win32::gdiObjectsAlive();
    Rect rect;
    int nonEmpty = 0;
    auto start = Clock::now();
    for (int k = 0; k < kCaptures; ++k) {
        const PicturePtr picture = captureWindow(platform, window, rect);
        nonEmpty += picture && picture->width() == 193 && picture->height() == 145 ? 1 : 0;
    }
    const double capture = millisecondsSince(start, kCaptures);
    const int aliveAfter = win32::gdiObjectsAlive();

    start = Clock::now();
    for (int k = 0; k < kCaptures; ++k) {
        bareCopy(frame, rect.width(), rect.height());
    }
    const double bare = millisecondsSince(start, kCaptures);

    std::printf("window %dx%d, %d of %d captures gave a 193x145 picture\n", rect.width(),
                rect.height(), nonEmpty, kCaptures);
    std::printf("capture %.3f ms, bare 1:1 copy %.3f ms, ratio %.2f\n", capture, bare,
                capture / bare);
    std::printf("GDI objects alive: before %d, after %d captures %d\n", aliveBefore, kCaptures,
                aliveAfter);
    program.close();
    OleUninitialize();
    return nonEmpty == kCaptures && aliveAfter == aliveBefore ? 0 : 1;
}
