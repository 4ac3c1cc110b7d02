// The Win32 tile: real child windows that show the portable model's geometry.

#include <windowsx.h>

#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "base/unique_handle.h"
#include "base/utf_convert.h"
#include "base/window_dpi.h"
#include "common/runtime_error.h"
#include "display_control_model.h"
#include "zim_display_widget.h"

namespace {

using zim::Part;
namespace win32 = snapdesk::win32;

constexpr wchar_t kTileClass[] = L"zimDisplayControl";
constexpr wchar_t kPictureClass[] = L"zimDisplayPicture";
constexpr wchar_t kLabelClass[] = L"zimDisplayLabel";

HINSTANCE moduleInstance() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&moduleInstance), &module);
    return module;
}

COLORREF toColorRef(zim::OleColor color) {
    if ((color & 0x80000000u) != 0) {
        return GetSysColor(static_cast<int>(color & 0xFFu));
    }
    return static_cast<COLORREF>(color & 0xFFFFFFu);
}

// Pixels per inch of a window (of the screen before it has one), horizontally and vertically:
// the same in both directions on every display Windows still drives.
struct Dpi {
    int x = 96;
    int y = 96;
};
Dpi dpiOf(HWND window) {
    const int dpi = win32::windowDpi(window);
    return {dpi, dpi};
}

// Arial in the sizes the tile uses at a scale, shared by every tile of the process.
HFONT arialFont(double pointSize, bool bold, int dpiY) {
    static std::map<std::pair<int, bool>, HFONT> fonts;
    const int height = -static_cast<int>(std::lround(pointSize * dpiY / 72.0));
    auto& font = fonts[{height, bold}];
    if (font == nullptr) {
        font = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    }
    return font;
}

int partId(Part p) {
    switch (p) {
        case Part::pbxDisplay:
            return zim::kIdDisplay;
        case Part::lblFile:
            return zim::kIdFile;
        case Part::lblFileD:
            return zim::kIdFileD;
        case Part::lblComment:
            return zim::kIdComment;
        case Part::lblCommentD:
            return zim::kIdCommentD;
        case Part::txtEditor:
            return zim::kIdEditor;
        default:
            return 0;
    }
}

constexpr std::array<Part, 6> kWindowedParts = {Part::pbxDisplay,  Part::lblFile,
                                                Part::lblFileD,    Part::lblComment,
                                                Part::lblCommentD, Part::txtEditor};

// Holds one reference to an OLE picture for as long as the model keeps it.
class OlePicture final : public zim::PictureObject {
  public:
    explicit OlePicture(win32::unique_com<IPicture> picture) : picture_(std::move(picture)) {}
    IPicture* get() const { return picture_.get(); }

  private:
    win32::unique_com<IPicture> picture_;
};

IPicture* olePicture(const zim::PictureRef& ref) {
    auto* wrapper = dynamic_cast<OlePicture*>(ref.get());
    return wrapper == nullptr ? nullptr : wrapper->get();
}

// The same object, or two pictures of the same bitmap at the same size, show the same.
bool samePicture(IPicture* a, IPicture* b) {
    if (a == b) {
        return true;
    }
    if (a == nullptr || b == nullptr) {
        return false;
    }
    SHORT typeA = 0, typeB = 0;
    OLE_HANDLE handleA = 0, handleB = 0;
    OLE_XSIZE_HIMETRIC widthA = 0, widthB = 0;
    OLE_YSIZE_HIMETRIC heightA = 0, heightB = 0;
    return SUCCEEDED(a->get_Type(&typeA)) && SUCCEEDED(b->get_Type(&typeB)) && typeA == typeB &&
           typeA == PICTYPE_BITMAP && SUCCEEDED(a->get_Handle(&handleA)) &&
           SUCCEEDED(b->get_Handle(&handleB)) && handleA != 0 && handleA == handleB &&
           SUCCEEDED(a->get_Width(&widthA)) && SUCCEEDED(b->get_Width(&widthB)) &&
           widthA == widthB && SUCCEEDED(a->get_Height(&heightA)) &&
           SUCCEEDED(b->get_Height(&heightB)) && heightA == heightB;
}

class Tile final : public zim::DisplayControl, zim::Events, zim::View {
  public:
    explicit Tile(zim::DisplayControlEvents* sink)
        : sink_(sink),
          dpi_(dpiOf(nullptr)),
          model_([this](std::string_view text, bool bold,
                        double size) { return measure(text, bold, size); },
                 *this, *this) {}

