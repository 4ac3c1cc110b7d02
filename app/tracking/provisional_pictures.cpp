#include "tracking/provisional_pictures.h"

#include <unordered_map>

#include "snapshots/graphics_code.h"

namespace snapdesk {

void ProvisionalPictures::collect(std::span<TrackedWindow> records) {
    auto done = platform_.renderer.collect();
    if (done.empty()) {
        return;
    }
    std::unordered_map<WindowHandle, TrackedWindow*> byWindow;
    for (TrackedWindow& r : records) {
        byWindow.emplace(r.hWnd, &r);
    }
    for (RenderedWindow& result : done) {
        pending_.erase(result.window);
        const auto found = byWindow.find(result.window);
        if (found == byWindow.end()) {
            continue;  // the window left the list meanwhile
        }
        TrackedWindow& r = *found->second;
        switch (result.outcome) {
            case RenderOutcome::Drawn:
                // A capture taken meanwhile is the better picture.
                if (!r.gotPhoto && result.picture) {
                    r.thePhoto = std::move(result.picture);
                    r.photoIsProvisional = true;
                }
                break;
            case RenderOutcome::Blank:
            case RenderOutcome::Unavailable:
                blank_[r.hWnd] = r.WindowText;
                break;
            case RenderOutcome::NotAnswered:
                break;  // asked again on a later pass
        }
    }
}

bool ProvisionalPictures::wanted(const TrackedWindow& r) {
    if (r.gotPhoto || r.photoIsProvisional || !r.doDisplay || pending_.contains(r.hWnd)) {
        return false;
    }
    if (const auto blank = blank_.find(r.hWnd); blank != blank_.end()) {
        if (blank->second == r.WindowText) {
            return false;
        }
        blank_.erase(blank);  // a new document may draw
    }
    auto& windows = platform_.windows;
    // A minimised window has nothing to draw at its size.
    return !windows.isMinimized(r.hWnd) && (r.hTopWnd == r.hWnd || !windows.isMinimized(r.hTopWnd));
}

void ProvisionalPictures::request(std::span<TrackedWindow> records, std::size_t limit) {
    std::unordered_set<WindowHandle> listed;
    for (const TrackedWindow& r : records) {
        listed.insert(r.hWnd);
        if (pending_.size() >= limit || !wanted(r)) {
            continue;
        }
        const Rect rect = platform_.windows.windowRect(r.hWnd);
        if (rect.width() <= 0 || rect.height() <= 0) {
            continue;
        }
        // The same size a capture of the window would have.
        const auto size =
            thumbnailSize(screenPixelWidth(platform_.display), platform_.display.twipsPerPixelX(),
                          platform_.display.twipsPerPixelY(), rect.width(), rect.height());
        platform_.renderer.request(r.hWnd, size.width, size.height);
        pending_.insert(r.hWnd);
    }
    std::erase_if(blank_, [&](const auto& entry) { return !listed.contains(entry.first); });
}

}  // namespace snapdesk
