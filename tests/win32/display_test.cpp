// Win32Display and the OLE pictures of captures, against a real window in front.
#include <gtest/gtest.h>

#include <olectl.h>

#include <memory>
#include <vector>

#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_display.h"
#include "platform/win32/win32_picture.h"
#include "test_apps.h"

namespace snapdesk {
namespace {

struct Pixels {
    bool varied = false;
    bool hasDocumentRed = false;  // the first document of mditest paints RGB(200, 40, 40)
};

Pixels inspect(HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> bits(static_cast<std::size_t>(width) * height);
    const HDC screen = GetDC(nullptr);
    const int lines = GetDIBits(screen, bitmap, 0, height, bits.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    Pixels result;
    if (lines != height) {
        return result;
    }
    for (const std::uint32_t pixel : bits) {
        const unsigned red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
        result.varied = result.varied || (pixel & 0xFFFFFF) != (bits[0] & 0xFFFFFF);
        result.hasDocumentRed = result.hasDocumentRed || (red > 150 && green < 90 && blue < 90);
    }
    return result;
}

HBITMAP bitmapOf(const PicturePtr& picture) {
    const auto* real = dynamic_cast<const Win32Picture*>(picture.get());
    return real != nullptr ? real->bitmap() : nullptr;
}

TEST(DisplayTest, CapabilitiesOfTheScreen) {
    Win32Display display;
    const auto caps = display.displayCaps();
    ASSERT_TRUE(caps.has_value());
    EXPECT_EQ(caps->horizontalResolution, 1024);
    EXPECT_GE(caps->planes * caps->bitsPerPixel, 24);
    EXPECT_EQ(display.twipsPerPixelX(), 15);
    EXPECT_EQ(display.twipsPerPixelY(), 15);
    EXPECT_EQ(display.screenWidthTwips(), 1024 * 15);
}

class CaptureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(program.started());
        frame = testing::waitForMdiFrame(program);
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(testing::bringToFront(frame));
        RECT rect;
        GetWindowRect(frame, &rect);
        width = rect.right - rect.left;
        height = rect.bottom - rect.top;
    }

    PicturePtr capture(int thumbnailWidth, int thumbnailHeight) {
        return display.captureArea(win32::toHandle(frame), 0, 0, width, height, thumbnailWidth,
                                   thumbnailHeight);
    }

