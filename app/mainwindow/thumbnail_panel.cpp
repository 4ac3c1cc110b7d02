#include "mainwindow/thumbnail_panel.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "common/app_title.h"
#include "common/make_short_file_name.h"
#include "common/runtime_error.h"
#include "common/text.h"
#include "mainwindow/search_filter.h"
#include "mainwindow/search_highlight.h"

namespace snapdesk {

namespace {

// Tab captions: four-tab mode, and the wide ones of two-tab mode.
constexpr const char* kDocumentsCaption = "Documents";
constexpr const char* kWebBrowsersCaption = "Web Browsers";
constexpr const char* kOthersCaption = "     Others    ";
constexpr const char* kProjectCaption = "   Project   ";
constexpr const char* kWideDocumentsCaption = "              Documents              ";
constexpr const char* kWideProjectCaption = "                Project                ";
constexpr const char* kFourTabCaptions[] = {kDocumentsCaption, kWebBrowsersCaption, kOthersCaption,
                                            kProjectCaption};

constexpr const char* kProjectLabel = "Project: ";
constexpr const char* kClickAnyHint = "Click Any Image to Continue";

constexpr const char* kMemoryMessage =
    "Sorry, but the system has run very short of memory, \n"
    "and this program will be shut down.\n"
    "If you wish to run Snapdesk! again, please close\n"
    "some other applications to prevent a reoccurrance of this problem.";
constexpr const char* kFatalMessage =
    "Sorry, but a fatal error has occured and \n"
    "the program will be shut down.\n"
    "The location of the error is 'loadPictureBoxes' \n"
    "The error is: ";

// Error raised when an image cannot be created: graphics memory is exhausted.
constexpr int kCannotCreateImage = 480;
constexpr int kMaxRowsFourTabs = 10;
constexpr int kTabCount = 4;
// The back colour of the highlighted match (0x00BBGGRR): pale yellow, apart from every tab's.
constexpr std::uint32_t kHighlightBackColor = 0x80FFFF;
// The longest run of tile making between two turns of the message loop.
constexpr std::chrono::milliseconds kTileTurn{40};

std::string numberAndDescription(const RuntimeError& e) {
    return std::to_string(e.number) + " - " + e.description;
}

std::string trapMessage(const std::string& procedure, const RuntimeError& e) {
    return "an error has occured in '" + procedure + "'\n" + numberAndDescription(e);
}

// "Documents" with 3 matches is "Documents (3)"; the blanks that widen a caption stay around.
std::string withMatchCount(const std::string& caption, int count) {
    const auto end = caption.find_last_not_of(' ');
    const std::size_t at = end == std::string::npos ? caption.size() : end + 1;
    return caption.substr(0, at) + " (" + std::to_string(count) + ")" + caption.substr(at);
}

}  // namespace

int ScreenMetrics::twipsX(double pixels) const {
    return static_cast<int>(std::nearbyint(pixels * twipsPerPixelX));
}

int ScreenMetrics::twipsY(double pixels) const {
    return static_cast<int>(std::nearbyint(pixels * twipsPerPixelY));
}

struct ThumbnailPanel::Impl {
    PanelState& state;
    CoffeeShopList& list;
    Ui& ui;
    PanelView& view;
    PanelHost& host;
    ScreenMetrics screen;
    ScreenScale scale;
    std::vector<TileView*> tiles;  // cswDocs; element 0 the template
    int created = 0;
    bool shutDown = false;
    // Tiles are left for the next turn of the message loop, which has not come yet.
    bool turnRequested = false;
    bool vBarShown = false;
    bool hBarShown = false;
    // The search typed: with words, only matching records show, and one of them is highlighted.
    SearchFilter filter;
    // Computed again since the last drawing: captions and highlight to bring up to date.
    bool matchesChanged = true;
    std::vector<long> placed;  // the tiles shown on the current tab, in display order
    SearchHighlight highlight;
    long highlightedTile = 0;  // the tile drawn highlighted, 0 none

    Impl(PanelState& s, CoffeeShopList& l, Ui& u, PanelView& v, PanelHost& h, ScreenMetrics m)
        : state(s),
          list(l),
          ui(u),
          view(v),
          host(h),
          screen(m),
          scale(scaleForScreen(m.pixelWidth)) {}

    int currentTab() const { return std::clamp(state.currentTab, 0, kTabCount - 1); }
    // The gaps follow the width in pixels of 96 dpi, as the tiles do: the same on paper at
    // every scale.
    int gx() const { return state.gapPixels * kTwipsPerLayoutPixel; }
    int gy() const { return state.gapPixels * kTwipsPerLayoutPixel; }
    TileView& tile0() { return *tiles[0]; }
    long upperBound() const { return static_cast<long>(tiles.size()) - 1; }

