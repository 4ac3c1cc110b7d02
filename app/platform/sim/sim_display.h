#pragma once

#include <optional>
#include <vector>

#include "platform/display.h"

namespace snapdesk::sim {

// A picture of the simulation: its size and where it came from. Counts how many are alive.
class SimPicture : public Picture {
  public:
    SimPicture(int width, int height, WindowHandle source);
    ~SimPicture() override;
    SimPicture(const SimPicture&) = delete;
    SimPicture& operator=(const SimPicture&) = delete;

    int width() const override { return width_; }
    int height() const override { return height_; }
    WindowHandle source() const { return source_; }
    static int alive();

  private:
    int width_;
    int height_;
    WindowHandle source_;
};

struct CaptureCall {
    WindowHandle window = 0;
    int x = 0, y = 0, width = 0, height = 0;
    int thumbnailWidth = 0, thumbnailHeight = 0;
};

class SimDisplay : public Display {
  public:
    std::optional<DisplayCaps> caps = DisplayCaps{1024, 1, 32};
    double twipsX = 15;
    double twipsY = 15;
    WindowHandle referenceWindow = 0;
    int widthTwips = 1024 * 15;
    std::vector<CaptureCall> captures;
    bool failCaptures = false;  // captures raise a run-time error

    std::optional<DisplayCaps> displayCaps() override { return caps; }
    double twipsPerPixelX() override { return twipsX; }
    double twipsPerPixelY() override { return twipsY; }
    int screenWidthTwips() override { return widthTwips; }
    void setReferenceWindow(WindowHandle window) override { referenceWindow = window; }
    PicturePtr captureArea(WindowHandle window, int x, int y, int width, int height,
                           int thumbnailWidth, int thumbnailHeight) override;
    PicturePtr stretchPicture(const PicturePtr& picture, int width, int height) override;
};

}  // namespace snapdesk::sim
