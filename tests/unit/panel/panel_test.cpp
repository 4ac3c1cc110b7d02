#include <gtest/gtest.h>

#include "mainwindow/thumbnail_panel.h"
#include "mainwindow/toolbar_model.h"
#include "panel_fixture.h"

namespace snapdesk::testing {
namespace {

TEST(ScreenScale, GapsFontsAndTemplateFollowTheDisplayWidth) {
    const ScreenScale narrow = scaleForScreen(800);
    EXPECT_EQ(narrow.gapPixels, 21);
    EXPECT_EQ(narrow.tabFontSize, 8);
    EXPECT_EQ(narrow.scrollFrameLefts, (std::array<int, 4>{5560, 5560, 5560, 5590}));
    EXPECT_EQ(narrow.hintFontSize, 8);
    EXPECT_EQ(narrow.projectFontSize, 10);
    EXPECT_EQ(narrow.templateWidth, 3574);
    EXPECT_EQ(narrow.templateHeight, 2449);

    const ScreenScale design = scaleForScreen(1024);
    EXPECT_EQ(design.gapPixels, 27);
    EXPECT_EQ(design.tabFontSize, 10);
    EXPECT_EQ(design.scrollFrameLefts, (std::array<int, 4>{6090, 6090, 6090, 6120}));
    EXPECT_EQ(design.templateWidth, 4575);
    EXPECT_EQ(design.templateHeight, 3135);

    EXPECT_EQ(scaleForScreen(900).tabFontSize, 8);
    EXPECT_EQ(scaleForScreen(901).tabFontSize, 10);
}

TEST(ToolbarImages, SizeFollowsTheScale) {
    EXPECT_EQ(toolbarImageSize(96), 16);
    EXPECT_EQ(toolbarImageSize(120), 16);
    EXPECT_EQ(toolbarImageSize(121), 24);
    EXPECT_EQ(toolbarImageSize(168), 24);
    EXPECT_EQ(toolbarImageSize(192), 32);
}

// The window moves from 96 dpi to a monitor of twice the pixels at 192 dpi (the same 1024
// pixels of 96 dpi): every length the layout gives in twips stays, so the view draws it at
// twice the pixels; only the one-pixel seams follow the new pixel (7.5 twips, rounded).
TEST_F(Panel, AScaleChangeKeepsTheTwipsOfTheLayout) {
    start();
    addWindows(4);
    panel->updateWindowList();
    const std::vector<Bounds> before{tile(1).box, tile(2).box, tile(3).box, tile(4).box};
    const int preferredWidth = state.preferredWidth;
    const int preferredHeight = state.preferredHeight;
    const Bounds strip = view.boxes[PanelControl::frmScrollBox];
    const Bounds hint = view.boxes[PanelControl::lblClickAny];

    panel->rescale(ScreenMetrics{1024, 7.5, 7.5}, host.geometry);
    EXPECT_EQ(panel->screen().twipsPerPixelX, 7.5);
    EXPECT_EQ(panel->screen().twipsX(4), 30);
    EXPECT_EQ(panel->screen().twipsY(1), 8);  // 7.5 halves to even
    for (long k = 1; k <= 4; ++k) {
        EXPECT_EQ(tile(k).box, before[static_cast<std::size_t>(k - 1)]) << k;
    }
    EXPECT_EQ(state.preferredWidth, preferredWidth);
    EXPECT_EQ(state.preferredHeight, preferredHeight);
    EXPECT_EQ(view.boxes[PanelControl::lblClickAny].top, hint.top);
    EXPECT_EQ(view.boxes[PanelControl::frmScrollBox].height, strip.height + 15 - 8);

    // On to a monitor 1280 pixels of 96 dpi wide: the tiles there are made larger, the ones
    // that exist included, and told the new resolution.
    panel->rescale(ScreenMetrics{1280, 7.5, 7.5}, host.geometry);
    EXPECT_EQ(tile(0).box.width, 5719);  // 4575 x 1.25, halves to even
    EXPECT_EQ(tile(3).box.width, 5719);
    EXPECT_EQ(tile(3).box.height, 3919);
    EXPECT_EQ(tile(3).resolution, 1280);
    EXPECT_EQ(tile(2).box.left, tile(1).box.left + 5719 + 34 * 15);  // gap: 27 x 1.25
}

TEST_F(Panel, StartUpScalesTheTemplateAndComputesThePreferredSize) {
    host.geometry = windowOf(16000, 11000);
    state.tabColors = {kPanelBlue, kPanelBlue, kPanelBlue, kPanelBlue};
    panel = std::make_unique<ThumbnailPanel>(state, world.list, world.machine.ui, view, host,
                                             ScreenMetrics{800, 15, 15});
    view.boxes[PanelControl::MainFrame] = {0, 0, 1000, 1000};
    view.border[PanelControl::MainFrame] = 30;
    panel->scaleToScreen(host.geometry);
    EXPECT_EQ(state.gapPixels, 21);
    EXPECT_EQ(view.fonts[PanelControl::tabControl], 8);
    EXPECT_EQ(tile(0).resolution, 800);
    EXPECT_EQ(tile(0).box.width, 3574);
    EXPECT_EQ(tile(0).box.height, 2449);
    EXPECT_EQ(state.preferredHeight, 3 * 2449 + 21 * 15 + 375 + 600 + 30);
    EXPECT_EQ(state.preferredWidth, 3 * (3574 + 21 * 15) + 375 + 120);
    EXPECT_EQ(state.scrollFrameLefts[3], 5590);
    EXPECT_FALSE(tile(0).shown);
    EXPECT_EQ(panel->tilesCreated(), 1);
}

TEST_F(Panel, TabCaptionsAndVisibilityFollowTheTabMode) {
    start(2);
    EXPECT_EQ(view.tabCaptions[0], std::string(14, ' ') + "Documents" + std::string(14, ' '));
    EXPECT_EQ(view.tabCaptions[3], std::string(16, ' ') + "Project" + std::string(16, ' '));
    EXPECT_FALSE(view.tabShown[1]);
    EXPECT_FALSE(view.tabShown[2]);
    EXPECT_EQ(view.captions[PanelControl::lblProjectName], "Project: ");
    EXPECT_FALSE(view.shown[PanelControl::lblProjectName]);
    EXPECT_TRUE(view.shown[PanelControl::lblClickAny]);

    state.tabMode = 4;
    panel->updateWindowList();
    EXPECT_EQ(view.tabCaptions[0], "Documents");
    EXPECT_EQ(view.tabCaptions[1], "Web Browsers");
    EXPECT_EQ(view.tabCaptions[2], "     Others    ");
    EXPECT_EQ(view.tabCaptions[3], "   Project   ");
    EXPECT_TRUE(view.tabShown[1]);
    EXPECT_TRUE(view.tabShown[2]);

    // Without the argument's refresh the captions stay as they are.
    state.tabMode = 2;
    panel->updateWindowList(false);
    EXPECT_EQ(view.tabCaptions[0], "Documents");
}

TEST_F(Panel, FixedLayoutPlacesTheControls) {
    start(2, windowOf(16000, 11000));
    EXPECT_EQ(view.boxes[PanelControl::MainFrame], (Bounds{0, 600, 16000, 10400}));
    EXPECT_EQ(view.boxes[PanelControl::tabControl], (Bounds{0, 0, 16000, 10400}));
    EXPECT_EQ(view.boxes[PanelControl::pbxPortal], (Bounds{0, 0, 16000, 10400 - 375 - 15}));
    EXPECT_EQ(view.boxes[PanelControl::frmScrollBox], (Bounds{6090, 10010, 16000 - 6090, 360}));
    EXPECT_EQ(view.boxes[PanelControl::hScroll], (Bounds{0, 0, 9910 - 360, 360}));
    EXPECT_EQ(view.boxes[PanelControl::vScroll].width, 360);
    EXPECT_EQ(view.boxes[PanelControl::corner], (Bounds{9550, 0, 360, 360}));
    const Bounds hint = view.boxes[PanelControl::lblClickAny];
    EXPECT_EQ(hint.top, 150);
    EXPECT_EQ(hint.left, (16000 - hint.width) / 2);
    EXPECT_EQ(view.boxes[PanelControl::lblProjectName].top, 72);
}

TEST_F(Panel, NoRecordsLeaveOneRowAndNoScrollBars) {
    start();
    panel->updateWindowList();
    EXPECT_EQ(world.list.count(), 0);
    EXPECT_EQ(view.boxes[PanelControl::canvas].height, std::max(state.preferredHeight, 11000));
    EXPECT_FALSE(view.shown[PanelControl::vScroll]);
    EXPECT_FALSE(view.shown[PanelControl::hScroll]);
    EXPECT_FALSE(view.shown[PanelControl::frmScrollBox]);
    EXPECT_TRUE(visibleTiles().empty());
}

TEST_F(Panel, FourRecordsMakeTwoRowsWithTheFourthAloneAtTheLeft) {
    start();
    addWindows(4);
    panel->updateWindowList();
    ASSERT_EQ(visibleTiles(), (std::vector<long>{1, 2, 3, 4}));
    EXPECT_EQ(tile(1).box.left, kGap);
    EXPECT_EQ(tile(1).box.top, kFirstRow);
    EXPECT_EQ(tile(2).box.left, kGap + kTileWidth + kGap);
    EXPECT_EQ(tile(3).box.left, kGap + 2 * (kTileWidth + kGap));
    EXPECT_EQ(tile(3).box.top, kFirstRow);
    EXPECT_EQ(tile(4).box.left, kGap);
    EXPECT_EQ(tile(4).box.top, kFirstRow + kTile);
    // Tab order follows the places, after the template.
    EXPECT_EQ(tile(1).tabIdx, 2);
    EXPECT_EQ(tile(4).tabIdx, 5);
    // Each tile shows its record.
    EXPECT_EQ(tile(2).file, world.list.CaptionString(2));
    EXPECT_FALSE(tile(2).file.empty());
    EXPECT_EQ(tile(2).back, kPanelBlue);
    EXPECT_EQ(tile(2).commentBack, 0xFF9898u);
    EXPECT_FALSE(tile(2).pictureVisible);  // no snapshot yet: the icon
    EXPECT_EQ(tile(2).drawnIcon, SimWorld::kDocIcon);
    EXPECT_FALSE(tile(0).shown);
}

TEST_F(Panel, FourTabModeLaysOutThirtyOfThirtyOneRecords) {
    start(4, windowOf(16000, 40000));
    addWindows(31, kOthersTab);
    panel->tabClick(kOthersTab);
    ASSERT_EQ(world.list.count(), 31);
    const std::vector<long> shown = visibleTiles();
    EXPECT_EQ(shown.size(), 30u);
    EXPECT_FALSE(tile(31).shown);
    EXPECT_EQ(tile(30).box.top, kFirstRow + 9 * kTile);
    // The canvas ends after the tenth row.
    EXPECT_EQ(view.boxes[PanelControl::canvas].height, std::max(10 * kTile + kGap, 40000));

    // Two-tab mode has no row limit: all 31 on Documents.
    state.tabMode = 2;
    panel->tabClick(kDocumentsTab);
    EXPECT_EQ(visibleTiles().size(), 31u);
    EXPECT_EQ(tile(31).box.top, kFirstRow + 10 * kTile);
}

TEST_F(Panel, TabsShowTheirRecordsInEachMode) {
    start(4);
    addWindows(2, kDocumentsTab);
    addWindows(1, kWebBrowsersTab);
    addWindows(1, kOthersTab);
    addWindows(2, kProjectTab);
    panel->tabClick(kWebBrowsersTab);
    EXPECT_EQ(visibleTiles(), (std::vector<long>{3}));
    panel->tabClick(kProjectTab);
    EXPECT_EQ(visibleTiles(), (std::vector<long>{5, 6}));

    state.tabMode = 2;
    panel->tabClick(kDocumentsTab);
    EXPECT_EQ(visibleTiles(), (std::vector<long>{1, 2, 3, 4}));
    panel->tabClick(kProjectTab);
    EXPECT_EQ(visibleTiles(), (std::vector<long>{5, 6}));
    EXPECT_EQ(tile(5).box.left, kGap);
}

TEST_F(Panel, TabsOneAndTwoGiveWayToDocumentsWhenTheyAreHidden) {
    start(4);
    addWindows(1, kWebBrowsersTab);
    panel->tabClick(kWebBrowsersTab);
    state.tabMode = 2;
    panel->updateWindowList();
    EXPECT_EQ(state.currentTab, kDocumentsTab);
    EXPECT_EQ(view.selectedTab, kDocumentsTab);
    EXPECT_EQ(visibleTiles(), (std::vector<long>{1}));
}

TEST_F(Panel, HidingARecordLeavesNoHole) {
    start();
    addWindows(5);
    panel->updateWindowList();
    world.list.setDoDisplay(2, false);
    panel->updateWindowList();
    EXPECT_EQ(visibleTiles(), (std::vector<long>{1, 3, 4, 5}));
    EXPECT_EQ(tile(3).box.left, kGap + kTileWidth + kGap);
    EXPECT_EQ(tile(4).box.left, kGap + 2 * (kTileWidth + kGap));
    EXPECT_EQ(tile(5).box.left, kGap);
    EXPECT_EQ(tile(5).box.top, kFirstRow + kTile);
    EXPECT_FALSE(tile(2).stop);
}

TEST_F(Panel, ProjectTabShowsTheNameWithItsAmpersand) {
    start();
    state.projectName = "Tom & Jerry";
    state.tabColors[3] = 0x123456;
    panel->tabClick(kProjectTab);
    // Doubled for the label, which shows one "&".
    EXPECT_EQ(view.captions[PanelControl::lblProjectName], "Project: Tom && Jerry");
    EXPECT_TRUE(view.shown[PanelControl::lblProjectName]);
    EXPECT_FALSE(view.shown[PanelControl::lblClickAny]);
    EXPECT_EQ(view.colors[PanelControl::canvas], 0x123456u);
    EXPECT_TRUE(view.shown[PanelControl::pbxPortal]);
    EXPECT_EQ(state.projectName, "Tom & Jerry");

    panel->tabClick(kDocumentsTab);
    EXPECT_FALSE(view.shown[PanelControl::lblProjectName]);
    EXPECT_TRUE(view.shown[PanelControl::lblClickAny]);
    EXPECT_EQ(view.colors[PanelControl::canvas], kPanelBlue);
}

TEST_F(Panel, ThreeRecordsNeedNoScrollBar) {
    start(2, windowOf(16000, 11000));
    addWindows(3);
    panel->updateWindowList();
    EXPECT_FALSE(view.shown[PanelControl::vScroll]);
    EXPECT_FALSE(view.shown[PanelControl::hScroll]);
    EXPECT_EQ(view.boxes[PanelControl::pbxPortal].height, 11000 - 60 - 375 - 600);
}

TEST_F(Panel, TwelveRecordsInAWideWindowScrollVerticallyOnly) {
    start(2, windowOf(16000, 11000));
    addWindows(12);
    panel->updateWindowList();
    EXPECT_TRUE(view.shown[PanelControl::vScroll]);
    EXPECT_FALSE(view.shown[PanelControl::hScroll]);
    const int viewport = 11000 - 60 - 375 - 600;
    EXPECT_EQ(view.boxes[PanelControl::pbxPortal].height, viewport);
    EXPECT_EQ(view.boxes[PanelControl::vScroll], (Bounds{16000 - 375 + 15, 0, 360, viewport}));
    const int content = 4 * kTile + kGap;
    EXPECT_EQ(
        view.ranges[PanelControl::vScroll],
        (ScrollRange{content - viewport, (content - viewport) / 12, (content - viewport) / 4}));
    EXPECT_EQ(view.boxes[PanelControl::canvas].height, std::max(content, 11000));

    view.scrollTo(PanelControl::vScroll, 500);
    EXPECT_EQ(view.boxes[PanelControl::canvas].top, -500);
    // The next tick keeps the place.
    panel->updateWindowList();
    EXPECT_EQ(view.boxes[PanelControl::canvas].top, -500);
}

TEST_F(Panel, ANarrowWindowScrollsBothWays) {
    start(2, windowOf(12000, 11000));
    addWindows(12);
    panel->updateWindowList();
    EXPECT_TRUE(view.shown[PanelControl::vScroll]);
    EXPECT_TRUE(view.shown[PanelControl::hScroll]);
    EXPECT_TRUE(view.shown[PanelControl::frmScrollBox]);
    EXPECT_TRUE(view.shown[PanelControl::corner]);
    const int over = state.preferredWidth - 12000;
    EXPECT_EQ(view.ranges[PanelControl::hScroll], (ScrollRange{over, over / 5, over / 2}));
    EXPECT_EQ(view.boxes[PanelControl::frmScrollBox].left, 6090);
    EXPECT_EQ(view.boxes[PanelControl::frmScrollBox].width, 12000 - 6090);
    EXPECT_EQ(view.boxes[PanelControl::hScroll].width, 12000 - 6090 - 360);
    EXPECT_EQ(view.boxes[PanelControl::corner].left, 12000 - 6090 - 360);

    // The labels stay centred in the visible part while the canvas moves.
    view.scrollTo(PanelControl::hScroll, 300);
    EXPECT_EQ(view.boxes[PanelControl::canvas].left, -300);
    const Bounds hint = view.boxes[PanelControl::lblClickAny];
    EXPECT_EQ(hint.left, (12000 - hint.width) / 2 + 300);

    // One record: no horizontal bar, and the canvas goes back to the left edge.
    for (std::size_t i = 1; i < windows.size(); ++i) {
        world.desktop.destroyWindow(windows[i]);
    }
    panel->updateWindowList();
    EXPECT_FALSE(view.shown[PanelControl::hScroll]);
    EXPECT_EQ(view.values[PanelControl::hScroll], 0);
    EXPECT_EQ(view.boxes[PanelControl::canvas].left, 0);
    EXPECT_FALSE(view.shown[PanelControl::vScroll]);
    EXPECT_EQ(view.boxes[PanelControl::canvas].top, 0);
}

TEST_F(Panel, ABarWhoseContentBarelyOverflowsGetsTheSmallestRange) {
    start(2, windowOf(16000, 11000));
    addWindows(12);
    // The viewport measured before the bar is needed is smaller than the one it gets.
    host.geometry = windowOf(16000, 13975);
    panel->updateWindowList();
    EXPECT_TRUE(view.shown[PanelControl::vScroll]);
    EXPECT_EQ(view.ranges[PanelControl::vScroll], (ScrollRange{10, 1, 2}));
}

TEST_F(Panel, AShrinkingRangeMovesTheBarToItsNewEnd) {
    start(2, windowOf(16000, 11000));
    addWindows(15);
    panel->updateWindowList();
    const int max = view.ranges[PanelControl::vScroll].max;
    view.scrollTo(PanelControl::vScroll, max);
    world.desktop.destroyWindow(windows.back());
    world.desktop.destroyWindow(windows[windows.size() - 2]);
    world.desktop.destroyWindow(windows[windows.size() - 3]);
    panel->updateWindowList();  // twelve records: four rows
    const int newMax = view.ranges[PanelControl::vScroll].max;
    ASSERT_LT(newMax, max);
    EXPECT_EQ(view.values[PanelControl::vScroll], newMax);
    EXPECT_EQ(view.boxes[PanelControl::canvas].top, -newMax);
}

TEST_F(Panel, ABusyTileStopsTheRedraw) {
    start();
    addWindows(3);
    panel->updateWindowList();
    tile(2).busy = true;
    tile(2).commentText = "being typed";
    world.list.setCommentString(1, "changed meanwhile");
    world.topLevel("New window", 500);
    panel->updateWindowList();
    EXPECT_EQ(world.list.count(), 3);  // not even refreshed
    EXPECT_NE(tile(1).commentText, "changed meanwhile");
    EXPECT_EQ(tile(2).commentText, "being typed");
    EXPECT_EQ(view.tiles.size(), 4u);

    tile(2).busy = false;
    panel->updateWindowList();
    EXPECT_EQ(world.list.count(), 4);
    EXPECT_EQ(tile(1).commentText, "changed meanwhile");
}

TEST_F(Panel, TilesGrowButAreNeverCreatedTwice) {
    start();
    addWindows(5);
    panel->updateWindowList();
    EXPECT_EQ(view.tileCreations, 6);
    EXPECT_EQ(tile(5).resolution, 1024);
    EXPECT_EQ(tile(5).commentText, world.list.CommentString(5));
    EXPECT_EQ(tile(5).box.width, kTileWidth);
    EXPECT_GT(tile(5).zOrderStamp, tile(4).zOrderStamp);

    int most = world.list.count();
    for (int tick = 0; tick < 100; ++tick) {
        if (tick % 3 == 0 && windows.size() > 1) {
            world.desktop.destroyWindow(windows.front());
            windows.erase(windows.begin());
        } else if (tick % 3 == 1) {
            windows.push_back(world.topLevel("Tick " + std::to_string(tick), 1000 + tick));
        }
        panel->updateWindowList();
        most = std::max(most, static_cast<int>(world.list.count()));
    }
    EXPECT_EQ(view.tileCreations, most + 1);
    EXPECT_EQ(panel->tilesCreated(), most + 1);
    EXPECT_EQ(panel->cswDocsUpperBound(), most);
    // Surplus tiles are hidden, not destroyed.
    EXPECT_EQ(static_cast<long>(visibleTiles().size()), world.list.count());
}

TEST_F(Panel, AFailingRedrawIsReportedAndTheNextOneStartsAfresh) {
    start();
    addWindows(2);
    panel->updateWindowList();
    tile(2).failOn = "FileName";
    tile(2).failure = RuntimeError(5, "Invalid procedure call or argument", "zimDisplayWidget");
    panel->updateWindowList();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text,
              "an error has occured in 'UpdateWindowList'\n5 - Invalid procedure call or argument");
    EXPECT_EQ(messages()[0].title, "Snapdesk!");
    EXPECT_EQ(host.shutdowns, 0);

