// The search over the panel: the tiles that match, the captions with their counts, the tab
// the view goes to and the highlight, on the simulated view and desktop.
#include <gtest/gtest.h>

#include "panel_fixture.h"

namespace snapdesk::testing {
namespace {

class PanelSearch : public Panel {
  protected:
    // A window whose record ends on `tab`; its list index.
    long add(const std::string& text, std::int16_t tab,
             const std::string& exe = "C:\\Apps\\app.exe") {
        const WindowHandle w = world.topLevel(text, next++, exe);
        world.list.refreshList();
        const long k = world.positionOf(w);
        world.list.setInTab(k, tab);
        return k;
    }

    std::vector<std::string> captions() {
        return {view.tabCaptions[0], view.tabCaptions[1], view.tabCaptions[2], view.tabCaptions[3]};
    }
    // Drawn apart from the tab's colour.
    bool drawnHighlighted(long k) { return view.tile(k).back != kPanelBlue; }

    std::uint32_t next = 100;
};

TEST_F(PanelSearch, AFilterShowsTheMatchesCountsThemPerTabAndClearingBringsAllBack) {
    start(4);
    const long budget = add("Budget - Editor", kDocumentsTab);
    const long letter = add("Letter - Editor", kDocumentsTab);
    const long ledger = add("Accounts", kOthersTab, "C:\\Tools\\Ledger.exe");
    const long plan = add("Plan - Editor", kProjectTab);
    const long unknown = add("Sketch - Editor", kProjectTab);
    world.list.setCommentString(budget, "Quarterly figures 2027");
    world.list.setFilePath(plan, "C:\\Reports\\Ålesund\\plan.txt");
    world.list.setFilePath(unknown, "notfound");
    panel->tabClick(kProjectTab);
    const std::vector<std::string> original = captions();
    ASSERT_EQ(original[0], "Documents");

    // A window opened since the last look stays out: typing never looks at the desktop.
    world.topLevel("Later - Editor", next++);
    const long records = world.list.count();

    // Two words of a comment, in another order and case: the view goes to Documents.
    panel->setSearch("2027 QUARTERLY");
    EXPECT_EQ(world.list.count(), records);
    EXPECT_EQ(state.currentTab, kDocumentsTab);
    EXPECT_EQ(view.selectedTab, kDocumentsTab);
    EXPECT_EQ(visibleTiles(), std::vector<long>{budget});
    EXPECT_EQ(captions(), (std::vector<std::string>{"Documents (1)", "Web Browsers (0)",
                                                    "     Others (0)    ", "   Project (0)   "}));
    EXPECT_EQ(panel->highlighted(), budget);
    EXPECT_TRUE(drawnHighlighted(budget));

    // A folder of the location, typed without its accent, finds the Project member.
    panel->setSearch("alesund");
    EXPECT_EQ(state.currentTab, kProjectTab);
    EXPECT_EQ(visibleTiles(), std::vector<long>{plan});
    EXPECT_FALSE(drawnHighlighted(budget)) << "the old highlight is taken off";

    // The program's file name; and the marker of an unknown location, which never matches.
    panel->setSearch("ledger");
    EXPECT_EQ(state.currentTab, kOthersTab);
    EXPECT_EQ(visibleTiles(), std::vector<long>{ledger});
    panel->setSearch("notfound");
    EXPECT_EQ(state.currentTab, kOthersTab) << "no match anywhere: the view stays";
    EXPECT_TRUE(visibleTiles().empty());
    EXPECT_EQ(captions()[3], "   Project (0)   ");
    EXPECT_EQ(panel->highlighted(), 0);

    // Several matches: the highlight starts on the first and stops at the last.
    panel->setSearch("app.exe");
    EXPECT_EQ(state.currentTab, kDocumentsTab);
    EXPECT_EQ(visibleTiles(), (std::vector<long>{budget, letter}));
    EXPECT_EQ(panel->highlighted(), budget);
    panel->moveHighlight(-1);
    EXPECT_EQ(panel->highlighted(), budget) << "Up on the first match stays";
    panel->moveHighlight(1);
    panel->moveHighlight(1);
    EXPECT_EQ(panel->highlighted(), letter);
    EXPECT_TRUE(drawnHighlighted(letter));
    EXPECT_FALSE(drawnHighlighted(budget));
    EXPECT_EQ(panel->nthMatch(1), budget);
    EXPECT_EQ(panel->nthMatch(3), 0);
    // A Timer1 tick brings the new window in (to Others, as every top-level window) and
    // keeps the highlight where it was.
    panel->updateWindowList();
    EXPECT_EQ(world.list.count(), records + 1);
    EXPECT_EQ(captions()[2], "     Others (1)    ");
    EXPECT_EQ(panel->highlighted(), letter);

    panel->setSearch("");
    EXPECT_EQ(captions(), original);
    EXPECT_EQ(visibleTiles(), (std::vector<long>{budget, letter}));
    EXPECT_FALSE(drawnHighlighted(letter));
    EXPECT_EQ(panel->highlighted(), 0);
}

TEST_F(PanelSearch, WithTwoTabsDocumentsCountsEveryTabButProject) {
    start(2);
    add("One - Editor", kDocumentsTab);
    add("Two - Editor", kWebBrowsersTab);
    add("Three - Editor", kOthersTab);
    add("Four - Editor", kProjectTab);
    panel->tabClick(kDocumentsTab);

    panel->setSearch("app");
    EXPECT_EQ(view.tabCaptions[0], "              Documents (3)              ");
    EXPECT_EQ(view.tabCaptions[3], "                Project (1)                ");
    EXPECT_EQ(visibleTiles().size(), 3u);
    panel->setSearch("");
    EXPECT_EQ(view.tabCaptions[0], "              Documents              ");
}

}  // namespace
}  // namespace snapdesk::testing
