#pragma once

// A panel view that forwards every call to the real one and counts the tiles it is asked to
// create, so a benchmark can tell whether tiles are ever made twice. Its tiles time their calls.
#include <memory>
#include <vector>

#include "mainwindow/panel_view.h"
#include "timed_tile.h"

namespace snapdesk::bench {

class CountingPanelView : public PanelView {
  public:
    explicit CountingPanelView(PanelView& real) : real_(real) {}

    // createTile calls for k >= 1 (tile 0 is the hidden size template).
    int tilesCreated() const { return created_; }
    int templatesCreated() const { return templates_; }
    // The real tiles made so far, in the order they were made.
    const std::vector<TileView*>& tiles() const { return tiles_; }
    // Time spent in each kind of tile call; clearTimes starts a new count.
    const CallTimes& tileCallTimes() const { return times_; }
    void clearTimes() { times_.clear(); }

    TileView& createTile(long k, int width, int height) override {
        (k == 0 ? templates_ : created_) += 1;
        TileView& tile = real_.createTile(k, width, height);
        tiles_.push_back(&tile);
        timed_.push_back(std::make_unique<TimedTile>(tile, times_));
        return *timed_.back();
    }

    void setEvents(PanelViewEvents* events) override { real_.setEvents(events); }
    Bounds bounds(PanelControl c) override { return real_.bounds(c); }
    void setBounds(PanelControl c, const Bounds& b) override { real_.setBounds(c, b); }
    int innerWidth(PanelControl c) override { return real_.innerWidth(c); }
    int innerHeight(PanelControl c) override { return real_.innerHeight(c); }
    bool visible(PanelControl c) override { return real_.visible(c); }
    void setVisible(PanelControl c, bool v) override { real_.setVisible(c, v); }
    void setBackColor(PanelControl c, std::uint32_t color) override {
        real_.setBackColor(c, color);
    }
    void setCaption(PanelControl c, const std::string& text) override { real_.setCaption(c, text); }
    std::string caption(PanelControl c) override { return real_.caption(c); }
    void setFontSize(PanelControl c, int points) override { real_.setFontSize(c, points); }
    int tabStripHeight() override { return real_.tabStripHeight(); }
    void setTabCaption(int tab, const std::string& text) override {
        real_.setTabCaption(tab, text);
    }
    std::string tabCaption(int tab) override { return real_.tabCaption(tab); }
    void setTabVisible(int tab, bool v) override { real_.setTabVisible(tab, v); }
    bool tabVisible(int tab) override { return real_.tabVisible(tab); }
    void selectTab(int tab) override { real_.selectTab(tab); }
    void setScrollRange(PanelControl bar, const ScrollRange& r) override {
        real_.setScrollRange(bar, r);
    }
    ScrollRange scrollRange(PanelControl bar) override { return real_.scrollRange(bar); }
    int scrollValue(PanelControl bar) override { return real_.scrollValue(bar); }
    void setScrollValue(PanelControl bar, int v) override { real_.setScrollValue(bar, v); }

  private:
    PanelView& real_;
    int created_ = 0;
    int templates_ = 0;
    std::vector<TileView*> tiles_;
    std::vector<std::unique_ptr<TimedTile>> timed_;
    CallTimes times_;
};

}  // namespace snapdesk::bench
