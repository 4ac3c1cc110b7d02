// A refresh tick of 50 real windows plus five MDI documents under Wine that also fills five
// tiles with pictures the documents drew of themselves (PrintWindow on the worker thread),
// against the same tick without: what the user's thread pays for the background pictures.
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
// Between two rounds the worker draws the five documents, as it does between two ticks.
constexpr DWORD kWorkerTimeMs = 400;

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
    testing::Program mdi =
        testing::startMdiTest({L"--doc", L"one.txt", L"--doc", L"two.txt", L"--doc", L"three.txt",
                               L"--doc", L"four.txt", L"--doc", L"five.txt"});
    const HWND frame = testing::waitForMdiFrame(mdi);
    if (frame == nullptr ||
        !testing::waitUntil([&] { return many.visibleWindowCount() == kWindows; },
                            testing::Milliseconds{30000})) {
        std::printf("the test windows did not appear\n");
        return 1;
    }
    Win32Platform system;
    Platform& ports = system.platform();
    CoffeeShopList list(ports);
    // Steady state: every window classified, and asked once for its own picture.
    for (int pass = 0; pass < 4; ++pass) {
        list.refreshList();
        Sleep(kWorkerTimeMs);
    }

    // Five tiles without a picture, served by a renderer of their own.
    Win32WindowRenderer renderer;
    Platform withRenderer{ports.windows, ports.processes, ports.display, ports.files,
                          ports.ui,      ports.registry,  renderer};
    ProvisionalPictures pictures(withRenderer);
    std::vector<TrackedWindow> tiles;
    for (const HWND document : testing::mdiDocumentsOf(frame)) {
        TrackedWindow tile;
        tile.hWnd = win32::toHandle(document);
        tile.hTopWnd = win32::toHandle(frame);
        tile.hClient = win32::toHandle(testing::mdiClientOf(frame));
        tile.doDisplay = true;
        tiles.push_back(tile);
    }
    if (tiles.size() != kDocuments) {
        std::printf("the documents did not appear\n");
        return 1;
    }

    int filled = 0;
    const auto plainTick = [&] { list.refreshList(); };
    const auto fillingTick = [&] {
        list.refreshList();
        pictures.collect(tiles);
        pictures.request(tiles, kDocuments);
    };
    const auto emptyTiles = [&] {
        for (TrackedWindow& tile : tiles) {
            filled += tile.photoIsProvisional ? 1 : 0;
            tile.thePhoto.reset();
            tile.photoIsProvisional = false;
        }
    };
    fillingTick();  // the first requests
    Sleep(kWorkerTimeMs);

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
        emptyTiles();
        Sleep(kWorkerTimeMs);
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
