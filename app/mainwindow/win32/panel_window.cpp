// The panel's child windows: containers of our own class, the common tab control with its
// strip at the bottom, scroll bar controls, static labels and the tiles of zimDisplayWidget.

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "mainwindow/win32/panel_window.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "base/unique_handle.h"
#include "common/runtime_error.h"
#include "mainwindow/win32/twips_scale.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_picture.h"
#include "zim_display_widget.h"

namespace snapdesk {

namespace {

constexpr wchar_t kBoxClass[] = L"SnapdeskPanelBox";
constexpr UINT_PTR kTabSubclassId = 1;
constexpr int kTabCount = 4;

COLORREF toColorRef(std::uint32_t color) {
    if ((color & 0x80000000u) != 0) {
        return GetSysColor(static_cast<int>(color & 0xFFu));
    }
    return static_cast<COLORREF>(color & 0xFFFFFFu);
}

HFONT verdana(int points, int dpiY) {
    static std::map<int, HFONT> fonts;  // shared for the life of the process
    const int height = -MulDiv(points, dpiY, 72);
    HFONT& font = fonts[height];
    if (font == nullptr) {
        font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, L"Verdana");
    }
    return font;
}

std::string errorDescription(int number) {
    switch (number) {
        case 5:
            return "Invalid procedure call or argument";
        case 7:
            return "Out of memory";
        case 382:
            return "Set not supported at runtime";
        case 480:
            return "Can't create AutoRedraw image";
        case 481:
            return "Invalid picture";
        default:
            return "Application-defined or object-defined error";
    }
}

void check(int result) {
    if (result != 0) {
        throw RuntimeError(result, errorDescription(result), "zimDisplayWidget");
    }
}

// A container with a background colour; what its children report goes to the view.
struct Box {
    class Win32PanelView* view = nullptr;
    COLORREF color = GetSysColor(COLOR_BTNFACE);
    win32::unique_hbrush brush;

    HBRUSH currentBrush() {
        if (!brush) {
            brush.reset(CreateSolidBrush(color));
        }
        return brush.get();
    }
    void setColor(COLORREF c) {
        if (c != color) {
            color = c;
            brush.reset();
        }
    }
};

class Win32Tile;

class Win32PanelView final : public PanelView {
  public:
    explicit Win32PanelView(HWND parent);
    ~Win32PanelView() override;
    Win32PanelView(const Win32PanelView&) = delete;
    Win32PanelView& operator=(const Win32PanelView&) = delete;

