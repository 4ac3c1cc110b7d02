// Start-up of snapdesk.exe under Wine with stored settings, from CreateProcess until its main
// window is visible with a tile for the open document, read from outside as a user sees it;
// against a trivial program (mditest.exe with one document) until its first visible window.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bench_stats.h"
#include "snapdesk_app.h"
#include "test_apps.h"

using namespace snapdesk;
using namespace snapdesk::bench;
using namespace snapdesk::testing;

namespace {

constexpr int kStarts = 7;
constexpr Milliseconds kStartTimeout{60000};
constexpr wchar_t kDocument[] = L"Letter.txt";

// A stored set as a user who has run the program before has it; no pictures at start-up.
void storeSettings() {
    const std::pair<const wchar_t*, const wchar_t*> settings[] = {
        {L"Height", L"9000"},      {L"Width", L"12000"},     {L"autoLoad", L"no"},
        {L"singleClick", L"yes"},  {L"autoUpdates", L"yes"}, {L"displayFolders", L"yes"},
        {L"tabs", L"2"},           {L"Left", L"0"},          {L"Top", L"0"},
        {L"Maximized", L"no"},     {L"TextLabels", L"yes"},  {L"MaximizeLaunch", L"no"},
        {L"Update_Setting", L"2"},
    };
    for (const auto& [name, value] : settings) {
        storeSnapdeskSetting(name, value);
    }
}

struct Start {
    double windowSeconds = -1.0;  // to the first visible window
    double seconds = -1.0;        // to the first visible window (with its tile, for Snapdesk)
    double idleSeconds = -1.0;    // to the program's first wait for input after that
};

Start startTrivialProgram() {
    Start s;
    const auto t0 = Clock::now();
    Program program = startMdiTest({L"--title", L"Trivial", L"--doc", L"One.txt"});
    const HWND frame = program.waitForWindow(
        [](HWND w) { return classNameOf(w) == L"MdiTestFrame" && IsWindowVisible(w); },
        kStartTimeout);
    if (frame != nullptr) {
        s.seconds = millisecondsSince(t0) / 1000.0;
        program.waitForInputIdle(Milliseconds{5000});
        s.idleSeconds = millisecondsSince(t0) / 1000.0;
    }
    program.close();
    return s;
}

Start startSnapdesk(bool& closedCleanly) {
    Start s;
    storeSettings();
    const auto t0 = Clock::now();
    SnapdeskApp app;
    s.windowSeconds = millisecondsSince(t0) / 1000.0;
    if (app.started() && app.waitForTile(kDocument, kStartTimeout)) {
        s.seconds = millisecondsSince(t0) / 1000.0;
        app.program().waitForInputIdle(Milliseconds{5000});
        s.idleSeconds = millisecondsSince(t0) / 1000.0;
    } else {
        std::printf("Snapdesk %s; tiles seen:",
                    app.started() ? "showed its window" : "showed none");
        for (const Tile& tile : app.tiles()) {
            std::printf(" \"%ls\"", tile.fileName.c_str());
        }
        std::printf("\n");
    }
    closedCleanly = app.closeAndWait() && closedCleanly;
    return s;
}

}  // namespace

int main() {
    // The window the panel must show a tile for.
    Program desk = startMdiTest({L"--title", L"Writer", L"--doc", kDocument});
    if (waitForMdiFrame(desk) == nullptr) {
        std::printf("the document window did not appear\n");
        return 1;
    }
    // First starts load the programs' files into the cache (and may build Snapdesk's folder
    // tree); they are shown apart and not counted.
    bool closedCleanly = true;
    const Start coldTrivial = startTrivialProgram();
    const Start coldSnapdesk = startSnapdesk(closedCleanly);
    std::printf("first starts (not counted): trivial %.3f s, Snapdesk %.3f s\n",
                coldTrivial.seconds, coldSnapdesk.seconds);

    std::vector<double> trivial;
    std::vector<double> trivialIdle;
    std::vector<double> snapdesk;
    std::vector<double> snapdeskIdle;
    std::vector<double> snapdeskWindow;
    for (int i = 0; i < kStarts; ++i) {
        const Start t = startTrivialProgram();
        const Start s = startSnapdesk(closedCleanly);
        if (t.seconds < 0 || s.seconds < 0) {
            std::printf("start %d: %s did not show its window in time\n", i + 1,
                        t.seconds < 0 ? "the trivial program" : "Snapdesk");
            return 1;
        }
        trivial.push_back(t.seconds);
        trivialIdle.push_back(t.idleSeconds);
        snapdesk.push_back(s.seconds);
        snapdeskIdle.push_back(s.idleSeconds);
        snapdeskWindow.push_back(s.windowSeconds);
        std::printf("start %d: trivial %.3f s, Snapdesk %.3f s (window %.3f s)\n", i + 1, t.seconds,
                    s.seconds, s.windowSeconds);
    }
    const double base = median(trivial);
    const double ours = median(snapdesk);
    std::printf("settings stored, autoLoad \"no\" (no pictures at start-up), %d starts each\n",
                kStarts);
    std::printf("trivial program to its first visible window: median %.3f s (to idle %.3f s)\n",
                base, median(trivialIdle));
    std::printf("Snapdesk to its main window with the tile shown: median %.3f s (to idle %.3f s)\n",
                ours, median(snapdeskIdle));
    std::printf("Snapdesk to its main window visible: median %.3f s\n", median(snapdeskWindow));
    std::printf("Snapdesk / trivial %.2f\n", ours / base);
    if (!closedCleanly) {
        std::printf("Snapdesk did not close on WM_CLOSE every time\n");
    }
    return closedCleanly ? 0 : 1;
}
