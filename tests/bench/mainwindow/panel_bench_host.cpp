#include "panel_bench_host.h"

#include <cstdint>

#include "mainwindow/win32/panel_window.h"

namespace snapdesk::bench {

namespace {

constexpr int kTwipsPerPixel = 15;  // 96 dpi, as Wine reports
constexpr int kButtonBarHeight = 600;
constexpr std::uint32_t kPanelColor = 0xFF9090;
constexpr std::uint32_t kCommentColor = 0xFF9898;
constexpr wchar_t kClassName[] = L"PanelBenchHost";

LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void pumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

PanelBenchHost::PanelBenchHost(int width, int height) : list_(system_.platform()) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = hostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    window_ = CreateWindowExW(0, kClassName, L"Snapdesk!", WS_OVERLAPPEDWINDOW, 0, 0, width, height,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr) {
        return;
    }
    ShowWindow(window_, SW_SHOWNORMAL);
    list_.setMainWindow(static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window_)));
    state_.tabMode = 2;
    state_.tabColors = {kPanelColor, kPanelColor, kPanelColor, kPanelColor};
    state_.commentBackColor = kCommentColor;
    PanelHost& self = *this;
    real_ = createPanelView(window_);
    counting_ = std::make_unique<CountingPanelView>(*real_);
    panel_ = std::make_unique<ThumbnailPanel>(
        state_, list_, system_.platform().ui, *counting_, self,
        ScreenMetrics{GetSystemMetrics(SM_CXSCREEN), kTwipsPerPixel, kTwipsPerPixel});
    panel_->scaleToScreen(windowGeometry());
    panel_->fixedLayout(windowGeometry());
    panel_->tabClick(0);
    counting_->setBackColor(PanelControl::canvas, kPanelColor);
    panel_->bringTemplateToFront();
    panel_->resize(windowGeometry());
    pumpMessages();
}

PanelBenchHost::~PanelBenchHost() {
    panel_.reset();
    counting_.reset();
    real_.reset();
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    pumpMessages();
}

int PanelBenchHost::visibleTiles() const {
    int n = 0;
    for (TileView* tile : counting_->tiles()) {
        const HWND w = tileWindowOf(*tile);
        // The template is hidden; any other visible tile counts.
        n += (w != nullptr && tile != counting_->tiles().front() && IsWindowVisible(w)) ? 1 : 0;
    }
    return n;
}

WindowGeometry PanelBenchHost::windowGeometry() {
    RECT client;
    RECT outer;
    GetClientRect(window_, &client);
    GetWindowRect(window_, &outer);
    WindowGeometry g;
    g.innerWidth = client.right * kTwipsPerPixel;
    g.innerHeight = client.bottom * kTwipsPerPixel;
    g.outerWidth = (outer.right - outer.left) * kTwipsPerPixel;
    g.outerHeight = (outer.bottom - outer.top) * kTwipsPerPixel;
    g.nonClientWidth = g.outerWidth - g.innerWidth;
    g.nonClientHeight = g.outerHeight - g.innerHeight;
    g.buttonBarHeight = kButtonBarHeight;
    g.minimized = IsIconic(window_) != 0;
    g.maximized = IsZoomed(window_) != 0;
    return g;
}

}  // namespace snapdesk::bench
