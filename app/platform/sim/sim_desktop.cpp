#include "platform/sim/sim_desktop.h"

#include <algorithm>
#include <sstream>

namespace snapdesk::sim {

std::string handleText(WindowHandle h) {
    std::ostringstream out;
    out << "0x" << std::hex << h;
    return out.str();
}

namespace {

std::string hex(WindowHandle h) {
    return handleText(h);
}

// The values LoadIcon(NULL, id) stands for in the simulation.
constexpr IconHandle kStockApplication = 32512;
constexpr IconHandle kStockWindowLogo = 32517;

}  // namespace

WindowHandle SimDesktop::addWindow(SimWindow window) {
    const WindowHandle handle = nextHandle_++;
    if (window.parent != 0) {
        children_[window.parent].push_back(handle);
    } else {
        zOrder_.push_back(handle);
    }
    windows_[handle] = std::move(window);
    return handle;
}

SimWindow& SimDesktop::window(WindowHandle handle) {
    return windows_.at(handle);
}

void SimDesktop::destroyWindow(WindowHandle handle) {
    if (!windows_.contains(handle)) {
        return;
    }
    const auto kids = children_[handle];
    for (const auto child : kids) {
        destroyWindow(child);
    }
    children_.erase(handle);
    auto& siblings = siblingsOf(handle);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
    windows_.erase(handle);
    if (foreground_ == handle) {
        foreground_ = 0;
    }
}

const SimWindow* SimDesktop::find(WindowHandle handle) {
    if (queryHook_) {
        queryHook_(handle);
    }
    const auto it = windows_.find(handle);
    return it == windows_.end() ? nullptr : &it->second;
}

std::vector<WindowHandle>& SimDesktop::siblingsOf(WindowHandle handle) {
    const auto it = windows_.find(handle);
    if (it != windows_.end() && it->second.parent != 0) {
        return children_[it->second.parent];
    }
    return zOrder_;
}

WindowHandle SimDesktop::topLevelOf(WindowHandle handle) {
    while (windows_.contains(handle) && windows_.at(handle).parent != 0) {
        handle = windows_.at(handle).parent;
    }
    return handle;
}

WindowHandle SimDesktop::topWindow() {
    return zOrder_.empty() ? 0 : zOrder_.front();
}

WindowHandle SimDesktop::nextWindow(WindowHandle window) {
    if (!windows_.contains(window)) {
        return 0;
    }
    const auto& siblings = siblingsOf(window);
    // Walks ask for the window after the one they were just given: try there first.
    std::size_t& hint = walkHints_[&siblings];
    std::size_t at =
        hint < siblings.size() && siblings[hint] == window
            ? hint
            : static_cast<std::size_t>(std::find(siblings.begin(), siblings.end(), window) -
                                       siblings.begin());
    if (at + 1 >= siblings.size()) {
        return 0;
    }
    hint = at + 1;
    return siblings[at + 1];
}

WindowHandle SimDesktop::firstChild(WindowHandle window) {
    const auto it = children_.find(window);
    return (it == children_.end() || it->second.empty()) ? 0 : it->second.front();
}

bool SimDesktop::isWindow(WindowHandle window) {
    return find(window) != nullptr;
}

bool SimDesktop::isVisible(WindowHandle window) {
    for (auto* w = find(window); w != nullptr; w = w->parent ? find(w->parent) : nullptr) {
        if (!w->visible) {
            return false;
        }
        if (w->parent == 0) {
            return true;
        }
    }
    return false;
}

bool SimDesktop::isMinimized(WindowHandle window) {
    const auto* w = find(window);
    return w != nullptr && w->minimized;
}

bool SimDesktop::isZoomed(WindowHandle window) {
    const auto* w = find(window);
    return w != nullptr && w->zoomed;
}

ShowState SimDesktop::showState(WindowHandle window) {
    return {isVisible(window), isMinimized(window), isZoomed(window)};
}

std::uint32_t SimDesktop::cloakedBy(WindowHandle window) {
    const auto* w = find(window);
    return w ? w->cloak : 0;
}

DesktopPlace SimDesktop::desktopPlaceOf(WindowHandle window) {
    const auto* w = find(window);
    return w ? w->desktop : DesktopPlace::Unknown;
}

std::string SimDesktop::windowText(WindowHandle window) {
    const auto* w = find(window);
    return w ? w->text : "";
}

std::string SimDesktop::className(WindowHandle window, int maxChars) {
    const auto* w = find(window);
    if (w == nullptr || maxChars <= 1) {
        return "";
    }
    return w->className.substr(0, static_cast<std::size_t>(maxChars - 1));
}

std::uint32_t SimDesktop::extendedStyle(WindowHandle window) {
    const auto* w = find(window);
    return w ? w->exStyle : 0;
}

WindowHandle SimDesktop::owner(WindowHandle window) {
    const auto* w = find(window);
    return w ? w->owner : 0;
}

Rect SimDesktop::windowRect(WindowHandle window) {
    const auto* w = find(window);
    return w ? w->rect : Rect{};
}

IconAnswer SimDesktop::queryBigIcon(WindowHandle window, unsigned timeoutMs) {
    ++iconQueries_;
    const auto* w = find(window);
    if (w == nullptr) {
        return {};
    }
    if (w->iconRefused) {
        return {false, 0, true};
    }
    if (w->hung) {
        hungWaitMs_ += timeoutMs;
        return {};
    }
    return {true, w->bigIcon};
}

IconHandle SimDesktop::classIcon(WindowHandle window) {
    const auto* w = find(window);
    return w ? w->classIcon : 0;
}

IconHandle SimDesktop::stockIcon(StockIcon which) {
    return which == StockIcon::Application ? kStockApplication : kStockWindowLogo;
}

std::uint32_t SimDesktop::threadOf(WindowHandle window) {
    const auto* w = find(window);
    return w ? w->thread : 0;
}

std::uint32_t SimDesktop::processOf(WindowHandle window) {
    const auto* w = find(window);
    return w ? w->process : 0;
}

bool SimDesktop::attachThreadInput(std::uint32_t from, std::uint32_t to, bool attach) {
    log("AttachThreadInput(" + std::to_string(from) + "," + std::to_string(to) + "," +
        (attach ? "1" : "0") + ")");
    return true;
}

WindowHandle SimDesktop::foregroundWindow() {
    return foreground_;
}

bool SimDesktop::setForegroundWindow(WindowHandle window) {
    log("SetForegroundWindow(" + hex(window) + ")");
    if (!windows_.contains(window)) {
        return false;
    }
    foreground_ = topLevelOf(window);
    return true;
}

void SimDesktop::raise(WindowHandle window) {
    if (windows_.contains(window)) {
        auto& siblings = siblingsOf(window);
        siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
        siblings.insert(siblings.begin(), window);
    }
}

void SimDesktop::bringWindowToTop(WindowHandle window) {
    log("BringWindowToTop(" + hex(window) + ")");
    raise(window);
}

void SimDesktop::showWindow(WindowHandle window, ShowCommand command) {
    log("ShowWindow(" + hex(window) + "," + std::to_string(static_cast<int>(command)) + ")");
    if (!windows_.contains(window)) {
        return;
    }
    auto& w = windows_.at(window);
    w.visible = true;
    if (command == ShowCommand::Maximize) {
        w.minimized = false;
        w.zoomed = true;
    } else if (command == ShowCommand::Minimize) {
        w.minimized = true;
    } else if (command == ShowCommand::Restore) {
        // Restore undoes a minimise first, else a maximise.
        if (w.minimized) {
            w.minimized = false;
        } else {
            w.zoomed = false;
        }
    }
}

void SimDesktop::placeOnTop(WindowHandle window) {
    log("SetWindowPos(" + hex(window) + ",HWND_TOP)");
    raise(window);
}

WindowHandle SimDesktop::mdiActive(WindowHandle client, bool* maximized) {
    log("WM_MDIGETACTIVE(" + hex(client) + ")");
    const auto* c = find(client);
    const WindowHandle active = c ? c->mdiActive : 0;
    if (maximized != nullptr) {
        *maximized = active != 0 && windows_.contains(active) && windows_.at(active).zoomed;
    }
    return active;
}

void SimDesktop::sendMdiMessage(WindowHandle client, MdiMessage message, WindowHandle document) {
    const bool maximize = message == MdiMessage::Maximize;
    const char* name = message == MdiMessage::Activate ? "WM_MDIACTIVATE("
                       : maximize                      ? "WM_MDIMAXIMIZE("
                                                       : "WM_MDIRESTORE(";
    log(name + hex(client) + "," + hex(document) + ")");
    if (!windows_.contains(client) || !windows_.contains(document)) {
        return;
    }
    if (message == MdiMessage::Activate) {
        windows_.at(client).mdiActive = document;
        return;
    }
    auto& doc = windows_.at(document);
    doc.minimized = false;
    doc.zoomed = maximize;
    if (maximize) {
        windows_.at(client).mdiActive = document;
    }
}

std::optional<WindowPlacement> SimDesktop::windowPlacement(WindowHandle window) {
    const auto* w = find(window);
    if (w == nullptr) {
        return std::nullopt;
    }
    const WindowState state = w->minimized ? WindowState::Minimized
                              : w->zoomed  ? WindowState::Maximized
                                           : WindowState::Normal;
    return WindowPlacement{state, w->rect};
}

void SimDesktop::setWindowPlacement(WindowHandle window, const WindowPlacement& placement) {
    const Rect& r = placement.normal;
    log("SetWindowPlacement(" + hex(window) + "," +
        std::to_string(static_cast<int>(placement.state)) + "," + std::to_string(r.left) + "," +
        std::to_string(r.top) + "," + std::to_string(r.right) + "," + std::to_string(r.bottom) +
        ")");
    if (!windows_.contains(window)) {
        return;
    }
    auto& w = windows_.at(window);
    w.rect = r;
    w.minimized = placement.state == WindowState::Minimized;
    w.zoomed = placement.state == WindowState::Maximized;
}

void SimDesktop::moveChild(WindowHandle window, const Rect& r) {
    log("MoveWindow(" + hex(window) + "," + std::to_string(r.left) + "," + std::to_string(r.top) +
        "," + std::to_string(r.right) + "," + std::to_string(r.bottom) + ")");
    if (windows_.contains(window)) {
        windows_.at(window).rect = r;
    }
}

std::optional<std::string> SimDesktop::moduleFileName(std::uint32_t processId) {
    if (denied_.contains(processId) || !paths_.contains(processId)) {
        return std::nullopt;
    }
    return paths_.at(processId);
}

std::vector<ProcessEntry> SimDesktop::processSnapshot() {
    std::vector<ProcessEntry> entries;
    for (const auto& [id, path] : paths_) {
        entries.push_back({id, path});
    }
    return entries;
}

std::optional<std::string> SimDesktop::applicationUserModelId(std::uint32_t processId) {
    if (denied_.contains(processId) || !appIds_.contains(processId)) {
        return std::nullopt;
    }
    return appIds_.at(processId);
}

}  // namespace snapdesk::sim
