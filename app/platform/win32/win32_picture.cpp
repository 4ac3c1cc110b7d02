#include "platform/win32/win32_picture.h"

#include <olectl.h>

#include <atomic>
#include <mutex>
#include <set>

#include "base/unique_handle.h"

namespace snapdesk {

namespace win32 {

namespace {

// Background pictures are drawn on a worker thread.
std::atomic<int> deviceContexts = 0;
std::mutex bitmapsLock;
std::set<HBITMAP>& bitmapsAlive() {
    static std::set<HBITMAP> bitmaps;
    return bitmaps;
}

}  // namespace

void countDeviceContext(int delta) {
    deviceContexts += delta;
}

void trackBitmap(HBITMAP bitmap) {
    const std::lock_guard lock(bitmapsLock);
    bitmapsAlive().insert(bitmap);
}

void bitmapFreed(HBITMAP bitmap) {
    const std::lock_guard lock(bitmapsLock);
    bitmapsAlive().erase(bitmap);
}

int gdiObjectsAlive() {
    // A picture whose last reference was held elsewhere (a tile) frees its bitmap later.
    const std::lock_guard lock(bitmapsLock);
    auto& bitmaps = bitmapsAlive();
    for (auto it = bitmaps.begin(); it != bitmaps.end();) {
        it = GetObjectType(*it) == OBJ_BITMAP ? std::next(it) : bitmaps.erase(it);
    }
    return deviceContexts + static_cast<int>(bitmaps.size());
}

}  // namespace win32

Win32Picture::Win32Picture(IPicture* picture, HBITMAP bitmap, int width, int height)
    : picture_(picture), bitmap_(bitmap), width_(width), height_(height) {}

Win32Picture::~Win32Picture() {
    if (picture_->Release() == 0) {
        win32::bitmapFreed(bitmap_);
    }
}

PicturePtr pictureFromBitmap(HBITMAP bitmap) {
    if (bitmap == nullptr) {
        return {};
    }
    win32::trackBitmap(bitmap);
    win32::unique_hbitmap owned(bitmap);  // ours until a picture object owns it
    BITMAP info{};
    GetObjectW(bitmap, sizeof(info), &info);

    PICTDESC description{};
    description.cbSizeofstruct = sizeof(description);
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = bitmap;
    description.bmp.hpal = nullptr;
    IDispatch* dispatch = nullptr;
    const HRESULT created = OleCreatePictureIndirect(&description, IID_IDispatch, TRUE,
                                                     reinterpret_cast<void**>(&dispatch));
    IPicture* picture = nullptr;
    if (SUCCEEDED(created) && dispatch != nullptr) {
        static_cast<void>(owned.release());
        dispatch->QueryInterface(IID_IPicture, reinterpret_cast<void**>(&picture));
        // The picture (if any) now holds its own reference; the picture object owns the bitmap.
        if (dispatch->Release() == 0) {
            win32::bitmapFreed(bitmap);
        }
    }
    if (picture == nullptr) {
        if (owned) {
            owned.reset();
            win32::bitmapFreed(bitmap);
        }
        return {};
    }
    return std::make_shared<Win32Picture>(picture, bitmap, info.bmWidth, info.bmHeight);
}

}  // namespace snapdesk