    tile(2).failure.reset();
    world.list.setCaptionString(2, "Fixed");
    panel->updateWindowList(false);
    EXPECT_EQ(tile(2).file, "Fixed");
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(Panel, ExhaustedGraphicsMemoryInTheRedrawShutsDown) {
    start();
    addWindows(2);
    panel->updateWindowList();
    tile(1).failOn = "hDC";
    tile(1).failure = RuntimeError(480, "Can't create AutoRedraw image", "cswDocs");
    panel->updateWindowList();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text,
              "Sorry, but the system has run very short of memory, \n"
              "and this program will be shut down.\n"
              "If you wish to run Snapdesk! again, please close\n"
              "some other applications to prevent a reoccurrance of this problem.");
    EXPECT_EQ(messages()[0].style, MessageBoxStyle::OkCritical);
    EXPECT_EQ(host.shutdowns, 1);
    // Nothing more happens on the way out.
    panel->updateWindowList();
    panel->tabClick(kProjectTab);
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_EQ(host.shutdowns, 1);
}

TEST_F(Panel, TilesThatCannotBeCreatedShutDown) {
    start();
    addWindows(1);
    view.createFailure = RuntimeError(480, "Can't create AutoRedraw image", "cswDocs");
    panel->updateWindowList();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].style, MessageBoxStyle::Ok);
    EXPECT_NE(messages()[0].text.find("run very short of memory"), std::string::npos);
    EXPECT_EQ(host.shutdowns, 1);
}

