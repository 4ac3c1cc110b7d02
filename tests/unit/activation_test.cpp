// Activation of a thumbnail and pictures taken on demand, on the simulated desktop.
#include <gtest/gtest.h>

#include <algorithm>

#include "mainwindow/activation.h"
#include "sim_world.h"

namespace snapdesk::testing {
namespace {

using Calls = std::vector<std::string>;

// The main window's side: timers, input and the redraw, recorded.
class RecordingHost : public ActivationHost {
  public:
    explicit RecordingHost(SimWorld& world) : world_(world) {}
    WindowHandle mainWindowHandle() override { return main; }
    void enableMainWindow(bool enabled) override { log(enabled ? "Enable" : "Disable"); }
    void setTimer1(bool enabled) override { log(enabled ? "Timer1 on" : "Timer1 off"); }
    bool setTimer2(bool enabled, unsigned intervalMs) override {
        log(std::string(enabled ? "Timer2 on " : "Timer2 off ") + std::to_string(intervalMs));
        timer2Armed = enabled ? 3 : 0;  // ticks after three message pumps
        return true;
    }
    void updateWindowList() override {
        log("updateWindowList");
        ++redraws;
    }
    bool mainWindowIsNormal() override { return normal; }
    void showMainWindow(ShowCommand command) override {
        log("ShowMain(" + std::to_string(static_cast<int>(command)) + ")");
    }
    std::string maximizeLaunch() override { return launch; }

    void log(const std::string& call) { world_.desktop.log(call); }

    WindowHandle main = 0;
    int timer2Armed = 0;
    int redraws = 0;
    bool normal = true;
    std::string launch = "no";

  private:
    SimWorld& world_;
};

class ActivationTest : public ::testing::Test, public SimWorld {
  protected:
    void SetUp() override {
        host.main = topLevel("Snapdesk!", 9, "C:\\Snapdesk\\snapdesk.exe");
        desktop.window(host.main).thread = 9;
        list.setMainWindow(host.main);
        machine.ui.onDoEvents = [this] {
            if (host.timer2Armed > 0 && --host.timer2Armed == 0) {
                activation.Timer2_Timer();
            }
        };
    }
    std::string h(WindowHandle w) const { return sim::handleText(w); }
    // The window calls once the wait for the repaint is over: the putting back.
    static Calls restoreCalls(const Calls& all) {
        const auto picture = std::find_if(all.begin(), all.end(), [](const std::string& c) {
            return c.starts_with("Timer2 off");
        });
        Calls out;
        for (auto c = picture; c != all.end(); ++c) {
            if ((c->starts_with("WM_MDI") && !c->starts_with("WM_MDIGETACTIVE")) ||
                c->starts_with("ShowWindow") || c->starts_with("BringWindowToTop")) {
                out.push_back(*c);
            }
        }
        return out;
    }

