// Snapdesk at the scale of the prefix (at_scale.sh sets it and the desktop's size): the
// window, its toolbar, tab strip and tiles drawn at that scale, the same size on paper as at
// 96 dpi, and no text cut in its dialogs.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "dialog_driving.h"
#include "mainwindow/menu_ids.h"
#include "platform/win32/window_dpi.h"
#include "snapdesk_app.h"

namespace snapdesk::testing {
namespace {

// Not in MinGW-w64's headers.
constexpr UINT kGetBitmapSize = WM_USER + 44;  // TB_GETBITMAPSIZE

int expectedDpi() {
    const char* value = std::getenv("SNAPDESK_EXPECT_DPI");
    return value != nullptr ? std::atoi(value) : 96;
}

// Inches on screen of a length in pixels at the scale.
double inches(int pixels, int dpi) {
    return static_cast<double>(pixels) / dpi;
}

RECT rectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

HWND labelTitled(HWND parent, const wchar_t* text) {
    for (HWND child = FindWindowExW(parent, nullptr, nullptr, nullptr); child != nullptr;
         child = FindWindowExW(parent, child, nullptr, nullptr)) {
        wchar_t buffer[128] = {};
        GetWindowTextW(child, buffer, 128);
        if (std::wstring(buffer) == text) {
            return child;
        }
        if (HWND found = labelTitled(child, text)) {
            return found;
        }
    }
    return nullptr;
}

// A dialog of Snapdesk opened by a menu command, its texts checked, closed again.
std::vector<std::string> cutTextsOfDialog(SnapdeskApp& app, int command, const wchar_t* caption,
                                          const std::string& shot) {
    app.command(command);
    const HWND dialog = waitForWindowTitled(app.program(), caption);
    if (dialog == nullptr) {
        return {"no dialog " + std::string(caption, caption + wcslen(caption))};
    }
    screenshot(shot.c_str());
    auto cut = dialog_driving::cutTexts(dialog);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    gone(dialog);
    return cut;
}

TEST(Scale, EverythingIsDrawnAtTheScaleOfThePrefix) {
    const int dpi = expectedDpi();
    const std::string at = std::to_string(dpi);
    clearSnapdeskSettings();
    OpenTextDocuments docs({L"scale notes.txt"});
    ASSERT_TRUE(docs.allOpen());
    SnapdeskApp app;
    ASSERT_TRUE(app.started());
    const auto tile = app.waitForTile(L"scale notes.txt");
    ASSERT_TRUE(tile.has_value());
    screenshot(("main-" + at).c_str());

    EXPECT_EQ(win32::windowDpi(app.main()), dpi);

    // Toolbar images drawn for the scale, and buttons that hold them with their captions.
    const HWND toolbar = descendant(app.main(), TOOLBARCLASSNAMEW);
    ASSERT_NE(toolbar, nullptr);
    const int icon = dpi <= 120 ? 16 : dpi <= 168 ? 24 : 32;
    const auto bitmapSize = static_cast<DWORD>(SendMessageW(toolbar, kGetBitmapSize, 0, 0));
    EXPECT_EQ(LOWORD(bitmapSize), icon);
    EXPECT_EQ(HIWORD(bitmapSize), icon);
    const auto buttonSize = static_cast<DWORD>(SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0));
    EXPECT_GE(HIWORD(buttonSize), icon + MulDiv(8, dpi, 96));  // the image and a caption line

    // A tile is 4575 x 3135 twips on a screen 1024 pixels of 96 dpi wide: the same inches at
    // every scale, within a pixel or two of rounding.
    const RECT t = rectOf(tile->window);
    EXPECT_NEAR(inches(t.right - t.left, dpi), 4575.0 / 1440, 0.02) << t.right - t.left;
    EXPECT_NEAR(inches(t.bottom - t.top, dpi), 3135.0 / 1440, 0.02) << t.bottom - t.top;
    // The hint over the tiles holds its 10-point text; the tab strip is as tall as its font.
    const HWND hint = labelTitled(app.main(), L"Click Any Image to Continue");
    ASSERT_NE(hint, nullptr);
    const RECT h = rectOf(hint);
    EXPECT_GE(h.bottom - h.top, MulDiv(10, dpi, 72));
    const HWND tabs = descendant(app.main(), WC_TABCONTROLW);
    ASSERT_NE(tabs, nullptr);
    RECT tabItem{};
    SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tabItem));
    EXPECT_GE(tabItem.bottom - tabItem.top, MulDiv(10, dpi, 72));

    // The window on the desktop: three tiles side by side, within the screen.
    const RECT w = rectOf(app.main());
    EXPECT_GE(w.right - w.left, 3 * (t.right - t.left));
    EXPECT_LE(w.right, GetSystemMetrics(SM_CXSCREEN) + 1);
    std::printf("dpi %d: window %ldx%ld, tile %ldx%ld, toolbar images %d, buttons %dx%d\n", dpi,
                w.right - w.left, w.bottom - w.top, t.right - t.left, t.bottom - t.top,
                LOWORD(bitmapSize), LOWORD(buttonSize), HIWORD(buttonSize));

    EXPECT_EQ(cutTextsOfDialog(app, ID_mnuOpen, L"Open Project", "open-" + at),
              std::vector<std::string>{});
    EXPECT_EQ(cutTextsOfDialog(app, ID_mnuAbout, L"About", "about-" + at),
              std::vector<std::string>{});
    EXPECT_TRUE(app.closeAndWait());
}

}  // namespace
}  // namespace snapdesk::testing
