#pragma once

#include <string>

#include "platform/sim/sim_platform.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk::testing {

// A simulated machine with a window list on it, and shorthands to furnish its desktop.
struct SimWorld {
    sim::SimPlatform machine;
    sim::SimDesktop& desktop = machine.desktop;
    CoffeeShopList list{machine.platform};

    static constexpr IconHandle kDocIcon = 0x7001;

    // A top-level window of a process whose executable is `exe`.
    WindowHandle topLevel(const std::string& text, std::uint32_t process = 1,
                          const std::string& exe = "C:\\Apps\\app.exe") {
        sim::SimWindow w;
        w.text = text;
        w.process = process;
        w.thread = process;
        w.bigIcon = kDocIcon;
        if (!exe.empty()) {
            desktop.setProcessPath(process, exe);
            machine.files.addFile(exe);
        }
        return desktop.addWindow(w);
    }

    WindowHandle child(WindowHandle parent, const std::string& text, IconHandle icon = kDocIcon) {
        sim::SimWindow w;
        w.text = text;
        w.parent = parent;
        w.bigIcon = icon;
        w.process = desktop.window(parent).process;
        w.thread = desktop.window(parent).thread;
        return desktop.addWindow(w);
    }

    struct Mdi {
        WindowHandle frame = 0;
        WindowHandle client = 0;
    };
    // A frame with an MDI client that holds no documents yet.
    Mdi mdiFrame(const std::string& text, std::uint32_t process = 2,
                 const std::string& exe = "C:\\Office\\WINWORD.EXE") {
        Mdi mdi;
        mdi.frame = topLevel(text, process, exe);
        mdi.client = child(mdi.frame, "", 0);
        return mdi;
    }

    // Position of a record by window, 0 when it is not tracked.
    long positionOf(WindowHandle window) const {
        for (long i = 1; i <= list.count(); ++i) {
            if (list.hWnd(i) == window) {
                return i;
            }
        }
        return 0;
    }
};

}  // namespace snapdesk::testing
