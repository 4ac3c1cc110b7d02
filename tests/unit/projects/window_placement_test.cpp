#include "projects/window_placement.h"

#include <gtest/gtest.h>

namespace snapdesk {
namespace {

std::string rectText(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

std::string parsedAgain(const std::string& value) {
    return placementText(parsePlacement(value));
}

TEST(WindowPlacement, ValuesReadBackAndAnythingMalformedLeavesItsPartOut) {
    for (const char* kept : {"maximized,-8,-8,1032,746,0,0,1024,738;mdi:normal,5,5,300,200",
                             "minimized,1,2,3,4", "mdi:maximized,0,0,10,10", ""}) {
        EXPECT_EQ(parsedAgain(kept), kept);
    }
    // Blanks around fields are forgiven.
    EXPECT_EQ(parsedAgain(" normal , 1,2 ,3,4 "), "normal,1,2,3,4");
    for (const char* bad :
         {"normal,1,2,3", "open,1,2,3,4", "Normal,1,2,3,4", "normal,10,2,5,4", "normal,1,2,3,2",
          "normal,1,2,x,4", "normal,1,2,3,4,5", "normal,1,2,3,4,0,0,1024", "normal,1.5,2,3,4",
          "normal,1,2,99999999999,4", "normal,1,2,3000000,4", "normal,1,2,3,4,0,0,0,0",
          "mdi:normal,1,2,3,4,0,0,8,8", "mdi:,1,2,3,4", ";;"}) {
        EXPECT_EQ(parsedAgain(bad), "") << bad;
    }
    // One bad part does not take the good one with it.
    EXPECT_EQ(parsedAgain("normal,1,2;mdi:normal,1,2,3,4"), "mdi:normal,1,2,3,4");
    EXPECT_EQ(parsedAgain("normal,1,2,3,4;mdi:huge,1,2,3,4"), "normal,1,2,3,4");
}

TEST(WindowPlacement, ARectangleLeavesAMonitorThatIsGoneForTheNearestOneWholly) {
    const MonitorArea left{{0, 0, 1024, 768}, {0, 0, 1024, 738}};
    const MonitorArea right{{1024, 0, 2048, 768}, {1024, 0, 2048, 768}};
    const std::vector<MonitorArea> both{left, right}, one{left};
    const auto placed = [](Rect r, std::optional<Rect> work, const std::vector<MonitorArea>& m) {
        return rectText(placedOnMonitors(r, work, m));
    };
    // Its monitor still there: as saved, even partly off it.
    EXPECT_EQ(placed({1900, 700, 2300, 900}, right.work, both), "1900,700,2300,900");
    EXPECT_EQ(placed({-50, 10, 300, 200}, left.work, one), "-50,10,300,200");
    // Gone: onto the monitor it shares most with, else the closest, inside its work area.
    EXPECT_EQ(placed({1100, 50, 1500, 400}, right.work, one), "624,50,1024,400");
    EXPECT_EQ(placed({3000, 900, 3200, 1000}, std::nullopt, both), "1848,668,2048,768");
    EXPECT_EQ(placed({900, 100, 1300, 300}, std::nullopt, both), "1024,100,1424,300");
    EXPECT_EQ(placed({-400, -300, -100, -100}, std::nullopt, both), "0,0,300,200");
    // A monitor whose work area changed counts as gone; bigger than it: its size.
    EXPECT_EQ(placed({100, 100, 1300, 900}, Rect{0, 0, 1280, 1024}, one), "0,0,1024,738");

    EXPECT_EQ(rectText(*workAreaHolding({900, 0, 1300, 200}, both)), "1024,0,2048,768");
    EXPECT_FALSE(workAreaHolding({2100, 0, 2200, 100}, both).has_value());
}

}  // namespace
}  // namespace snapdesk
