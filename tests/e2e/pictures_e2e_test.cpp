// Tiles of windows that were never in front: Snapdesk started beside Wine's notepad and our MDI
// program shows the program's document as it draws itself, keeps notepad's icon (Wine's notepad
// draws nothing when asked), and at start brings forward only what could not draw itself.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <vector>

#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_display.h"
#include "platform/win32/win32_picture.h"
#include "platform/win32/win32_window_renderer.h"
#include "snapdesk_app.h"
#include "test_apps.h"
#include "zim_display_widget.h"

namespace snapdesk::testing {
namespace {

constexpr Milliseconds kTwoTicks{2 * 3000 + 2000};

// Every window that was in front while it ran, sampled often enough to see a window brought
// forward for a picture (it stays there for a second and a half).
class ForegroundWatch {
  public:
    ForegroundWatch()
        : thread_([this] {
              while (!stop_) {
                  const HWND now = GetForegroundWindow();
                  {
                      const std::lock_guard lock(mutex_);
                      seen_.insert(now);
                  }
                  Sleep(10);
              }
          }) {}
    ~ForegroundWatch() {
        stop_ = true;
        thread_.join();
    }
    bool saw(HWND window) {
        const std::lock_guard lock(mutex_);
        return seen_.contains(window);
    }

  private:
    std::atomic<bool> stop_ = false;
    std::mutex mutex_;
    std::set<HWND> seen_;
    std::thread thread_;
};

// Pixels, 0x00RRGGBB, row by row.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

Image pixelsOf(HDC source, int x, int y, int width, int height) {
    Image image{width, height,
                std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    const HDC memory = CreateCompatibleDC(source);
    const HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    GetDIBits(memory, bitmap, 0, height, image.pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return image;
}

// What the tile shows of a picture of that size: drawn from the top, centred across.
std::optional<Image> tilePicture(const Tile& tile, int width, int height) {
    const HWND area = GetDlgItem(tile.window, zim::kIdDisplay);
    RECT r{};
    if (!IsWindowVisible(area) || !GetWindowRect(area, &r) || r.right - r.left < width) {
        return std::nullopt;
    }
    const POINT middle{(r.left + r.right) / 2, r.top + height / 2};
    if (WindowFromPoint(middle) != area) {
        return std::nullopt;  // covered
    }
    const HDC screen = GetDC(nullptr);
    Image image = pixelsOf(screen, r.left + (r.right - r.left - width) / 2, r.top, width, height);
    ReleaseDC(nullptr, screen);
    return image;
}

Image imageOf(const PicturePtr& picture) {
    const auto* real = dynamic_cast<const Win32Picture*>(picture.get());
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ old = SelectObject(memory, real->bitmap());
    Image image = pixelsOf(memory, 0, 0, picture->width(), picture->height());
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

// The mean difference of two images of one size, per colour channel (0 to 255), over the
// average colours of an 8 x 6 grid of cells: close when they show the same window.
double cellDifference(const Image& a, const Image& b) {
    constexpr int kColumns = 8, kRows = 6;
    double total = 0;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            long sums[2][3] = {};
            long count = 0;
            for (int y = row * a.height / kRows; y < (row + 1) * a.height / kRows; ++y) {
                for (int x = column * a.width / kColumns; x < (column + 1) * a.width / kColumns;
                     ++x) {
                    const std::size_t at = static_cast<std::size_t>(y) * a.width + x;
                    for (int c = 0; c < 3; ++c) {
                        sums[0][c] += (a.pixels[at] >> (8 * c)) & 0xFF;
                        sums[1][c] += (b.pixels[at] >> (8 * c)) & 0xFF;
                    }
                    ++count;
                }
            }
            for (int c = 0; c < 3 && count > 0; ++c) {
                total += std::abs(sums[0][c] - sums[1][c]) / static_cast<double>(count);
            }
        }
    }
    return total / (kColumns * kRows * 3);
}

bool showsRed(const Image& image) {
    for (const std::uint32_t p : image.pixels) {
        if (((p >> 16) & 0xFF) > 150 && ((p >> 8) & 0xFF) < 90 && (p & 0xFF) < 90) {
            return true;
        }
    }
    return false;
}

// Whether a window of another process draws itself when asked from here. Wine 8 does not carry
// WM_PRINT to another process, so there no window does and every tile keeps its icon.
bool drawsForOthers(HWND window) {
    const auto rendered = win32::renderWindow(window, 64, 48);
    if (rendered.bitmap != nullptr) {
        DeleteObject(rendered.bitmap);
        win32::bitmapFreed(rendered.bitmap);
    }
    return rendered.outcome == RenderOutcome::Drawn;
}

// A picture fills the tile's picture area; an icon leaves most of it one colour.
bool showsPicture(const Tile& tile) {
    const HWND area = GetDlgItem(tile.window, zim::kIdDisplay);
    RECT r{};
    if (!IsWindowVisible(area) || !GetWindowRect(area, &r) || r.right - r.left < 64) {
        return false;
    }
    const HDC screen = GetDC(nullptr);
    const Image image = pixelsOf(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ReleaseDC(nullptr, screen);
    const std::uint32_t corner = image.pixels.front() & 0xFFFFFF;
    const auto differing = std::count_if(image.pixels.begin(), image.pixels.end(),
                                         [&](std::uint32_t p) { return (p & 0xFFFFFF) != corner; });
    return differing * 5 > static_cast<long>(image.pixels.size());
}

class PicturesE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        clearSnapdeskSettings();
        reportPath = writeTempTextFile(L"notes.txt", "Monday\r\n");
        ASSERT_FALSE(reportPath.empty());
        notepad = std::make_unique<Program>(startNotepadOn(reportPath, notepadWindow));
        writer = std::make_unique<Program>(
            startMdiTest({L"--title", L"Report Writer", L"--doc", L"Chapter 1.txt"}));
        frame = waitForMdiFrame(*writer);
        ASSERT_NE(notepadWindow, nullptr);
        ASSERT_NE(frame, nullptr);
        document = mdiDocumentTitled(frame, L"Chapter 1.txt");
        ASSERT_NE(document, nullptr);
        // A window Snapdesk does not track stands in front, so that neither program is.
        cover = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"in front", WS_POPUP | WS_VISIBLE,
                                700, 650, 200, 80, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(bringToFront(cover));
    }
    void TearDown() override {
        app.reset();
        writer.reset();
        notepad.reset();
        DestroyWindow(cover);
        DeleteFileW(reportPath.c_str());
    }

    std::wstring reportPath;
    std::unique_ptr<Program> notepad;
    std::unique_ptr<Program> writer;
    std::unique_ptr<SnapdeskApp> app;
    HWND notepadWindow = nullptr;
    HWND frame = nullptr;
    HWND document = nullptr;
    HWND cover = nullptr;
};

TEST_F(PicturesE2E, WithoutLoadingImagesAtStartTilesShowWhatTheirWindowsDraw) {
    storeSnapdeskSetting(L"autoLoad", L"no");  // "Do Not Load Images on Start Up"
    ForegroundWatch watch;
    app = std::make_unique<SnapdeskApp>();
    ASSERT_TRUE(app->started());
    RECT place{};
    GetWindowRect(document, &place);
    // The size of the document's capture: 420 x 300 makes 203 x 145.
    const int width = 203, height = 145;
    ASSERT_EQ(place.right - place.left, 420);
    ASSERT_EQ(place.bottom - place.top, 300);

    const auto notes = app->waitForTile(L"notes.txt", kTwoTicks);
    ASSERT_TRUE(notes.has_value());
    const auto chapter = app->waitForTile(L"Chapter 1.txt", kTwoTicks);
    ASSERT_TRUE(chapter.has_value());
    if (!drawsForOthers(document)) {
        // Two ticks on, neither tile has a picture, and neither window came forward for one.
        Sleep(static_cast<DWORD>(kTwoTicks.count()));
        EXPECT_FALSE(showsPicture(*chapter)) << "a window that drew nothing keeps its icon";
        EXPECT_FALSE(showsPicture(*notes));
        EXPECT_FALSE(watch.saw(frame));
        EXPECT_FALSE(watch.saw(notepadWindow));
        screenshot("pictures-1-icons");
        return;
    }
    std::optional<Image> shown;
    EXPECT_TRUE(waitUntil(
        [&] {
            const auto tile = app->tileNamed(L"Chapter 1.txt");
            shown = tile ? tilePicture(*tile, width, height) : std::nullopt;
            return shown && showsRed(*shown);
        },
        kTwoTicks))
        << "the document's picture within the first two ticks";
    EXPECT_FALSE(showsPicture(*app->tileNamed(L"notes.txt")))
        << "notepad draws nothing: its tile keeps the icon";
    screenshot("pictures-1-drawn");
    EXPECT_FALSE(watch.saw(frame)) << "the MDI program was never brought forward";
    EXPECT_FALSE(watch.saw(notepadWindow));

    // The same document captured in front, as a capture takes it.
    ASSERT_TRUE(shown.has_value());
    ASSERT_TRUE(bringToFront(frame));
    Win32Display display;
    PicturePtr captured;
    ASSERT_TRUE(waitUntil([&] {
        captured = display.captureArea(win32::toHandle(document), 0, 0, 420, 300, width, height);
        return captured && showsRed(imageOf(captured));
    }));
    const double difference = cellDifference(*shown, imageOf(captured));
    std::printf("tile against the capture in front: mean cell difference %.1f of 255\n",
                difference);
    EXPECT_LT(difference, 24.0);
}

TEST_F(PicturesE2E, LoadingImagesAtStartBringsForwardOnlyWhatCouldNotDrawItself) {
    storeSnapdeskSetting(L"autoLoad", L"yes");
    ForegroundWatch watch;
    app = std::make_unique<SnapdeskApp>();
    ASSERT_TRUE(app->started());
    // What could not draw itself came forward for its picture and got it; what could stayed
    // behind.
    const bool documentDraws = drawsForOthers(document);
    EXPECT_FALSE(drawsForOthers(notepadWindow));
    EXPECT_TRUE(waitUntil(
        [&] {
            const auto notes = app->tileNamed(L"notes.txt");
            const auto chapter = app->tileNamed(L"Chapter 1.txt");
            return watch.saw(notepadWindow) && notes && showsPicture(*notes) && chapter &&
                   showsPicture(*chapter) && GetForegroundWindow() == app->main();
        },
        Milliseconds{20000}));
    EXPECT_EQ(watch.saw(frame), !documentDraws);
    screenshot("pictures-2-start-up");
}

}  // namespace
}  // namespace snapdesk::testing
