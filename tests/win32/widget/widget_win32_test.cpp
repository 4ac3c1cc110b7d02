// zimDisplayWidget.dll in a real test window: child-window geometry, real mouse and keyboard
// input, colours on screen and the reference counting of pictures.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "zim_display_widget.h"

namespace {

struct Recorder : zim::DisplayControlEvents {
    std::vector<std::string> log;
    short lastButton = 0;
    short lastShift = -1;
    float lastX = -1;
    float lastY = -1;
    std::string commentAtChange;
    bool busyAtChange = true;
    int count(const std::string& name) const {
        int n = 0;
        for (const auto& entry : log) {
            n += entry == name ? 1 : 0;
        }
        return n;
    }
    void MouseDown(zim::DisplayControl&, short& button, short& shift, float& x, float& y) override {
        log.push_back("MouseDown");
        lastButton = button;
        lastShift = shift;
        lastX = x;
        lastY = y;
    }
    void CommentChanged(zim::DisplayControl& sender) override {
        log.push_back("CommentChanged");
        commentAtChange = sender.get_Comment();
        busyAtChange = sender.get_IsBusy();
    }
    void KeyPress(zim::DisplayControl&, short& keyAscii) override {
        log.push_back("KeyPress " + std::to_string(keyAscii));
    }
    void DblClick(zim::DisplayControl&) override { log.push_back("DblClick"); }
    void Click(zim::DisplayControl&) override { log.push_back("Click"); }
    void GotFocus(zim::DisplayControl&) override { log.push_back("GotFocus"); }
    void LostFocus(zim::DisplayControl&) override { log.push_back("LostFocus"); }
};

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 3000) {
    const DWORD start = GetTickCount();
    for (;;) {
        pump();
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(10);
    }
}

void pumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        pump();
        Sleep(10);
    }
}

int px(double twips) {
    return static_cast<int>(std::lround(twips / 15));
}

// A child's rectangle in the tile's client coordinates.
RECT childRect(HWND tile, int id) {
    HWND child = GetDlgItem(tile, id);
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, tile, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
int width(const RECT& r) {
    return r.right - r.left;
}
int height(const RECT& r) {
    return r.bottom - r.top;
}

// Text width in pixels in Arial of the given size, measured here independently of the tile.
SIZE arialExtent(const std::wstring& text, double points, bool bold) {
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontW(-static_cast<int>(std::lround(points * 96 / 72)), 0, 0, 0,
                             bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, L"Arial");
    HGDIOBJ old = SelectObject(screen, font);
    SIZE s{};
    GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &s);
    TEXTMETRICW tm{};
    GetTextMetricsW(screen, &tm);
    s.cy = tm.tmHeight;
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return s;
}

// One input of the mouse at a point of a window. The position travels with the buttons: a
// cursor move of an earlier step that the desktop delivers late cannot send them elsewhere.
void sendMouseAt(HWND window, POINT at, DWORD buttons) {
    ClientToScreen(window, &at);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &input, sizeof input);
}

// Puts the cursor on a point of a window and waits until the system has it there. No
// SetCursorPos: its pointer warp comes back from the X server as a move of its own, at a
// moment nobody controls.
void moveTo(HWND window, POINT at) {
    sendMouseAt(window, at, 0);
    POINT screen = at;
    ClientToScreen(window, &screen);
    waitUntil([&] {
        POINT now{};
        GetCursorPos(&now);
        return now.x == screen.x && now.y == screen.y && WindowFromPoint(now) == window;
    });
    pumpFor(30);
}

POINT centreOf(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right / 2, r.bottom / 2};
}

void leftClick(HWND window, POINT at) {
    moveTo(window, at);
    sendMouseAt(window, at, MOUSEEVENTF_LEFTDOWN);
    sendMouseAt(window, at, MOUSEEVENTF_LEFTUP);
}

// Clicks the comment value until its editor has the focus: on a freshly started desktop the
// first click can go to activating the test window instead.
bool openEditor(HWND value, HWND editor, POINT at) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        leftClick(value, at);
        if (waitUntil([&] { return GetFocus() == editor; }, 1500)) {
            return true;
        }
    }
    return false;
}

void sendKey(WORD vk) {
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = vk;
    input[0].ki.wScan = input[1].ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, 0));
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
}

void typeText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT input[2]{};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wScan = input[1].ki.wScan = c;
        input[0].ki.dwFlags = KEYEVENTF_UNICODE;
        input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof input[0]);
    }
}

