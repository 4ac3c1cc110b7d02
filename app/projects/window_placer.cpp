#include "projects/window_placer.h"

#include "projects/window_placement.h"

namespace snapdesk {
namespace {

// The window that holds the record's: its frame, or the window itself.
WindowHandle frameOf(const CoffeeShopList& list, long record) {
    const WindowHandle top = list.hTopWnd(record);
    return top != 0 ? top : list.hWnd(record);
}

// An MDI document's window, 0 for a top-level one.
WindowHandle documentOf(const CoffeeShopList& list, long record) {
    const WindowHandle window = list.hWnd(record);
    return window != frameOf(list, record) ? window : 0;
}

}  // namespace

std::vector<std::string> recordPlacements(WindowManager& windows, const CoffeeShopList& list,
                                          const std::vector<long>& records) {
    const std::vector<MonitorArea> monitors = windows.monitors();
    std::set<WindowHandle> frames;
    std::vector<std::string> texts;
    for (const long k : records) {
        SavedPlacement saved;
        const WindowHandle frame = frameOf(list, k);
        if (frames.insert(frame).second) {
            saved.window = windows.windowPlacement(frame);
            if (saved.window) {
                saved.monitorWork = workAreaHolding(saved.window->normal, monitors);
            }
        }
        if (const WindowHandle document = documentOf(list, k); document != 0) {
            saved.document = windows.windowPlacement(document);
        }
        texts.push_back(placementText(saved));
    }
    return texts;
}

void WindowPlacer::startOpen() {
    placed_.clear();
}

void WindowPlacer::place(const CoffeeShopList& list, long record, const std::string& placement) {
    const SavedPlacement saved = parsePlacement(placement);
    const WindowHandle frame = frameOf(list, record);
    if (saved.window && frame != 0 && placed_.insert(frame).second) {
        const Rect rect =
            placedOnMonitors(saved.window->normal, saved.monitorWork, windows_.monitors());
        windows_.setWindowPlacement(frame, {saved.window->state, rect});
    }
    const WindowHandle document = documentOf(list, record);
    if (!saved.document || document == 0 || !placed_.insert(document).second) {
        return;
    }
    // Moved as a normal document first, so that the move sets the rectangle it restores to.
    const WindowHandle client = list.hClient(record);
    windows_.sendMdiMessage(client, MdiMessage::Restore, document);
    windows_.moveChild(document, saved.document->normal);
    if (saved.document->state == WindowState::Maximized) {
        windows_.sendMdiMessage(client, MdiMessage::Maximize, document);
    } else if (saved.document->state == WindowState::Minimized) {
        windows_.showWindow(document, ShowCommand::Minimize);
    }
}

}  // namespace snapdesk
