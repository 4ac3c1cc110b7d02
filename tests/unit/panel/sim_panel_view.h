#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/runtime_error.h"
#include "mainwindow/panel_view.h"
#include "mainwindow/thumbnail_panel.h"

namespace snapdesk::testing {

// A tile in memory. `failOn` names a property whose next writes throw `failure`.
struct SimTile : TileView {
    long index = 0;
    PicturePtr picture;
    std::string file = "file name";
    std::string commentText = "comment";
    bool busy = false;
    std::uint32_t fore = 0x80000012, back = 0, focus = 0, fileColor = 0x80000012,
                  commentBack = 0xD0D0D0;
    int resolution = 1024;
    bool pictureVisible = true;
    IconHandle drawnIcon = 0;
    Bounds box;
    bool shown = false;
    int tabIdx = 0;
    bool stop = true;
    int zOrderStamp = 0;
    int* zCounter = nullptr;
    std::string failOn;
    std::optional<RuntimeError> failure;
    int pictureWrites = 0;

    void check(const std::string& property) {
        if (failure && failOn == property) {
            throw *failure;
        }
    }
    void setPicture(const PicturePtr& p) override {
        check("Picture");
        ++pictureWrites;
        picture = p;
        drawnIcon = 0;
    }
    std::string fileName() override { return file; }
    void setFileName(const std::string& s) override {
        check("FileName");
        file = s;
    }
    std::string comment() override { return commentText; }
    void setComment(const std::string& s) override {
        check("Comment");
        commentText = s;
    }
    bool isBusy() override {
        check("IsBusy");
        return busy;
    }
    std::uint32_t foreColor() override { return fore; }
    std::uint32_t backColor() override { return back; }
    void setBackColor(std::uint32_t c) override {
        check("BackColor");
        back = c;
        drawnIcon = 0;
    }
    std::uint32_t focusColor() override { return focus; }
    std::uint32_t fileNameColor() override { return fileColor; }
    void setFileNameColor(std::uint32_t c) override {
        check("FileNameColor");
        fileColor = c;
    }
    void setResolution(int r) override {
        check("Resolution");
        resolution = r;
    }
    bool isPictureVisible() override { return pictureVisible; }
    void setPictureVisible(bool v) override {
        check("PictureVisible");
        pictureVisible = v;
    }
    std::uint32_t commentColor() override { return commentBack; }
    void setCommentColor(std::uint32_t c) override {
        check("CommentColor");
        commentBack = c;
    }
    void drawIcon(IconHandle icon) override {
        check("hDC");
        drawnIcon = icon;
    }
    int left() override { return box.left; }
    int top() override { return box.top; }
    int width() override { return box.width; }
    int height() override { return box.height; }
    void move(int l, int t) override {
        check("Move");
        box.left = l;
        box.top = t;
    }
    void setSize(int w, int h) override {
        box.width = w;
        box.height = h;
    }
    bool visible() override { return shown; }
    void setVisible(bool v) override {
        check("Visible");
        shown = v;
    }
    int tabIndex() override { return tabIdx; }
    void setTabIndex(int i) override { tabIdx = i; }
    bool tabStop() override { return stop; }
    void setTabStop(bool s) override { stop = s; }
    void bringToFront() override { zOrderStamp = ++*zCounter; }
    void setFocus() override {}
};

// The panel's windows in memory. Labels are 100 twips wide per character; containers have
// the borders a test sets.
struct SimPanelView : PanelView {
    PanelViewEvents* events = nullptr;
    std::vector<std::unique_ptr<SimTile>> tiles;
    int tileCreations = 0;
    std::optional<RuntimeError> createFailure;   // thrown by the next createTile
    std::optional<PanelControl> failingControl;  // its setBounds throws boundsFailure
    std::optional<RuntimeError> boundsFailure;
    int zCounter = 0;
    std::map<PanelControl, Bounds> boxes;
    std::map<PanelControl, bool> shown;
    std::map<PanelControl, int> border;  // outer minus inner, both directions
    std::map<PanelControl, std::string> captions;
    std::map<PanelControl, int> fonts;
    std::map<PanelControl, std::uint32_t> colors;
    int strip = 375;  // T
    std::string tabCaptions[4];
    bool tabShown[4] = {true, true, true, true};
    int selectedTab = 0;
    std::map<PanelControl, ScrollRange> ranges;
    std::map<PanelControl, int> values;