COLORREF pixelOf(HWND window, int x, int y) {
    UpdateWindow(window);
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

HBITMAP solidBitmap(int w, int h, COLORREF color) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT all{0, 0, w, h};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// As the main program makes its snapshots: the picture owns its bitmap.
IPictureDisp* pictureOf(HBITMAP bitmap) {
    PICTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = bitmap;
    IPictureDisp* picture = nullptr;
    OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE,
                             reinterpret_cast<void**>(&picture));
    return picture;
}

bool bitmapAlive(HBITMAP bitmap) {
    BITMAP info{};
    return GetObjectW(bitmap, sizeof info, &info) != 0;
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class TileWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        OleInitialize(nullptr);
        WNDCLASSW wc{};
        wc.lpfnWndProc = hostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"zimTileTestHost";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassW(&wc);
        host_ = CreateWindowExW(0, L"zimTileTestHost", L"tile test",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 1000, 720, nullptr,
                                nullptr, wc.hInstance, nullptr);
        ASSERT_NE(host_, nullptr);
        ShowWindow(host_, SW_SHOW);
        SetForegroundWindow(host_);
        ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == host_; }));
        // Clicks of the previous test must not pair with this test's first click.
        pumpFor(GetDoubleClickTime() + 100);
    }
    void TearDown() override {
        for (auto* tile : tiles_) {
            tile->Release();
        }
        DestroyWindow(host_);
        pump();
        OleUninitialize();
    }

    // A tile as the main window sets one up: size scaled from the template, then the
    // properties in the order of its growing step.
    zim::DisplayControl* addTile(short resolution, int x = 10, int y = 10) {
        zim::DisplayControl* tile = nullptr;
        EXPECT_EQ(zimCreateDisplayControl(host_, &events_, &tile), 0);
        if (tile == nullptr) {
            return nullptr;
        }
        tiles_.push_back(tile);
        const double f = resolution / 1024.0;
        MoveWindow(tile->hWnd(), x, y, px(4575 * f), px(3135 * f), TRUE);
        EXPECT_EQ(tile->put_BackColor(0xE0C0A0), 0);
        EXPECT_EQ(tile->put_Resolution(resolution), 0);
        EXPECT_EQ(tile->put_Comment(""), 0);
        ShowWindow(tile->hWnd(), SW_SHOW);
        EXPECT_EQ(tile->put_PictureVisible(true), 0);
        EXPECT_EQ(tile->put_CommentColor(0xD0D0D0), 0);
        pump();
        return tile;
    }
    HWND part(zim::DisplayControl* tile, int id) { return GetDlgItem(tile->hWnd(), id); }

    HWND host_ = nullptr;
    Recorder events_;
    std::vector<zim::DisplayControl*> tiles_;
};

