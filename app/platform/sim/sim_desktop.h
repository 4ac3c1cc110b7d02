#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/processes.h"
#include "platform/window_manager.h"

namespace snapdesk::sim {

// How handles appear in the call log.
std::string handleText(WindowHandle handle);

struct SimWindow {
    std::string text;
    std::string className = "SimWindow";
    std::uint32_t exStyle = 0;
    WindowHandle parent = 0;  // child windows only
    WindowHandle owner = 0;   // top-level windows only
    bool visible = true;
    bool minimized = false;
    bool zoomed = false;
    std::uint32_t cloak = 0;  // CloakBits
    DesktopPlace desktop = DesktopPlace::Unknown;
    Rect rect{0, 0, 800, 600};  // normal-state rectangle, as placement reports it
    IconHandle bigIcon = 0;
    IconHandle classIcon = 0;
    bool hung = false;         // does not answer messages
    bool iconRefused = false;  // icon questions cannot reach its process
    std::uint32_t thread = 1;
    std::uint32_t process = 1;
    WindowHandle mdiActive = 0;     // for an MDI client: its active document
    bool drawsWhenPrinted = false;  // asked to draw itself, it leaves one colour unless set
};

// An in-memory desktop: windows in Z-order with their children, and the processes behind
// them. Every call that changes the desktop is logged, so tests can check call sequences.
class SimDesktop : public WindowManager, public Processes {
  public:
    // Top-level windows are added at the bottom of the Z-order; children at the end of
    // their parent's list.
    WindowHandle addWindow(SimWindow window);
    SimWindow& window(WindowHandle handle);
    void destroyWindow(WindowHandle handle);  // with its children
    void setForeground(WindowHandle handle) { foreground_ = handle; }

    void setProcessPath(std::uint32_t process, std::string path) { paths_[process] = path; }
    // The process belongs to a packaged program with this application id.
    void setProcessAppId(std::uint32_t process, std::string appId) { appIds_[process] = appId; }
    void denyProcess(std::uint32_t process) { denied_.insert(process); }
    void allowProcess(std::uint32_t process) { denied_.erase(process); }
    void setWindowsNT(bool nt) { windowsNT_ = nt; }
    // Called when a window is queried: lets a test destroy windows in the middle of a pass.
    void onQuery(std::function<void(WindowHandle)> hook) { queryHook_ = std::move(hook); }

    // The log of changing calls, e.g. "BringWindowToTop(0x101)"; others may add to it.
    void log(std::string call) { calls_.push_back(std::move(call)); }
    const std::vector<std::string>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }
    int iconQueries() const { return iconQueries_; }
    unsigned hungWaitMs() const { return hungWaitMs_; }

    // WindowManager
    WindowHandle topWindow() override;
    WindowHandle nextWindow(WindowHandle window) override;
    WindowHandle firstChild(WindowHandle window) override;
    bool isWindow(WindowHandle window) override;
    bool isVisible(WindowHandle window) override;
    bool isMinimized(WindowHandle window) override;
    bool isZoomed(WindowHandle window) override;
    ShowState showState(WindowHandle window) override;
    std::uint32_t cloakedBy(WindowHandle window) override;
    DesktopPlace desktopPlaceOf(WindowHandle window) override;
    std::string windowText(WindowHandle window) override;
    std::string className(WindowHandle window, int maxChars) override;
    std::uint32_t extendedStyle(WindowHandle window) override;
    WindowHandle owner(WindowHandle window) override;
    Rect windowRect(WindowHandle window) override;
    IconAnswer queryBigIcon(WindowHandle window, unsigned timeoutMs) override;
    IconHandle classIcon(WindowHandle window) override;
    IconHandle stockIcon(StockIcon which) override;
    std::uint32_t threadOf(WindowHandle window) override;
    std::uint32_t processOf(WindowHandle window) override;
    bool attachThreadInput(std::uint32_t from, std::uint32_t to, bool attach) override;
    WindowHandle foregroundWindow() override;
    bool setForegroundWindow(WindowHandle window) override;
    void bringWindowToTop(WindowHandle window) override;
    void showWindow(WindowHandle window, ShowCommand command) override;
    void placeOnTop(WindowHandle window) override;
    WindowHandle mdiActive(WindowHandle client, bool* maximized) override;
    void sendMdiMessage(WindowHandle client, MdiMessage message, WindowHandle document) override;
    std::optional<WindowPlacement> windowPlacement(WindowHandle window) override;
    void setWindowPlacement(WindowHandle window, const WindowPlacement& placement) override;
    void moveChild(WindowHandle window, const Rect& rect) override;
    std::vector<MonitorArea> monitors() override { return monitors_; }
    // The desktop's monitors; one of 1024 x 768 with a task bar of 30 pixels unless set.
    void setMonitors(std::vector<MonitorArea> monitors) { monitors_ = std::move(monitors); }

    // Processes
    bool isWindowsNT() override { return windowsNT_; }
    std::optional<std::string> moduleFileName(std::uint32_t processId) override;
    std::vector<ProcessEntry> processSnapshot() override;
    std::optional<std::string> applicationUserModelId(std::uint32_t processId) override;

  private:
    const SimWindow* find(WindowHandle handle);
    std::vector<WindowHandle>& siblingsOf(WindowHandle handle);

    WindowHandle topLevelOf(WindowHandle handle);
    void raise(WindowHandle window);

    std::map<WindowHandle, SimWindow> windows_;
    std::vector<WindowHandle> zOrder_;
    std::map<WindowHandle, std::vector<WindowHandle>> children_;
    WindowHandle nextHandle_ = 0x100;
    WindowHandle foreground_ = 0;
    std::map<std::uint32_t, std::string> paths_;
    std::map<std::uint32_t, std::string> appIds_;
    std::set<std::uint32_t> denied_;
    bool windowsNT_ = true;
    std::vector<std::string> calls_;
    std::function<void(WindowHandle)> queryHook_;
    int iconQueries_ = 0;
    unsigned hungWaitMs_ = 0;
    std::map<const std::vector<WindowHandle>*, std::size_t> walkHints_;
    std::vector<MonitorArea> monitors_{{{0, 0, 1024, 768}, {0, 0, 1024, 738}}};
};

}  // namespace snapdesk::sim