    bool create(HWND parent);

    // DisplayControl
    int putref_Picture(IUnknown* picture) override;
    IPictureDisp* get_Picture() override;
    IPictureDisp* get_Image() override;
    void Refresh() override;
    void Cls() override;
    const char* get_FileName() override { return model_.FileName().c_str(); }
    int put_FileName(const char* name) override {
        return guarded([&] { model_.setFileName(name == nullptr ? "" : name); });
    }
    const char* get_Comment() override { return model_.Comment().c_str(); }
    int put_Comment(const char* comment) override {
        return guarded([&] { model_.setComment(comment == nullptr ? "" : comment); });
    }
    bool get_IsBusy() override { return model_.IsBusy(); }
    int put_IsBusy(bool busy) override {
        return guarded([&] { model_.setIsBusy(busy); });
    }
    OLE_COLOR get_ForeColor() override { return model_.ForeColor(); }
    int put_ForeColor(OLE_COLOR color) override {
        return guarded([&] { model_.setForeColor(color); });
    }
    OLE_COLOR get_BackColor() override { return model_.BackColor(); }
    int put_BackColor(OLE_COLOR color) override {
        return guarded([&] {
            const zim::OleColor before = model_.part(Part::pbxDisplay).backColor;
            model_.setBackColor(color);
            if (model_.part(Part::pbxDisplay).backColor != before) {
                invalidateImage();
            } else {
                resetDrawing();
            }
        });
    }
    OLE_COLOR get_FocusColor() override { return model_.FocusColor(); }
    int put_FocusColor(OLE_COLOR color) override {
        return guarded([&] { model_.setFocusColor(color); });
    }
    OLE_COLOR get_FileNameColor() override { return model_.FileNameColor(); }
    int put_FileNameColor(OLE_COLOR color) override {
        return guarded([&] { model_.setFileNameColor(color); });
    }
    short get_Resolution() override { return model_.Resolution(); }
    int put_Resolution(short resolution) override {
        // Set again when the container's scale changed: the tile's own may have too.
        const bool rescaled = followWindowScale();
        return guarded([&] {
            model_.setResolution(resolution);
            if (rescaled) {
                apply();
            }
        });
    }
    bool get_PictureVisible() override { return model_.PictureVisible(); }
    int put_PictureVisible(bool visible) override {
        return guarded([&] { model_.setPictureVisible(visible); });
    }
    HDC get_hDC() override;
    OLE_COLOR get_CommentColor() override { return model_.CommentColor(); }
    int put_CommentColor(OLE_COLOR color) override {
        return guarded([&] { model_.setCommentColor(color); });
    }
    HWND hWnd() override { return hwnd_; }
    void put_UserMode(bool userMode) override { model_.setUserMode(userMode); }
    int InitProperties() override {
        return guarded([&] { model_.initProperties(); });
    }
    int ReadProperties(IPropertyBag* bag) override;
    int WriteProperties(IPropertyBag* bag) override;
    void Release() override;

    static LRESULT CALLBACK tileProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK childProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK editorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    ~Tile() { releaseImage(); }