TEST_F(TileWindow, ChildWindowsFollowTheGeometryAtSeveralResolutions) {
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);  // 15 twips per pixel
    ReleaseDC(nullptr, screen);
    const struct {
        short resolution;
        double points;
    } cases[] = {{1024, 10}, {800, 8}, {640, 7}, {850, 10}, {749, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.resolution);
        zim::DisplayControl* tile = addTile(c.resolution);
        ASSERT_NE(tile, nullptr);
        const double f = c.resolution / 1024.0;
        HWND hwnd = tile->hWnd();

        const RECT pbx = childRect(hwnd, zim::kIdDisplay);
        EXPECT_EQ(pbx.left, px(330 * f));
        EXPECT_EQ(pbx.top, px(90 * f));
        EXPECT_EQ(width(pbx), px(3840 * f));
        EXPECT_EQ(height(pbx), px(2175 * f));

        const SIZE fileCaption = arialExtent(L"File Name: ", c.points, false);
        const RECT file = childRect(hwnd, zim::kIdFile);
        EXPECT_EQ(file.left, px(120 * f));
        EXPECT_EQ(file.top, px(2400 * f));
        EXPECT_EQ(width(file), fileCaption.cx);
        EXPECT_EQ(height(file), fileCaption.cy);
        const RECT fileValue = childRect(hwnd, zim::kIdFileD);
        EXPECT_EQ(fileValue.left, file.right);
        EXPECT_EQ(fileValue.top, file.top);
        EXPECT_EQ(height(fileValue), height(file));
        EXPECT_EQ(width(fileValue), px(3255 * f));

        const SIZE commentCaption = arialExtent(L"Comment:  ", c.points, false);
        const RECT comment = childRect(hwnd, zim::kIdComment);
        EXPECT_EQ(comment.left, px(135 * f));
        EXPECT_EQ(comment.top, px(2760 * f));
        EXPECT_EQ(width(comment), commentCaption.cx);
        const RECT commentValue = childRect(hwnd, zim::kIdCommentD);
        EXPECT_EQ(commentValue.left, comment.right);
        // The empty comment keeps a quarter of the widest box.
        EXPECT_EQ(width(commentValue), px(std::nearbyint(3285 * f) / 4));
        EXPECT_FALSE(IsWindowVisible(part(tile, zim::kIdEditor)));
        const RECT editor = childRect(hwnd, zim::kIdEditor);
        EXPECT_EQ(editor.left, commentValue.left);
        EXPECT_EQ(editor.top, commentValue.top);
        EXPECT_EQ(width(editor), px(3285 * f));

        // The editor uses the same Arial.
        LOGFONTW font{};
        GetObjectW(
            reinterpret_cast<HFONT>(SendMessageW(part(tile, zim::kIdEditor), WM_GETFONT, 0, 0)),
            sizeof font, &font);
        EXPECT_STREQ(font.lfFaceName, L"Arial");
        EXPECT_EQ(font.lfHeight, -std::lround(c.points * 96 / 72));

        // A file name shrinks its label to the text in bold; a long one is cut at the limit.
        ASSERT_EQ(tile->put_FileName("report.doc"), 0);
        EXPECT_EQ(width(childRect(hwnd, zim::kIdFileD)),
                  arialExtent(L"report.doc", c.points, true).cx);
        ASSERT_EQ(tile->put_FileName(std::string(200, 'W').c_str()), 0);
        EXPECT_EQ(width(childRect(hwnd, zim::kIdFileD)), px(std::nearbyint(3255 * f)));

        // Icon mode: a 500 x 500 twip square in the middle of the tile.
        ASSERT_EQ(tile->put_PictureVisible(false), 0);
        const RECT icon = childRect(hwnd, zim::kIdDisplay);
        EXPECT_EQ(icon.left, px(1900 * f));
        EXPECT_EQ(icon.top, px(1090 * f));
        EXPECT_EQ(width(icon), px(500));
        EXPECT_EQ(height(icon), px(500));
    }
}

TEST_F(TileWindow, ClickOnThePictureGivesClickAndTheFocus) {
    zim::DisplayControl* tile = addTile(1024);
    HWND pbx = part(tile, zim::kIdDisplay);
    leftClick(pbx, centreOf(pbx));
    ASSERT_TRUE(waitUntil([&] { return events_.count("Click") == 1; }))
        << ::testing::PrintToString(events_.log);
    EXPECT_EQ(GetFocus(), pbx);
    EXPECT_EQ(events_.count("GotFocus"), 1);
    EXPECT_EQ(events_.count("MouseDown"), 1);
    EXPECT_EQ(events_.lastButton, 1);
    EXPECT_EQ(events_.count("DblClick"), 0);

    // Keys typed now arrive as KeyPress, Enter included.
    typeText(L"a");
    sendKey(VK_RETURN);
    ASSERT_TRUE(waitUntil([&] { return events_.count("KeyPress 13") == 1; }));
    EXPECT_EQ(events_.count("KeyPress 97"), 1);

    // A click on a caption label also moves the focus to the picture and raises Click.
    SetFocus(host_);
    pumpFor(GetDoubleClickTime() + 100);
    HWND caption = part(tile, zim::kIdFile);
    leftClick(caption, {3, 3});
    ASSERT_TRUE(waitUntil([&] { return events_.count("Click") == 2; }))
        << ::testing::PrintToString(events_.log);
    EXPECT_EQ(GetFocus(), pbx);
}