    RecordingHost host{*this};
    snapdesk::Activation activation{machine.platform, list, host};
};

TEST_F(ActivationTest, CapturePutsBackAMinimisedDocumentAndTheMaximisedOneThatWasActive) {
    auto mdi = mdiFrame("Microsoft Word", 2);
    const auto chapter = child(mdi.client, "chapter.doc");
    const auto report = child(mdi.client, "report.doc");
    desktop.window(chapter).minimized = true;
    desktop.window(report).zoomed = true;
    desktop.window(mdi.client).mdiActive = report;
    list.refreshList();
    const long k = positionOf(chapter);
    ASSERT_NE(k, 0);

    desktop.clearCalls();
    activation.captureWithPause(k);
    const Calls calls = desktop.calls();

    // It waited for Timer2 with pumps before the picture.
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Timer2 on 1500"), calls.end());
    EXPECT_TRUE(list.gotPhoto(positionOf(chapter)));
    EXPECT_EQ(
        restoreCalls(calls),
        (Calls{"WM_MDIRESTORE(" + h(mdi.client) + "," + h(chapter) + ")",
               "ShowWindow(" + h(chapter) + ",6)", "BringWindowToTop(" + h(report) + ")",
               "WM_MDIACTIVATE(" + h(mdi.client) + "," + h(report) + ")",
               "WM_MDIMAXIMIZE(" + h(mdi.client) + "," + h(report) + ")",
               "ShowWindow(" + h(mdi.frame) + ",9)", "BringWindowToTop(" + h(host.main) + ")",
               "ShowWindow(" + h(host.main) + ",5)", "BringWindowToTop(" + h(host.main) + ")"}));
    EXPECT_TRUE(desktop.window(chapter).minimized);
    EXPECT_EQ(desktop.window(mdi.client).mdiActive, report);
    EXPECT_TRUE(desktop.window(report).zoomed);
    EXPECT_EQ(desktop.foregroundWindow(), host.main);
}

TEST_F(ActivationTest, CaptureOfATopLevelWindowRestoresItsSizeAndMinimisesItAgain) {
    const auto pad = topLevel("notes.txt - Notepad", 3);
    desktop.window(pad).minimized = true;
    list.refreshList();
    const long k = positionOf(pad);
    desktop.clearCalls();
    activation.captureWithPause(k);
    EXPECT_EQ(restoreCalls(desktop.calls()),
              (Calls{"ShowWindow(" + h(pad) + ",9)", "ShowWindow(" + h(pad) + ",6)",
                     "BringWindowToTop(" + h(host.main) + ")", "ShowWindow(" + h(host.main) + ",5)",
                     "BringWindowToTop(" + h(host.main) + ")"}));
    EXPECT_TRUE(desktop.window(pad).minimized);
    EXPECT_TRUE(list.gotPhoto(positionOf(pad)));
}

TEST_F(ActivationTest, ActivatingDisablesTheMainWindowAndResetsTheSchedule) {
    const auto pad = topLevel("notes.txt - Notepad", 3);
    list.refreshList();
    const long k = positionOf(pad);
    list.setUpdateCount(k, 5);
    desktop.clearCalls();
    activation.activateThumbnail(k);
    const Calls calls = desktop.calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "Disable");
    EXPECT_EQ(calls.back(), "Enable");
    EXPECT_EQ(desktop.foregroundWindow(), pad);
    EXPECT_EQ(list.updateCount(k), 0);
    EXPECT_EQ(host.redraws, 1);
}

TEST_F(ActivationTest, DocumentsKeepTheirStateUnlessMaximiseOnActivationIsOn) {
    auto mdi = mdiFrame("Microsoft Word", 2);
    const auto doc = child(mdi.client, "report.doc");
    list.refreshList();
    const long k = positionOf(doc);
    activation.activateThumbnail(k);
    EXPECT_FALSE(desktop.window(doc).zoomed);
    host.launch = "yes";
    activation.activateThumbnail(k);
    EXPECT_TRUE(desktop.window(doc).zoomed);
    EXPECT_TRUE(desktop.window(mdi.frame).zoomed);
}

TEST_F(ActivationTest, UpdateAllImagesSkipsHiddenRecordsAndLeavesTheMainWindowMaximised) {
    const auto a = topLevel("a.txt - Notepad", 3);
    const auto b = topLevel("b.txt - Notepad", 4);
    list.refreshList();
    list.setDoDisplay(positionOf(b), false);
    host.normal = false;
    desktop.clearCalls();
    activation.mnuLoadImages_Click();
    const Calls calls = desktop.calls();
    EXPECT_TRUE(list.gotPhoto(positionOf(a)));
    EXPECT_FALSE(list.gotPhoto(positionOf(b)));
    EXPECT_EQ(calls.front(), "Timer1 off");
    EXPECT_EQ(calls.back(), "Timer1 on");
    EXPECT_NE(std::find(calls.begin(), calls.end(), "ShowMain(3)"), calls.end());
}

// At start-up only the windows that could not draw themselves come forward for a picture.
TEST_F(ActivationTest, StartUpBringsForwardOnlyTheWindowsThatDrewNothing) {
    const auto drawn = topLevel("a.txt - Notepad", 3);
    desktop.window(drawn).drawsWhenPrinted = true;
    const auto blank = topLevel("b.txt - Notepad", 4);
    list.refreshList();
    list.renderPictures(1500);
    EXPECT_TRUE(list.photoIsProvisional(positionOf(drawn)));
    desktop.clearCalls();
    activation.loadMissingImages();
    const Calls calls = desktop.calls();
    const auto raised = [&](WindowHandle w) {
        return std::find(calls.begin(), calls.end(), "BringWindowToTop(" + h(w) + ")") !=
               calls.end();
    };
    EXPECT_TRUE(raised(blank));
    EXPECT_FALSE(raised(drawn));
    EXPECT_TRUE(list.gotPhoto(positionOf(blank)));

    // Once every tile has a picture, nothing is brought forward and the timer stays as it was.
    desktop.clearCalls();
    activation.loadMissingImages();
    EXPECT_TRUE(desktop.calls().empty());
}

TEST_F(ActivationTest, UpdateAllImagesOnAnEmptyListDoesNothing) {
    SimWorld empty;
    RecordingHost quiet(empty);
    snapdesk::Activation idle(empty.machine.platform, empty.list, quiet);
    empty.desktop.clearCalls();
    idle.mnuLoadImages_Click();
    EXPECT_TRUE(empty.desktop.calls().empty());
}

}  // namespace
}  // namespace snapdesk::testing