    bool filtering() const { return filter.active(); }

    void computeMatches() {
        matchesChanged = true;
        filter.compute(list, [this](long k) { return list.doDisplay(k) ? stripTabOf(k) : -1; });
    }

    bool matches(long k) const { return filter.matches(k); }

    // Record k is displayed on `tab` and matches the search.
    bool shownOn(long k, int tab) const {
        return list.doDisplay(k) && matches(k) && stripTabOf(k) == tab;
    }

    // The tab whose page shows record k. Two tabs: Project shows its own records, Documents
    // every other one.
    int stripTabOf(long k) const {
        const int in = list.inTab(k);
        if (state.tabMode == 4) {
            return in;
        }
        return in == kProjectTab ? kProjectTab : 0;
    }

    bool shownOnTab(long k) const { return shownOn(k, currentTab()); }

    int matchCount(int tab) const { return filter.count(tab); }

    // The visible tabs from left to right.
    std::vector<int> stripOrder() const {
        return state.tabMode == 4 ? std::vector<int>{0, 1, 2, 3} : std::vector<int>{0, kProjectTab};
    }

    std::string tabCaption(int tab) const {
        std::string caption = kFourTabCaptions[tab];
        if (state.tabMode != 4 && (tab == 0 || tab == kProjectTab)) {
            caption = tab == 0 ? kWideDocumentsCaption : kWideProjectCaption;
        }
        if (!filtering() || (state.tabMode != 4 && tab != 0 && tab != kProjectTab)) {
            return caption;
        }
        return withMatchCount(caption, matchCount(tab));
    }

    void setTabCaptions() {
        for (int tab = 0; tab < kTabCount; ++tab) {
            view.setTabCaption(tab, tabCaption(tab));
        }
    }

    int shownCount() const {
        int n = 0;
        for (long k = 1; k <= list.count(); ++k) {
            n += shownOnTab(k) ? 1 : 0;
        }
        return n;
    }

    bool anyBusy() {
        return std::any_of(tiles.begin(), tiles.end(), [](TileView* t) { return t->isBusy(); });
    }

    void fatal(const std::string& text, MessageBoxStyle style) {
        ui.messageBox(text, kAppTitle, style);
        shutDown = true;
        host.shutdown();
    }

    void applyTabCaptions() {
        if (state.tabMode == 4) {
            view.setTabVisible(1, true);
            view.setTabVisible(2, true);
            setTabCaptions();
            return;
        }
        view.setTabVisible(1, false);
        view.setTabVisible(2, false);
        setTabCaptions();
        // A hidden tab cannot stay selected: its records belong to Documents now.
        if (state.currentTab == 1 || state.currentTab == 2) {
            state.currentTab = 0;
            view.selectTab(0);
            view.setBackColor(PanelControl::canvas, state.tabColors[0]);
        }
    }

    void centreLabels(int value) {
        Bounds hint = view.bounds(PanelControl::lblClickAny);
        hint.left = (view.innerWidth(PanelControl::pbxPortal) - hint.width) / 2 + value;
        view.setBounds(PanelControl::lblClickAny, hint);
        Bounds project = view.bounds(PanelControl::lblProjectName);
        project.left = (view.innerWidth(PanelControl::MainFrame) - project.width) / 2 + value;
        view.setBounds(PanelControl::lblProjectName, project);
    }

    void vScrollChange(int value) {
        Bounds canvas = view.bounds(PanelControl::canvas);
        canvas.top = -value;
        view.setBounds(PanelControl::canvas, canvas);
    }

    void hScrollChange(int value) {
        Bounds canvas = view.bounds(PanelControl::canvas);
        canvas.left = -value;
        view.setBounds(PanelControl::canvas, canvas);
        centreLabels(value);
    }

    // A bar whose range shrank below its value moves to the new end, as a scroll bar does.
    void setRange(PanelControl bar, const ScrollRange& range) {
        view.setScrollRange(bar, range);
        const int value = view.scrollValue(bar);
        if (value > range.max) {
            view.setScrollValue(bar, range.max);
            bar == PanelControl::vScroll ? vScrollChange(range.max) : hScrollChange(range.max);
        }
    }

    void resetBar(PanelControl bar) {
        if (view.scrollValue(bar) != 0) {
            view.setScrollValue(bar, 0);
        }
        bar == PanelControl::vScroll ? vScrollChange(0) : hScrollChange(0);
    }

