#pragma once

// clang-format off
#include <windows.h>
#include <ocidl.h>
// clang-format on

#include <utility>

#include "platform/picture.h"

namespace snapdesk {

// An OLE picture that owns its bitmap. Holds one COM reference, released on destruction;
// the last release (ours or that of a tile that took its own) frees the bitmap.
class Win32Picture : public Picture {
  public:
    Win32Picture(IPicture* picture, HBITMAP bitmap, int width, int height);
    ~Win32Picture() override;
    Win32Picture(const Win32Picture&) = delete;
    Win32Picture& operator=(const Win32Picture&) = delete;

    int width() const override { return width_; }
    int height() const override { return height_; }
    IPicture* picture() const { return picture_; }
    HBITMAP bitmap() const { return bitmap_; }

  private:
    IPicture* picture_;
    HBITMAP bitmap_;
    int width_;
    int height_;
};

// Wraps the bitmap in an OLE picture that owns it. The bitmap is handed over in every case:
// when the picture cannot be made, it is deleted and the result is empty.
PicturePtr pictureFromBitmap(HBITMAP bitmap);

namespace win32 {

// GDI objects of the capture code still alive: device contexts not yet released or deleted,
// and bitmaps not yet freed by their picture. GetGuiResources cannot tell this under Wine.
int gdiObjectsAlive();

// Bookkeeping for the capture code; safe from any thread.
void countDeviceContext(int delta);
void trackBitmap(HBITMAP bitmap);
void bitmapFreed(HBITMAP bitmap);

// A device context of one capture, counted while it lives.
template <typename Owner>
class CountedDc {
  public:
    explicit CountedDc(Owner dc) : dc_(std::move(dc)) {
        if (dc_) {
            countDeviceContext(1);
        }
    }
    ~CountedDc() {
        if (dc_) {
            dc_.reset();
            countDeviceContext(-1);
        }
    }
    CountedDc(const CountedDc&) = delete;
    CountedDc& operator=(const CountedDc&) = delete;
    HDC get() const { return dc_.get(); }

  private:
    Owner dc_;
};

}  // namespace win32

}  // namespace snapdesk
