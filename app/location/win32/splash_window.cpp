#include "location/win32/splash_window.h"

#include "base/unique_handle.h"
#include "base/window_dpi.h"
#include "common/app_title.h"
#include "location/splash_dir_tree_build.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk {

namespace {

constexpr UINT_PTR kWaitTimer = 1;
constexpr int kWidth = 420;
constexpr int kHeight = 200;
// The walk asks for a repaint after every folder; the screen needs far fewer.
constexpr DWORD kRepaintSpacingMs = 30;

LRESULT CALLBACK splashProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool registerSplashClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = splashProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_WAIT);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kSplashWindowClass;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

class Win32SplashView final : public SplashView {
  public:
    explicit Win32SplashView(Ui& ui) : ui_(ui) {
        registerSplashClass();
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        window_.reset(CreateWindowExW(WS_EX_TOOLWINDOW, kSplashWindowClass,
                                      win32::toWide(kAppTitle).c_str(), WS_POPUP | WS_DLGFRAME, 0,
                                      0, kWidth, kHeight, nullptr, nullptr, instance, nullptr));
        if (!window_) {
            return;
        }
        SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        // Laid out at 96 dpi; drawn at the scale of the monitor it opens on.
        dpi_ = win32::windowDpi(window_.get());
        if (dpi_ != 96) {
            SetWindowPos(window_.get(), nullptr, 0, 0, px(kWidth), px(kHeight),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        normalFont_.reset(CreateFontW(-px(16), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                      DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
        titleFont_.reset(CreateFontW(-px(32), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
        welcome_ = label(kSplashWelcomeId, 20, 24, 36, normalFont_.get());
        productName_ = label(kSplashProductNameId, 20, 56, 48, titleFont_.get());
        label1_ = label(kSplashLabel1Id, 20, 130, 40, normalFont_.get());
    }
    ~Win32SplashView() override { unload(); }
    Win32SplashView(const Win32SplashView&) = delete;
    Win32SplashView& operator=(const Win32SplashView&) = delete;

    HWND window() const { return window_.get(); }

    void setTexts(const std::string& label1, const std::string& welcome,
                  const std::string& productName) override {
        SetWindowTextW(label1_, win32::toWide(label1).c_str());
        SetWindowTextW(welcome_, win32::toWide(welcome).c_str());
        SetWindowTextW(productName_, win32::toWide(productName).c_str());
    }

    void centreOnScreen() override {
        if (!window_) {
            return;
        }
        const int x = (GetSystemMetrics(SM_CXSCREEN) - px(kWidth)) / 2;
        const int y = (GetSystemMetrics(SM_CYSCREEN) - px(kHeight)) / 2;
        SetWindowPos(window_.get(), nullptr, x, y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void waitForTimer(unsigned milliseconds) override {
        if (!window_) {
            return;
        }
        timerFired_ = false;
        SetTimer(window_.get(), kWaitTimer, milliseconds, nullptr);
        // The timer ends the wait; the deadline only guards against a lost WM_TIMER.
        const ULONGLONG deadline = GetTickCount64() + milliseconds + 1000;
        while (!timerFired_) {
            const ULONGLONG now = GetTickCount64();
            if (now >= deadline) {
                break;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now),
                                      QS_ALLINPUT);
            ui_.doEvents();
        }
        KillTimer(window_.get(), kWaitTimer);
    }

    void repaint() override {
        const DWORD now = GetTickCount();
        if (!window_ || now - lastRepaint_ < kRepaintSpacingMs) {
            return;
        }
        lastRepaint_ = now;
        RedrawWindow(window_.get(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    void unload() override {
        if (window_) {
            KillTimer(window_.get(), kWaitTimer);
            SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
            window_.reset();
        }
    }

    void timerFired() { timerFired_ = true; }

  private:
    int px(int pixelsAt96) const { return MulDiv(pixelsAt96, dpi_, 96); }
    HWND label(int id, int x, int y, int height, HFONT font) {
        HWND control =
            CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, px(x), px(y),
                            px(kWidth - 2 * x), px(height), window_.get(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return control;
    }

    Ui& ui_;
    int dpi_ = 96;
    // The fonts outlive the window whose labels show them.
    win32::unique_hfont normalFont_, titleFont_;
    win32::unique_window window_;
    HWND label1_ = nullptr, welcome_ = nullptr, productName_ = nullptr;
    DWORD lastRepaint_ = 0;
    bool timerFired_ = false;
};

LRESULT CALLBACK splashProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kWaitTimer) {
        if (auto* view =
                reinterpret_cast<Win32SplashView*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            view->timerFired();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void SplashDirTreeBuildWindow::showSplash(DirectoryTree& tree) {
    Win32SplashView view(ui_);
    SplashDirTreeBuild presenter(tree, view, ui_);
    presenter.load();
    const bool ownerWasEnabled = owner_ != nullptr && IsWindowEnabled(owner_);
    if (ownerWasEnabled) {
        EnableWindow(owner_, FALSE);
    }
    if (view.window() != nullptr) {
        ShowWindow(view.window(), SW_SHOW);
        UpdateWindow(view.window());
    }
    presenter.activate();
    if (ownerWasEnabled) {
        EnableWindow(owner_, TRUE);
    }
}

}  // namespace snapdesk