    bool loadPictureBoxes(long n) {
        try {
            const int width = tile0().width();
            const int height = tile0().height();
            const auto start = std::chrono::steady_clock::now();
            for (long k = upperBound() + 1; k <= n; ++k) {
                // A tile takes long to make: the window answers between a few of them, and
                // the rest come at the next turn.
                if (turnRequested || (std::chrono::steady_clock::now() - start >= kTileTurn &&
                                      (turnRequested = view.requestNextTurn()))) {
                    break;
                }
                TileView& tile = view.createTile(k, width, height);
                tiles.push_back(&tile);
                ++created;
                tile.setBackColor(state.tabColors[static_cast<std::size_t>(currentTab())]);
                tile.setResolution(screen.pixelWidth);
                tile.setComment("");
                tile.setVisible(true);
                tile.setTabStop(true);
                tile.setPictureVisible(true);
                tile.setCommentColor(state.commentBackColor);
                tile.bringToFront();
            }
            return true;
        } catch (const RuntimeError& e) {
            if (e.number == kCannotCreateImage) {
                fatal(kMemoryMessage, MessageBoxStyle::Ok);
            } else {
                fatal(kFatalMessage + numberAndDescription(e), MessageBoxStyle::Ok);
            }
            return false;
        }
    }

    std::uint32_t tabColor() const {
        return state.tabColors[static_cast<std::size_t>(currentTab())];
    }
    std::uint32_t backColorOf(long k) const {
        return k != 0 && k == highlightedTile ? kHighlightBackColor : tabColor();
    }

    void ArrangePictureBoxes() {
        try {
            const Bounds hint = view.bounds(PanelControl::lblClickAny);
            int x = gx();
            int y = hint.top + hint.height;
            int row = 1;
            placed.clear();
            for (long k = 1; k <= upperBound(); ++k) {
                TileView& tile = *tiles[static_cast<std::size_t>(k)];
                if (shownOnTab(k) && (state.tabMode != 4 || row <= kMaxRowsFourTabs)) {
                    tile.move(x, y);
                    placed.push_back(k);
                    x += tile.width() + gx();
                    tile.setBackColor(backColorOf(k));
                    tile.setTabIndex(static_cast<int>(placed.size()) + 1);
                    tile.setTabStop(true);
                    tile.setVisible(true);
                    tile.setCommentColor(state.commentBackColor);
                    if (placed.size() % 3 == 0) {
                        x = gx();
                        y += tile.height();
                        ++row;
                    }
                } else {
                    tile.setVisible(false);
                    tile.setTabStop(false);
                }
            }
        } catch (const RuntimeError& e) {
            ui.messageBox(trapMessage("ArrangePictureBoxes", e), kAppTitle, MessageBoxStyle::Ok);
        }
    }