TEST_F(TileWindow, DoubleClickGivesDblClick) {
    zim::DisplayControl* tile = addTile(1024);
    HWND fileValue = part(tile, zim::kIdFileD);
    leftClick(fileValue, {4, 4});
    sendMouseAt(fileValue, {4, 4}, MOUSEEVENTF_LEFTDOWN);
    sendMouseAt(fileValue, {4, 4}, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(waitUntil([&] { return events_.count("DblClick") == 1; }));
    pumpFor(200);
    EXPECT_EQ(events_.count("Click"), 1);  // the first press is an ordinary click
    EXPECT_EQ(events_.count("DblClick"), 1);
}

TEST_F(TileWindow, RightButtonGivesMouseDownWithButton2RelativeToTheLabel) {
    zim::DisplayControl* tile = addTile(1024);
    ASSERT_EQ(tile->put_FileName("some document.doc"), 0);
    HWND fileValue = part(tile, zim::kIdFileD);
    moveTo(fileValue, {6, 4});
    sendMouseAt(fileValue, {6, 4}, MOUSEEVENTF_RIGHTDOWN);
    sendMouseAt(fileValue, {6, 4}, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(waitUntil([&] { return events_.count("MouseDown") == 1; }));
    EXPECT_EQ(events_.lastButton, 2);
    EXPECT_EQ(events_.lastShift, 0);
    EXPECT_FLOAT_EQ(events_.lastX, 6 * 15);  // twips, from the label's own corner
    EXPECT_FLOAT_EQ(events_.lastY, 4 * 15);
    pumpFor(200);
    EXPECT_EQ(events_.count("Click"), 0);
}

TEST_F(TileWindow, TypingACommentAndEnterGivesOneCommentChanged) {
    zim::DisplayControl* tile = addTile(1024);
    HWND value = part(tile, zim::kIdCommentD);
    HWND editor = part(tile, zim::kIdEditor);
    ASSERT_TRUE(openEditor(value, editor, {4, 4}));
    EXPECT_TRUE(IsWindowVisible(editor));
    EXPECT_FALSE(IsWindowVisible(value));
    EXPECT_TRUE(tile->get_IsBusy());
    EXPECT_EQ(events_.count("Click"), 0);  // the comment value starts editing instead

    typeText(L"Call Bob  ");
    ASSERT_TRUE(waitUntil([&] { return GetWindowTextLengthW(editor) == 10; }));
    sendKey(VK_RETURN);
    ASSERT_TRUE(waitUntil([&] { return events_.count("CommentChanged") >= 1; }));
    pumpFor(300);
    EXPECT_EQ(events_.count("CommentChanged"), 1);
    EXPECT_EQ(events_.commentAtChange, "Call Bob  ");  // as typed, blanks kept
    EXPECT_FALSE(events_.busyAtChange);
    EXPECT_FALSE(tile->get_IsBusy());
    EXPECT_STREQ(tile->get_Comment(), "Call Bob  ");
    EXPECT_FALSE(IsWindowVisible(editor));
    EXPECT_TRUE(IsWindowVisible(value));
    EXPECT_EQ(GetFocus(), part(tile, zim::kIdDisplay));
    wchar_t shown[32] = {};
    GetWindowTextW(value, shown, 32);
    EXPECT_STREQ(shown, L"Call Bob  ");
    EXPECT_EQ(events_.count("KeyPress 13"), 0);  // Enter belonged to the editor
}

TEST_F(TileWindow, EscapeLeavesTheEditorOpenUntilTheFocusMoves) {
    zim::DisplayControl* tile = addTile(800);
    ASSERT_EQ(tile->put_Comment("draft"), 0);
    HWND value = part(tile, zim::kIdCommentD);
    HWND editor = part(tile, zim::kIdEditor);
    ASSERT_TRUE(openEditor(value, editor, {3, 3}));
    typeText(L"x");
    sendKey(VK_ESCAPE);
    pumpFor(400);
    EXPECT_EQ(GetFocus(), editor);
    EXPECT_TRUE(IsWindowVisible(editor));
    EXPECT_TRUE(tile->get_IsBusy());
    EXPECT_EQ(events_.count("CommentChanged"), 0);

    // A click on the picture ends the edit, then raises Click.
    HWND pbx = part(tile, zim::kIdDisplay);
    leftClick(pbx, centreOf(pbx));
    ASSERT_TRUE(waitUntil([&] { return events_.count("Click") == 1; }))
        << ::testing::PrintToString(events_.log);
    EXPECT_EQ(events_.count("CommentChanged"), 1);
    EXPECT_STREQ(tile->get_Comment(), "draftx");  // typing went after the old text
    EXPECT_FALSE(tile->get_IsBusy());
}

TEST_F(TileWindow, FocusEnteringAndLeavingATileIsReported) {
    zim::DisplayControl* first = addTile(1024, 10, 10);
    zim::DisplayControl* second = addTile(1024, 330, 10);
    leftClick(part(first, zim::kIdDisplay), {20, 20});
    ASSERT_TRUE(waitUntil([&] { return events_.count("Click") == 1; }))
        << ::testing::PrintToString(events_.log);
    leftClick(part(second, zim::kIdDisplay), {20, 20});
    ASSERT_TRUE(waitUntil([&] { return events_.count("Click") == 2; }))
        << ::testing::PrintToString(events_.log);
    std::vector<std::string> focus;
    for (const auto& entry : events_.log) {
        if (entry == "GotFocus" || entry == "LostFocus") {
            focus.push_back(entry);
        }
    }
    EXPECT_EQ(focus, (std::vector<std::string>{"GotFocus", "LostFocus", "GotFocus"}));
    EXPECT_EQ(GetFocus(), part(second, zim::kIdDisplay));
}

TEST_F(TileWindow, BackColorReachesTheListedConstituentsButNotTheCommentValue) {
    zim::DisplayControl* tile = addTile(1024);
    ASSERT_EQ(tile->put_FileName("i"), 0);
    ASSERT_EQ(tile->put_BackColor(0x00FF00), 0);
    pumpFor(100);
    const COLORREF green = RGB(0, 255, 0);
    EXPECT_EQ(pixelOf(tile->hWnd(), 2, 2), green);
    EXPECT_EQ(pixelOf(part(tile, zim::kIdDisplay), 10, 10), green);
    for (int id : {zim::kIdFile, zim::kIdComment, zim::kIdFileD}) {
        HWND label = part(tile, id);
        RECT r{};
        GetClientRect(label, &r);
        EXPECT_EQ(pixelOf(label, r.right - 1, r.bottom - 1), green) << id;
    }
    EXPECT_EQ(pixelOf(part(tile, zim::kIdCommentD), 2, 2), RGB(0xD0, 0xD0, 0xD0));
    ASSERT_EQ(tile->put_CommentColor(0x0000FF), 0);
    EXPECT_EQ(pixelOf(part(tile, zim::kIdCommentD), 2, 2), RGB(255, 0, 0));
    EXPECT_EQ(tile->get_BackColor(), 0x00FF00u);
}

TEST_F(TileWindow, APictureStaysSharedByReferenceCountAndIsCentred) {
    zim::DisplayControl* tile = addTile(1024);
    HBITMAP bitmap = solidBitmap(193, 145, RGB(200, 30, 30));
    IPictureDisp* record = pictureOf(bitmap);
    ASSERT_NE(record, nullptr);
    ASSERT_EQ(tile->putref_Picture(record), 0);
    const RECT pbx = childRect(tile->hWnd(), zim::kIdDisplay);
    RECT outer{};
    GetClientRect(tile->hWnd(), &outer);
    EXPECT_EQ(pbx.left, px((4575 - 3840) / 2.0));
    EXPECT_EQ(width(outer), px(4575));
    IPictureDisp* back = tile->get_Picture();
    EXPECT_EQ(back, record);
    back->Release();

    // The record lets go: the tile's reference keeps the bitmap alive and on screen.
    record->Release();
    EXPECT_TRUE(bitmapAlive(bitmap));
    pumpFor(100);
    // The 193-pixel snapshot is centred across the 256-pixel area.
    HWND area = part(tile, zim::kIdDisplay);
    EXPECT_EQ(pixelOf(area, 128, 5), RGB(200, 30, 30));
    EXPECT_EQ(pixelOf(area, 31, 5), RGB(200, 30, 30));
    EXPECT_EQ(pixelOf(area, 29, 5), RGB(0xA0, 0xC0, 0xE0));  // the back colour 0xE0C0A0
    EXPECT_EQ(pixelOf(area, 226, 5), RGB(0xA0, 0xC0, 0xE0));
    // Replacing the picture releases the last reference, which frees the bitmap.
    ASSERT_EQ(tile->putref_Picture(nullptr), 0);
    EXPECT_FALSE(bitmapAlive(bitmap));
    EXPECT_EQ(tile->get_Picture(), nullptr);

    // A tile that is destroyed releases its picture too; the record's reference remains.
    HBITMAP second = solidBitmap(50, 50, RGB(0, 0, 200));
    IPictureDisp* kept = pictureOf(second);
    ASSERT_EQ(tile->putref_Picture(kept), 0);
    tile->Release();
    tiles_.clear();
    EXPECT_TRUE(bitmapAlive(second));
    kept->Release();
    EXPECT_FALSE(bitmapAlive(second));

    // Something that is not a picture is refused.
    zim::OrderedPropertyBag* notAPicture = nullptr;
    ASSERT_EQ(zimCreatePropertyBag(&notAPicture), 0);
    zim::DisplayControl* other = addTile(1024);
    EXPECT_EQ(other->putref_Picture(notAPicture), zim::kErrorPictureTypeMismatch);
    notAPicture->Release();
}

TEST_F(TileWindow, AnIconDrawnOnHdcShowsUntilCls) {
    zim::DisplayControl* tile = addTile(1024);
    ASSERT_EQ(tile->putref_Picture(nullptr), 0);
    ASSERT_EQ(tile->put_PictureVisible(false), 0);
    HDC dc = tile->get_hDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_TRUE(DrawIconEx(dc, 0, 0, LoadIconW(nullptr, MAKEINTRESOURCEW(32512)), 32, 32, 0,
                           nullptr, DI_NORMAL));
    const RECT blue{20, 20, 30, 30};
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &blue, brush);
    DeleteObject(brush);
    HWND pbx = part(tile, zim::kIdDisplay);
    pumpFor(100);
    EXPECT_EQ(pixelOf(pbx, 25, 25), RGB(0, 0, 255));

    // The persistent image carries the drawing.
    IPictureDisp* image = tile->get_Image();
    ASSERT_NE(image, nullptr);
    IPicture* picture = nullptr;
    ASSERT_EQ(image->QueryInterface(IID_IPicture, reinterpret_cast<void**>(&picture)), S_OK);
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    HDC probe = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(probe, reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
    EXPECT_EQ(GetPixel(probe, 25, 25), RGB(0, 0, 255));
    SelectObject(probe, old);
    DeleteDC(probe);
    picture->Release();
    image->Release();

    tile->Cls();
    tile->Refresh();
    EXPECT_EQ(pixelOf(pbx, 25, 25), RGB(0xA0, 0xC0, 0xE0));  // the back colour 0xE0C0A0
}

// The tile's windows that wait for a paint: 0 for its surface, else the constituent's id.
std::vector<int> waitingForPaint(HWND tile) {
    std::vector<int> ids;
    if (GetUpdateRect(tile, nullptr, FALSE)) {
        ids.push_back(0);
    }
    for (int id : {zim::kIdDisplay, zim::kIdFile, zim::kIdFileD, zim::kIdComment, zim::kIdCommentD,
                   zim::kIdEditor}) {
        if (GetUpdateRect(GetDlgItem(tile, id), nullptr, FALSE)) {
            ids.push_back(id);
        }
    }
    return ids;
}

// Pumps for a while and counts the paints of the tile and its constituents.
int paintsWithin(HWND tile, DWORD ms) {
    int paints = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_PAINT && (msg.hwnd == tile || IsChild(tile, msg.hwnd))) {
                ++paints;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
    return paints;
}

std::vector<RECT> childRects(HWND tile) {
    std::vector<RECT> rects;
    for (int id : {zim::kIdDisplay, zim::kIdFile, zim::kIdFileD, zim::kIdComment, zim::kIdCommentD,
                   zim::kIdEditor}) {
        rects.push_back(childRect(tile, id));
    }
    return rects;
}

bool sameRects(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!EqualRect(&a[i], &b[i])) {
            return false;
        }
    }
    return true;
}

