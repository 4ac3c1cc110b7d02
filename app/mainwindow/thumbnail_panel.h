#pragma once

// The thumbnail panel of the main window: entry points for the main form.
//
// The main form owns the PanelState, the window list and the panel. On Win32 it creates the
// panel's windows with createPanelView (mainwindow/win32/panel_window.h) inside its client area,
// then a ThumbnailPanel on that view:
//
//     auto view = createPanelView(hwnd);
//     ThumbnailPanel panel(state, list, platform.ui, *view, host, screen);
//     panel.scaleToScreen(host.windowGeometry());       // start-up "d", "e"
//     panel.fixedLayout(host.windowGeometry());         // start-up "h"
//     panel.updateWindowList();                         // "m", Timer1 ...
//
// Lengths are twips. Errors are reported through the Ui port with their own messages; a
// fatal one (graphics memory exhausted, tiles that cannot be created) calls
// PanelHost::shutdown, after which the panel does nothing more.

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "mainwindow/panel_state.h"
#include "mainwindow/panel_view.h"
#include "platform/ui.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// The main window as the panel needs it, twips.
struct WindowGeometry {
    int innerWidth = 0;  // client area of the main window
    int innerHeight = 0;
    int nonClientWidth = 0;  // outer minus inner
    int nonClientHeight = 0;
    int outerWidth = 0;
    int outerHeight = 0;
    int buttonBarHeight = 0;
    bool minimized = false;
    bool maximized = false;
};

// The window's scale: screenPixelWidth in pixels of 96 dpi, and 1440 / dpi.
struct ScreenMetrics {
    int pixelWidth = 1024;  // screenPixelWidth
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;
    // n pixels in twips, rounded as an integer assignment rounds.
    int twipsX(double pixels) const;
    int twipsY(double pixels) const;
};

struct ResizeResult {
    bool handled = false;         // false while minimised: nothing was done
    std::string windowStateText;  // "MAXIMIZED" or "NORMAL" when handled
    int minimumWidth = 0;         // outer size the panel needs, twips
    int minimumHeight = 0;
    bool enlarge = false;  // the window is lower or narrower: enlarge it to the minimum
};

// Implemented by the main form.
class PanelHost {
  public:
    virtual ~PanelHost() = default;
    // Current size and state of the main window.
    virtual WindowGeometry windowGeometry() = 0;
    // A fatal error was reported: unload the main window. Called from inside a panel call, so
    // the window must be closed later (post the close), not destroyed before this returns.
    virtual void shutdown() = 0;
    // Tile events the main form acts on (activation, focus, popup menu); k is the list index.
    virtual void tileClick(long k) = 0;
    virtual void tileDblClick(long k) = 0;
    virtual void tileKeyPress(long k, short& keyAscii) = 0;
    virtual void tileMouseDown(long k, short button, short shift, float x, float y) = 0;
};

class ThumbnailPanel : private PanelViewEvents {
  public:
    // Creates widget 0, the hidden size template, and listens to the view.
    ThumbnailPanel(PanelState& state, CoffeeShopList& list, Ui& ui, PanelView& view,
                   PanelHost& host, ScreenMetrics screen);
    ~ThumbnailPanel() override;
    ThumbnailPanel(const ThumbnailPanel&) = delete;
    ThumbnailPanel& operator=(const ThumbnailPanel&) = delete;

    // Start-up "d" and "e": gap, tab font, scroll strip positions, widget 0 scaled to the
    // screen, preferredHeight and preferredWidth (written into the state).
    void scaleToScreen(const WindowGeometry& window);
    // Start-up "h": places every control of the panel, tab captions for tabMode.
    void fixedLayout(const WindowGeometry& window);
    // The main window was resized. The caller enlarges the window when asked to.
    ResizeResult resize(const WindowGeometry& window);
    // The outer size below which resize asks for enlarging (for WM_GETMINMAXINFO).
    ResizeResult minimumSize(const WindowGeometry& window) const;
    // The window moved to a monitor of another scale: scaleToScreen, fixedLayout and a redraw
    // at the new one. The window keeps the size the system suggested.
    void rescale(ScreenMetrics screen, const WindowGeometry& window);
    const ScreenMetrics& screen() const;

    // Redraw. With refresh (the usual call) it also re-applies the tab captions for tabMode
    // and refreshes the window list; without, it only redraws.
    void updateWindowList(bool refresh = true);
    // A click on tab 0..3 (also what the user's selection in the tab strip runs).
    void tabClick(int tab);
    // The typed search. With words, a tile shows only when its record matches them all (see
    // SearchFilter), each visible tab's caption tells its matches ("Documents (3)"), and the
    // view goes to the first tab with a match. Works on the list as it is: no new look at the
    // desktop. An empty text brings every tile and the captions back.
    void setSearch(const std::string& text);
    const std::string& searchText() const;
    // The highlight among the current tab's matches: one on (+1) or back (-1), stopping at the
    // ends. The first match is highlighted after every change of the text.
    void moveHighlight(int step);
    // List index of the highlighted match, and of the n-th match (1-based) in display order on
    // the current tab; 0 when there is none.
    long highlighted() const;
    long nthMatch(int n) const;
    // lblClickAny: "Click Any Image to Continue" or "Double Click Any Image to Continue".
    void setHintText(const std::string& text);
    // Start-up "o": widget 0 to the front of the z-order.
    void bringTemplateToFront();

    // cswDocs: element k, 0 the template, nullptr beyond the upper bound.
    TileView* cswDocs(long k);
    long cswDocsUpperBound() const;
    // Tiles created so far, widget 0 included (tiles are never re-created).
    int tilesCreated() const;
    // Whether any tile reports IsBusy (its comment is being edited).
    bool anyTileBusy();
    // The tile whose comment is being typed, with the text typed so far.
    std::optional<std::pair<long, std::string>> commentBeingTyped();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;

    void tileClick(long k) override;
    void tileDblClick(long k) override;
    void tileKeyPress(long k, short& keyAscii) override;
    void tileMouseDown(long k, short button, short shift, float x, float y) override;
    void tileGotFocus(long k) override;
    void tileLostFocus(long k) override;
    void tileCommentChanged(long k) override;
    void tabSelected(int tab) override;
    void scrollChanged(PanelControl bar, int value) override;
    void nextTurn() override;
};

}  // namespace snapdesk
