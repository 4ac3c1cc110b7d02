// Shows a few tiles as the main window would fill them, for a look at the screen:
//   widget_showcase [resolution [seconds]]
// Picture mode (a tall and a wide snapshot), icon mode, a long file name, a long comment and a
// comment being edited.

#include <cmath>
#include <cwchar>
#include <string>
#include <vector>

#include "zim_display_widget.h"

#include <shellapi.h>

namespace {

int px(double twips) {
    return static_cast<int>(std::lround(twips / 15));
}

// A made-up snapshot: a window with a title bar and a few lines of text.
IPictureDisp* snapshot(int width, int height, COLORREF titleColor) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HBRUSH title = CreateSolidBrush(titleColor);
    const RECT bar{0, 0, width, 12};
    FillRect(dc, &bar, title);
    DeleteObject(title);
    HBRUSH line = CreateSolidBrush(RGB(160, 160, 160));
    for (int y = 22; y + 4 < height; y += 10) {
        const RECT r{8, y, width - 8 - (y * 7) % 40, y + 4};
        FillRect(dc, &r, line);
    }
    DeleteObject(line);
    FrameRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectObject(dc, old);
    DeleteDC(dc);
    PICTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = bitmap;
    IPictureDisp* picture = nullptr;
    OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE,
                             reinterpret_cast<void**>(&picture));
    return picture;
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const short resolution = static_cast<short>(argc > 1 ? _wtoi(argv[1]) : 1024);
    const UINT seconds = argc > 2 ? static_cast<UINT>(_wtoi(argv[2])) : 60;
    LocalFree(argv);
    OleInitialize(nullptr);

    const COLORREF documentsTab = RGB(0xE0, 0xE8, 0xF0);
    WNDCLASSW wc{};
    wc.lpfnWndProc = hostProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"zimTileShowcase";
    wc.hbrBackground = CreateSolidBrush(documentsTab);
    RegisterClassW(&wc);
    HWND host = CreateWindowExW(0, wc.lpszClassName, L"Tiles", WS_OVERLAPPEDWINDOW, 0, 0, 1010, 740,
                                nullptr, nullptr, instance, nullptr);

    const double f = resolution / 1024.0;
    const int tileWidth = px(4575 * f);
    const int tileHeight = px(3135 * f);
    const int gap = static_cast<int>(std::lround(27 * f));
    struct Sample {
        const char* fileName;
        const char* comment;
        int pictureWidth;  // 0: icon mode
        int pictureHeight;
    };
    // Snapshot sizes as the capture makes them: 4:3 is height-limited, 10:3 width-limited.
    const std::vector<Sample> samples = {
        {"Letter to the bank.doc", "send on Friday", px(2175 * f) * 4 / 3, px(2175 * f)},
        {"Notepad", "", 0, 0},
        {"Quarterly figures for the regional offices, second draft, with comments.xls", "check",
         px(3840 * f), px(3840 * f) * 3 / 10},
        {"notes.txt",
         "a long comment that goes on and on past the right edge of the tile, far too long",
         px(2175 * f) * 4 / 3, px(2175 * f)},
        {"Q&A.doc", "", 0, 0},
        {"editing.doc", "old text", px(2175 * f) * 4 / 3, px(2175 * f)},
    };
    zim::DisplayControlEvents events;
    std::vector<zim::DisplayControl*> tiles;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        zim::DisplayControl* tile = nullptr;
        if (zimCreateDisplayControl(host, &events, &tile) != 0) {
            return 1;
        }
        tiles.push_back(tile);
        const int column = static_cast<int>(i % 3);
        const int row = static_cast<int>(i / 3);
        MoveWindow(tile->hWnd(), gap + column * (tileWidth + gap), 20 + row * tileHeight, tileWidth,
                   tileHeight, FALSE);
        tile->put_BackColor(documentsTab);
        tile->put_Resolution(resolution);
        tile->put_Comment("");
        ShowWindow(tile->hWnd(), SW_SHOW);
        tile->put_PictureVisible(true);
        tile->put_CommentColor(0xD0D0D0);
        // What a redraw of the panel sets.
        const Sample& s = samples[i];
        tile->put_FileName(s.fileName);
        tile->put_Comment(s.comment);
        tile->putref_Picture(nullptr);
        if (s.pictureWidth > 0) {
            tile->put_PictureVisible(true);
            IPictureDisp* picture =
                snapshot(s.pictureWidth, s.pictureHeight, RGB(0, 0, 128 + 40 * column));
            tile->putref_Picture(picture);
            picture->Release();  // the tile keeps its own reference
        } else {
            tile->put_PictureVisible(false);
            DrawIcon(tile->get_hDC(), 0, 0, LoadIconW(nullptr, MAKEINTRESOURCEW(32512)));
        }
    }
    ShowWindow(host, SW_SHOW);
    UpdateWindow(host);

    // The last tile edits its comment: a click on the comment value, then typing.
    HWND value = GetDlgItem(tiles.back()->hWnd(), zim::kIdCommentD);
    PostMessageW(value, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageW(value, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    SetTimer(host, 1, 500, nullptr);
    SetTimer(host, 2, seconds * 1000, nullptr);
    bool typed = false;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == host && msg.wParam == 1 && !typed) {
            typed = true;
            HWND editor = GetDlgItem(tiles.back()->hWnd(), zim::kIdEditor);
            for (const wchar_t c : std::wstring(L" and new")) {
                PostMessageW(editor, WM_CHAR, c, 1);
            }
        } else if (msg.message == WM_TIMER && msg.hwnd == host && msg.wParam == 2) {
            DestroyWindow(host);
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    for (auto* tile : tiles) {
        tile->Release();
    }
    OleUninitialize();
    return 0;
}
