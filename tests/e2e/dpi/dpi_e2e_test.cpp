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
#include <optional>
#include <string>
#include <vector>

#include "base/window_dpi.h"
#include "inside_probe.h"
#include "mainwindow/menu_ids.h"
#include "platform/win32/win32_convert.h"
#include "probe_client.h"
#include "snapdesk_app.h"

namespace snapdesk::testing {
namespace {

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

// The rest of the first line of a probe record that starts with `head`; empty when none.
std::wstring lineAfter(const std::optional<ProbeRecord>& record, const std::wstring& head) {
    if (record) {
        for (const std::wstring& line : record->lines) {
            if (line.rfind(head, 0) == 0) {
                return line.substr(head.size());
            }
        }
    }
    return {};
}

// The texts cut off in the dialog of that caption, as Snapdesk's own thread measures them in
// their fonts; "not seen" when the probe found no such dialog.
std::vector<std::wstring> cutTextsOf(const InsideProbe& probe, const std::wstring& caption) {
    const auto seen = probe.scale();
    if (!seen) {
        return {L"no answer from the probe"};
    }
    std::vector<std::wstring> cut;
    bool shown = false;
    for (const std::wstring& line : seen->lines) {
        shown = shown || line == L"dialog " + caption;
        if (line.rfind(L"cut " + caption + L": ", 0) == 0) {
            cut.push_back(line);
        }
    }
    return shown ? cut : std::vector<std::wstring>{caption + L" not seen"};
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
    InsideProbe probe(app.main());
    ASSERT_TRUE(probe.attached());
    const auto inside = probe.scale();
    ASSERT_TRUE(inside.has_value());
    EXPECT_EQ(lineAfter(inside, L"images "), std::to_wstring(icon) + L"x" + std::to_wstring(icon));
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
    const std::wstring tabHeight = lineAfter(inside, L"tab ");
    ASSERT_FALSE(tabHeight.empty());
    EXPECT_GE(std::stoi(tabHeight), MulDiv(10, dpi, 72));

    // The window on the desktop: three tiles side by side, within the screen.
    const RECT w = rectOf(app.main());
    EXPECT_GE(w.right - w.left, 3 * (t.right - t.left));
    EXPECT_LE(w.right, GetSystemMetrics(SM_CXSCREEN) + 1);
    std::printf(
        "dpi %d: window %ldx%ld, tile %ldx%ld, toolbar images %s, buttons %dx%d, "
        "tab %s, hint %ld\n",
        dpi, w.right - w.left, w.bottom - w.top, t.right - t.left, t.bottom - t.top,
        win32::toUtf8(lineAfter(inside, L"images ")).c_str(), LOWORD(buttonSize),
        HIWORD(buttonSize), win32::toUtf8(tabHeight).c_str(), h.bottom - h.top);

    // Open Project and About: every text fits at this scale. Closed as a user closes them.
    app.startOpen();
    const HWND open = waitForWindowTitled(app.program(), L"Open Project");
    ASSERT_NE(open, nullptr);
    screenshot(("open-" + at).c_str());
    EXPECT_EQ(cutTextsOf(probe, L"Open Project"), std::vector<std::wstring>{});
    click(open, IDCANCEL);
    ASSERT_TRUE(gone(open));
    app.command(ID_mnuAbout);
    const HWND about = waitForWindowTitled(app.program(), L"About Snapdesk!");
    ASSERT_NE(about, nullptr);
    screenshot(("about-" + at).c_str());
    EXPECT_EQ(cutTextsOf(probe, L"About Snapdesk!"), std::vector<std::wstring>{});
    click(about, IDOK);
    ASSERT_TRUE(gone(about));
    EXPECT_TRUE(app.closeAndWait());
}

}  // namespace
}  // namespace snapdesk::testing