TEST_F(TileWindow, WritingTheValuesItAlreadyHasRepaintsAndMovesNothing) {
    zim::DisplayControl* tile = addTile(1024);
    HBITMAP bitmap = solidBitmap(193, 145, RGB(200, 30, 30));
    IPictureDisp* photo = pictureOf(bitmap);
    ASSERT_NE(photo, nullptr);
    // A second picture object over the same bitmap, not owning it.
    PICTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = bitmap;
    IPictureDisp* sameBitmap = nullptr;
    ASSERT_EQ(OleCreatePictureIndirect(&description, IID_IPictureDisp, FALSE,
                                       reinterpret_cast<void**>(&sameBitmap)),
              S_OK);
    const auto writeAll = [&] {
        EXPECT_EQ(tile->put_BackColor(0xE0C0A0), 0);
        EXPECT_EQ(tile->put_FileName("letter.doc"), 0);
        EXPECT_EQ(tile->put_Comment("to send"), 0);
        EXPECT_EQ(tile->putref_Picture(photo), 0);
        EXPECT_EQ(tile->put_ForeColor(0x123456), 0);
        EXPECT_EQ(tile->put_FileNameColor(0x00FF00), 0);
        EXPECT_EQ(tile->put_CommentColor(0xD0D0D0), 0);
        EXPECT_EQ(tile->put_FocusColor(0xFF), 0);
        EXPECT_EQ(tile->put_IsBusy(false), 0);
    };
    writeAll();
    paintsWithin(tile->hWnd(), 150);
    ASSERT_TRUE(waitingForPaint(tile->hWnd()).empty());
    const std::vector<RECT> placed = childRects(tile->hWnd());

    for (int round = 0; round < 3; ++round) {
        writeAll();
        EXPECT_EQ(tile->putref_Picture(sameBitmap), 0);
        EXPECT_EQ(tile->putref_Picture(photo), 0);
        tile->Cls();  // nothing was drawn on the image
        EXPECT_EQ(waitingForPaint(tile->hWnd()), std::vector<int>{}) << round;
        EXPECT_TRUE(sameRects(childRects(tile->hWnd()), placed)) << round;
    }
    EXPECT_EQ(paintsWithin(tile->hWnd(), 150), 0);
    EXPECT_EQ(pixelOf(part(tile, zim::kIdDisplay), 128, 5), RGB(200, 30, 30));

    // Real changes still reach the screen, each where it shows.
    ASSERT_EQ(tile->put_FileName("a longer file name.doc"), 0);
    const std::vector<int> renamed = waitingForPaint(tile->hWnd());
    EXPECT_NE(std::find(renamed.begin(), renamed.end(), zim::kIdFileD), renamed.end());
    EXPECT_EQ(std::find(renamed.begin(), renamed.end(), zim::kIdDisplay), renamed.end());
    EXPECT_GT(paintsWithin(tile->hWnd(), 150), 0);
    ASSERT_EQ(tile->put_CommentColor(0x0000FF), 0);
    EXPECT_EQ(waitingForPaint(tile->hWnd()), std::vector<int>{zim::kIdCommentD});
    EXPECT_EQ(pixelOf(part(tile, zim::kIdCommentD), 2, 2), RGB(255, 0, 0));
    ASSERT_EQ(tile->put_BackColor(0x00FF00), 0);
    const std::vector<int> recoloured = waitingForPaint(tile->hWnd());
    EXPECT_EQ(recoloured.front(), 0);  // the surface
    EXPECT_NE(std::find(recoloured.begin(), recoloured.end(), zim::kIdDisplay), recoloured.end());
    EXPECT_EQ(pixelOf(part(tile, zim::kIdDisplay), 10, 5), RGB(0, 255, 0));
    HBITMAP blue = solidBitmap(193, 145, RGB(0, 0, 200));
    IPictureDisp* other = pictureOf(blue);
    paintsWithin(tile->hWnd(), 150);
    ASSERT_EQ(tile->putref_Picture(other), 0);
    EXPECT_EQ(waitingForPaint(tile->hWnd()), std::vector<int>{zim::kIdDisplay});
    EXPECT_EQ(pixelOf(part(tile, zim::kIdDisplay), 128, 5), RGB(0, 0, 200));
    const RECT before = childRect(tile->hWnd(), zim::kIdDisplay);
    ASSERT_EQ(tile->put_PictureVisible(false), 0);
    const RECT after = childRect(tile->hWnd(), zim::kIdDisplay);
    EXPECT_FALSE(EqualRect(&before, &after));

    ASSERT_EQ(tile->putref_Picture(nullptr), 0);
    other->Release();
    sameBitmap->Release();
    photo->Release();
}