    // zim::Events
    void MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
        if (sink_ != nullptr) {
            short b = button, s = shift;
            sink_->MouseDown(*this, b, s, x, y);
        }
    }
    void CommentChanged() override {
        if (sink_ != nullptr) {
            sink_->CommentChanged(*this);
        }
    }
    void KeyPress(std::int16_t& keyAscii) override {
        if (sink_ != nullptr) {
            short k = keyAscii;
            sink_->KeyPress(*this, k);
            keyAscii = k;
        }
    }
    void DblClick() override {
        if (sink_ != nullptr) {
            sink_->DblClick(*this);
        }
    }
    void Click() override {
        if (sink_ != nullptr) {
            sink_->Click(*this);
        }
    }
    void PropertyChanged(std::string_view name) override {
        if (sink_ != nullptr) {
            const std::string text(name);
            sink_->PropertyChanged(*this, text.c_str());
        }
    }
    // zim::View
    void setFocus(Part p) override {
        if (HWND child = window(p)) {
            apply();  // the window must be visible before it can take the focus
            if (p == Part::txtEditor) {
                // Typing continues the comment rather than going in front of it.
                const int length = GetWindowTextLengthW(child);
                SendMessageW(child, EM_SETSEL, static_cast<WPARAM>(length), length);
            }
            SetFocus(child);
        }
    }

    template <typename F>
    int guarded(F&& f) {
        int result = 0;
        try {
            f();
        } catch (const snapdesk::RuntimeError& error) {
            result = error.number;
        } catch (const std::bad_alloc&) {
            result = zim::kErrorOutOfMemory;
        }
        apply();
        return result;
    }

    HWND window(Part p) const {
        for (std::size_t i = 0; i < kWindowedParts.size(); ++i) {
            if (kWindowedParts[i] == p) {
                return children_[i];
            }
        }
        return p == Part::surface ? hwnd_ : nullptr;
    }
    static Part partOf(HWND child) {
        const int id = GetDlgCtrlID(child);
        for (Part p : kWindowedParts) {
            if (partId(p) == id) {
                return p;
            }
        }
        return Part::surface;
    }
    static Tile* fromWindow(HWND hwnd) {
        return reinterpret_cast<Tile*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }

    // Takes the window's present scale; every part is placed and its font chosen again.
    bool followWindowScale() {
        const Dpi now = dpiOf(hwnd_);
        if (hwnd_ == nullptr || (now.x == dpi_.x && now.y == dpi_.y)) {
            return false;
        }
        dpi_ = now;
        appliedOnce_.fill(false);
        imageValid_ = false;
        return true;
    }
    double twipsX(int pixels) const { return pixels * 1440.0 / dpi_.x; }
    double twipsY(int pixels) const { return pixels * 1440.0 / dpi_.y; }
    int pixelsX(double twips) const { return static_cast<int>(std::lround(twips * dpi_.x / 1440)); }
    int pixelsY(double twips) const { return static_cast<int>(std::lround(twips * dpi_.y / 1440)); }
    RECT pixelRect(const zim::Rect& r) const {
        const int left = pixelsX(r.left);
        const int top = pixelsY(r.top);
        return {left, top, left + pixelsX(r.width), top + pixelsY(r.height)};
    }

    zim::TextExtent measure(std::string_view text, bool bold, double size) const;
    void apply();
    void paintLabel(HWND child, HDC dc) const;
    void paintPicture(HDC dc);
    void renderImage();
    void invalidateImage() {
        imageValid_ = false;
        drawnOn_ = false;
        if (HWND pbx = window(Part::pbxDisplay)) {
            InvalidateRect(pbx, nullptr, FALSE);
        }
    }
    // Back colour and picture again: only what was drawn on the image can be lost.
    void resetDrawing() {
        if (drawnOn_) {
            invalidateImage();
        }
    }
    void releaseImage();
    bool ensureImage();
    void mouseButton(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
    void focusMoved(HWND gaining, HWND losing, bool gained);

    zim::DisplayControlEvents* sink_;
    Dpi dpi_;
    zim::DisplayControlModel model_;
    HWND hwnd_ = nullptr;
    std::array<HWND, kWindowedParts.size()> children_{};
    std::array<zim::Constituent, kWindowedParts.size()> applied_{};
    std::array<bool, kWindowedParts.size()> appliedOnce_{};
    WNDPROC editProc_ = nullptr;
    HWND pressed_ = nullptr;  // the window a left button went down on
    bool hasFocus_ = false;
    bool destroying_ = false;

    // The picture area's persistent image: back colour, picture, then whatever was drawn.
    // Declared so that the bitmap is taken out of the DC, then the DC and then the bitmap go.
    win32::unique_hbitmap imageBitmap_;
    win32::unique_hdc imageDc_;
    win32::unique_selection imageSelection_;
    SIZE imageSize_{};
    bool imageValid_ = false;
    bool drawnOn_ = false;  // drawn through hDC since the image was last rendered
    bool surfaceApplied_ = false;
    zim::OleColor surfaceBackColor_ = 0;
};

bool registerClasses(HINSTANCE instance) {
    static bool registered = false;
    if (registered) {
        return true;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.lpfnWndProc = &Tile::tileProc;
    wc.lpszClassName = kTileClass;
    if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }
    wc.lpfnWndProc = &Tile::childProc;
    wc.lpszClassName = kPictureClass;
    if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }
    wc.lpszClassName = kLabelClass;
    if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }
    registered = true;
    return true;
}

