// Pictures windows draw of themselves in the background, on the simulated desktop.
#include <gtest/gtest.h>

#include <algorithm>

#include "sim_world.h"
#include "snapshots/image_update_mode.h"

namespace snapdesk::testing {
namespace {

class ProvisionalPicturesTest : public ::testing::Test, public SimWorld {
  protected:
    void SetUp() override { setImageUpdateMode(kMinimalImageUpdates); }
    void TearDown() override { setImageUpdateMode(kFrequentImageUpdates); }

    long requestsFor(WindowHandle w) const {
        const auto& all = machine.renderer.requests;
        return std::count_if(all.begin(), all.end(),
                             [w](const sim::RenderRequest& r) { return r.window == w; });
    }
    const sim::SimPicture* pictureOf(WindowHandle w) const {
        return dynamic_cast<const sim::SimPicture*>(list.thePhoto(positionOf(w)).get());
    }
};

// A tile gets a picture from the window itself, which stands in until the schedule's capture.
TEST_F(ProvisionalPicturesTest, StandsInUntilTheWindowIsCapturedInFront) {
    const auto drawn = topLevel("drawn.txt - Notepad", 3);
    desktop.window(drawn).rect = {0, 0, 800, 600};
    desktop.window(drawn).drawsWhenPrinted = true;
    const auto blank = topLevel("blank.txt - Notepad", 4);
    const auto front = topLevel("front.txt - Notepad", 5);
    desktop.setForeground(front);

    list.refreshList();
    EXPECT_EQ(requestsFor(front), 0) << "captured in front: it has a real picture";
    ASSERT_EQ(requestsFor(drawn), 1);
    // The capture's size: 800 x 600 on a 1024-pixel screen.
    EXPECT_EQ(machine.renderer.requests.front().thumbnailWidth, 193);
    EXPECT_EQ(machine.renderer.requests.front().thumbnailHeight, 145);
    EXPECT_EQ(list.thePhoto(positionOf(drawn)), nullptr) << "comes back on the next pass";

    list.refreshList();
    const long d = positionOf(drawn);
    ASSERT_NE(pictureOf(drawn), nullptr);
    EXPECT_EQ(pictureOf(drawn)->width(), 193);
    EXPECT_TRUE(list.photoIsProvisional(d));
    EXPECT_FALSE(list.gotPhoto(d)) << "not the record's photo";
    EXPECT_EQ(list.updateCount(d), 0);
    EXPECT_EQ(list.thePhoto(positionOf(blank)), nullptr) << "a window that drew nothing";

    // Neither is asked again: one has a picture, the other is known to draw nothing.
    list.refreshList();
    list.refreshList();
    EXPECT_EQ(requestsFor(drawn), 1);
    EXPECT_EQ(requestsFor(blank), 1);
    // Under a new caption a window may draw.
    desktop.window(blank).text = "other.txt - Notepad";
    list.refreshList();
    EXPECT_EQ(requestsFor(blank), 2);

    // In front, the schedule captures it as a tile without a picture, and the capture wins.
    const auto captures = machine.display.captures.size();
    desktop.setForeground(drawn);
    list.refreshList();
    EXPECT_EQ(machine.display.captures.size(), captures + 1);
    EXPECT_TRUE(list.gotPhoto(d));
    EXPECT_FALSE(list.photoIsProvisional(d));
    EXPECT_EQ(list.updateCount(d), 1) << "Minimal: the first picture's count";
    EXPECT_EQ(requestsFor(drawn), 1);
}

TEST_F(ProvisionalPicturesTest, NeverReplacesARealPictureNorAsksMinimisedOrHungWindows) {
    const auto kept = topLevel("kept.txt - Notepad", 3);
    const auto minimised = topLevel("min.txt - Notepad", 4);
    desktop.window(minimised).minimized = true;
    const auto hung = topLevel("hung.txt - Notepad", 5);
    desktop.window(hung).hung = true;
    desktop.window(hung).drawsWhenPrinted = true;
    desktop.setForeground(kept);
    list.refreshList();
    const long k = positionOf(kept);
    const PicturePtr real = list.thePhoto(k);
    ASSERT_TRUE(list.gotPhoto(k));
    list.setFlgKeepView(k, true);  // "Keep This View"
    desktop.setForeground(0);
    for (int pass = 0; pass < 3; ++pass) {
        list.refreshList();
    }
    EXPECT_EQ(list.thePhoto(k), real);
    EXPECT_EQ(requestsFor(kept), 0);
    EXPECT_EQ(requestsFor(minimised), 0);
    // A window that did not answer is asked again once its answer is in.
    EXPECT_GE(requestsFor(hung), 2);
    EXPECT_EQ(list.thePhoto(positionOf(hung)), nullptr);
    desktop.window(hung).hung = false;
    list.refreshList();
    list.refreshList();
    EXPECT_TRUE(list.photoIsProvisional(positionOf(hung)));
}

}  // namespace
}  // namespace snapdesk::testing