TEST_F(TileWindow, TheSamePictureOrBackColourAgainStillClearsWhatWasDrawn) {
    zim::DisplayControl* tile = addTile(1024);
    HBITMAP bitmap = solidBitmap(193, 145, RGB(200, 30, 30));
    IPictureDisp* photo = pictureOf(bitmap);
    ASSERT_EQ(tile->putref_Picture(photo), 0);
    HWND pbx = part(tile, zim::kIdDisplay);
    const RECT mark{120, 20, 130, 30};
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    const auto draw = [&] {
        HDC dc = tile->get_hDC();
        ASSERT_NE(dc, nullptr);
        FillRect(dc, &mark, brush);
        pumpFor(50);
        EXPECT_EQ(pixelOf(pbx, 125, 25), RGB(0, 0, 255));
    };
    draw();
    ASSERT_EQ(tile->putref_Picture(photo), 0);
    EXPECT_EQ(waitingForPaint(tile->hWnd()), std::vector<int>{zim::kIdDisplay});
    EXPECT_EQ(pixelOf(pbx, 125, 25), RGB(200, 30, 30));
    draw();
    ASSERT_EQ(tile->put_BackColor(0xE0C0A0), 0);
    EXPECT_EQ(waitingForPaint(tile->hWnd()), std::vector<int>{zim::kIdDisplay});
    EXPECT_EQ(pixelOf(pbx, 125, 25), RGB(200, 30, 30));
    DeleteObject(brush);
    photo->Release();
}