bool Tile::create(HWND parent) {
    const HINSTANCE instance = moduleInstance();
    if (!registerClasses(instance)) {
        return false;
    }
    hwnd_ = CreateWindowExW(
        WS_EX_CONTROLPARENT, kTileClass, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
        pixelsX(zim::kDesignWidth), pixelsY(zim::kDesignHeight), parent, nullptr, instance, this);
    if (hwnd_ == nullptr) {
        return false;
    }
    dpi_ = dpiOf(hwnd_);
    for (std::size_t i = 0; i < kWindowedParts.size(); ++i) {
        const Part p = kWindowedParts[i];
        const wchar_t* windowClass = p == Part::pbxDisplay  ? kPictureClass
                                     : p == Part::txtEditor ? L"EDIT"
                                                            : kLabelClass;
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
        if (p == Part::pbxDisplay) {
            style |= WS_TABSTOP;
        } else if (p == Part::txtEditor) {
            style |= ES_AUTOHSCROLL | ES_LEFT | WS_BORDER;
        }
        children_[i] = CreateWindowExW(0, windowClass, L"", style, 0, 0, 0, 0, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(partId(p))),
                                       instance, nullptr);
        if (children_[i] == nullptr) {
            return false;
        }
        SetWindowLongPtrW(children_[i], GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    HWND editor = window(Part::txtEditor);
    editProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Tile::editorProc)));
    RECT client{};
    GetClientRect(hwnd_, &client);
    model_.setWidgetSize(twipsX(client.right), twipsY(client.bottom));
    apply();
    return true;
}

zim::TextExtent Tile::measure(std::string_view text, bool bold, double size) const {
    zim::TextExtent extent;
    const win32::unique_window_dc screen = win32::get_dc(nullptr);
    if (!screen) {
        return extent;
    }
    const auto font = win32::select_object(screen.get(), arialFont(size, bold, dpi_.y));
    const std::wstring wide = win32::toWide(text);
    SIZE s{};
    GetTextExtentPoint32W(screen.get(), wide.c_str(), static_cast<int>(wide.size()), &s);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.get(), &metrics);
    extent.width = twipsX(s.cx);
    extent.height = twipsY(metrics.tmHeight);
    return extent;
}

