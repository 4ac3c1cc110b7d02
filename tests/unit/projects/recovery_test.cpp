// The recovery file on the simulated machine: when the keeper writes it, what it holds, and the
// three answers of the offer at the next start.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/packaged_programs.h"
#include "platform/sim/sim_shell.h"
#include "projects/project_rules.h"
#include "projects/project_store.h"
#include "projects/recovery_keeper.h"
#include "projects/recovery_offer.h"
#include "sim_world.h"
#include "support/project_fakes.h"

namespace snapdesk {
namespace {

const std::string kProgram = "C:\\Snapdesk";
const std::string kRecovery = kProgram + "\\datafiles\\recovery.txt";

struct Member {
    std::string caption, path, exe, comment;
};

// The dialog a user answers: each button in turn until one closes it.
struct ScriptedOffer : RecoveryOfferDialog {
    std::vector<std::function<bool(RecoveryOffer&)>> clicks;
    std::string message, suggested;
    void show(RecoveryOffer& offer) override {
        message = offer.message();
        suggested = offer.suggestedName();
        for (auto& click : clicks) {
            if (click(offer)) {
                return;
            }
        }
        ADD_FAILURE() << "the dialog never closed";
    }
};

class RecoveryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        files.addFolder(kProgram + "\\datafiles");
        store.loadProjectStore();
    }
    void furnish(const std::vector<Member>& members) {
        std::uint32_t process = 10;
        for (const auto& m : members) {
            world.topLevel(m.caption + " - App", process++);
        }
        world.list.refreshList();
        for (long i = 1; i <= world.list.count(); ++i) {
            const Member& m = members[static_cast<std::size_t>(i - 1)];
            world.list.setInTab(i, kProjectTab);
            world.list.setCaptionString(i, m.caption);
            world.list.setFilePath(i, m.path);
            world.list.setEXEPath(i, m.exe);
            world.list.setCommentString(i, m.comment);
        }
    }
    RecoveryState fileState() {
        RecoveryState state;
        EXPECT_EQ(readRecoveryFile(files, kRecovery, state), RecoveryRead::Read);
        return state;
    }

    testing::SimWorld world;
    sim::SimFileSystem& files = world.machine.files;
    sim::SimUi& ui = world.machine.ui;
    sim::SimShell shell;
    testing_fakes::NoStoreHost storeHost;
    ProjectStore store{files, shell, ui, world.list, storeHost, kProgram};
    std::int64_t now = 100000;
    RecoveryKeeper keeper{files, store, world.list,
                          RecoveryClock{[this] { return now; }, [] { return "2024-05-01 14:03"; }}};
};

TEST_F(RecoveryTest, ChangesAreWrittenAtMostOnceEveryTwoSecondsAndAtOnceWhenTheSessionEnds) {
    keeper.start();
    keeper.check();
    EXPECT_EQ(keeper.writes(), 0) << "an empty tab at start has nothing to keep";

    furnish({{"a.txt", kNotFound, "C:\\WINDOWS\\NOTEPAD.EXE", ""}});
    keeper.check();
    EXPECT_EQ(keeper.writes(), 1);

    world.list.setCommentString(1, "first");
    now += 500;
    keeper.check();
    world.list.setCommentString(1, "second");
    now += 1400;
    keeper.check();
    EXPECT_EQ(keeper.writes(), 1) << "changes within two seconds of a write wait";
    EXPECT_EQ(fileState().members[0].comment, "");

    now += 100;
    keeper.check();
    EXPECT_EQ(keeper.writes(), 2);
    EXPECT_EQ(fileState().members[0].comment, "second") << "the waiting changes go in one write";
    keeper.check();
    EXPECT_EQ(keeper.writes(), 2) << "nothing changed, nothing written";

    world.list.setCommentString(1, "third");
    now += 10;
    keeper.writeNow();
    EXPECT_EQ(keeper.writes(), 3) << "the end of a session does not wait";
    EXPECT_EQ(fileState().members[0].comment, "third");

    // A write that fails is tried again after the pause, not lost.
    world.list.setCommentString(1, "fourth");
    files.replacesLeft = 0;
    now += 2000;
    keeper.check();
    files.replacesLeft = -1;
    now += 1000;
    keeper.check();
    EXPECT_EQ(fileState().members[0].comment, "third");
    now += 1000;
    keeper.check();
    EXPECT_EQ(fileState().members[0].comment, "fourth");
}

