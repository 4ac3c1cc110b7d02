#pragma once

#include "platform/display.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/ui.h"
#include "platform/window_manager.h"

namespace snapdesk {

// The ports the core runs on: the real Win32 adapters or the simulated desktop.
struct Platform {
    WindowManager& windows;
    Processes& processes;
    Display& display;
    FileSystem& files;
    Ui& ui;
    Registry& registry;
};

}  // namespace snapdesk