    void AdjustScrollBars() {
        try {
            if (anyBusy()) {
                return;
            }
            const WindowGeometry window = host.windowGeometry();
            const int tile = tile0().height();
            const int tileWidth = tile0().width();
            const int tab = currentTab();
            const int shown = shownCount();
            int rows = shown < 3 ? 1 : (shown + 2) / 3;
            if (state.tabMode == 4) {
                rows = std::min(rows, kMaxRowsFourTabs);  // the rows that are laid out
            }
            const int content = rows * tile + gy();
            Bounds canvas = view.bounds(PanelControl::canvas);
            canvas.height = content <= state.preferredHeight ? state.preferredHeight : content;
            view.setBounds(PanelControl::canvas, canvas);

            // Vertical.
            const int strip = view.tabStripHeight();
            const int portalHeight =
                std::max(0, window.innerHeight - screen.twipsX(4) - strip - window.buttonBarHeight);
            Bounds portal = view.bounds(PanelControl::pbxPortal);
            if (rows * tile + gy() / 2.0 <= view.innerHeight(PanelControl::pbxPortal) + 50) {
                portal.height = portalHeight;
                view.setBounds(PanelControl::pbxPortal, portal);
                view.setVisible(PanelControl::vScroll, false);
                resetBar(PanelControl::vScroll);
                vBarShown = false;
            } else {
                Bounds bar = view.bounds(PanelControl::vScroll);
                bar.height = portalHeight;
                portal.height = bar.height;
                view.setBounds(PanelControl::pbxPortal, portal);
                bar.left = portal.width - strip + screen.twipsX(1);
                bar.top = 0;
                view.setBounds(PanelControl::vScroll, bar);
                const int inner = view.innerHeight(PanelControl::pbxPortal);
                const double fit = static_cast<double>(inner - gy()) / tile;
                ScrollRange range;
                range.max = content - inner >= 10
                                ? static_cast<int>(std::nearbyint((rows - fit) * tile))
                                : 10;
                // Arrows and page clicks must always move the canvas.
                range.smallChange = std::max(1, range.max / (rows * 3));
                range.largeChange = std::max(1, range.max / rows);
                setRange(PanelControl::vScroll, range);
                view.setVisible(PanelControl::vScroll, true);
                vBarShown = true;
            }

            // The scroll strip beside the tab captions.
            portal = view.bounds(PanelControl::pbxPortal);
            Bounds frame = view.bounds(PanelControl::frmScrollBox);
            frame.left = state.scrollFrameLefts[static_cast<std::size_t>(tab)];
            frame.top = portal.top + portal.height;
            frame.height = std::max(0, strip - screen.twipsY(1));

            // Horizontal.
            const int contentWidth = 3 * tileWidth + 2 * gy();
            const int viewport = view.innerWidth(PanelControl::pbxPortal);
            canvas = view.bounds(PanelControl::canvas);
            if (shown >= 2 && viewport < contentWidth && canvas.width - viewport >= 10) {
                frame.width = std::max(0, view.bounds(PanelControl::tabControl).width - frame.left);
                view.setBounds(PanelControl::frmScrollBox, frame);
                Bounds bar = view.bounds(PanelControl::hScroll);
                bar.width = std::max(0, frame.width - bar.height);
                view.setBounds(PanelControl::hScroll, bar);
                ScrollRange range;
                range.max = std::max(10, canvas.width - viewport);
                range.smallChange = std::max(1, range.max / 5);
                range.largeChange = std::max(1, range.max / 2);
                setRange(PanelControl::hScroll, range);
                Bounds corner = view.bounds(PanelControl::corner);
                corner.left = bar.width;
                view.setBounds(PanelControl::corner, corner);
                view.setVisible(PanelControl::frmScrollBox, true);
                view.setVisible(PanelControl::hScroll, true);
                view.setVisible(PanelControl::corner, true);
                hBarShown = true;
            } else {
                view.setBounds(PanelControl::frmScrollBox, frame);
                view.setVisible(PanelControl::frmScrollBox, false);
                view.setVisible(PanelControl::hScroll, false);
                view.setVisible(PanelControl::corner, false);
                resetBar(PanelControl::hScroll);
                hBarShown = false;
            }

            // Keep the canvas covering the viewport.
            canvas = view.bounds(PanelControl::canvas);
            const int viewportHeight = view.innerHeight(PanelControl::pbxPortal);
            if (!hBarShown || canvas.left > 0) {
                canvas.left = 0;
            }
            canvas.width = std::max(canvas.width, window.innerWidth);
            if (canvas.left + canvas.width < viewport) {
                canvas.left = viewport - canvas.width;
            }
            if (!vBarShown || canvas.top > 0) {
                canvas.top = 0;
            }
            canvas.height = std::max(canvas.height, window.innerHeight);
            if (canvas.top + canvas.height < viewportHeight) {
                canvas.top = viewportHeight - canvas.height;
            }
            view.setBounds(PanelControl::canvas, canvas);

            centreLabels(view.scrollValue(PanelControl::hScroll));
        } catch (const RuntimeError& e) {
            ui.messageBox(trapMessage("AdjustScrollBars", e), kAppTitle, MessageBoxStyle::Ok);
        }
    }

    void fillTile(long k) {
        TileView& tile = *tiles[static_cast<std::size_t>(k)];
        if (!shownOnTab(k)) {
            tile.setVisible(false);
            return;
        }
        tile.setBackColor(backColorOf(k));
        tile.setFileName(makeShortFileName(list.CaptionString(k)));
        tile.setComment(list.CommentString(k));
        if (list.gotPhoto(k) || list.photoIsProvisional(k)) {
            // A tile already showing a picture has the picture area's full geometry, and the
            // picture write centres it again: writing PictureVisible once more would only move
            // the area aside and back. Nor is the picture cleared first, which would repaint.
            if (!tile.isPictureVisible()) {
                tile.setPictureVisible(true);
            }
            tile.setPicture(list.thePhoto(k));
        } else {
            tile.setPicture(nullptr);
            tile.setPictureVisible(false);
            tile.drawIcon(list.hIcon(k));
        }
    }

    // The windows of the tiles that match, in display order; none without a search.
    std::vector<WindowHandle> placedMatches() const {
        std::vector<WindowHandle> windows;
        if (filtering()) {
            for (long k : placed) {
                windows.push_back(list.hWnd(k));
            }
        }
        return windows;
    }

    long tileOf(WindowHandle window) const {
        for (long k : placed) {
            if (list.hWnd(k) == window) {
                return k;
            }
        }
        return 0;
    }