TEST_F(Panel, OtherFailuresOfCreatingTilesAreFatalToo) {
    start();
    addWindows(1);
    view.createFailure = RuntimeError(7, "Out of memory", "zimDisplayWidget");
    panel->updateWindowList();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text,
              "Sorry, but a fatal error has occured and \n"
              "the program will be shut down.\n"
              "The location of the error is 'loadPictureBoxes' \n"
              "The error is: 7 - Out of memory");
    EXPECT_EQ(host.shutdowns, 1);
}

TEST_F(Panel, LayoutAndScrollBarFailuresAbandonOnlyTheirStep) {
    start();
    addWindows(2);
    panel->updateWindowList();
    tile(1).failOn = "Move";
    tile(1).failure = RuntimeError(380, "Invalid property value", "cswDocs");
    world.list.setCaptionString(2, "Still filled");
    panel->updateWindowList(false);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text,
              "an error has occured in 'ArrangePictureBoxes'\n380 - Invalid property value");
    EXPECT_EQ(tile(2).file, "Still filled");

    tile(1).failure.reset();
    view.failingControl = PanelControl::canvas;
    view.boundsFailure = RuntimeError(380, "Invalid property value", "canvas");
    world.list.setCaptionString(1, "Filled before the bars");
    panel->updateWindowList(false);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1].text,
              "an error has occured in 'AdjustScrollBars'\n380 - Invalid property value");
    EXPECT_EQ(tile(1).file, "Filled before the bars");
    EXPECT_EQ(host.shutdowns, 0);
}

