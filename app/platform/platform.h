#pragma once

#include "platform/display.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/ui.h"
#include "platform/window_manager.h"
#include "platform/window_renderer.h"

namespace snapdesk {

// The ports the core runs on: the real Win32 adapters or the simulated desktop.
struct Platform {
    WindowManager& windows;
    Processes& processes;
    Display& display;
    FileSystem& files;
    Ui& ui;
    Registry& registry;
    // Pictures of windows in the background (not a capture of the screen).
    WindowRenderer& renderer;
};

}  // namespace snapdesk