TEST_F(TileWindow, PropertiesRoundTripThroughABagInTheirOrder) {
    zim::DisplayControl* tile = addTile(800);
    ASSERT_EQ(tile->put_FileName("letter.doc"), 0);
    ASSERT_EQ(tile->put_Comment("  to send  "), 0);
    ASSERT_EQ(tile->put_FocusColor(0xFF), 0);
    ASSERT_EQ(tile->put_FileNameColor(0xFF00), 0);
    ASSERT_EQ(tile->put_ForeColor(0x123456), 0);
    ASSERT_EQ(tile->put_CommentColor(0xEEEEEE), 0);
    zim::OrderedPropertyBag* bag = nullptr;
    ASSERT_EQ(zimCreatePropertyBag(&bag), 0);
    ASSERT_EQ(tile->WriteProperties(bag), 0);
    std::vector<std::wstring> names;
    for (int i = 0; i < bag->Count(); ++i) {
        names.emplace_back(bag->NameAt(i));
    }
    EXPECT_EQ(names,
              (std::vector<std::wstring>{L"Picture", L"FileName", L"Comment", L"IsBusy",
                                         L"FocusColor", L"FileNameColor", L"ForeColor",
                                         L"Resolution", L"PictureVisible", L"CommentColor"}));

    zim::DisplayControl* copy = nullptr;
    ASSERT_EQ(zimCreateDisplayControl(host_, &events_, &copy), 0);
    tiles_.push_back(copy);
    ASSERT_EQ(copy->ReadProperties(bag), 0);
    EXPECT_STREQ(copy->get_FileName(), "letter.doc");
    EXPECT_STREQ(copy->get_Comment(), "to send");
    EXPECT_EQ(copy->get_FocusColor(), 0xFFu);
    EXPECT_EQ(copy->get_FileNameColor(), 0xFF00u);
    EXPECT_EQ(copy->get_ForeColor(), 0x123456u);
    EXPECT_EQ(copy->get_CommentColor(), 0xEEEEEEu);
    EXPECT_EQ(copy->get_Resolution(), 800);
    EXPECT_TRUE(copy->get_PictureVisible());
    bag->Release();

    // A bag without values gives the defaults.
    zim::OrderedPropertyBag* empty = nullptr;
    ASSERT_EQ(zimCreatePropertyBag(&empty), 0);
    ASSERT_EQ(copy->ReadProperties(empty), 0);
    EXPECT_STREQ(copy->get_FileName(), "file name");
    EXPECT_EQ(copy->get_ForeColor(), 0x80000012u);
    EXPECT_EQ(copy->get_Resolution(), 1024);
    empty->Release();
}

TEST_F(TileWindow, CommentInDesignModeFailsWith382) {
    zim::DisplayControl* tile = addTile(1024);
    ASSERT_EQ(tile->put_Comment("kept"), 0);
    tile->put_UserMode(false);
    EXPECT_EQ(tile->put_Comment("new"), zim::kErrorSetNotSupportedAtRuntime);
    EXPECT_STREQ(tile->get_Comment(), "kept");
}

TEST_F(TileWindow, ManyTilesCanLiveSideBySide) {
    for (int i = 0; i < 60; ++i) {
        zim::DisplayControl* tile = addTile(640, (i % 6) * 160, (i / 6) * 60);
        ASSERT_NE(tile, nullptr);
        ASSERT_EQ(tile->put_FileName(("doc " + std::to_string(i)).c_str()), 0);
    }
    pumpFor(100);
    EXPECT_STREQ(tiles_[59]->get_FileName(), "doc 59");
    wchar_t text[16] = {};
    GetWindowTextW(part(tiles_[42], zim::kIdFileD), text, 16);
    EXPECT_STREQ(text, L"doc 42");
}

}  // namespace