TEST_F(Panel, TileEventsReachTheRecordAndTheMainForm) {
    start();
    addWindows(2);
    panel->updateWindowList();
    tile(2).focus = 0x0000FF;
    tile(2).fore = 0x000000;
    view.events->tileGotFocus(2);
    EXPECT_EQ(tile(2).fileColor, 0x0000FFu);
    view.events->tileLostFocus(2);
    EXPECT_EQ(tile(2).fileColor, 0x000000u);

    tile(2).commentText = "  typed with blanks";
    view.events->tileCommentChanged(2);
    EXPECT_EQ(world.list.CommentString(2), "typed with blanks");
    EXPECT_EQ(tile(2).commentText, "typed with blanks");  // redrawn from the record

    short key = 13;
    view.events->tileClick(1);
    view.events->tileDblClick(2);
    view.events->tileKeyPress(1, key);
    view.events->tileMouseDown(2, 2, 0, 10.0f, 20.0f);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"Click 1", "DblClick 2", "KeyPress 1 13",
                                                    "MouseDown 2 2"}));
    EXPECT_EQ(panel->cswDocs(2), &tile(2));
    EXPECT_EQ(panel->cswDocs(3), nullptr);
}

TEST_F(Panel, ResizeEnforcesTheMinimumAndIgnoresAMinimisedWindow) {
    start(2, windowOf(16000, 11000));
    WindowGeometry minimised = windowOf(0, 0);
    minimised.minimized = true;
    const Bounds frameBefore = view.boxes[PanelControl::MainFrame];
    EXPECT_FALSE(panel->resize(minimised).handled);
    EXPECT_EQ(view.boxes[PanelControl::MainFrame], frameBefore);

    WindowGeometry small = windowOf(5000, 2000);
    host.geometry = small;
    const ResizeResult result = panel->resize(small);
    EXPECT_TRUE(result.handled);
    EXPECT_TRUE(result.enlarge);
    EXPECT_EQ(result.windowStateText, "NORMAL");
    EXPECT_EQ(result.minimumHeight, kTile + kGap + 375 + 600);
    EXPECT_EQ(result.minimumWidth, 6090 + 4 * 360);

    WindowGeometry big = windowOf(14000, 9000);
    big.maximized = true;
    host.geometry = big;
    const ResizeResult grown = panel->resize(big);
    EXPECT_FALSE(grown.enlarge);
    EXPECT_EQ(grown.windowStateText, "MAXIMIZED");
    EXPECT_EQ(view.boxes[PanelControl::MainFrame], (Bounds{0, 600, 14000, 8400}));
    EXPECT_EQ(view.boxes[PanelControl::tabControl].width, 14000);
    EXPECT_EQ(view.boxes[PanelControl::tabControl].height, 8400);
    EXPECT_EQ(view.boxes[PanelControl::pbxPortal].width, 14000);
    EXPECT_EQ(view.boxes[PanelControl::pbxPortal].height, 9000 - 60 - 375 - 600);
}

TEST_F(Panel, HintTextAndTemplateOrder) {
    start();
    panel->setHintText("Double Click Any Image to Continue");
    EXPECT_EQ(view.captions[PanelControl::lblClickAny], "Double Click Any Image to Continue");
    const Bounds hint = view.boxes[PanelControl::lblClickAny];
    EXPECT_EQ(hint.left, (16000 - hint.width) / 2);
    addWindows(2);
    panel->updateWindowList();
    panel->bringTemplateToFront();
    EXPECT_GT(tile(0).zOrderStamp, tile(2).zOrderStamp);
    EXPECT_FALSE(tile(0).shown);
}

}  // namespace
}  // namespace snapdesk::testing
