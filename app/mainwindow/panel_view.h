#pragma once

#include <cstdint>
#include <string>

#include "platform/handles.h"
#include "platform/picture.h"

namespace snapdesk {

// One tile of cswDocs as the panel sees it. Lengths are twips, colours 0x00BBGGRR (or a system
// colour with the top bit set). A failing property call throws RuntimeError.
class TileView {
  public:
    virtual ~TileView() = default;

    // Properties of the tile control.
    virtual void setPicture(const PicturePtr& picture) = 0;  // nullptr: no picture
    virtual std::string fileName() = 0;
    virtual void setFileName(const std::string& name) = 0;
    virtual std::string comment() = 0;
    virtual void setComment(const std::string& comment) = 0;
    virtual bool isBusy() = 0;
    // The comment as typed so far while it is edited (the comment itself otherwise).
    virtual std::string editorText() { return comment(); }
    virtual std::uint32_t foreColor() = 0;
    virtual std::uint32_t backColor() = 0;
    virtual void setBackColor(std::uint32_t color) = 0;
    virtual std::uint32_t focusColor() = 0;
    virtual std::uint32_t fileNameColor() = 0;
    virtual void setFileNameColor(std::uint32_t color) = 0;
    virtual void setResolution(int resolution) = 0;
    virtual bool isPictureVisible() = 0;
    virtual void setPictureVisible(bool visible) = 0;
    virtual std::uint32_t commentColor() = 0;
    virtual void setCommentColor(std::uint32_t color) = 0;
    // Draws the icon at 0, 0 on the picture area's drawing surface.
    virtual void drawIcon(IconHandle icon) = 0;

    // Container side.
    virtual int left() = 0;
    virtual int top() = 0;
    virtual int width() = 0;
    virtual int height() = 0;
    virtual void move(int left, int top) = 0;
    virtual void setSize(int width, int height) = 0;
    virtual bool visible() = 0;
    virtual void setVisible(bool visible) = 0;
    virtual int tabIndex() = 0;
    virtual void setTabIndex(int index) = 0;
    virtual bool tabStop() = 0;
    virtual void setTabStop(bool stop) = 0;
    virtual void bringToFront() = 0;  // top of the z-order among its siblings
    virtual void setFocus() = 0;      // keyboard focus to the tile
};

// The child controls of the panel, by their names in the main window.
enum class PanelControl {
    MainFrame,
    tabControl,
    pbxPortal,
    canvas,
    frmScrollBox,
    hScroll,
    vScroll,
    corner,
    lblClickAny,
    lblProjectName,
};

// Position and outer size in twips, relative to the control's container.
struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Bounds&) const = default;
};

struct ScrollRange {
    int max = 0;
    int smallChange = 1;
    int largeChange = 1;

    bool operator==(const ScrollRange&) const = default;
};

// What the view reports: tile events with their index k in cswDocs, the tab strip and the bars.
class PanelViewEvents {
  public:
    virtual ~PanelViewEvents() = default;
    virtual void tileClick(long k) = 0;
    virtual void tileDblClick(long k) = 0;
    virtual void tileKeyPress(long k, short& keyAscii) = 0;
    virtual void tileMouseDown(long k, short button, short shift, float x, float y) = 0;
    virtual void tileGotFocus(long k) = 0;
    virtual void tileLostFocus(long k) = 0;
    virtual void tileCommentChanged(long k) = 0;
    // The user selected another tab (index 0..3).
    virtual void tabSelected(int tab) = 0;
    // The user moved a scroll bar to a new value.
    virtual void scrollChanged(PanelControl bar, int value) = 0;
    // The message loop has taken the turn asked for with PanelView::requestNextTurn.
    virtual void nextTurn() {}
};

// The panel's windows. All lengths twips; the view converts to pixels.
class PanelView {
  public:
    virtual ~PanelView() = default;

    virtual void setEvents(PanelViewEvents* events) = 0;
    // Creates tile k as a child of canvas, invisible, with the given outer size. Tile 0 is the
    // size template. The view owns the tile for its whole life.
    virtual TileView& createTile(long k, int width, int height) = 0;
    // Asks for PanelViewEvents::nextTurn once the window has handled the messages waiting now,
    // so that long work goes on in steps. False when the view has no message loop: the work
    // is then done at once.
    virtual bool requestNextTurn() { return false; }

    virtual Bounds bounds(PanelControl control) = 0;
    virtual void setBounds(PanelControl control, const Bounds& bounds) = 0;
    // Client area of a container (outer size minus its border).
    virtual int innerWidth(PanelControl control) = 0;
    virtual int innerHeight(PanelControl control) = 0;
    virtual bool visible(PanelControl control) = 0;
    virtual void setVisible(PanelControl control, bool visible) = 0;
    virtual void setBackColor(PanelControl control, std::uint32_t color) = 0;
    // Labels size themselves to their text.
    virtual void setCaption(PanelControl control, const std::string& caption) = 0;
    virtual std::string caption(PanelControl control) = 0;
    virtual void setFontSize(PanelControl control, int points) = 0;

    // The tab strip of tabControl (along its bottom edge).
    virtual int tabStripHeight() = 0;
    virtual void setTabCaption(int tab, const std::string& caption) = 0;
    virtual std::string tabCaption(int tab) = 0;
    virtual void setTabVisible(int tab, bool visible) = 0;
    virtual bool tabVisible(int tab) = 0;
    virtual void selectTab(int tab) = 0;  // without a tabSelected event

    // vScroll and hScroll. Setting the value raises no event.
    virtual void setScrollRange(PanelControl bar, const ScrollRange& range) = 0;
    virtual ScrollRange scrollRange(PanelControl bar) = 0;
    virtual int scrollValue(PanelControl bar) = 0;
    virtual void setScrollValue(PanelControl bar, int value) = 0;
};

}  // namespace snapdesk
