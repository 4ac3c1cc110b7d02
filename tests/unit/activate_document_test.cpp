#include <gtest/gtest.h>

#include "sim_world.h"

namespace snapdesk::testing {
namespace {

using Calls = std::vector<std::string>;

// Each activation path and mode, as the exact sequence of calls it makes.
class Activation : public ::testing::Test, public SimWorld {
  protected:
    void SetUp() override {
        other = topLevel("Someone else", 50, "C:\\Other\\other.exe");
        desktop.window(other).thread = 50;
    }
    std::string h(WindowHandle w) const { return sim::handleText(w); }
    Calls activate(long i, std::int16_t childMode, std::int16_t frameMode, bool* front = nullptr) {
        desktop.setForeground(other);
        desktop.clearCalls();
        bool isFront = false;
        list.activateDocument(i, childMode, frameMode, isFront);
        if (front)
            *front = isFront;
        return desktop.calls();
    }
    // ForceForeground from another thread's window, then the show that follows it.
    Calls force(WindowHandle w, const std::string& show) const {
        return {"AttachThreadInput(50,2,1)", "SetForegroundWindow(" + h(w) + ")",
                "AttachThreadInput(50,2,0)", "ShowWindow(" + h(w) + "," + show + ")"};
    }
    static Calls join(std::initializer_list<Calls> parts) {
        Calls out;
        for (const auto& p : parts)
            out.insert(out.end(), p.begin(), p.end());
        return out;
    }
    WindowHandle other = 0;
};

TEST_F(Activation, TopLevelWindowMaximisedOrRestored) {
    const auto w = topLevel("Program", 2);
    list.refreshList();
    const long i = positionOf(w);
    bool front = false;
    EXPECT_EQ(activate(i, 0, 3, &front),
              (Calls{"ShowWindow(" + h(w) + ",3)", "DoEvents", "BringWindowToTop(" + h(w) + ")",
                     "SetForegroundWindow(" + h(w) + ")", "DoEvents"}));
    EXPECT_TRUE(front);
    EXPECT_EQ(activate(i, 1, 3)[0], "ShowWindow(" + h(w) + ",9)");
    // As it was: maximised only when it was last seen maximised.
    EXPECT_EQ(activate(i, 2, 3)[0], "ShowWindow(" + h(w) + ",9)");
    list.setIsZoomed(i, true);
    EXPECT_EQ(activate(i, 2, 3)[0], "ShowWindow(" + h(w) + ",3)");
    EXPECT_EQ(activate(i, 7, 3)[0], "ShowWindow(" + h(w) + ",9)");
}

TEST_F(Activation, MdiDocumentOfAWordProcessor) {
    auto mdi = mdiFrame("Microsoft Word", 2);
    const auto doc = child(mdi.client, "report.doc");
    list.refreshList();
    const long i = positionOf(doc);
    const auto f = h(mdi.frame);
    const auto sequence = [&](const std::string& childMessage, const std::string& frameShow) {
        return join(
            {{"BringWindowToTop(" + f + ")"},
             force(mdi.frame, "5"),
             {"SetWindowPos(" + h(doc) + ",HWND_TOP)",
              childMessage + "(" + h(mdi.client) + "," + h(doc) + ")",
              "ShowWindow(" + f + "," + frameShow + ")", "DoEvents", "BringWindowToTop(" + f + ")",
              "SetForegroundWindow(" + f + ")", "DoEvents"}});
    };
    bool front = true;
    EXPECT_EQ(activate(i, 0, 0, &front), sequence("WM_MDIMAXIMIZE", "3"));
    EXPECT_FALSE(front);  // the frame is in front, not the document
    EXPECT_EQ(activate(i, 1, 1), sequence("WM_MDIRESTORE", "9"));
    EXPECT_EQ(activate(i, 2, 2), sequence("WM_MDIRESTORE", "9"));
    list.setIsZoomed(i, true);
    list.setParentZoomed(i, true);
    EXPECT_EQ(activate(i, 2, 2), sequence("WM_MDIMAXIMIZE", "3"));
    EXPECT_EQ(activate(i, 1, 2), sequence("WM_MDIRESTORE", "3"));
}

TEST_F(Activation, MdiDocumentOfAol) {
    auto mdi = mdiFrame("America Online", 2, "C:\\America Online\\waol.exe");
    const auto doc = child(mdi.client, "Buddy List");
    list.refreshList();
    const auto f = h(mdi.frame);
    const Calls expected = join({
        {"BringWindowToTop(" + f + ")"},
        force(mdi.frame, "5"),
        {"WM_MDIMAXIMIZE(" + h(mdi.client) + "," + h(doc) + ")", "BringWindowToTop(" + h(doc) + ")",
         "ShowWindow(" + f + ",9)", "DoEvents", "BringWindowToTop(" + f + ")",
         "SetForegroundWindow(" + f + ")", "DoEvents", "BringWindowToTop(" + f + ")"},
    });
    EXPECT_EQ(activate(positionOf(doc), 0, 1), expected);
}

TEST_F(Activation, MdiDocumentOfASpreadsheetSendsNoMaximise) {
    auto mdi = mdiFrame("Microsoft Excel - Book1", 2, "C:\\Office\\EXCEL.EXE");
    const auto a = child(mdi.client, "Book1");
    const auto b = child(mdi.client, "Book2");
    desktop.window(mdi.client).mdiActive = a;
    list.refreshList();
    const auto f = h(mdi.frame);
    const auto sequence = [&](WindowHandle doc, const std::string& show) {
        return join({{"WM_MDIGETACTIVE(" + h(mdi.client) + ")", "BringWindowToTop(" + f + ")"},
                     force(mdi.frame, "5"),
                     {"BringWindowToTop(" + h(doc) + ")", "ShowWindow(" + f + "," + show + ")",
                      "BringWindowToTop(" + h(doc) + ")"}});
    };
    EXPECT_EQ(activate(positionOf(a), 0, 0), sequence(a, "3"));
    Calls restoreOther = sequence(b, "9");
    restoreOther.push_back("WM_MDIRESTORE(" + h(mdi.client) + "," + h(b) + ")");
    EXPECT_EQ(activate(positionOf(b), 0, 1), restoreOther);
}

TEST_F(Activation, OutOfRangeDoesNothing) {
    bool front = true;
    EXPECT_TRUE(activate(0, 0, 0, &front).empty());
    EXPECT_FALSE(front);
    EXPECT_TRUE(activate(1, 0, 0, &front).empty());  // list is empty until refreshed
}

TEST_F(Activation, ForceForegroundCases) {
    const auto w = topLevel("Program", 2);
    desktop.setForeground(w);
    desktop.clearCalls();
    EXPECT_FALSE(ForceForeground(desktop, w));
    EXPECT_TRUE(desktop.calls().empty());

    // Same thread: no input attachment; a minimised window is restored.
    const auto sibling = topLevel("Second window of the same program", 2);
    desktop.window(sibling).minimized = true;
    desktop.clearCalls();
    EXPECT_TRUE(ForceForeground(desktop, sibling));
    EXPECT_EQ(desktop.calls(), (Calls{"SetForegroundWindow(" + h(sibling) + ")",
                                      "ShowWindow(" + h(sibling) + ",9)"}));
    EXPECT_FALSE(desktop.window(sibling).minimized);
    EXPECT_EQ(desktop.foregroundWindow(), sibling);

    desktop.clearCalls();
    EXPECT_TRUE(ForceForeground(desktop, other));
    EXPECT_EQ(desktop.calls(),
              (Calls{"AttachThreadInput(2,50,1)", "SetForegroundWindow(" + h(other) + ")",
                     "AttachThreadInput(2,50,0)", "ShowWindow(" + h(other) + ",5)"}));
}

TEST_F(Activation, AListChangedWhileMessagesAreProcessedDoesNotDerailTheActivation) {
    auto mdi = mdiFrame("Microsoft Word", 2);
    const auto doc = child(mdi.client, "report.doc");
    list.refreshList();
    // A timer tick during the activation: the document's window closes and the list refreshes.
    machine.ui.onDoEvents = [&] {
        machine.ui.onDoEvents = nullptr;
        desktop.destroyWindow(doc);
        list.refreshList();
    };
    bool front = true;
    activate(positionOf(doc), 0, 0, &front);
    EXPECT_FALSE(front);
    EXPECT_EQ(positionOf(doc), 0);
}

}  // namespace
}  // namespace snapdesk::testing
