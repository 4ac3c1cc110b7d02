#pragma once

#include "platform/platform.h"
#include "platform/win32/win32_display.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_history_database.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_ui.h"
#include "platform/win32/win32_window_manager.h"
#include "platform/win32/win32_window_renderer.h"

namespace snapdesk {

// The real machine: one of each adapter; `platform()` hands them to the core.
class Win32Platform {
  public:
    Win32Platform() = default;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    Platform& platform() { return platform_; }
    // The browsers' history files, read through snapshots.
    HistoryDatabase& historyDatabase() { return historyDatabase_; }
    Win32Display& display() { return display_; }

  private:
    Win32WindowManager windows_;
    Win32Processes processes_;
    Win32Display display_;
    Win32FileSystem files_;
    Win32Ui ui_;
    Win32Registry registry_;
    Win32HistoryDatabase historyDatabase_;
    Win32WindowRenderer renderer_;
    Platform platform_{windows_, processes_, display_, files_, ui_, registry_, renderer_};
};

}  // namespace snapdesk
