#pragma once

#include <vector>

#include "platform/sim/sim_desktop.h"
#include "platform/window_renderer.h"

namespace snapdesk::sim {

struct RenderRequest {
    WindowHandle window = 0;
    int thumbnailWidth = 0;
    int thumbnailHeight = 0;
};

// Renders simulated windows: each request comes back on the next collect, drawn unless the
// window is hung (not answered) or marked as drawing nothing.
class SimWindowRenderer : public WindowRenderer {
  public:
    explicit SimWindowRenderer(SimDesktop& desktop) : desktop_(desktop) {}

    bool available = true;                // false: the system has no way to render windows
    std::vector<RenderRequest> requests;  // every request, in order

    void request(WindowHandle window, int thumbnailWidth, int thumbnailHeight) override;
    std::vector<RenderedWindow> collect() override;

  private:
    SimDesktop& desktop_;
    std::vector<RenderRequest> queued_;
};

}  // namespace snapdesk::sim
