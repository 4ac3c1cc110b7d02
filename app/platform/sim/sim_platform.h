#pragma once

#include "platform/platform.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_display.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_ui.h"
#include "platform/sim/sim_window_renderer.h"

namespace snapdesk::sim {

// A whole simulated machine; `platform` hands its parts to the core.
struct SimPlatform {
    SimDesktop desktop;
    SimDisplay display;
    SimFileSystem files;
    SimUi ui;
    SimRegistry registry;
    SimWindowRenderer renderer{desktop};
    Platform platform{desktop, desktop, display, files, ui, registry, renderer};

    SimPlatform() {
        ui.log = [this](const std::string& call) { desktop.log(call); };
    }
    SimPlatform(const SimPlatform&) = delete;
    SimPlatform& operator=(const SimPlatform&) = delete;
};

}  // namespace snapdesk::sim
