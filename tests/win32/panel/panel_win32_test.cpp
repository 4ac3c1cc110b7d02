// The panel in a real top-level window under Wine: its child windows, the tab strip at the
// bottom, tiles where the layout puts them, the scroll bars, and tile clicks with their index.
// SNAPDESK_PANEL_PAUSE_MS=n keeps each window on screen for n ms (for a screenshot).

#include <gtest/gtest.h>

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "mainwindow/thumbnail_panel.h"
#include "mainwindow/win32/panel_window.h"
#include "sim_world.h"
#include "zim_display_widget.h"

namespace snapdesk::testing {
namespace {

constexpr int kTpp = 15;  // twips per pixel at 96 dpi

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void pumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        pump();
        Sleep(10);
    }
}

void pauseForScreenshot() {
    if (const char* ms = std::getenv("SNAPDESK_PANEL_PAUSE_MS")) {
        pumpFor(static_cast<DWORD>(std::atoi(ms)));
    }
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The main form's side: the real window's geometry, and the events it receives.
struct Host : PanelHost {
    HWND window = nullptr;
    int buttonBar = 200;
    std::vector<std::string> calls;

    WindowGeometry windowGeometry() override {
        RECT client;
        RECT outer;
        GetClientRect(window, &client);
        GetWindowRect(window, &outer);
        WindowGeometry g;
        g.innerWidth = client.right * kTpp;
        g.innerHeight = client.bottom * kTpp;
        g.outerWidth = (outer.right - outer.left) * kTpp;
        g.outerHeight = (outer.bottom - outer.top) * kTpp;
        g.nonClientWidth = g.outerWidth - g.innerWidth;
        g.nonClientHeight = g.outerHeight - g.innerHeight;
        g.buttonBarHeight = buttonBar;
        g.minimized = IsIconic(window) != 0;
        g.maximized = IsZoomed(window) != 0;
        return g;
    }
    void shutdown() override { calls.push_back("shutdown"); }
    void tileClick(long k) override { calls.push_back("Click " + std::to_string(k)); }
    void tileDblClick(long k) override { calls.push_back("DblClick " + std::to_string(k)); }
    void tileKeyPress(long k, short& key) override {
        calls.push_back("KeyPress " + std::to_string(k) + " " + std::to_string(key));
    }
    void tileMouseDown(long k, short button, short, float, float) override {
        calls.push_back("MouseDown " + std::to_string(k) + " " + std::to_string(button));
    }
};

class PanelWindow : public ::testing::Test {
  protected:
    SimWorld world;
    Host host;
    PanelState state;
    std::unique_ptr<PanelView> view;
    std::unique_ptr<ThumbnailPanel> panel;

    void SetUp() override {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = hostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"PanelTestHost";
        RegisterClassExW(&wc);
    }

    void open(int width, int height, int records) {
        host.window =
            CreateWindowExW(0, L"PanelTestHost", L"Snapdesk!", WS_OVERLAPPEDWINDOW, 0, 0, width,
                            height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(host.window, nullptr);
        ShowWindow(host.window, SW_SHOWNORMAL);
        const HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
        for (int i = 1; i <= records; ++i) {
            const WindowHandle w = world.topLevel("Letter " + std::to_string(i) + " - Editor",
                                                  static_cast<std::uint32_t>(10 + i));
            world.desktop.window(w).bigIcon =
                static_cast<IconHandle>(reinterpret_cast<std::uintptr_t>(icon));
        }
        state.tabMode = 2;
        state.tabColors = {0xFF9090, 0xFF9090, 0xFF9090, 0xFF9090};
        state.commentBackColor = 0xFF9898;
        view = createPanelView(host.window);
        panel = std::make_unique<ThumbnailPanel>(state, world.list, world.machine.ui, *view, host,
                                                 ScreenMetrics{1024, kTpp, kTpp});
        panel->scaleToScreen(host.windowGeometry());
        panel->fixedLayout(host.windowGeometry());
        view->setBackColor(PanelControl::canvas, state.tabColors[0]);  // as start-up does
        world.list.refreshList();
        for (long k = 1; k <= world.list.count(); ++k) {
            world.list.setInTab(k, kDocumentsTab);
        }
        panel->updateWindowList();
        panel->resize(host.windowGeometry());
        pump();
    }

    void TearDown() override {
        panel.reset();
        view.reset();
        if (host.window != nullptr) {
            DestroyWindow(host.window);
        }
        pump();
    }

    HWND of(PanelControl control) { return panelWindowOf(*view, control); }
    bool shown(PanelControl control) { return IsWindowVisible(of(control)) != 0; }
    // A window's rectangle relative to another window's client area, in pixels.
    static RECT relative(HWND window, HWND to) {
        RECT r;
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, to, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
};

TEST_F(PanelWindow, ChildWindowsExistWithTheTabStripAtTheBottom) {
    open(1000, 760, 4);
    for (PanelControl c :
         {PanelControl::MainFrame, PanelControl::tabControl, PanelControl::pbxPortal,
          PanelControl::canvas, PanelControl::frmScrollBox, PanelControl::hScroll,
          PanelControl::vScroll, PanelControl::corner, PanelControl::lblClickAny,
          PanelControl::lblProjectName}) {
        EXPECT_TRUE(IsWindow(of(c))) << static_cast<int>(c);
    }
    HWND tab = of(PanelControl::tabControl);
    EXPECT_NE(GetWindowLongPtrW(tab, GWL_STYLE) & TCS_BOTTOM, 0);
    EXPECT_EQ(GetParent(of(PanelControl::canvas)), of(PanelControl::pbxPortal));
    EXPECT_EQ(GetParent(of(PanelControl::pbxPortal)), tab);

    // Two tabs, with their wide captions; the strip lies below the viewport.
    ASSERT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 2);
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(tab, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(text), std::wstring(16, L' ') + L"Project" + std::wstring(16, L' '));
    RECT itemRect;
    SendMessageW(tab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&itemRect));
    const RECT portal = relative(of(PanelControl::pbxPortal), tab);
    EXPECT_GE(itemRect.top, portal.bottom - 2);
    RECT tabClient;
    GetClientRect(tab, &tabClient);
    EXPECT_GT(itemRect.top, tabClient.bottom / 2);

    wchar_t hint[64] = {};
    GetWindowTextW(of(PanelControl::lblClickAny), hint, 64);
    EXPECT_EQ(std::wstring(hint), L"Click Any Image to Continue");
    EXPECT_TRUE(shown(PanelControl::lblClickAny));
    EXPECT_FALSE(shown(PanelControl::lblProjectName));
    pauseForScreenshot();
}

TEST_F(PanelWindow, FourTilesStandWhereTheLayoutPutsThem) {
    open(1000, 760, 4);
    ASSERT_EQ(world.list.count(), 4);
    HWND canvas = of(PanelControl::canvas);
    const RECT hint = relative(of(PanelControl::lblClickAny), canvas);
    for (long k = 1; k <= 4; ++k) {
        TileView* tile = panel->cswDocs(k);
        ASSERT_NE(tile, nullptr);
        HWND hwnd = tileWindowOf(*tile);
        ASSERT_TRUE(IsWindowVisible(hwnd)) << k;
        const RECT r = relative(hwnd, canvas);
        const int column = static_cast<int>((k - 1) % 3);
        const int row = static_cast<int>((k - 1) / 3);
        EXPECT_EQ(r.left, (405 + column * (4575 + 405)) / kTpp) << k;
        EXPECT_EQ(r.top, (150 + (hint.bottom - hint.top) * kTpp + row * 3135) / kTpp) << k;
        EXPECT_EQ(r.right - r.left, 4575 / kTpp);
        EXPECT_EQ(r.bottom - r.top, 3135 / kTpp);
        EXPECT_EQ(GetParent(hwnd), canvas);
    }
    EXPECT_FALSE(IsWindowVisible(tileWindowOf(*panel->cswDocs(0))));
    EXPECT_FALSE(shown(PanelControl::vScroll));
    EXPECT_FALSE(shown(PanelControl::hScroll));
    pauseForScreenshot();
}

TEST_F(PanelWindow, TwelveTilesInANarrowWindowGetBothScrollBars) {
    open(800, 600, 12);
    EXPECT_EQ(panel->tilesCreated(), 13);
    EXPECT_TRUE(shown(PanelControl::vScroll));
    EXPECT_TRUE(shown(PanelControl::hScroll));
    EXPECT_TRUE(shown(PanelControl::corner));
    const ScrollRange range = view->scrollRange(PanelControl::vScroll);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(of(PanelControl::vScroll), SB_CTL, &info);
    EXPECT_EQ(info.nMax - static_cast<int>(info.nPage) + 1, range.max);

    // A page down on the bar moves the canvas up by LargeChange.
    HWND canvas = of(PanelControl::canvas);
    const RECT before = relative(canvas, of(PanelControl::pbxPortal));
    SendMessageW(GetParent(of(PanelControl::vScroll)), WM_VSCROLL, SB_PAGEDOWN,
                 reinterpret_cast<LPARAM>(of(PanelControl::vScroll)));
    pump();
    const RECT after = relative(canvas, of(PanelControl::pbxPortal));
    EXPECT_EQ(before.top - after.top, (range.largeChange + kTpp / 2) / kTpp);
    pauseForScreenshot();

    // Widening the window takes the horizontal bar away.
    SetWindowPos(host.window, nullptr, 0, 0, 1100, 600, SWP_NOZORDER | SWP_NOMOVE);
    panel->resize(host.windowGeometry());
    pump();
    EXPECT_FALSE(shown(PanelControl::hScroll));
    EXPECT_TRUE(shown(PanelControl::vScroll));
}

TEST_F(PanelWindow, AClickOnATileReachesTheEventsWithItsIndex) {
    open(1000, 760, 4);
    HWND tile = tileWindowOf(*panel->cswDocs(3));
    HWND label = GetDlgItem(tile, zim::kIdFile);
    ASSERT_NE(label, nullptr);
    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    pump();
    ASSERT_FALSE(host.calls.empty());
    EXPECT_EQ(host.calls.front(), "MouseDown 3 1");
    EXPECT_NE(std::find(host.calls.begin(), host.calls.end(), "Click 3"), host.calls.end());

    // The tab strip: the Project tab shows the project label instead of the hint.
    state.projectName = "Tom & Jerry";
    HWND tab = of(PanelControl::tabControl);
    SendMessageW(tab, TCM_SETCURSEL, 1, 0);
    NMHDR note{tab, 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(GetParent(tab), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
    pump();
    EXPECT_EQ(state.currentTab, kProjectTab);
    EXPECT_TRUE(shown(PanelControl::lblProjectName));
    EXPECT_FALSE(shown(PanelControl::lblClickAny));
    wchar_t caption[64] = {};
    GetWindowTextW(of(PanelControl::lblProjectName), caption, 64);
    EXPECT_EQ(std::wstring(caption), L"Project: Tom && Jerry");
    EXPECT_FALSE(IsWindowVisible(tileWindowOf(*panel->cswDocs(1))));
}

}  // namespace
}  // namespace snapdesk::testing