    void setEvents(PanelViewEvents* events) override { events_ = events; }
    TileView& createTile(long k, int width, int height) override;
    bool requestNextTurn() override;
    Bounds bounds(PanelControl control) override { return slot(control).bounds; }
    void setBounds(PanelControl control, const Bounds& bounds) override;
    int innerWidth(PanelControl control) override;
    int innerHeight(PanelControl control) override;
    bool visible(PanelControl control) override {
        return (GetWindowLongPtrW(slot(control).hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    }
    void setVisible(PanelControl control, bool visible) override;
    void setBackColor(PanelControl control, std::uint32_t color) override;
    void setCaption(PanelControl control, const std::string& caption) override;
    std::string caption(PanelControl control) override { return slot(control).caption; }
    void setFontSize(PanelControl control, int points) override;
    int tabStripHeight() override;
    void setTabCaption(int tab, const std::string& caption) override;
    std::string tabCaption(int tab) override { return tabs_[index(tab)].caption; }
    void setTabVisible(int tab, bool visible) override;
    bool tabVisible(int tab) override { return tabs_[index(tab)].visible; }
    void selectTab(int tab) override;
    void setScrollRange(PanelControl bar, const ScrollRange& range) override;
    ScrollRange scrollRange(PanelControl bar) override { return bar_(bar).range; }
    int scrollValue(PanelControl bar) override { return bar_(bar).value; }
    void setScrollValue(PanelControl bar, int value) override;

    // From the windows.
    void scrollMessage(HWND bar, int request);
    void tabSelectionChanged();
    void nextTurnCame();
    PanelViewEvents* events() { return events_; }
    const TwipsScale& scale() const { return scale_; }
    void setScale(const TwipsScale& scale);
    HWND canvas() const { return slots_.at(PanelControl::canvas).hwnd; }
    HWND windowOf(PanelControl control) { return slot(control).hwnd; }

  private:
    struct Slot {
        HWND hwnd = nullptr;
        Bounds bounds;
        RECT applied{-1, -1, -1, -1};
        std::string caption;
        int fontPoints = 0;
        Box* box = nullptr;  // our own containers
    };
    struct Tab {
        std::string caption;
        bool visible = true;
    };
    struct Bar {
        ScrollRange range{0, 1, 1};
        int value = 0;
    };

    static std::size_t index(int tab) { return static_cast<std::size_t>(std::clamp(tab, 0, 3)); }
    Slot& slot(PanelControl control) { return slots_[control]; }
    Bar& bar_(PanelControl control) { return control == PanelControl::vScroll ? vBar_ : hBar_; }
    HWND makeBox(HWND parent, PanelControl control, DWORD style);
    HWND makeChild(HWND parent, PanelControl control, const wchar_t* cls, DWORD style);
    void fitLabel(PanelControl control);
    void rebuildTabs();
    void applyScrollInfo(PanelControl bar);

    TwipsScale scale_;
    PanelViewEvents* events_ = nullptr;
    bool turnRequested_ = false;
    std::map<PanelControl, Slot> slots_;
    std::vector<std::unique_ptr<Box>> boxes_;
    win32::unique_window frame_;  // MainFrame; its children go with it
    std::vector<std::unique_ptr<Win32Tile>> tiles_;
    std::array<Tab, kTabCount> tabs_{};
    int selected_ = 0;
    bool rebuilding_ = false;
    Bar vBar_;
    Bar hBar_;
};

// One tile: the control of zimDisplayWidget.dll and its events, with the index k.
class Win32Tile final : public TileView, public zim::DisplayControlEvents {
  public:
    Win32Tile(Win32PanelView& view, long k) : view_(view), k_(k) {}
    Win32Tile(const Win32Tile&) = delete;
    Win32Tile& operator=(const Win32Tile&) = delete;

    void create(HWND parent, int width, int height) {
        check(zimCreateDisplayControl(parent, this, control_.put()));
        box_ = {0, 0, width, height};
        place();
    }

    void setPicture(const PicturePtr& picture) override {
        IUnknown* object = nullptr;
        if (const auto* ole = dynamic_cast<const Win32Picture*>(picture.get())) {
            object = ole->picture();
        }
        check(control_->putref_Picture(object));
    }
    std::string fileName() override { return control_->get_FileName(); }
    void setFileName(const std::string& name) override {
        check(control_->put_FileName(name.c_str()));
    }
    std::string comment() override { return control_->get_Comment(); }
    void setComment(const std::string& comment) override {
        check(control_->put_Comment(comment.c_str()));
    }
    bool isBusy() override { return control_->get_IsBusy(); }
    std::string editorText() override {
        const HWND editor = GetDlgItem(control_->hWnd(), zim::kIdEditor);
        if (editor == nullptr || !control_->get_IsBusy()) {
            return comment();
        }
        const int length = GetWindowTextLengthW(editor);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(editor, text.data(), length + 1)));
        return win32::toUtf8(text);
    }
    std::uint32_t foreColor() override { return control_->get_ForeColor(); }
    std::uint32_t backColor() override { return control_->get_BackColor(); }
    void setBackColor(std::uint32_t color) override { check(control_->put_BackColor(color)); }
    std::uint32_t focusColor() override { return control_->get_FocusColor(); }
    std::uint32_t fileNameColor() override { return control_->get_FileNameColor(); }
    void setFileNameColor(std::uint32_t color) override {
        check(control_->put_FileNameColor(color));
    }
    void setResolution(int resolution) override {
        check(control_->put_Resolution(static_cast<short>(resolution)));
    }
    bool isPictureVisible() override { return control_->get_PictureVisible(); }
    void setPictureVisible(bool visible) override { check(control_->put_PictureVisible(visible)); }
    std::uint32_t commentColor() override { return control_->get_CommentColor(); }
    void setCommentColor(std::uint32_t color) override { check(control_->put_CommentColor(color)); }
    void drawIcon(IconHandle icon) override {
        HDC dc = control_->get_hDC();
        if (dc == nullptr) {
            check(480);  // no drawing surface: graphics memory is exhausted
        }
        if (icon != 0) {
            DrawIcon(dc, 0, 0, reinterpret_cast<HICON>(static_cast<std::uintptr_t>(icon)));
        }
        control_->Refresh();
    }

