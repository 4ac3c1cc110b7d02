#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <memory>
#include <thread>
#include <vector>

#include "platform/window_renderer.h"

namespace snapdesk {

// PrintWindow on one worker thread: PrintWindow has no time-out, so a window that stops
// answering in the middle holds up only the worker, never the user's window.
class Win32WindowRenderer : public WindowRenderer {
  public:
    Win32WindowRenderer();
    ~Win32WindowRenderer() override;
    Win32WindowRenderer(const Win32WindowRenderer&) = delete;
    Win32WindowRenderer& operator=(const Win32WindowRenderer&) = delete;

    void request(WindowHandle window, int thumbnailWidth, int thumbnailHeight) override;
    std::vector<RenderedWindow> collect() override;

    struct Shared;

  private:
    std::shared_ptr<Shared> shared_;
    std::thread worker_;
};

namespace win32 {

// What PrintWindow drew of a window, scaled to the thumbnail: a bitmap the caller owns when
// drawn. Runs on any thread; `hungAfterMs` bounds the question whether the window answers.
struct RenderedBitmap {
    RenderOutcome outcome = RenderOutcome::Unavailable;
    HBITMAP bitmap = nullptr;
};
RenderedBitmap renderWindow(HWND window, int thumbnailWidth, int thumbnailHeight,
                            unsigned hungAfterMs = 100);

}  // namespace win32

}  // namespace snapdesk
