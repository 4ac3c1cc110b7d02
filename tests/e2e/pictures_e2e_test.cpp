// Tiles of windows that were never in front: Snapdesk started beside Wine's notepad and our MDI
// program shows the program's document as it draws itself, keeps notepad's icon (Wine's notepad
// draws nothing when asked), and at start brings forward only what could not draw itself.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "platform/win32/win32_convert.h"
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
    const auto notes = app->waitForTile(L"notes.txt", kTwoTicks);
    ASSERT_TRUE(notes.has_value());
    const auto chapter = app->waitForTile(L"Chapter 1.txt", kTwoTicks);
    ASSERT_TRUE(chapter.has_value());
    // Wine 8 does not carry WM_PRINT to another process: there the document draws nothing for
    // Snapdesk either, and its tile keeps the icon like notepad's.
    const bool documentDraws = drawsForOthers(document);
    EXPECT_FALSE(drawsForOthers(notepadWindow));
    EXPECT_EQ(waitUntil(
                  [&] {
                      const auto tile = app->tileNamed(L"Chapter 1.txt");
                      return tile && showsPicture(*tile);
                  },
                  kTwoTicks),
              documentDraws)
        << "a tile shows what its window draws within two ticks, else its icon";
    EXPECT_FALSE(showsPicture(*app->tileNamed(L"notes.txt")))
        << "notepad draws nothing: its tile keeps the icon";
    EXPECT_FALSE(watch.saw(frame)) << "neither window was brought forward";
    EXPECT_FALSE(watch.saw(notepadWindow));
    screenshot("pictures-1-without-start-up-images");
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
