#pragma once

#include <vector>

#include "platform/handles.h"
#include "platform/picture.h"

namespace snapdesk {

// How a window answered a request to draw itself.
enum class RenderOutcome {
    Drawn,        // the picture holds what the window drew
    Blank,        // it drew nothing (one colour all over)
    NotAnswered,  // it did not answer in time: asked again later
    Unavailable,  // the system cannot render windows, or the window is gone
};

struct RenderedWindow {
    WindowHandle window = 0;
    RenderOutcome outcome = RenderOutcome::Unavailable;
    PicturePtr picture;  // Drawn only
};

// Pictures of windows drawn by the windows themselves, without bringing them forward. Requests
// are served in the background; `collect` hands over what has finished and never waits.
class WindowRenderer {
  public:
    virtual ~WindowRenderer() = default;

    // Queues a picture of the window at its full size, scaled to the thumbnail size.
    virtual void request(WindowHandle window, int thumbnailWidth, int thumbnailHeight) = 0;
    virtual std::vector<RenderedWindow> collect() = 0;
};

}  // namespace snapdesk