    int left() override { return box_.left; }
    int top() override { return box_.top; }
    int width() override { return box_.width; }
    int height() override { return box_.height; }
    void move(int left, int top) override {
        box_.left = left;
        box_.top = top;
        place();
    }
    void setSize(int width, int height) override {
        box_.width = width;
        box_.height = height;
        place();
    }
    bool visible() override {
        return (GetWindowLongPtrW(control_->hWnd(), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    void setVisible(bool visible) override {
        if (visible != this->visible()) {
            ShowWindow(control_->hWnd(), visible ? SW_SHOWNA : SW_HIDE);
        }
    }
    int tabIndex() override { return tabIndex_; }
    void setTabIndex(int index) override { tabIndex_ = index; }
    bool tabStop() override {
        return (GetWindowLongPtrW(control_->hWnd(), GWL_STYLE) & WS_TABSTOP) != 0;
    }
    void setTabStop(bool stop) override {
        const LONG_PTR style = GetWindowLongPtrW(control_->hWnd(), GWL_STYLE);
        const LONG_PTR wanted = stop ? (style | WS_TABSTOP) : (style & ~LONG_PTR{WS_TABSTOP});
        if (wanted != style) {
            SetWindowLongPtrW(control_->hWnd(), GWL_STYLE, wanted);
        }
    }
    void bringToFront() override {
        SetWindowPos(control_->hWnd(), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    void setFocus() override {
        HWND display = GetDlgItem(control_->hWnd(), zim::kIdDisplay);
        SetFocus(display != nullptr ? display : control_->hWnd());
    }

    HWND hwnd() const { return control_ ? control_->hWnd() : nullptr; }

    // Tile events, with the index k. Nothing may escape into the control library.
    void MouseDown(zim::DisplayControl&, short& button, short& shift, float& x, float& y) override {
        deliver([&](PanelViewEvents& e) { e.tileMouseDown(k_, button, shift, x, y); });
    }
    void CommentChanged(zim::DisplayControl&) override {
        deliver([&](PanelViewEvents& e) { e.tileCommentChanged(k_); });
    }
    void KeyPress(zim::DisplayControl&, short& keyAscii) override {
        deliver([&](PanelViewEvents& e) { e.tileKeyPress(k_, keyAscii); });
    }
    void DblClick(zim::DisplayControl&) override {
        deliver([&](PanelViewEvents& e) { e.tileDblClick(k_); });
    }
    void Click(zim::DisplayControl&) override {
        deliver([&](PanelViewEvents& e) { e.tileClick(k_); });
    }
    void GotFocus(zim::DisplayControl&) override {
        deliver([&](PanelViewEvents& e) { e.tileGotFocus(k_); });
    }
    void LostFocus(zim::DisplayControl&) override {
        deliver([&](PanelViewEvents& e) { e.tileLostFocus(k_); });
    }

  private:
    template <typename F>
    void deliver(F&& f) {
        if (PanelViewEvents* events = view_.events()) {
            try {
                f(*events);
            } catch (...) {
                // The handlers report their own failures; the library must not see one.
            }
        }
    }
    void place() {
        const RECT r = view_.scale().pixels(box_);
        if (r.left == applied_.left && r.top == applied_.top && r.right == applied_.right &&
            r.bottom == applied_.bottom) {
            return;
        }
        applied_ = r;
        SetWindowPos(control_->hWnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }

    Win32PanelView& view_;
    long k_;
    win32::unique_com<zim::DisplayControl> control_;
    Bounds box_;
    RECT applied_{-1, -1, -1, -1};
    int tabIndex_ = 0;
};

// Posted to the canvas for the panel's next step of work.
constexpr UINT kNextTurnMessage = WM_APP + 0x41;

Box* boxOf(HWND hwnd) {
    return reinterpret_cast<Box*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Messages every container of the panel handles alike.
bool panelMessage(Box* box, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (box == nullptr || box->view == nullptr) {
        return false;
    }
    switch (message) {
        case kNextTurnMessage:
            box->view->nextTurnCame();
            result = 0;
            return true;
        case WM_VSCROLL:
        case WM_HSCROLL:
            if (lParam != 0) {
                box->view->scrollMessage(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
                result = 0;
                return true;
            }
            return false;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header != nullptr && header->code == TCN_SELCHANGE) {
                box->view->tabSelectionChanged();
                result = 0;
                return true;
            }
            return false;
        }
        case WM_CTLCOLORSTATIC: {
            // Labels and the corner take their container's colour.
            auto dc = reinterpret_cast<HDC>(wParam);
            SetBkColor(dc, box->color);
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            result = reinterpret_cast<LRESULT>(box->currentBrush());
            return true;
        }
        default:
            return false;
    }
}

LRESULT CALLBACK boxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    Box* box = boxOf(hwnd);
    LRESULT result = 0;
    if (panelMessage(box, message, wParam, lParam, result)) {
        return result;
    }
    if (message == WM_ERASEBKGND && box != nullptr) {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, box->currentBrush());
        return 1;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK tabProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                         DWORD_PTR data) {
    LRESULT result = 0;
    if (message != WM_NOTIFY &&
        panelMessage(reinterpret_cast<Box*>(data), message, wParam, lParam, result)) {
        return result;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void registerBoxClass() {
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = boxProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kBoxClass;
    registered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

Win32PanelView::Win32PanelView(HWND parent) : scale_(TwipsScale::ofWindow(parent)) {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
    registerBoxClass();

    HWND frame = makeBox(parent, PanelControl::MainFrame, WS_CHILD | WS_VISIBLE);
    frame_.reset(frame);
    HWND tab = makeChild(
        frame, PanelControl::tabControl, WC_TABCONTROLW,
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TCS_BOTTOM | TCS_FOCUSNEVER);
    // The tab control holds the viewport and the bars, and hears their messages.
    auto tabBox = std::make_unique<Box>();
    tabBox->view = this;
    SetWindowSubclass(tab, tabProc, kTabSubclassId, reinterpret_cast<DWORD_PTR>(tabBox.get()));
    slot(PanelControl::tabControl).box = tabBox.get();
    boxes_.push_back(std::move(tabBox));

    HWND portal = makeBox(tab, PanelControl::pbxPortal, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
    HWND canvas = makeBox(portal, PanelControl::canvas, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
    makeChild(canvas, PanelControl::lblClickAny, L"STATIC", WS_CHILD | WS_VISIBLE | SS_LEFT);
    makeChild(canvas, PanelControl::lblProjectName, L"STATIC", WS_CHILD | SS_LEFT);
    HWND strip = makeBox(tab, PanelControl::frmScrollBox, WS_CHILD | WS_CLIPCHILDREN);
    makeChild(strip, PanelControl::hScroll, L"SCROLLBAR", WS_CHILD | SBS_HORZ);
    makeChild(strip, PanelControl::corner, L"STATIC", WS_CHILD);
    HWND vbar = makeChild(tab, PanelControl::vScroll, L"SCROLLBAR", WS_CHILD | SBS_VERT);
    // The vertical bar lies over the viewport's right edge.
    SetWindowPos(vbar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (PanelControl label : {PanelControl::lblClickAny, PanelControl::lblProjectName}) {
        setFontSize(label, 10);
    }
    setFontSize(PanelControl::tabControl, 10);
}

Win32PanelView::~Win32PanelView() {
    events_ = nullptr;
    tiles_.clear();
    if (HWND tab = slots_[PanelControl::tabControl].hwnd) {
        RemoveWindowSubclass(tab, tabProc, kTabSubclassId);
    }
    frame_.reset();
}

HWND Win32PanelView::makeBox(HWND parent, PanelControl control, DWORD style) {
    auto box = std::make_unique<Box>();
    box->view = this;
    HWND hwnd = CreateWindowExW(0, kBoxClass, L"", style | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                                nullptr, GetModuleHandleW(nullptr), box.get());
    Slot& s = slot(control);
    s.hwnd = hwnd;
    s.box = box.get();
    boxes_.push_back(std::move(box));
    return hwnd;
}

HWND Win32PanelView::makeChild(HWND parent, PanelControl control, const wchar_t* cls, DWORD style) {
    HWND hwnd = CreateWindowExW(0, cls, L"", style | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    slots_[control].hwnd = hwnd;
    return hwnd;
}

TileView& Win32PanelView::createTile(long k, int width, int height) {
    auto tile = std::make_unique<Win32Tile>(*this, k);
    tile->create(canvas(), width, height);
    tiles_.push_back(std::move(tile));
    return *tiles_.back();
}

bool Win32PanelView::requestNextTurn() {
    if (!turnRequested_) {
        turnRequested_ = PostMessageW(canvas(), kNextTurnMessage, 0, 0) != 0;
    }
    return turnRequested_;
}

void Win32PanelView::nextTurnCame() {
    turnRequested_ = false;
    if (events_ != nullptr) {
        events_->nextTurn();
    }
}

void Win32PanelView::setBounds(PanelControl control, const Bounds& bounds) {
    Slot& s = slot(control);
    s.bounds = bounds;
    const RECT r = scale_.pixels(bounds);
    if (std::memcmp(&r, &s.applied, sizeof r) == 0) {
        return;
    }
    s.applied = r;
    SetWindowPos(s.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

int Win32PanelView::innerWidth(PanelControl control) {
    RECT r;
    GetClientRect(slot(control).hwnd, &r);
    RECT w;
    GetWindowRect(slot(control).hwnd, &w);
    // The set size minus what a border takes, so that rounding never drifts.
    return slot(control).bounds.width - scale_.twipsX((w.right - w.left) - r.right);
}

int Win32PanelView::innerHeight(PanelControl control) {
    RECT r;
    GetClientRect(slot(control).hwnd, &r);
    RECT w;
    GetWindowRect(slot(control).hwnd, &w);
    return slot(control).bounds.height - scale_.twipsY((w.bottom - w.top) - r.bottom);
}

void Win32PanelView::setVisible(PanelControl control, bool visible) {
    if (visible != this->visible(control)) {
        ShowWindow(slot(control).hwnd, visible ? SW_SHOWNA : SW_HIDE);
    }
}

void Win32PanelView::setBackColor(PanelControl control, std::uint32_t color) {
    Slot& s = slot(control);
    if (s.box == nullptr) {
        return;
    }
    const COLORREF c = toColorRef(color);
    if (c != s.box->color) {
        s.box->setColor(c);
        InvalidateRect(s.hwnd, nullptr, TRUE);
        // The labels on it take the new colour.
        for (HWND child = GetWindow(s.hwnd, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            InvalidateRect(child, nullptr, TRUE);
        }
    }
}

void Win32PanelView::setCaption(PanelControl control, const std::string& caption) {
    Slot& s = slot(control);
    if (s.caption == caption && s.hwnd != nullptr && s.bounds.width != 0) {
        return;
    }
    s.caption = caption;
    SetWindowTextW(s.hwnd, win32::toWide(caption).c_str());
    fitLabel(control);
}

// A label is as large as its text in its font ("&&" shows one "&").
void Win32PanelView::fitLabel(PanelControl control) {
    Slot& s = slot(control);
    RECT r{0, 0, 0, 0};
    {
        const win32::unique_window_dc screen = win32::get_dc(nullptr);
        if (!screen) {
            return;
        }
        const auto font = win32::select_object(
            screen.get(), reinterpret_cast<HFONT>(SendMessageW(s.hwnd, WM_GETFONT, 0, 0)));
        const std::wstring text = win32::toWide(s.caption);
        DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &r,
                  DT_CALCRECT | DT_SINGLELINE);
        if (r.bottom == 0) {
            TEXTMETRICW metrics{};
            GetTextMetricsW(screen.get(), &metrics);
            r.bottom = metrics.tmHeight;
        }
    }
    Bounds b = s.bounds;
    b.width = scale_.twipsX(r.right);
    b.height = scale_.twipsY(r.bottom);
    setBounds(control, b);
}

void Win32PanelView::setFontSize(PanelControl control, int points) {
    Slot& s = slot(control);
    if (s.fontPoints == points) {
        return;
    }
    s.fontPoints = points;
    SendMessageW(s.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(verdana(points, scale_.dpiY)), TRUE);
    if (control == PanelControl::lblClickAny || control == PanelControl::lblProjectName) {
        fitLabel(control);
    }
}

// Fonts at the new scale at once; every place is applied again when the panel lays out anew.
void Win32PanelView::setScale(const TwipsScale& scale) {
    scale_ = scale;
    for (auto& [control, s] : slots_) {
        s.applied = {-1, -1, -1, -1};
        if (s.fontPoints > 0) {
            const int points = s.fontPoints;
            s.fontPoints = 0;
            setFontSize(control, points);
        }
    }
}

int Win32PanelView::tabStripHeight() {
    // With the strip at the bottom, the display area ends where the strip begins.
    RECT r{0, 0, 1000, 1000};
    SendMessageW(slot(PanelControl::tabControl).hwnd, TCM_ADJUSTRECT, FALSE,
                 reinterpret_cast<LPARAM>(&r));
    return scale_.twipsY(1000 - r.bottom);
}

void Win32PanelView::setTabCaption(int tab, const std::string& caption) {
    Tab& t = tabs_[index(tab)];
    if (t.caption != caption) {
        t.caption = caption;
        rebuildTabs();
    }
}

void Win32PanelView::setTabVisible(int tab, bool visible) {
    Tab& t = tabs_[index(tab)];
    if (t.visible != visible) {
        t.visible = visible;
        rebuildTabs();
    }
}

// The tab control knows only the visible tabs; each item remembers its tab index.
void Win32PanelView::rebuildTabs() {
    HWND tab = slot(PanelControl::tabControl).hwnd;
    rebuilding_ = true;
    SendMessageW(tab, TCM_DELETEALLITEMS, 0, 0);
    int position = 0;
    for (int i = 0; i < kTabCount; ++i) {
        if (!tabs_[static_cast<std::size_t>(i)].visible) {
            continue;
        }
        std::wstring text = win32::toWide(tabs_[static_cast<std::size_t>(i)].caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = text.data();
        item.lParam = i;
        SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(position++),
                     reinterpret_cast<LPARAM>(&item));
    }
    rebuilding_ = false;
    selectTab(selected_);
}

void Win32PanelView::selectTab(int tab) {
    selected_ = tab;
    HWND control = slot(PanelControl::tabControl).hwnd;
    const int items = static_cast<int>(SendMessageW(control, TCM_GETITEMCOUNT, 0, 0));
    for (int position = 0; position < items; ++position) {
        TCITEMW item{};
        item.mask = TCIF_PARAM;
        SendMessageW(control, TCM_GETITEMW, static_cast<WPARAM>(position),
                     reinterpret_cast<LPARAM>(&item));
        if (item.lParam == tab) {
            SendMessageW(control, TCM_SETCURSEL, static_cast<WPARAM>(position), 0);
            return;
        }
    }
}

void Win32PanelView::tabSelectionChanged() {
    if (rebuilding_) {
        return;
    }
    HWND control = slot(PanelControl::tabControl).hwnd;
    const int position = static_cast<int>(SendMessageW(control, TCM_GETCURSEL, 0, 0));
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    if (position < 0 || SendMessageW(control, TCM_GETITEMW, static_cast<WPARAM>(position),
                                     reinterpret_cast<LPARAM>(&item)) == 0) {
        return;
    }
    selected_ = static_cast<int>(item.lParam);
    if (events_ != nullptr) {
        events_->tabSelected(selected_);
    }
}

// Positions run from 0 to Max; the thumb is one LargeChange long.
void Win32PanelView::applyScrollInfo(PanelControl control) {
    const Bar& b = bar_(control);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nPage = static_cast<UINT>(std::max(1, b.range.largeChange));
    info.nMax = std::max(0, b.range.max) + static_cast<int>(info.nPage) - 1;
    info.nPos = b.value;
    SetScrollInfo(slot(control).hwnd, SB_CTL, &info, TRUE);
}

void Win32PanelView::setScrollRange(PanelControl control, const ScrollRange& range) {
    Bar& b = bar_(control);
    if (b.range == range) {
        return;
    }
    b.range = range;
    applyScrollInfo(control);
}

void Win32PanelView::setScrollValue(PanelControl control, int value) {
    Bar& b = bar_(control);
    b.value = value;
    applyScrollInfo(control);
}

void Win32PanelView::scrollMessage(HWND hwnd, int request) {
    const PanelControl control =
        hwnd == slot(PanelControl::vScroll).hwnd ? PanelControl::vScroll : PanelControl::hScroll;
    if (hwnd != slot(control).hwnd) {
        return;
    }
    Bar& b = bar_(control);
    int value = b.value;
    switch (request) {
        case SB_LINEUP:
            value -= b.range.smallChange;
            break;
        case SB_LINEDOWN:
            value += b.range.smallChange;
            break;
        case SB_PAGEUP:
            value -= b.range.largeChange;
            break;
        case SB_PAGEDOWN:
            value += b.range.largeChange;
            break;
        case SB_TOP:
            value = 0;
            break;
        case SB_BOTTOM:
            value = b.range.max;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(hwnd, SB_CTL, &info);
            value = info.nTrackPos;
            break;
        }
        default:
            return;
    }
    value = std::clamp(value, 0, std::max(0, b.range.max));
    if (value == b.value) {
        return;
    }
    b.value = value;
    applyScrollInfo(control);
    if (events_ != nullptr) {
        try {
            events_->scrollChanged(control, value);
        } catch (...) {
            // A window procedure must not pass on a failure.
        }
    }
}

}  // namespace

std::unique_ptr<PanelView> createPanelView(HWND parent) {
    return std::make_unique<Win32PanelView>(parent);
}

HWND panelWindowOf(PanelView& view, PanelControl control) {
    auto* win32 = dynamic_cast<Win32PanelView*>(&view);
    return win32 != nullptr ? win32->windowOf(control) : nullptr;
}

void setPanelScale(PanelView& view, const TwipsScale& scale) {
    if (auto* win32 = dynamic_cast<Win32PanelView*>(&view)) {
        win32->setScale(scale);
    }
}

HWND tileWindowOf(TileView& tile) {
    auto* win32 = dynamic_cast<Win32Tile*>(&tile);
    return win32 != nullptr ? win32->hwnd() : nullptr;
}

}  // namespace snapdesk