    // The highlighted tile has a back colour of its own, and is scrolled into the viewport.
    void paintHighlight() {
        const auto window = highlight.current();
        const long want = window ? tileOf(*window) : 0;
        if (want == highlightedTile) {
            return;
        }
        const long old = highlightedTile;
        highlightedTile = want;
        if (TileView* tile = tileAt(old); tile != nullptr && old != 0) {
            tile->setBackColor(backColorOf(old));
        }
        if (TileView* tile = tileAt(want); tile != nullptr && want != 0) {
            tile->setBackColor(backColorOf(want));
            scrollIntoView(*tile);
        }
    }

    void scrollIntoView(TileView& tile) {
        if (!vBarShown) {
            return;
        }
        const int value = view.scrollValue(PanelControl::vScroll);
        const int viewport = view.innerHeight(PanelControl::pbxPortal);
        int to = value;
        if (tile.top() < value) {
            to = tile.top() - gy();
        } else if (tile.top() + tile.height() > value + viewport) {
            to = tile.top() + tile.height() + gy() - viewport;
        }
        to = std::clamp(to, 0, view.scrollRange(PanelControl::vScroll).max);
        if (to != value) {
            view.setScrollValue(PanelControl::vScroll, to);
            vScrollChange(to);
        }
    }

    // The tiles laid out and filled from the list as it is. Without fillAll only the tiles
    // that were not shown are filled: the others show the list as it is already, since the
    // list changes only with a refresh, which fills them all.
    void drawTiles(bool fillAll = true) {
        if (filtering() && matchesChanged) {
            setTabCaptions();
        }
        if (!loadPictureBoxes(list.count())) {
            return;
        }
        std::vector<char> wasPlaced;
        if (!fillAll) {
            wasPlaced.resize(static_cast<std::size_t>(upperBound()) + 1);
            for (long k : placed) {
                wasPlaced[static_cast<std::size_t>(k)] = 1;
            }
        }
        const std::vector<long> before = placed;
        ArrangePictureBoxes();
        if (fillAll) {
            for (long k = 1; k <= upperBound(); ++k) {
                fillTile(k);
            }
        } else {
            for (long k : placed) {
                if (wasPlaced[static_cast<std::size_t>(k)] == 0) {
                    fillTile(k);
                }
            }
        }
        AdjustScrollBars();
        // The same windows in the same tiles keep the highlight as it is.
        if (matchesChanged || placed != before) {
            highlight.refresh(placedMatches());
            paintHighlight();
        }
        matchesChanged = false;
    }

    // Whether the tiles shown are the ones the search leaves on the current tab, in order (as
    // with every letter typed while all of them still match).
    bool sameTilesWouldShow() const {
        if (list.count() > upperBound()) {
            return false;
        }
        const std::size_t most = state.tabMode == 4 ? 3 * kMaxRowsFourTabs : placed.size() + 1;
        std::size_t i = 0;
        for (long k = 1; k <= upperBound() && i < most; ++k) {
            if (shownOnTab(k)) {
                if (i >= placed.size() || placed[i] != k) {
                    return false;
                }
                ++i;
            }
        }
        return i == placed.size();
    }

    // After a change of the search, on the current tab.
    void showMatches() {
        redrawTrapped([&] {
            if (sameTilesWouldShow()) {
                setTabCaptions();
                highlight.refresh(placedMatches());
                paintHighlight();
                matchesChanged = false;
            } else {
                drawTiles(false);
            }
        });
    }

    void updateWindowList(bool refresh) {
        redrawTrapped([&] {
            // The list changes only here (and commands redraw with a refresh): the matches
            // of the search stay valid for the redraws in between.
            if (refresh) {
                applyTabCaptions();
                list.refreshList();
                filter.listChanged();
                computeMatches();
            }
            drawTiles();
        });
    }

    template <typename F>
    void redrawTrapped(F&& work) {
        if (shutDown) {
            return;
        }
        try {
            if (anyBusy()) {
                return;
            }
            work();
        } catch (const RuntimeError& e) {
            if (e.number == kCannotCreateImage) {
                fatal(kMemoryMessage, MessageBoxStyle::OkCritical);
            } else {
                ui.messageBox(trapMessage("UpdateWindowList", e), kAppTitle, MessageBoxStyle::Ok);
            }
        }
    }

    // A failure in a tile's event handler is reported like any trapped failure.
    template <typename F>
    void trapped(const char* procedure, F&& f) {
        if (shutDown) {
            return;
        }
        try {
            f();
        } catch (const RuntimeError& e) {
            ui.messageBox(trapMessage(procedure, e), kAppTitle, MessageBoxStyle::Ok);
        }
    }