// Brings the child windows in line with the model, touching only what changed: a write that
// leaves the tile looking the same repaints nothing.
void Tile::apply() {
    if (hwnd_ == nullptr || destroying_) {
        return;
    }
    const zim::OleColor surfaceBack = model_.part(Part::surface).backColor;
    if (!surfaceApplied_ || surfaceBack != surfaceBackColor_) {
        surfaceApplied_ = true;
        surfaceBackColor_ = surfaceBack;
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
    for (std::size_t i = 0; i < kWindowedParts.size(); ++i) {
        const Part p = kWindowedParts[i];
        const zim::Constituent& want = model_.part(p);
        zim::Constituent& have = applied_[i];
        HWND child = children_[i];
        const bool first = !appliedOnce_[i];
        if (!first && want == have) {
            continue;
        }
        appliedOnce_[i] = true;
        if (first || !(want.rect == have.rect)) {
            const RECT r = pixelRect(want.rect);
            MoveWindow(child, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
            if (p == Part::pbxDisplay &&
                (r.right - r.left != imageSize_.cx || r.bottom - r.top != imageSize_.cy)) {
                imageValid_ = false;  // the image follows the area's size
            }
        }
        if (first || want.caption != have.caption) {
            const std::wstring text = win32::toWide(want.caption);
            if (p == Part::txtEditor) {
                // Only the model's own changes: what the user types is already there.
                const int length = GetWindowTextLengthW(child);
                std::wstring shown(static_cast<std::size_t>(length) + 1, L'\0');
                GetWindowTextW(child, shown.data(), length + 1);
                shown.resize(static_cast<std::size_t>(length));
                if (shown != text) {
                    SetWindowTextW(child, text.c_str());
                }
            } else {
                SetWindowTextW(child, text.c_str());
            }
        }
        if (first || want.fontSize != have.fontSize || want.bold != have.bold) {
            SendMessageW(child, WM_SETFONT,
                         reinterpret_cast<WPARAM>(arialFont(want.fontSize, want.bold, dpi_.y)),
                         FALSE);
        }
        if (first || want.backColor != have.backColor) {
            if (p == Part::pbxDisplay) {
                imageValid_ = false;
            }
        }
        InvalidateRect(child, nullptr, FALSE);
        if (first || want.visible != have.visible) {
            ShowWindow(child, want.visible ? SW_SHOWNA : SW_HIDE);
        }
        have = want;
    }
}

void Tile::paintLabel(HWND child, HDC dc) const {
    const zim::Constituent& c = model_.part(partOf(child));
    RECT r{};
    GetClientRect(child, &r);
    FillRect(dc, &r, win32::unique_hbrush(CreateSolidBrush(toColorRef(c.backColor))).get());
    const auto font = win32::select_object(dc, arialFont(c.fontSize, c.bold, dpi_.y));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, toColorRef(c.foreColor));
    const std::wstring text = win32::toWide(c.caption);
    // Shown as given (an "&" is not an access key), cut at the label's right edge.
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

void Tile::releaseImage() {
    imageSelection_.reset();
    imageDc_.reset();
    imageBitmap_.reset();
    imageSize_ = {};
    imageValid_ = false;
}

// Makes sure the persistent image exists in the area's size; redraws it from the back colour
// and the picture when it was invalidated.
bool Tile::ensureImage() {
    HWND pbx = window(Part::pbxDisplay);
    if (pbx == nullptr) {
        return false;
    }
    RECT r{};
    GetClientRect(pbx, &r);
    const SIZE size{r.right > 0 ? r.right : 1, r.bottom > 0 ? r.bottom : 1};
    if (!imageDc_ || size.cx != imageSize_.cx || size.cy != imageSize_.cy) {
        releaseImage();
        {
            const win32::unique_window_dc screen = win32::get_dc(nullptr);
            imageDc_.reset(CreateCompatibleDC(screen.get()));
            imageBitmap_.reset(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
        }
        if (!imageDc_ || !imageBitmap_) {
            releaseImage();
            return false;
        }
        imageSelection_ = win32::select_object(imageDc_.get(), imageBitmap_.get());
        imageSize_ = size;
    }
    if (!imageValid_) {
        renderImage();
    }
    return true;
}

void Tile::renderImage() {
    const RECT all{0, 0, imageSize_.cx, imageSize_.cy};
    const win32::unique_hbrush brush(
        CreateSolidBrush(toColorRef(model_.part(Part::pbxDisplay).backColor)));
    FillRect(imageDc_.get(), &all, brush.get());
    if (IPicture* picture = olePicture(model_.Picture())) {
        OLE_XSIZE_HIMETRIC width = 0;
        OLE_YSIZE_HIMETRIC height = 0;
        picture->get_Width(&width);
        picture->get_Height(&height);
        // At its own size from the top, centred across the area: a snapshot narrower than
        // the thumbnail box (a tall window) would otherwise sit off to the left.
        const int pixelWidth = MulDiv(width, dpi_.x, 2540);
        const int pixelHeight = MulDiv(height, dpi_.y, 2540);
        const int left = pixelWidth < imageSize_.cx ? (imageSize_.cx - pixelWidth) / 2 : 0;
        picture->Render(imageDc_.get(), left, 0, pixelWidth, pixelHeight, 0, height, width, -height,
                        nullptr);
    }
    imageValid_ = true;
    drawnOn_ = false;
}

void Tile::paintPicture(HDC dc) {
    if (!ensureImage()) {
        return;
    }
    BitBlt(dc, 0, 0, imageSize_.cx, imageSize_.cy, imageDc_.get(), 0, 0, SRCCOPY);
}

int Tile::putref_Picture(IUnknown* picture) {
    win32::unique_com<IPicture> olePic;
    if (picture != nullptr && FAILED(picture->QueryInterface(IID_IPicture, olePic.putVoid()))) {
        return zim::kErrorPictureTypeMismatch;
    }
    return guarded([&] {
        IPicture* const given = olePic.get();
        zim::PictureRef ref;
        if (olePic) {
            ref = std::make_shared<OlePicture>(std::move(olePic));
        }
        const bool same = samePicture(olePicture(model_.Picture()), given);
        model_.setPicture(std::move(ref));
        if (same) {
            resetDrawing();
        } else {
            invalidateImage();
        }
    });
}

IPictureDisp* Tile::get_Picture() {
    IPicture* picture = olePicture(model_.Picture());
    IPictureDisp* result = nullptr;
    if (picture != nullptr) {
        picture->QueryInterface(IID_IPictureDisp, reinterpret_cast<void**>(&result));
    }
    return result;
}

IPictureDisp* Tile::get_Image() {
    if (!ensureImage()) {
        return nullptr;
    }
    win32::unique_hbitmap copy;
    {
        const win32::unique_window_dc screen = win32::get_dc(nullptr);
        const win32::unique_hdc copyDc(CreateCompatibleDC(screen.get()));
        copy.reset(CreateCompatibleBitmap(screen.get(), imageSize_.cx, imageSize_.cy));
        if (!copyDc || !copy) {
            return nullptr;
        }
        const auto selected = win32::select_object(copyDc.get(), copy.get());
        BitBlt(copyDc.get(), 0, 0, imageSize_.cx, imageSize_.cy, imageDc_.get(), 0, 0, SRCCOPY);
    }
    PICTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = copy.get();
    IPictureDisp* result = nullptr;
    if (FAILED(OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE,
                                        reinterpret_cast<void**>(&result)))) {
        return nullptr;
    }
    static_cast<void>(copy.release());  // the picture owns the copy now
    return result;
}

void Tile::Refresh() {
    if (HWND pbx = window(Part::pbxDisplay)) {
        InvalidateRect(pbx, nullptr, FALSE);
        UpdateWindow(pbx);
    }
}

void Tile::Cls() {
    resetDrawing();
}

HDC Tile::get_hDC() {
    if (!ensureImage()) {
        return nullptr;
    }
    // What the caller draws now shows at the next paint.
    drawnOn_ = true;
    InvalidateRect(window(Part::pbxDisplay), nullptr, FALSE);
    return imageDc_.get();
}

int Tile::ReadProperties(IPropertyBag* bag) {
    if (bag == nullptr) {
        return 91;  // object variable not set
    }
    return guarded([&] {
        zim::PropertyBag values;
        const auto readAs = [&](const wchar_t* name, VARTYPE type, auto store) {
            VARIANT v;
            VariantInit(&v);
            V_VT(&v) = type;
            if (SUCCEEDED(bag->Read(name, &v, nullptr))) {
                VARIANT converted;
                VariantInit(&converted);
                if (SUCCEEDED(VariantChangeType(&converted, &v, 0, type))) {
                    store(converted);
                }
                VariantClear(&converted);
            }
            VariantClear(&v);
        };
        readAs(L"Picture", VT_UNKNOWN, [&](VARIANT& v) {
            win32::unique_com<IPicture> picture;
            if (V_UNKNOWN(&v) != nullptr &&
                SUCCEEDED(V_UNKNOWN(&v)->QueryInterface(IID_IPicture, picture.putVoid()))) {
                values.write("Picture",
                             zim::PictureRef(std::make_shared<OlePicture>(std::move(picture))));
            }
        });
        const auto readString = [&](const wchar_t* name, const char* key) {
            readAs(name, VT_BSTR, [&](VARIANT& v) {
                const BSTR text = V_BSTR(&v);
                values.write(key, win32::toUtf8(text == nullptr ? L"" : text));
            });
        };
        const auto readBool = [&](const wchar_t* name, const char* key) {
            readAs(name, VT_BOOL, [&](VARIANT& v) { values.write(key, V_BOOL(&v) != 0); });
        };
        const auto readColor = [&](const wchar_t* name, const char* key) {
            readAs(name, VT_I4,
                   [&](VARIANT& v) { values.write(key, static_cast<std::uint32_t>(V_I4(&v))); });
        };
        readString(L"FileName", "FileName");
        readString(L"Comment", "Comment");
        readBool(L"IsBusy", "IsBusy");
        readColor(L"FocusColor", "FocusColor");
        readColor(L"FileNameColor", "FileNameColor");
        readColor(L"ForeColor", "ForeColor");
        readAs(L"Resolution", VT_I2, [&](VARIANT& v) {
            values.write("Resolution", static_cast<std::int16_t>(V_I2(&v)));
        });
        readBool(L"PictureVisible", "PictureVisible");
        readColor(L"CommentColor", "CommentColor");
        model_.readProperties(values);
        invalidateImage();
    });
}

int Tile::WriteProperties(IPropertyBag* bag) {
    if (bag == nullptr) {
        return 91;
    }
    zim::PropertyBag values;
    model_.writeProperties(values);
    for (const auto& [name, value] : values.entries()) {
        VARIANT v;
        VariantInit(&v);
        if (const auto* picture = std::get_if<zim::PictureRef>(&value)) {
            IPictureDisp* disp = nullptr;
            if (IPicture* p = olePicture(*picture)) {
                p->QueryInterface(IID_IPictureDisp, reinterpret_cast<void**>(&disp));
            }
            V_VT(&v) = VT_DISPATCH;
            V_DISPATCH(&v) = disp;
        } else if (const auto* text = std::get_if<std::string>(&value)) {
            V_VT(&v) = VT_BSTR;
            V_BSTR(&v) = SysAllocString(win32::toWide(*text).c_str());
        } else if (const auto* flag = std::get_if<bool>(&value)) {
            V_VT(&v) = VT_BOOL;
            V_BOOL(&v) = *flag ? VARIANT_TRUE : VARIANT_FALSE;
        } else if (const auto* color = std::get_if<std::uint32_t>(&value)) {
            V_VT(&v) = VT_I4;
            V_I4(&v) = static_cast<LONG>(*color);
        } else if (const auto* number = std::get_if<std::int16_t>(&value)) {
            V_VT(&v) = VT_I2;
            V_I2(&v) = *number;
        } else {
            V_VT(&v) = VT_DISPATCH;  // no picture
            V_DISPATCH(&v) = nullptr;
        }
        const HRESULT hr = bag->Write(win32::toWide(name).c_str(), &v);
        VariantClear(&v);
        if (FAILED(hr)) {
            return 5;  // invalid procedure call
        }
    }
    return 0;
}

void Tile::Release() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
    delete this;
}

void Tile::mouseButton(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    const Part p = child == hwnd_ ? Part::surface : partOf(child);
    const float x = static_cast<float>(twipsX(GET_X_LPARAM(lParam)));
    const float y = static_cast<float>(twipsY(GET_Y_LPARAM(lParam)));
    std::int16_t shift = 0;
    if ((wParam & MK_SHIFT) != 0) {
        shift |= 1;
    }
    if ((wParam & MK_CONTROL) != 0) {
        shift |= 2;
    }
    if (GetKeyState(VK_MENU) < 0) {
        shift |= 4;
    }
    switch (message) {
        case WM_LBUTTONDOWN:
            pressed_ = child;
            SetCapture(child);
            model_.mouseDown(p, 1, shift, x, y);
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            model_.mouseDown(p, 2, shift, x, y);
            break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            model_.mouseDown(p, 4, shift, x, y);
            break;
        case WM_LBUTTONUP: {
            const bool wasPressed = pressed_ == child;
            pressed_ = nullptr;
            if (GetCapture() == child) {
                ReleaseCapture();
            }
            RECT r{};
            GetClientRect(child, &r);
            const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (wasPressed && PtInRect(&r, at)) {
                model_.click(p);
            }
            break;
        }
        case WM_LBUTTONDBLCLK:
            pressed_ = nullptr;
            model_.dblClick(p);
            break;
        default:
            break;
    }
    apply();
}

void Tile::focusMoved(HWND gaining, HWND losing, bool gained) {
    const auto inside = [this](HWND w) {
        return w != nullptr && (w == hwnd_ || IsChild(hwnd_, w));
    };
    if (gained && !hasFocus_) {
        hasFocus_ = true;
        if (sink_ != nullptr) {
            sink_->GotFocus(*this);
        }
    } else if (!gained && hasFocus_ && !inside(gaining)) {
        hasFocus_ = false;
        if (sink_ != nullptr) {
            sink_->LostFocus(*this);
        }
    }
    (void)losing;
}

LRESULT CALLBACK Tile::tileProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    Tile* tile = fromWindow(hwnd);
    if (tile == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
        case WM_ERASEBKGND: {
            RECT r{};
            GetClientRect(hwnd, &r);
            const win32::unique_hbrush brush(
                CreateSolidBrush(toColorRef(tile->model_.BackColor())));
            FillRect(reinterpret_cast<HDC>(wParam), &r, brush.get());
            return 1;
        }
        case WM_SIZE:
            tile->model_.setWidgetSize(tile->twipsX(LOWORD(lParam)), tile->twipsY(HIWORD(lParam)));
            return 0;
        case WM_SETFOCUS:
            if (HWND pbx = tile->window(Part::pbxDisplay)) {
                SetFocus(pbx);
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            tile->mouseButton(hwnd, message, wParam, lParam);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == zim::kIdEditor) {
                HWND editor = reinterpret_cast<HWND>(lParam);
                switch (HIWORD(wParam)) {
                    case EN_CHANGE: {
                        const int length = GetWindowTextLengthW(editor);
                        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
                        GetWindowTextW(editor, text.data(), length + 1);
                        text.resize(static_cast<std::size_t>(length));
                        tile->model_.editorTextChanged(win32::toUtf8(text));
                        tile->applied_[5].caption = tile->model_.editorText();
                        break;
                    }
                    case EN_SETFOCUS:
                        tile->model_.editorGotFocus();
                        break;
                    case EN_KILLFOCUS:
                        if (!tile->destroying_) {
                            tile->model_.editorLostFocus();
                            tile->apply();
                        }
                        break;
                    default:
                        break;
                }
                return 0;
            }
            break;
        case WM_DESTROY:
            tile->destroying_ = true;
            break;
        case WM_NCDESTROY:
            tile->releaseImage();
            tile->hwnd_ = nullptr;
            tile->children_ = {};
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Tile::childProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Tile* tile = fromWindow(hwnd);
    if (tile == nullptr || tile->hwnd_ == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    const bool isPicture = GetDlgCtrlID(hwnd) == zim::kIdDisplay;
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
        case WM_PRINTCLIENT: {
            PAINTSTRUCT ps{};
            HDC dc = message == WM_PAINT ? BeginPaint(hwnd, &ps) : reinterpret_cast<HDC>(wParam);
            if (isPicture) {
                tile->paintPicture(dc);
            } else {
                tile->paintLabel(hwnd, dc);
            }
            if (message == WM_PAINT) {
                EndPaint(hwnd, &ps);
            }
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            tile->mouseButton(hwnd, message, wParam, lParam);
            return 0;
        case WM_GETDLGCODE:
            if (isPicture) {
                const auto* msg = reinterpret_cast<const MSG*>(lParam);
                const bool enter =
                    msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN;
                return DLGC_WANTCHARS | (enter ? DLGC_WANTMESSAGE : 0);
            }
            break;
        case WM_CHAR:
            if (isPicture) {
                auto key = static_cast<std::int16_t>(wParam);
                tile->model_.keyPress(Part::pbxDisplay, key);
                tile->apply();
                return 0;
            }
            break;
        case WM_SETFOCUS:
            if (isPicture) {
                tile->focusMoved(hwnd, reinterpret_cast<HWND>(wParam), true);
                return 0;
            }
            break;
        case WM_KILLFOCUS:
            if (isPicture) {
                tile->focusMoved(reinterpret_cast<HWND>(wParam), hwnd, false);
                return 0;
            }
            break;
        case WM_SETTEXT:
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Tile::editorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Tile* tile = fromWindow(hwnd);
    WNDPROC base = tile != nullptr ? tile->editProc_ : nullptr;
    if (base == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
        case WM_GETDLGCODE:
            // Enter and Escape belong to the editor, not to a dialog around the tile.
            return CallWindowProcW(base, hwnd, message, wParam, lParam) | DLGC_WANTALLKEYS;
        case WM_CHAR: {
            if (tile->hwnd_ != nullptr) {
                auto key = static_cast<std::int16_t>(wParam);
                if (!tile->model_.keyPress(Part::txtEditor, key)) {
                    return 0;
                }
            }
            break;
        }
        case WM_SETFOCUS: {
            const LRESULT result = CallWindowProcW(base, hwnd, message, wParam, lParam);
            if (tile->hwnd_ != nullptr) {
                tile->focusMoved(hwnd, reinterpret_cast<HWND>(wParam), true);
            }
            return result;
        }
        case WM_KILLFOCUS: {
            const LRESULT result = CallWindowProcW(base, hwnd, message, wParam, lParam);
            if (tile->hwnd_ != nullptr) {
                tile->focusMoved(reinterpret_cast<HWND>(wParam), hwnd, false);
            }
            return result;
        }
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
            return CallWindowProcW(base, hwnd, message, wParam, lParam);
        default:
            break;
    }
    return CallWindowProcW(base, hwnd, message, wParam, lParam);
}

}  // namespace

ZIM_DISPLAY_WIDGET_API int zimCreateDisplayControl(HWND parent, zim::DisplayControlEvents* events,
                                                   zim::DisplayControl** control) {
    if (control == nullptr) {
        return 5;  // invalid procedure call
    }
    *control = nullptr;
    win32::unique_com<Tile> tile(new (std::nothrow) Tile(events));
    if (!tile) {
        return zim::kErrorOutOfMemory;
    }
    if (!tile->create(parent)) {
        return 5;
    }
    *control = tile.release();
    return 0;
}
