#pragma once

// The test's side of inside_probe.dll: hooks a program's thread and reads the records the
// probe writes there (inside_probe.h).
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "menu_items.h"
#include "test_apps.h"

namespace snapdesk::testing {

struct ProbeRecord {
    std::wstring kind;
    std::vector<std::wstring> lines;
};

class InsideProbe {
  public:
    // Starts an empty record file and hooks the thread of that window.
    explicit InsideProbe(HWND window);
    ~InsideProbe();
    InsideProbe(const InsideProbe&) = delete;
    InsideProbe& operator=(const InsideProbe&) = delete;

    bool attached() const { return attached_; }
    // The records written so far, in order.
    std::vector<ProbeRecord> records() const;
    // The records of that kind written so far.
    std::size_t count(const std::wstring& kind) const;
    // Waits until the record of that kind numbered `index` (from 0) has been written.
    std::optional<ProbeRecord> waitForRecord(const std::wstring& kind, std::size_t index,
                                             Milliseconds timeout = Milliseconds{5000}) const;
    // The window's menu bar as its own thread sees it now.
    std::optional<ShownMenu> menuBar() const;
    // Whether the window's tray icon is registered now.
    std::optional<bool> trayIconPresent() const;
    // Deletes the tray icon inside the program, as a restarting shell loses it; then whether
    // it is registered.
    std::optional<bool> dropTrayIcon() const;
    // The toolbar's image size, the tab height and the cut texts of the dialogs on screen,
    // measured inside the program ("scale" in inside_probe.h).
    std::optional<ProbeRecord> scale() const;

  private:
    // Asks the probe to look and waits for the new record of that kind.
    std::optional<ProbeRecord> look(const std::wstring& kind, WPARAM request = 0) const;
    static std::optional<bool> iconPresent(const std::optional<ProbeRecord>& tray);

    HWND window_;
    HMODULE module_ = nullptr;
    bool attached_ = false;
};

}  // namespace snapdesk::testing