TEST_F(RecoveryTest, TheFileHoldsEveryMemberTheTypedCommentAndWhetherTheProjectIsSaved) {
    furnish({{"notes.txt", "C:\\Docs\\notes.txt", "C:\\WINDOWS\\NOTEPAD.EXE", "typed"},
             {"lost.txt", kNotFound, "C:\\WINDOWS\\NOTEPAD.EXE", "unknown yet"},
             {"Example", "https://example.com/", "C:\\CHROME\\CHROME.EXE", ""},
             {"Calculator", "C:\\APPS\\CALC.EXE", "C:\\APPS\\CALC.EXE", ""}});
    world.list.setBrowserProfile(3, "Profile 1");
    world.list.setAppId(4, "Microsoft.WindowsCalculator_8wekyb3d8bbwe!App");
    keeper.setEditorText([] { return std::make_pair(2L, std::string("half a sent")); });
    keeper.start();
    keeper.check();

    RecoveryState state = fileState();
    EXPECT_EQ(state.projectName, project_rules::kUntitled);
    EXPECT_FALSE(state.saved);
    EXPECT_EQ(state.changed, "2024-05-01 14:03");
    ASSERT_EQ(state.members.size(), 4u);
    EXPECT_EQ(state.members[0].path, "C:\\Docs\\notes.txt");
    EXPECT_EQ(state.members[0].comment, "typed");
    EXPECT_EQ(state.members[1].path, kNotFound) << "a member without a location is kept too";
    EXPECT_EQ(state.members[1].comment, "half a sent") << "the editor's text, not the old one";
    EXPECT_EQ(state.members[2].profile, "Profile 1");
    const std::string program = packaged::programText(world.list.appId(4));
    EXPECT_EQ(state.members[3].exe, text::upperCase(program));
    EXPECT_EQ(state.members[3].path, program);

    // Saved: the file says so once the project holds the tab as it is, and not after a change.
    keeper.setEditorText(nullptr);
    world.list.setFilePath(2, "C:\\Docs\\lost.txt");
    std::string name = "Day";
    ASSERT_TRUE(store.saveProject(name, false));
    keeper.writeNow();
    state = fileState();
    EXPECT_EQ(state.projectName, "Day");
    EXPECT_TRUE(state.saved);
    world.list.setCommentString(1, "changed after the save");
    keeper.writeNow();
    EXPECT_FALSE(fileState().saved);

    // A clean exit removes the file of a named project, and keeps an Untitled tab's.
    keeper.cleanExit();
    EXPECT_FALSE(files.fileAttributes(kRecovery));
    store.setCurrentProjectName(project_rules::kUntitled);
    keeper.start();
    keeper.cleanExit();
    EXPECT_EQ(fileState().members.size(), 4u);
}

TEST_F(RecoveryTest, TheOfferReopensKeepsUnderAValidNameOrDiscards) {
    const RecoveryState kept{
        "Day",
        false,
        "2024-05-01 14:03",
        {{"a.txt", "C:\\Docs\\a.txt", "C:\\WINDOWS\\NOTEPAD.EXE", "one", "", ""},
         {"b.txt", kNotFound, "C:\\WINDOWS\\NOTEPAD.EXE", "two", "", ""}}};
    std::vector<RecoveryState> reopened;
    ScriptedOffer dialog;
    RecoveryOffer offer(files, store, ui, dialog,
                        [&](const RecoveryState& s) { reopened.push_back(s); });

    // Reopen: the members handed to the open command; the file stays until the tab replaces it.
    ASSERT_TRUE(writeRecoveryFile(files, kRecovery, kept));
    dialog.clicks = {[](RecoveryOffer& o) { return o.reopenClicked(); }};
    offer.offerAtStart(kRecovery);
    EXPECT_TRUE(files.fileAttributes(kRecovery).has_value());
    ASSERT_EQ(reopened.size(), 1u);
    EXPECT_EQ(reopened[0].members.size(), 2u);
    EXPECT_EQ(reopened[0].members[1].comment, "two");
    EXPECT_NE(dialog.message.find("Snapdesk was closed before your Project was saved"),
              std::string::npos);
    EXPECT_NE(dialog.message.find("Day"), std::string::npos);
    EXPECT_NE(dialog.message.find("2 members"), std::string::npos);
    EXPECT_NE(dialog.message.find("2024-05-01 14:03"), std::string::npos);

    // Keep for later: the name rules hold, then a project of the members with a location.
    ASSERT_TRUE(writeRecoveryFile(files, kRecovery, kept));
    dialog.clicks = {[](RecoveryOffer& o) { return o.keepClicked("a.b"); },
                     [](RecoveryOffer& o) { return o.keepClicked(" Later "); }};
    ui.messages.clear();
    offer.offerAtStart(kRecovery);
    EXPECT_EQ(dialog.suggested, "Day");
    ASSERT_EQ(ui.messages.size(), 1u) << "the illegal name is refused with its message";
    EXPECT_EQ(reopened.size(), 1u);
    std::vector<std::string> names, paths, exes, comments;
    std::int32_t count = 0;
    store.readProject("Later", names, paths, exes, comments, count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(paths[0], "C:\\Docs\\a.txt");
    EXPECT_EQ(comments[0], "one");
    store.getProjectNames(names, count);
    EXPECT_EQ(names, std::vector<std::string>{"Later"});
    EXPECT_EQ(store.currentProjectName(), project_rules::kUntitled) << "the live tab is apart";
    EXPECT_FALSE(files.fileAttributes(kRecovery));

    // Discard.
    ASSERT_TRUE(writeRecoveryFile(files, kRecovery, kept));
    dialog.clicks = {[](RecoveryOffer& o) { return o.discardClicked(); }};
    offer.offerAtStart(kRecovery);
    EXPECT_FALSE(files.fileAttributes(kRecovery));
    EXPECT_EQ(reopened.size(), 1u);

    // Nothing to offer: a saved project as it was saved goes without a word.
    dialog.message.clear();
    ASSERT_TRUE(writeRecoveryFile(files, kRecovery, RecoveryState{"Day", true, "", kept.members}));
    offer.offerAtStart(kRecovery);
    EXPECT_TRUE(dialog.message.empty());
    EXPECT_FALSE(files.fileAttributes(kRecovery));

    // A file cut short is set aside under a name of its own and reported in one line.
    ASSERT_TRUE(writeRecoveryFile(files, kRecovery, kept));
    const std::string whole = *files.readFile(kRecovery);
    files.writeFile(kRecovery, whole.substr(0, whole.find("[FileName]")));
    ui.messages.clear();
    offer.offerAtStart(kRecovery);
    EXPECT_TRUE(dialog.message.empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.find('\n'), std::string::npos);
    EXPECT_FALSE(files.fileAttributes(kRecovery));
    EXPECT_TRUE(files.fileAttributes(kProgram + "\\datafiles\\recovery-damaged-1.txt"));
}

}  // namespace
}  // namespace snapdesk