    testing::Program program = testing::startMdiTest({L"--doc", L"captured.txt"});
    HWND frame = nullptr;
    int width = 0;
    int height = 0;
    Win32Display display;
};

TEST_F(CaptureTest, ThumbnailOfTheWindowInFront) {
    PicturePtr picture;
    Pixels pixels;
    // The window may still be painting: wait until its document shows in the capture.
    ASSERT_TRUE(testing::waitUntil([&] {
        picture = capture(193, 145);
        pixels = picture ? inspect(bitmapOf(picture), 193, 145) : Pixels{};
        return pixels.varied && pixels.hasDocumentRed;
    })) << "varied "
        << pixels.varied << ", red " << pixels.hasDocumentRed;
    EXPECT_EQ(picture->width(), 193);
    EXPECT_EQ(picture->height(), 145);
    const auto* real = dynamic_cast<const Win32Picture*>(picture.get());
    ASSERT_NE(real, nullptr);
    short type = 0;
    ASSERT_EQ(real->picture()->get_Type(&type), S_OK);
    EXPECT_EQ(type, PICTYPE_BITMAP);
    OLE_HANDLE handle = 0;
    ASSERT_EQ(real->picture()->get_Handle(&handle), S_OK);
    EXPECT_EQ(reinterpret_cast<HBITMAP>(static_cast<std::uintptr_t>(handle)), real->bitmap());
}

// A document window of another program: what the user sees of it, not a black box.
TEST_F(CaptureTest, ThumbnailOfTheActiveDocumentOfAFrameInFront) {
    const HWND document = testing::mdiDocumentTitled(frame, L"captured.txt");
    ASSERT_NE(document, nullptr);
    RECT rect;
    GetWindowRect(document, &rect);
    PicturePtr picture;
    Pixels pixels;
    ASSERT_TRUE(testing::waitUntil([&] {
        picture = display.captureArea(win32::toHandle(document), 0, 0, rect.right - rect.left,
                                      rect.bottom - rect.top, 120, 90);
        pixels = picture ? inspect(bitmapOf(picture), 120, 90) : Pixels{};
        return pixels.varied && pixels.hasDocumentRed;
    })) << "varied "
        << pixels.varied << ", red " << pixels.hasDocumentRed;
    EXPECT_EQ(picture->width(), 120);
}

// A maximised document of a maximised frame reaches past the screen's edges: what shows of it
// is still captured.
TEST(MaximisedDocumentCapture, ShowsTheDocument) {
    testing::Program program =
        testing::startMdiTest({L"--doc", L"wide.txt", L"--max-doc", L"1", L"--frame-max"});
    const HWND frame = testing::waitForMdiFrame(program);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(testing::bringToFront(frame));
    const HWND document = testing::mdiDocumentTitled(frame, L"wide.txt");
    ASSERT_NE(document, nullptr);
    ASSERT_TRUE(IsZoomed(document));
    Win32Display display;
    RECT beyond;
    GetWindowRect(document, &beyond);
    EXPECT_LT(beyond.left, 0) << "the case this test is for: a document past the screen's edge";
    RECT rect;
    GetWindowRect(document, &rect);
    PicturePtr picture;
    Pixels pixels;
    ASSERT_TRUE(testing::waitUntil([&] {
        picture = display.captureArea(win32::toHandle(document), 0, 0, rect.right - rect.left,
                                      rect.bottom - rect.top, 193, 145);
        pixels = picture ? inspect(bitmapOf(picture), 193, 145) : Pixels{};
        return pixels.varied && pixels.hasDocumentRed;
    })) << "varied "
        << pixels.varied << ", red " << pixels.hasDocumentRed;
}

TEST_F(CaptureTest, ReleasedPicturesFreeTheirBitmapsAndNothingElseStays) {
    const int before = win32::gdiObjectsAlive();
    std::vector<PicturePtr> pictures;
    std::vector<HBITMAP> bitmaps;
    for (int i = 0; i < 20; ++i) {
        pictures.push_back(capture(100 + i, 60));
        ASSERT_NE(pictures.back(), nullptr);
        bitmaps.push_back(bitmapOf(pictures.back()));
        EXPECT_EQ(pictures.back()->width(), 100 + i);
    }
    EXPECT_EQ(win32::gdiObjectsAlive(), before + 20);
    for (const HBITMAP bitmap : bitmaps) {
        EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
    }
    pictures.clear();
    EXPECT_EQ(win32::gdiObjectsAlive(), before);
    for (const HBITMAP bitmap : bitmaps) {
        EXPECT_EQ(GetObjectType(bitmap), 0u);
    }
}

TEST_F(CaptureTest, ABitmapLivesAsLongAsAnyReferenceToItsPicture) {
    const int before = win32::gdiObjectsAlive();
    PicturePtr picture = capture(64, 48);
    ASSERT_NE(picture, nullptr);
    const HBITMAP bitmap = bitmapOf(picture);
    // A tile takes its own reference, as the control library does.
    IPicture* tileReference = dynamic_cast<Win32Picture&>(*picture).picture();
    tileReference->AddRef();
    PicturePtr shared = picture;
    picture.reset();
    shared.reset();
    EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(win32::gdiObjectsAlive(), before + 1);
    tileReference->Release();
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(win32::gdiObjectsAlive(), before);
}

TEST(PictureTest, FromBitmapTakesTheBitmapOverAndAnEmptyOneGivesNoPicture) {
    const int before = win32::gdiObjectsAlive();
    const HDC screen = GetDC(nullptr);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, 30, 20);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(bitmap, nullptr);
    {
        const PicturePtr picture = pictureFromBitmap(bitmap);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->width(), 30);
        EXPECT_EQ(picture->height(), 20);
        EXPECT_EQ(win32::gdiObjectsAlive(), before + 1);
    }
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(win32::gdiObjectsAlive(), before);
    EXPECT_EQ(pictureFromBitmap(nullptr), nullptr);
}

TEST(PictureTest, CaptureOfAWindowThatIsGoneOrOfAnEmptySizeGivesNoPicture) {
    Win32Display display;
    const int before = win32::gdiObjectsAlive();
    EXPECT_EQ(display.captureArea(0x7FFFFFF0u, 0, 0, 100, 100, 10, 10), nullptr);
    EXPECT_EQ(display.captureArea(win32::toHandle(GetDesktopWindow()), 0, 0, 100, 100, 0, 10),
              nullptr);
    EXPECT_EQ(win32::gdiObjectsAlive(), before);
}

}  // namespace
}  // namespace snapdesk
