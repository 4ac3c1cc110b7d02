#include <gtest/gtest.h>

#include <algorithm>

#include "sim_world.h"
#include "snapshots/capture_schedule.h"
#include "snapshots/graphics_code.h"
#include "snapshots/image_update_mode.h"

namespace snapdesk::testing {
namespace {

TEST(ThumbnailSize, DesignExamples) {
    // Tall enough: height-limited.
    auto size = thumbnailSize(1024, 15, 15, 800, 600);
    EXPECT_EQ(size.width, 193);
    EXPECT_EQ(size.height, 145);
    // Wide: width-limited.
    size = thumbnailSize(1024, 15, 15, 1000, 300);
    EXPECT_EQ(size.width, 256);
    EXPECT_EQ(size.height, 77);
    // A bigger screen scales the box: 320 x 181.25.
    size = thumbnailSize(1280, 15, 15, 3840, 2175);
    EXPECT_EQ(size.width, 320);
    EXPECT_EQ(size.height, 181);
    size = thumbnailSize(1280, 15, 15, 1000, 300);
    EXPECT_EQ(size.width, 320);
    size = thumbnailSize(1280, 15, 15, 600, 800);
    EXPECT_EQ(size.height, 181);
}

TEST(ThumbnailSize, EmptyAreasAndHalvesToEven) {
    EXPECT_EQ(thumbnailSize(1024, 15, 15, 0, 600).width, 10);
    EXPECT_EQ(thumbnailSize(1024, 15, 15, 800, 0).height, 10);
    // 145 * 1 / 2 = 72.5 rounds to 72; 145 * 3 / 2 = 217.5 rounds to 218.
    EXPECT_EQ(thumbnailSize(1024, 15, 15, 1, 2).width, 72);
    EXPECT_EQ(thumbnailSize(1024, 15, 15, 3, 2).width, 218);
}

TEST(ThumbnailSize, TwipsPerPixelOfEachAxis) {
    // 12 twips per pixel (120 dpi): the box holds more pixels.
    const auto size = thumbnailSize(1024, 12, 12, 1000, 300);
    EXPECT_EQ(size.width, 320);
    EXPECT_EQ(size.height, 96);
}

class Snapshots : public ::testing::Test, public SimWorld {
  protected:
    Platform& platform = machine.platform;
    sim::SimDisplay& display = machine.display;
    void TearDown() override { setImageUpdateMode(kFrequentImageUpdates); }
};

TEST_F(Snapshots, DisplayQueries) {
    EXPECT_EQ(screenPixelWidth(display), 1024);
    EXPECT_EQ(colorDepth(display), 32);
    display.caps = DisplayCaps{1280, 2, 16};
    EXPECT_EQ(colorDepth(display), 32);
    display.caps = std::nullopt;
    display.widthTwips = 800 * 15;
    EXPECT_EQ(screenPixelWidth(display), 800);
    EXPECT_EQ(colorDepth(display), 0);
    display.twipsX = 0;
    EXPECT_EQ(screenPixelWidth(display), 0);
}

// A monitor of 2048 pixels at 192 dpi is 1024 pixels of 96 dpi wide: the thumbnail box keeps
// its twips and so holds twice the pixels, and a picture taken before the change is stretched
// to that size at once. The window is still in front: only its next capture takes it anew.
TEST_F(Snapshots, AScaleChangeDoublesThePixelsOfTheSameBox) {
    const auto w = topLevel("Program");
    desktop.window(w).rect = {0, 0, 800, 600};
    desktop.setForeground(w);
    list.refreshList();
    long k = list.count();
    while (k >= 1 && list.hWnd(k) != w) {
        --k;
    }
    ASSERT_GE(k, 1);
    list.updateImage(k);
    ASSERT_EQ(list.thePhoto(k)->width(), 193);
    ASSERT_EQ(list.thePhoto(k)->height(), 145);

    display.caps = DisplayCaps{2048, 1, 32};
    display.twipsX = display.twipsY = 1440.0 / 192;  // 7.5
    EXPECT_EQ(screenPixelWidth(display), 1024);
    const std::size_t capturesBefore = display.captures.size();
    list.rescalePhotos();
    EXPECT_EQ(display.captures.size(), capturesBefore);  // stretched, not taken again
    EXPECT_EQ(list.thePhoto(k)->width(), 386);   // 290 x 193 / 145: the picture keeps its shape
    EXPECT_EQ(list.thePhoto(k)->height(), 290);  // 2175 / 7.5
    EXPECT_EQ(thumbnailSize(screenPixelWidth(display), 7.5, 7.5, 1000, 300).width, 512);
    list.updateImage(k);
    EXPECT_EQ(display.captures.back().thumbnailHeight, 290);

    // 144 dpi on 1536 pixels: the same 1024 of 96 dpi, one and a half times the pixels.
    display.caps = DisplayCaps{1536, 1, 32};
    display.twipsX = display.twipsY = 10;
    EXPECT_EQ(screenPixelWidth(display), 1024);
    list.rescalePhotos();
    EXPECT_EQ(list.thePhoto(k)->height(), 218);  // 217.5, halves to even
    // The same 1024 pixels at 192 dpi are 512 of 96 dpi: the narrow screen's sizes.
    display.caps = DisplayCaps{1024, 1, 32};
    display.twipsX = display.twipsY = 7.5;
    EXPECT_EQ(screenPixelWidth(display), 512);
}

TEST_F(Snapshots, CapturesTheWholeWindowIntoTheThumbnail) {
    const auto w = topLevel("Program");
    desktop.window(w).rect = {100, 50, 900, 650};
    desktop.setForeground(w);
    bool got = false;
    const auto picture = TakeSnapShot(platform, w, w, w, got, nullptr);
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(got);
    ASSERT_EQ(display.captures.size(), 1u);
    const auto& call = display.captures[0];
    EXPECT_EQ(call.x, 0);
    EXPECT_EQ(call.y, 0);
    EXPECT_EQ(call.width, 800);
    EXPECT_EQ(call.height, 600);
    EXPECT_EQ(picture->width(), 193);
    EXPECT_EQ(picture->height(), 145);
}

TEST_F(Snapshots, BackgroundAndEmptyWindowsAreNotCaptured) {
    const auto w = topLevel("Behind");
    const auto other = topLevel("In front");
    desktop.setForeground(other);
    auto old = std::make_shared<sim::SimPicture>(1, 1, 0);
    bool got = false;
    EXPECT_EQ(TakeSnapShot(platform, w, w, w, got, old), old);
    EXPECT_FALSE(got);
    desktop.setForeground(w);
    desktop.window(w).rect = {10, 10, 10, 300};
    EXPECT_EQ(TakeSnapShot(platform, w, w, w, got, old), old);
    EXPECT_TRUE(display.captures.empty());
}

TEST_F(Snapshots, OnlyTheActiveOpenDocumentOfAFrameIsCaptured) {
    auto mdi = mdiFrame("Word");
    const auto a = child(mdi.client, "a.doc");
    const auto b = child(mdi.client, "b.doc");
    desktop.window(mdi.client).mdiActive = a;
    desktop.setForeground(mdi.frame);
    bool got = false;
    EXPECT_EQ(TakeSnapShot(platform, b, mdi.client, mdi.frame, got, nullptr), nullptr);
    EXPECT_FALSE(got);
    desktop.window(a).minimized = true;
    EXPECT_EQ(TakeSnapShot(platform, a, mdi.client, mdi.frame, got, nullptr), nullptr);
    desktop.window(a).minimized = false;
    EXPECT_NE(TakeSnapShot(platform, a, mdi.client, mdi.frame, got, nullptr), nullptr);
    EXPECT_TRUE(got);
}

TEST_F(Snapshots, AWindowShrunkToAStripKeepsItsGoodPicture) {
    const auto w = topLevel("Program");
    desktop.setForeground(w);
    desktop.window(w).rect = {0, 0, 800, 40};
    auto old = std::make_shared<sim::SimPicture>(1, 1, 0);
    bool got = true;
    EXPECT_EQ(TakeSnapShot(platform, w, w, w, got, old), old);
    EXPECT_TRUE(got);
    // The first picture may be a strip: there is nothing better.
    got = false;
    const auto strip = TakeSnapShot(platform, w, w, w, got, old);
    EXPECT_NE(strip, old);
    EXPECT_TRUE(got);
}

TEST_F(Snapshots, AFailingCaptureIsReportedAndGivesNoPicture) {
    const auto w = topLevel("Program");
    desktop.setForeground(w);
    display.failCaptures = true;
    auto old = std::make_shared<sim::SimPicture>(1, 1, 0);
    bool got = true;
    EXPECT_EQ(TakeSnapShot(platform, w, w, w, got, old), nullptr);
    ASSERT_EQ(machine.ui.messages.size(), 1u);
    EXPECT_EQ(machine.ui.messages[0].text,
              "Error has occured in 'TakeSnapShot'\nOut of memory SimDisplay");
    EXPECT_EQ(machine.ui.messages[0].title, "Snapdesk!");
}

// One record in front through several classification passes under a setting: whether each
// pass captured, and updateCount after it.
struct Pass {
    bool captured;
    int updateCount;
};

class Schedule : public Snapshots {
  protected:
    std::vector<Pass> run(std::int16_t mode, int passes, bool captureSucceeds = true) {
        setImageUpdateMode(mode);
        const auto w = topLevel("Program");
        desktop.setForeground(w);
        if (!captureSucceeds) {
            desktop.window(w).rect = {0, 0, 0, 0};
        }
        std::vector<Pass> out;
        for (int k = 0; k < passes; ++k) {
            const auto before = display.captures.size();
            list.refreshList();
            out.push_back({display.captures.size() > before, list.updateCount(1)});
        }
        return out;
    }
    static std::vector<bool> captured(const std::vector<Pass>& passes) {
        std::vector<bool> out;
        for (const auto& p : passes)
            out.push_back(p.captured);
        return out;
    }
    static std::vector<int> counts(const std::vector<Pass>& passes) {
        std::vector<int> out;
        for (const auto& p : passes)
            out.push_back(p.updateCount);
        return out;
    }
};

TEST_F(Schedule, FrequentCapturesOnEveryPass) {
    const auto passes = run(kFrequentImageUpdates, 4);
    EXPECT_EQ(captured(passes), (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(counts(passes), (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(Schedule, NoAutoCapturesOnceAndGivesUpAfterFourFailures) {
    auto passes = run(kNoAutoImageUpdates, 3);
    EXPECT_EQ(captured(passes), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(counts(passes), (std::vector<int>{1, 1, 1}));
}

TEST_F(Schedule, NoAutoFailingAttempts) {
    const auto passes = run(kNoAutoImageUpdates, 6, false);
    EXPECT_EQ(counts(passes), (std::vector<int>{1, 2, 3, 4, 4, 4}));
    EXPECT_FALSE(list.gotPhoto(1));
}

TEST_F(Schedule, MinimalCapturesOnceMoreOnThePassAfterTheFirstPicture) {
    const auto passes = run(kMinimalImageUpdates, 5);
    EXPECT_EQ(captured(passes), (std::vector<bool>{true, true, false, false, false}));
    EXPECT_EQ(counts(passes), (std::vector<int>{1, 2, 2, 2, 2}));
}

TEST_F(Schedule, MinimalAfterANameChangeWaitsOnePassThenRefreshes) {
    auto passes = run(kMinimalImageUpdates, 3);
    desktop.window(list.hWnd(1)).text = "Program renamed";
    std::vector<Pass> after;
    for (int k = 0; k < 4; ++k) {
        const auto before = display.captures.size();
        list.refreshList();
        after.push_back({display.captures.size() > before, list.updateCount(1)});
    }
    // The rename resets the count to 0 in the same pass; then 0 -> 1, capture at 1.
    EXPECT_EQ(captured(after), (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(counts(after), (std::vector<int>{1, 2, 2, 2}));
}

TEST_F(Schedule, MinimalFailingAttemptsAndUnknownModes) {
    auto passes = run(kMinimalImageUpdates, 6, false);
    EXPECT_EQ(counts(passes), (std::vector<int>{1, 2, 3, 4, 4, 4}));
    std::int16_t count = 0;
    bool got = false;
    int calls = 0;
    applyCaptureSchedule(7, got, count, [&] {
        ++calls;
        got = true;
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(count, 1);  // as Minimal
}

TEST_F(Schedule, KeepViewAndBackgroundRecordsAreNeverCaptured) {
    const auto w = topLevel("Program");
    const auto other = topLevel("Other");
    const auto capturesOf = [&](WindowHandle h) {
        return std::count_if(display.captures.begin(), display.captures.end(),
                             [h](const sim::CaptureCall& c) { return c.window == h; });
    };
    desktop.setForeground(w);
    list.refreshList();
    ASSERT_EQ(capturesOf(w), 1);
    list.setFlgKeepView(positionOf(w), true);
    list.refreshList();
    list.refreshList();
    EXPECT_EQ(capturesOf(w), 1);

    list.setFlgKeepView(positionOf(w), false);
    desktop.setForeground(other);
    list.refreshList();
    EXPECT_EQ(capturesOf(w), 1);
    EXPECT_EQ(capturesOf(other), 1);
    // The manual command still needs the window in front.
    list.updateImage(positionOf(w));
    EXPECT_EQ(capturesOf(w), 1);
    desktop.setForeground(w);
    list.setFlgKeepView(positionOf(w), true);
    list.updateImage(positionOf(w));
    EXPECT_EQ(capturesOf(w), 2);
}

}  // namespace
}  // namespace snapdesk::testing
