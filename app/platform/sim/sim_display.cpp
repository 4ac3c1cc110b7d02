#include "platform/sim/sim_display.h"

#include "common/runtime_error.h"

namespace snapdesk::sim {

namespace {
int alivePictures = 0;
}

SimPicture::SimPicture(int width, int height, WindowHandle source)
    : width_(width), height_(height), source_(source) {
    ++alivePictures;
}

SimPicture::~SimPicture() {
    --alivePictures;
}

int SimPicture::alive() {
    return alivePictures;
}

PicturePtr SimDisplay::captureArea(WindowHandle window, int x, int y, int width, int height,
                                   int thumbnailWidth, int thumbnailHeight) {
    captures.push_back({window, x, y, width, height, thumbnailWidth, thumbnailHeight});
    if (failCaptures) {
        throw RuntimeError(7, "Out of memory", "SimDisplay");
    }
    return std::make_shared<SimPicture>(thumbnailWidth, thumbnailHeight, window);
}

PicturePtr SimDisplay::stretchPicture(const PicturePtr& picture, int width, int height) {
    const auto* sim = dynamic_cast<const SimPicture*>(picture.get());
    return std::make_shared<SimPicture>(width, height, sim != nullptr ? sim->source() : 0);
}

}  // namespace snapdesk::sim
