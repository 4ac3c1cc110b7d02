#pragma once

// A tile that forwards to the real one and adds up the time spent in each kind of call, to
// show where a redraw goes.
#include <chrono>
#include <map>
#include <string>

#include "mainwindow/panel_view.h"

namespace snapdesk::bench {

using CallTimes = std::map<std::string, double>;  // milliseconds by call

class TimedTile : public TileView {
  public:
    TimedTile(TileView& real, CallTimes& times) : real_(real), times_(times) {}
    TileView& real() { return real_; }

  private:
    template <typename F>
    auto timed(const char* name, F&& f) {
        struct Add {
            double& total;
            std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
            ~Add() {
                total += std::chrono::duration<double, std::milli>(
                             std::chrono::steady_clock::now() - start)
                             .count();
            }
        } add{times_[name]};
        return f();
    }

  public:
    void setPicture(const PicturePtr& p) override {
        timed("setPicture", [&] { real_.setPicture(p); });
    }
    std::string fileName() override { return real_.fileName(); }
    void setFileName(const std::string& n) override {
        timed("setFileName", [&] { real_.setFileName(n); });
    }
    std::string comment() override { return real_.comment(); }
    void setComment(const std::string& c) override {
        timed("setComment", [&] { real_.setComment(c); });
    }
    bool isBusy() override {
        return timed("isBusy", [&] { return real_.isBusy(); });
    }
    std::uint32_t foreColor() override { return real_.foreColor(); }
    std::uint32_t backColor() override { return real_.backColor(); }
    void setBackColor(std::uint32_t c) override {
        timed("setBackColor", [&] { real_.setBackColor(c); });
    }
    std::uint32_t focusColor() override { return real_.focusColor(); }
    std::uint32_t fileNameColor() override { return real_.fileNameColor(); }
    void setFileNameColor(std::uint32_t c) override {
        timed("setFileNameColor", [&] { real_.setFileNameColor(c); });
    }
    void setResolution(int r) override { real_.setResolution(r); }
    bool isPictureVisible() override { return real_.isPictureVisible(); }
    void setPictureVisible(bool v) override {
        timed("setPictureVisible", [&] { real_.setPictureVisible(v); });
    }
    std::uint32_t commentColor() override { return real_.commentColor(); }
    void setCommentColor(std::uint32_t c) override { real_.setCommentColor(c); }
    void drawIcon(IconHandle icon) override {
        timed("drawIcon", [&] { real_.drawIcon(icon); });
    }
    int left() override { return real_.left(); }
    int top() override { return real_.top(); }
    int width() override { return real_.width(); }
    int height() override { return real_.height(); }
    void move(int l, int t) override {
        timed("move", [&] { real_.move(l, t); });
    }
    void setSize(int w, int h) override { real_.setSize(w, h); }
    bool visible() override { return real_.visible(); }
    void setVisible(bool v) override {
        timed("setVisible", [&] { real_.setVisible(v); });
    }
    int tabIndex() override { return real_.tabIndex(); }
    void setTabIndex(int i) override {
        timed("setTabIndex", [&] { real_.setTabIndex(i); });
    }
    bool tabStop() override { return real_.tabStop(); }
    void setTabStop(bool s) override {
        timed("setTabStop", [&] { real_.setTabStop(s); });
    }
    void bringToFront() override {
        timed("bringToFront", [&] { real_.bringToFront(); });
    }
    void setFocus() override { real_.setFocus(); }

  private:
    TileView& real_;
    CallTimes& times_;
};

}  // namespace snapdesk::bench