    TileView* tileAt(long k) {
        return k >= 0 && k <= upperBound() ? tiles[static_cast<std::size_t>(k)] : nullptr;
    }

    // Tab 0..3 shown: with refresh after a new look at the desktop, as a click on it does.
    void showTab(int tab, bool refresh) {
        if (shutDown || tab < 0 || tab >= kTabCount) {
            return;
        }
        state.currentTab = tab;
        view.selectTab(tab);
        const std::string name = text::doubleAmpersands(state.projectName);
        view.setVisible(PanelControl::pbxPortal, false);
        if (refresh) {
            updateWindowList(true);
        } else {
            redrawTrapped([&] { drawTiles(false); });
        }
        if (shutDown) {
            return;
        }
        view.setBackColor(PanelControl::canvas, state.tabColors[static_cast<std::size_t>(tab)]);
        if (tab == kProjectTab) {
            view.setCaption(PanelControl::lblProjectName, kProjectLabel + name);
            view.setVisible(PanelControl::lblProjectName, true);
            view.setVisible(PanelControl::lblClickAny, false);
        } else {
            view.setVisible(PanelControl::lblProjectName, false);
            view.setVisible(PanelControl::lblClickAny, true);
        }
        // The new caption has its own width.
        centreLabels(view.scrollValue(PanelControl::hScroll));
        Bounds portal = view.bounds(PanelControl::pbxPortal);
        portal.left = 0;
        view.setBounds(PanelControl::pbxPortal, portal);
        view.setVisible(PanelControl::pbxPortal, true);
    }
};

ThumbnailPanel::ThumbnailPanel(PanelState& state, CoffeeShopList& list, Ui& ui, PanelView& view,
                               PanelHost& host, ScreenMetrics screen)
    : impl_(std::make_unique<Impl>(state, list, ui, view, host, screen)) {
    TileView& tile0 = view.createTile(0, kTemplateDesignWidth, kTemplateDesignHeight);
    impl_->tiles.push_back(&tile0);
    impl_->created = 1;
    tile0.setVisible(false);
    tile0.setTabStop(false);
    // Captions of the tabs as the window is designed; two-tab mode widens them.
    view.setTabCaption(0, kDocumentsCaption);
    view.setTabCaption(1, kWebBrowsersCaption);
    view.setTabCaption(2, kOthersCaption);
    view.setTabCaption(3, kProjectCaption);
    view.setCaption(PanelControl::lblClickAny, kClickAnyHint);
    view.setCaption(PanelControl::lblProjectName, kProjectLabel);
    view.setEvents(this);
}

ThumbnailPanel::~ThumbnailPanel() {
    impl_->view.setEvents(nullptr);
}

void ThumbnailPanel::scaleToScreen(const WindowGeometry& window) {
    Impl& p = *impl_;
    p.scale = scaleForScreen(p.screen.pixelWidth);
    p.state.gapPixels = p.scale.gapPixels;
    p.state.scrollFrameLefts = p.scale.scrollFrameLefts;
    p.view.setFontSize(PanelControl::tabControl, p.scale.tabFontSize);
    p.tile0().setResolution(p.screen.pixelWidth);
    p.tile0().setSize(p.scale.templateWidth, p.scale.templateHeight);

    PreferredSizeInputs in;
    in.tileWidth = p.tile0().width();
    in.tileHeight = p.tile0().height();
    in.gapTwipsX = p.gx();
    in.gapTwipsY = p.gy();
    in.tabStripHeight = p.view.tabStripHeight();
    in.nonClientWidth = window.nonClientWidth;
    in.nonClientHeight = window.nonClientHeight;
    in.frameBorderHeight =
        p.view.bounds(PanelControl::MainFrame).height - p.view.innerHeight(PanelControl::MainFrame);
    const PreferredSize size = preferredWindowSize(in);
    p.state.preferredHeight = size.height;
    p.state.preferredWidth = size.width;
}

void ThumbnailPanel::fixedLayout(const WindowGeometry& window) {
    Impl& p = *impl_;
    PanelView& v = p.view;
    const int bar = window.buttonBarHeight;
    v.setBounds(PanelControl::MainFrame,
                {0, bar, window.innerWidth, std::max(0, window.innerHeight - bar)});
    // MainFrame already starts under the toolbar: the tab control fills it from its top, so
    // that the labels are not hidden under the toolbar nor a band left under the tab strip.
    v.setBounds(PanelControl::tabControl, {0, 0, v.innerWidth(PanelControl::MainFrame),
                                           v.innerHeight(PanelControl::MainFrame)});
    const Bounds tab = v.bounds(PanelControl::tabControl);
    const int strip = v.tabStripHeight();
    const int pixel = p.screen.twipsY(1);
    const int portalHeight = std::max(0, tab.height - strip - pixel);
    v.setBounds(PanelControl::pbxPortal, {0, 0, tab.width, portalHeight});
    v.setBounds(PanelControl::canvas, {0, 0, p.state.preferredWidth, portalHeight});
    const int frameLeft = p.state.scrollFrameLefts[static_cast<std::size_t>(p.currentTab())];
    const Bounds frame{frameLeft, portalHeight, std::max(0, tab.width - frameLeft),
                       std::max(0, strip - pixel)};
    v.setBounds(PanelControl::frmScrollBox, frame);
    const Bounds hbar{0, 0, std::max(0, frame.width - frame.height), frame.height};
    v.setBounds(PanelControl::hScroll, hbar);
    v.setBounds(PanelControl::vScroll,
                {v.bounds(PanelControl::vScroll).left, 0, hbar.height, portalHeight});
    v.setBounds(PanelControl::corner, {hbar.width, 0, hbar.height, hbar.height});

    v.setFontSize(PanelControl::lblClickAny, p.scale.hintFontSize);
    Bounds hint = v.bounds(PanelControl::lblClickAny);
    hint.top = p.scale.hintFontSize * kTwipsPerLayoutPixel;
    v.setBounds(PanelControl::lblClickAny, hint);
    v.setVisible(PanelControl::lblClickAny, true);

    v.setFontSize(PanelControl::lblProjectName, p.scale.projectFontSize);
    v.setCaption(PanelControl::lblProjectName, kProjectLabel);
    Bounds project = v.bounds(PanelControl::lblProjectName);
    project.top = p.scale.projectFontSize * 2 * kTwipsPerLayoutPixel / 5;
    v.setBounds(PanelControl::lblProjectName, project);
    v.setVisible(PanelControl::lblProjectName, false);
    p.centreLabels(v.scrollValue(PanelControl::hScroll));

    p.applyTabCaptions();
}

ResizeResult ThumbnailPanel::minimumSize(const WindowGeometry& window) const {
    const Impl& p = *impl_;
    ResizeResult result;
    if (window.minimized) {
        return result;
    }
    result.handled = true;
    result.windowStateText = window.maximized ? "MAXIMIZED" : "NORMAL";
    PanelView& v = p.view;
    const int frameBorder =
        v.bounds(PanelControl::MainFrame).height - v.innerHeight(PanelControl::MainFrame);
    result.minimumHeight =
        p.tiles[0]->height() + p.gy() + v.tabStripHeight() + window.nonClientHeight + frameBorder;
    result.minimumWidth = p.state.scrollFrameLefts[2] + 4 * v.bounds(PanelControl::vScroll).width;
    result.enlarge = !window.maximized && (window.outerHeight < result.minimumHeight ||
                                           window.outerWidth < result.minimumWidth);
    return result;
}

void ThumbnailPanel::rescale(ScreenMetrics screen, const WindowGeometry& window) {
    Impl& p = *impl_;
    if (p.shutDown) {
        return;
    }
    p.screen = screen;
    scaleToScreen(window);
    for (long k = 1; k <= p.upperBound(); ++k) {
        p.tiles[static_cast<std::size_t>(k)]->setResolution(screen.pixelWidth);
        p.tiles[static_cast<std::size_t>(k)]->setSize(p.tile0().width(), p.tile0().height());
    }
    fixedLayout(window);
    resize(window);
    p.updateWindowList(false);
}

const ScreenMetrics& ThumbnailPanel::screen() const {
    return impl_->screen;
}

ResizeResult ThumbnailPanel::resize(const WindowGeometry& window) {
    ResizeResult result = minimumSize(window);
    Impl& p = *impl_;
    if (!result.handled || p.shutDown) {
        return result;
    }
    PanelView& v = p.view;
    const int bar = window.buttonBarHeight;
    v.setBounds(PanelControl::MainFrame,
                {0, bar, window.innerWidth, std::max(0, window.innerHeight - bar)});
    Bounds tab = v.bounds(PanelControl::tabControl);
    tab.width = v.innerWidth(PanelControl::MainFrame);
    tab.height = v.innerHeight(PanelControl::MainFrame);
    v.setBounds(PanelControl::tabControl, tab);
    Bounds portal = v.bounds(PanelControl::pbxPortal);
    portal.height = std::max(0, tab.height - v.tabStripHeight());
    portal.width = tab.width;
    v.setBounds(PanelControl::pbxPortal, portal);
    p.centreLabels(v.scrollValue(PanelControl::hScroll));
    p.AdjustScrollBars();
    return result;
}

void ThumbnailPanel::updateWindowList(bool refresh) {
    impl_->updateWindowList(refresh);
}

void ThumbnailPanel::nextTurn() {
    // The tiles still missing, without a new look at the desktop.
    impl_->turnRequested = false;
    impl_->updateWindowList(false);
}

void ThumbnailPanel::tabClick(int tab) {
    impl_->showTab(tab, true);
}

void ThumbnailPanel::setSearch(const std::string& text) {
    Impl& p = *impl_;
    if (p.shutDown || !p.filter.setText(text)) {
        return;
    }
    p.computeMatches();
    if (!p.filtering()) {
        p.setTabCaptions();
    }
    // The view goes to the first tab with a match; with none anywhere it stays.
    int target = p.currentTab();
    if (p.filtering()) {
        for (int tab : p.stripOrder()) {
            if (p.matchCount(tab) > 0) {
                target = tab;
                break;
            }
        }
    }
    // The highlight starts again at the first match.
    p.highlight.clear();
    if (target != p.currentTab()) {
        p.showTab(target, false);
    } else {
        p.showMatches();
    }
}

const std::string& ThumbnailPanel::searchText() const {
    return impl_->filter.text();
}

void ThumbnailPanel::moveHighlight(int step) {
    if (impl_->highlight.move(step)) {
        impl_->paintHighlight();
    }
}

long ThumbnailPanel::highlighted() const {
    const auto window = impl_->highlight.current();
    return window ? impl_->tileOf(*window) : 0;
}

long ThumbnailPanel::nthMatch(int n) const {
    const auto window = impl_->highlight.nth(n);
    return window ? impl_->tileOf(*window) : 0;
}

void ThumbnailPanel::setHintText(const std::string& text) {
    impl_->view.setCaption(PanelControl::lblClickAny, text);
    impl_->centreLabels(impl_->view.scrollValue(PanelControl::hScroll));
}

void ThumbnailPanel::bringTemplateToFront() {
    impl_->tile0().bringToFront();
}

TileView* ThumbnailPanel::cswDocs(long k) {
    return impl_->tileAt(k);
}

long ThumbnailPanel::cswDocsUpperBound() const {
    return impl_->upperBound();
}

int ThumbnailPanel::tilesCreated() const {
    return impl_->created;
}

bool ThumbnailPanel::anyTileBusy() {
    return impl_->anyBusy();
}

std::optional<std::pair<long, std::string>> ThumbnailPanel::commentBeingTyped() {
    for (long k = 1; k <= impl_->upperBound(); ++k) {
        TileView* tile = impl_->tileAt(k);
        if (tile != nullptr && tile->isBusy()) {
            return std::make_pair(k, tile->editorText());
        }
    }
    return std::nullopt;
}

void ThumbnailPanel::tileClick(long k) {
    if (!impl_->shutDown) {
        impl_->host.tileClick(k);
    }
}

void ThumbnailPanel::tileDblClick(long k) {
    if (!impl_->shutDown) {
        impl_->host.tileDblClick(k);
    }
}

void ThumbnailPanel::tileKeyPress(long k, short& keyAscii) {
    if (!impl_->shutDown) {
        impl_->host.tileKeyPress(k, keyAscii);
    }
}

void ThumbnailPanel::tileMouseDown(long k, short button, short shift, float x, float y) {
    if (!impl_->shutDown) {
        impl_->host.tileMouseDown(k, button, shift, x, y);
    }
}

void ThumbnailPanel::tileGotFocus(long k) {
    impl_->trapped("cswDocs_GotFocus", [&] {
        if (TileView* tile = impl_->tileAt(k)) {
            tile->setFileNameColor(tile->focusColor());
        }
    });
}

void ThumbnailPanel::tileLostFocus(long k) {
    impl_->trapped("cswDocs_LostFocus", [&] {
        if (TileView* tile = impl_->tileAt(k)) {
            tile->setFileNameColor(tile->foreColor());
        }
    });
}

void ThumbnailPanel::tileCommentChanged(long k) {
    impl_->trapped("cswDocs_CommentChanged", [&] {
        if (TileView* tile = impl_->tileAt(k)) {
            impl_->list.setCommentString(k, tile->comment());
        }
    });
    impl_->updateWindowList(true);
}

void ThumbnailPanel::tabSelected(int tab) {
    tabClick(tab);
}

void ThumbnailPanel::scrollChanged(PanelControl bar, int value) {
    if (bar == PanelControl::vScroll) {
        impl_->vScrollChange(value);
    } else if (bar == PanelControl::hScroll) {
        impl_->hScrollChange(value);
    }
}

}  // namespace snapdesk