    static constexpr int kCharWidth = 100;

    SimTile& tile(long k) { return *tiles.at(static_cast<std::size_t>(k)); }

    void setEvents(PanelViewEvents* e) override { events = e; }
    TileView& createTile(long k, int width, int height) override {
        if (createFailure) {
            const RuntimeError e = *createFailure;
            createFailure.reset();
            throw e;
        }
        ++tileCreations;
        auto t = std::make_unique<SimTile>();
        t->index = k;
        t->box = {0, 0, width, height};
        t->zCounter = &zCounter;
        tiles.push_back(std::move(t));
        return *tiles.back();
    }
    Bounds bounds(PanelControl c) override { return boxes[c]; }
    void setBounds(PanelControl c, const Bounds& b) override {
        if (boundsFailure && failingControl == c) {
            throw *boundsFailure;
        }
        boxes[c] = b;
    }
    int innerWidth(PanelControl c) override { return boxes[c].width - border[c]; }
    int innerHeight(PanelControl c) override { return boxes[c].height - border[c]; }
    bool visible(PanelControl c) override { return shown[c]; }
    void setVisible(PanelControl c, bool v) override { shown[c] = v; }
    void setBackColor(PanelControl c, std::uint32_t color) override { colors[c] = color; }
    void setCaption(PanelControl c, const std::string& s) override {
        captions[c] = s;
        boxes[c].width = static_cast<int>(s.size()) * kCharWidth;
        boxes[c].height = 240;
    }
    std::string caption(PanelControl c) override { return captions[c]; }
    void setFontSize(PanelControl c, int points) override { fonts[c] = points; }
    int tabStripHeight() override { return strip; }
    void setTabCaption(int tab, const std::string& s) override { tabCaptions[tab] = s; }
    std::string tabCaption(int tab) override { return tabCaptions[tab]; }
    void setTabVisible(int tab, bool v) override { tabShown[tab] = v; }
    bool tabVisible(int tab) override { return tabShown[tab]; }
    void selectTab(int tab) override { selectedTab = tab; }
    void setScrollRange(PanelControl bar, const ScrollRange& r) override { ranges[bar] = r; }
    ScrollRange scrollRange(PanelControl bar) override { return ranges[bar]; }
    int scrollValue(PanelControl bar) override { return values[bar]; }
    void setScrollValue(PanelControl bar, int v) override { values[bar] = v; }

    // The user drags a bar.
    void scrollTo(PanelControl bar, int v) {
        values[bar] = v;
        events->scrollChanged(bar, v);
    }
};

// The main form's side: a window of a given size, and what the panel asked of it.
struct SimPanelHost : PanelHost {
    WindowGeometry geometry;
    int shutdowns = 0;
    std::vector<std::string> calls;

    WindowGeometry windowGeometry() override { return geometry; }
    void shutdown() override { ++shutdowns; }
    void tileClick(long k) override { calls.push_back("Click " + std::to_string(k)); }
    void tileDblClick(long k) override { calls.push_back("DblClick " + std::to_string(k)); }
    void tileKeyPress(long k, short& key) override {
        calls.push_back("KeyPress " + std::to_string(k) + " " + std::to_string(key));
    }
    void tileMouseDown(long k, short button, short, float, float) override {
        calls.push_back("MouseDown " + std::to_string(k) + " " + std::to_string(button));
    }
};

}  // namespace snapdesk::testing
