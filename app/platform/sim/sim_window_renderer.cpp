#include "platform/sim/sim_window_renderer.h"

#include <memory>
#include <utility>

#include "platform/sim/sim_display.h"

namespace snapdesk::sim {

void SimWindowRenderer::request(WindowHandle window, int thumbnailWidth, int thumbnailHeight) {
    requests.push_back({window, thumbnailWidth, thumbnailHeight});
    queued_.push_back(requests.back());
}

std::vector<RenderedWindow> SimWindowRenderer::collect() {
    std::vector<RenderedWindow> done;
    for (const RenderRequest& r : std::exchange(queued_, {})) {
        RenderedWindow result{r.window, RenderOutcome::Unavailable, nullptr};
        if (available && desktop_.isWindow(r.window)) {
            const SimWindow& w = desktop_.window(r.window);
            if (w.hung) {
                result.outcome = RenderOutcome::NotAnswered;
            } else if (!w.drawsWhenPrinted) {
                result.outcome = RenderOutcome::Blank;
            } else {
                result.outcome = RenderOutcome::Drawn;
                result.picture =
                    std::make_shared<SimPicture>(r.thumbnailWidth, r.thumbnailHeight, r.window);
            }
        }
        done.push_back(std::move(result));
    }
    return done;
}

}  // namespace snapdesk::sim
