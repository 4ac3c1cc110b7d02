// One steady refresh of n simulated windows, against a bare walk of the same desktop.
// Prints microseconds per window for several n, to show that a refresh grows linearly.
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/sim/sim_platform.h"
#include "tracking/coffee_shop_list.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace snapdesk;

double microseconds(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

// A desktop of n windows: every fifth one a word-processor frame with two documents.
void furnish(sim::SimPlatform& machine, int n) {
    auto& desktop = machine.desktop;
    desktop.setProcessPath(1, "C:\\Windows\\notepad.exe");
    desktop.setProcessPath(2, "C:\\Office\\WINWORD.EXE");
    machine.files.addFile("C:\\Windows\\notepad.exe");
    machine.files.addFile("C:\\Office\\WINWORD.EXE");
    int made = 0;
    for (int k = 0; made < n; ++k) {
        sim::SimWindow w;
        w.bigIcon = 0x7001;
        if (k % 5 == 4 && made + 2 <= n) {
            w.text = "Microsoft Word";
            w.process = 2;
            const auto frame = desktop.addWindow(w);
            sim::SimWindow client;
            client.parent = frame;
            const auto mdiClient = desktop.addWindow(client);
            for (int d = 0; d < 2; ++d) {
                sim::SimWindow doc;
                doc.parent = mdiClient;
                doc.bigIcon = 0x7001;
                doc.text = "report" + std::to_string(k) + "-" + std::to_string(d) + ".doc";
                desktop.addWindow(doc);
            }
            made += 2;
        } else {
            w.text = "file" + std::to_string(k) + ".txt - Notepad";
            w.process = 1;
            desktop.addWindow(w);
            ++made;
        }
    }
}

template <typename F>
double perRun(int runs, F&& f) {
    const auto start = Clock::now();
    for (int r = 0; r < runs; ++r) {
        f();
    }
    return microseconds(Clock::now() - start) / runs;
}

}  // namespace

int main() {
    std::printf("%8s %14s %14s %12s %10s\n", "windows", "refresh us/win", "walk us/win",
                "refresh/walk", "records");
    double firstPerWindow = 0;
    double lastPerWindow = 0;
    for (const int n : {50, 100, 250, 500}) {
        sim::SimPlatform machine;
        furnish(machine, n);
        CoffeeShopList list(machine.platform);
        list.refreshList();  // first pass: executables and names
        constexpr int kRuns = 20;
        const double refresh = perRun(kRuns, [&] { list.refreshList(); });
        std::size_t textBytes = 0;
        const double walk = perRun(kRuns, [&] {
            auto& d = machine.desktop;
            for (auto w = d.topWindow(); w != 0; w = d.nextWindow(w)) {
                textBytes += d.windowText(w).size();
            }
        });
        const double perWindow = refresh / n;
        if (firstPerWindow == 0) {
            firstPerWindow = perWindow;
        }
        lastPerWindow = perWindow;
        std::printf("%8d %14.2f %14.2f %12.1f %10ld\n", n, perWindow, walk / n, refresh / walk,
                    list.count());
        if (textBytes == 0) {
            return 1;
        }
    }
    std::printf("cost per window at 500 / at 50: %.2f (1.00 is linear)\n",
                lastPerWindow / firstPerWindow);
    return 0;
}
