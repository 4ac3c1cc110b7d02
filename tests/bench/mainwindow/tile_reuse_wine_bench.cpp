// Tiles are made once and reused: 100 Timer1 ticks under Wine while programs with real
// windows open and close between them. Fails when more tiles were created than were ever
// shown at once.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "panel_bench_host.h"
#include "test_apps.h"

using namespace snapdesk;
using namespace snapdesk::bench;

namespace {

constexpr int kTicks = 100;
constexpr std::size_t kMaxPrograms = 6;
constexpr int kMaxWindowsPerProgram = 4;

// A fixed sequence, so every run sees the same openings and closings.
struct Sequence {
    std::uint32_t state = 12345;
    int next(int bound) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % static_cast<std::uint32_t>(bound));
    }
};

int visibleWindowsOf(const testing::Program& program) {
    int n = 0;
    for (const HWND w : program.windows()) {
        n += IsWindowVisible(w) ? 1 : 0;
    }
    return n;
}

struct Opened {
    std::unique_ptr<testing::Program> program;
    int windows = 0;
};

}  // namespace

int main() {
    PanelBenchHost host(1000, 760);
    if (host.window() == nullptr) {
        std::printf("the panel's window could not be created\n");
        return 1;
    }
    host.tick();
    pumpMessages();
    const long othersAtStart = host.list().count();

    Sequence sequence;
    std::vector<Opened> opened;
    int serial = 0;
    int openings = 0;
    int closings = 0;
    int maxShown = host.visibleTiles();
    long maxRecords = host.list().count();
    int mismatches = 0;
    for (int t = 0; t < kTicks; ++t) {
        const bool open =
            opened.empty() || (opened.size() < kMaxPrograms && sequence.next(100) < 55);
        if (open) {
            const int windows = 1 + sequence.next(kMaxWindowsPerProgram);
            Opened o;
            o.windows = windows;
            o.program = std::make_unique<testing::Program>(
                testing::testAppPath(L"manywindows.exe") + L" " + std::to_wstring(windows) +
                L" reuse" + std::to_wstring(++serial));
            const testing::Program& p = *o.program;
            if (!testing::waitUntil([&] { return visibleWindowsOf(p) == windows; },
                                    testing::Milliseconds{20000})) {
                std::printf("tick %d: the %d windows of a new program did not appear\n", t,
                            windows);
                return 1;
            }
            opened.push_back(std::move(o));
            ++openings;
        } else {
            const auto victim = opened.begin() + sequence.next(static_cast<int>(opened.size()));
            victim->program->close();
            if (!testing::waitUntil([&] { return victim->program->hasExited(); })) {
                std::printf("tick %d: a program did not close\n", t);
                return 1;
            }
            opened.erase(victim);
            ++closings;
        }
        host.tick();
        pumpMessages();
        const int shown = host.visibleTiles();
        // Every tracked window has its tile on screen, and no tile of a closed one stays.
        // (Other programs on the shared desktop count too: the list is the reference.)
        mismatches += shown != host.list().count() ? 1 : 0;
        maxShown = std::max(maxShown, shown);
        maxRecords = std::max(maxRecords, host.list().count());
    }
    const int created = host.view().tilesCreated();
    std::printf("%d ticks, %d programs opened and %d closed, %ld other windows tracked\n", kTicks,
                openings, closings, othersAtStart);
    std::printf(
        "tiles created %d (plus %d template), most tiles shown at once %d, most records "
        "%ld, panel's own count %d\n",
        created, host.view().templatesCreated(), maxShown, maxRecords, host.panel().tilesCreated());
    std::printf("ticks where the shown tiles did not match the tracked windows: %d\n", mismatches);
    const bool reused = created == maxShown && host.view().templatesCreated() == 1;
    std::printf("creations / most shown %.2f (goal: exactly 1): %s\n",
                maxShown > 0 ? static_cast<double>(created) / maxShown : 0.0,
                reused ? "tiles made once" : "FAILED");
    opened.clear();
    return reused && mismatches == 0 && !host.shutDownAsked() ? 0 : 1;
}
