// A refresh tick of 50 real windows of another process under Wine that also fills five tiles
// with pictures their windows drew of themselves (PrintWindow on the worker thread), against
// the same tick without: what the user's thread pays for the background pictures. Wine carries
// WM_PRINT to no other process, so the five windows are this program's own, drawing on it.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_platform.h"
#include "test_apps.h"
#include "tracking/coffee_shop_list.h"
#include "tracking/provisional_pictures.h"

using namespace snapdesk;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kWindows = 50;
constexpr int kDocuments = 5;
constexpr int kRounds = 31;
// Between two rounds the worker draws the five windows, as it does between two ticks.
constexpr DWORD kWorkerTimeMs = 400;

LRESULT CALLBACK selfDrawingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PRINT) {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        RECT all{};
        GetWindowRect(window, &all);
        OffsetRect(&all, -all.left, -all.top);
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        RECT line{10, 10, all.right - 10, 30};
        FillRect(dc, &line, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Waits as the user's thread does between ticks: answering messages (the worker's WM_PRINT).
void pumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
}

double millisecondsOf(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    testing::Program many(testing::testAppPath(L"manywindows.exe") + L" " +
                          std::to_wstring(kWindows) + L" bench");
    if (!testing::waitUntil([&] { return many.visibleWindowCount() == kWindows; },
                            testing::Milliseconds{30000})) {
        std::printf("the test windows did not appear\n");
        return 1;
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = selfDrawingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"BenchDocument";
    RegisterClassW(&windowClass);
    std::vector<TrackedWindow> tiles;
    for (int k = 0; k < kDocuments; ++k) {
        const HWND document =
            CreateWindowExW(WS_EX_TOOLWINDOW, L"BenchDocument", L"document", WS_POPUP | WS_VISIBLE,
                            20 * k, 20 * k, 640, 480, nullptr, nullptr, nullptr, nullptr);
        TrackedWindow tile;
        tile.hWnd = tile.hTopWnd = tile.hClient = win32::toHandle(document);
        tile.doDisplay = true;
        tiles.push_back(tile);
    }

    Win32Platform system;
    Platform& ports = system.platform();
    CoffeeShopList list(ports);
    // Steady state: every window classified, and asked once for its own picture.
    for (int pass = 0; pass < 4; ++pass) {
        list.refreshList();
        pumpFor(kWorkerTimeMs);
    }

    // Five tiles without a picture, served by a renderer of their own.
    Win32WindowRenderer renderer;
    Platform withRenderer{ports.windows, ports.processes, ports.display, ports.files,
                          ports.ui,      ports.registry,  renderer};
    ProvisionalPictures pictures(withRenderer);

    int filled = 0;
    const auto plainTick = [&] { list.refreshList(); };
    // The pictures of the last tick are taken and let go (as a capture would replace them),
    // and the five windows asked again.
    const auto fillingTick = [&] {
        list.refreshList();
        pictures.collect(tiles);
        for (TrackedWindow& tile : tiles) {
            filled += tile.photoIsProvisional ? 1 : 0;
            tile.thePhoto.reset();
            tile.photoIsProvisional = false;
        }
        pictures.request(tiles, kDocuments);
    };
    fillingTick();  // the first requests
    pumpFor(kWorkerTimeMs);
    filled = 0;

    std::vector<double> plain;
    std::vector<double> filling;
    std::vector<double> ratios;
    for (int r = 0; r < kRounds; ++r) {
        double plainTime = 0;
        double fillingTime = 0;
        if (r % 2 == 0) {
            plainTime = millisecondsOf(plainTick);
            fillingTime = millisecondsOf(fillingTick);
        } else {
            fillingTime = millisecondsOf(fillingTick);
            plainTime = millisecondsOf(plainTick);
        }
        pumpFor(kWorkerTimeMs);
        plain.push_back(plainTime);
        filling.push_back(fillingTime);
        ratios.push_back(fillingTime / plainTime);
    }
    std::printf("records %ld; pictures filled %d in %d ticks (%d a tick expected)\n", list.count(),
                filled, kRounds, kDocuments);
    std::printf(
        "tick filling %d pictures %.3f ms, tick without %.3f ms (medians of %d rounds), ratio "
        "%.2f (goal: at most 1.5)\n",
        kDocuments, median(filling), median(plain), kRounds, median(ratios));
    many.close();
    return filled == kDocuments * kRounds ? 0 : 1;
}
