#include "platform/win32/win32_window_renderer.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

#include "base/unique_handle.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_picture.h"

namespace snapdesk {

namespace {

constexpr UINT kRenderFullContent = 2;  // PW_RENDERFULLCONTENT, unknown to older headers
// Every how many pixels, across and down, the "drew nothing" test looks.
constexpr int kBlankSampleStep = 4;
// How long closing waits for a render in progress before leaving the worker behind.
constexpr auto kStopWait = std::chrono::milliseconds(1000);

using PrintWindowFunction = BOOL(WINAPI*)(HWND, HDC, UINT);

PrintWindowFunction printWindowFunction() {
    static const auto function = [] {
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 != nullptr ? reinterpret_cast<PrintWindowFunction>(reinterpret_cast<void*>(
                                       GetProcAddress(user32, "PrintWindow")))
                                 : nullptr;
    }();
    return function;
}

// One colour all over (all black included): the window drew nothing.
bool allOneColour(const std::uint32_t* pixels, int width, int height) {
    const std::uint32_t first = pixels[0] & 0xFFFFFF;
    for (int y = 0; y < height; y += kBlankSampleStep) {
        const std::uint32_t* row = pixels + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; x += kBlankSampleStep) {
            if ((row[x] & 0xFFFFFF) != first) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

namespace win32 {

RenderedBitmap renderWindow(HWND window, int thumbnailWidth, int thumbnailHeight,
                            unsigned hungAfterMs) {
    const PrintWindowFunction print = printWindowFunction();
    if (print == nullptr || !IsWindow(window) || thumbnailWidth <= 0 || thumbnailHeight <= 0) {
        return {};
    }
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, hungAfterMs, &answer) == 0) {
        return {RenderOutcome::NotAnswered, nullptr};
    }
    RECT rect{};
    if (!GetWindowRect(window, &rect)) {
        return {};
    }
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) {
        return {};
    }
    const CountedDc screen(get_dc(nullptr));
    const CountedDc full(unique_hdc(CreateCompatibleDC(screen.get())));
    if (screen.get() == nullptr || full.get() == nullptr) {
        return {};
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    unique_hbitmap dib(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || bits == nullptr) {
        return {};
    }
    trackBitmap(dib.get());
    struct Untrack {
        HBITMAP bitmap;
        ~Untrack() { bitmapFreed(bitmap); }
    } untrack{dib.get()};
    {
        auto selected = select_object(full.get(), dib.get());
        // Windows before 8.1 do not know the flag and refuse the call.
        if (!print(window, full.get(), kRenderFullContent)) {
            print(window, full.get(), 0);
        }
    }
    GdiFlush();
    if (allOneColour(static_cast<const std::uint32_t*>(bits), width, height)) {
        return {RenderOutcome::Blank, nullptr};
    }
    const HBITMAP thumbnail = CreateCompatibleBitmap(screen.get(), thumbnailWidth, thumbnailHeight);
    if (thumbnail == nullptr) {
        return {};
    }
    trackBitmap(thumbnail);
    {
        const CountedDc small(unique_hdc(CreateCompatibleDC(screen.get())));
        auto selectedFull = select_object(full.get(), dib.get());
        auto selectedSmall = select_object(small.get(), thumbnail);
        // The same reduction as a capture's.
        SetStretchBltMode(small.get(), HALFTONE);
        SetBrushOrgEx(small.get(), 0, 0, nullptr);
        StretchBlt(small.get(), 0, 0, thumbnailWidth, thumbnailHeight, full.get(), 0, 0, width,
                   height, SRCCOPY);
    }
    return {RenderOutcome::Drawn, thumbnail};
}

}  // namespace win32

struct Win32WindowRenderer::Shared {
    struct Job {
        HWND window;
        int width;
        int height;
    };
    struct Done {
        HWND window;
        win32::RenderedBitmap rendered;
    };

    std::mutex lock;
    std::condition_variable changed;
    std::deque<Job> jobs;
    std::vector<Done> done;
    bool stopping = false;
    bool finished = false;

    void run() {
        std::unique_lock guard(lock);
        while (!stopping) {
            if (jobs.empty()) {
                changed.wait(guard);
                continue;
            }
            const Job job = jobs.front();
            jobs.pop_front();
            guard.unlock();
            const auto rendered = win32::renderWindow(job.window, job.width, job.height);
            guard.lock();
            done.push_back({job.window, rendered});
        }
        finished = true;
        changed.notify_all();
    }

    ~Shared() {
        for (const Done& d : done) {
            if (d.rendered.bitmap != nullptr) {
                DeleteObject(d.rendered.bitmap);
                win32::bitmapFreed(d.rendered.bitmap);
            }
        }
    }
};

Win32WindowRenderer::Win32WindowRenderer() : shared_(std::make_shared<Shared>()) {}

Win32WindowRenderer::~Win32WindowRenderer() {
    if (!worker_.joinable()) {
        return;
    }
    std::unique_lock guard(shared_->lock);
    shared_->stopping = true;
    shared_->changed.notify_all();
    const bool finished =
        shared_->changed.wait_for(guard, kStopWait, [this] { return shared_->finished; });
    guard.unlock();
    // A window stuck inside PrintWindow keeps the worker: it owns its share of the state.
    if (finished) {
        worker_.join();
    } else {
        worker_.detach();
    }
}

void Win32WindowRenderer::request(WindowHandle window, int thumbnailWidth, int thumbnailHeight) {
    if (!worker_.joinable()) {
        worker_ = std::thread([shared = shared_] { shared->run(); });
    }
    const std::lock_guard guard(shared_->lock);
    shared_->jobs.push_back({win32::toHwnd(window), thumbnailWidth, thumbnailHeight});
    shared_->changed.notify_all();
}

std::vector<RenderedWindow> Win32WindowRenderer::collect() {
    std::vector<Shared::Done> done;
    {
        const std::lock_guard guard(shared_->lock);
        done.swap(shared_->done);
    }
    std::vector<RenderedWindow> results;
    results.reserve(done.size());
    for (const Shared::Done& d : done) {
        RenderedWindow result{win32::toHandle(d.window), d.rendered.outcome, nullptr};
        if (d.rendered.bitmap != nullptr) {
            result.picture = pictureFromBitmap(d.rendered.bitmap);
            if (!result.picture) {
                result.outcome = RenderOutcome::Unavailable;
            }
        }
        results.push_back(std::move(result));
    }
    return results;
}

}  // namespace snapdesk
