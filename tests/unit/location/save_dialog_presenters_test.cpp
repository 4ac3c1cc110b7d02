// What the dialogs of a save decide for the members the searches could not locate: the path
// dialog's file filter and Browse, the address dialog's refused close, the WinAmp Recent list
// and its OK, and the searches "Path Not Found" offers.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "location/continue_search.h"
#include "location/no_netscape6.h"
#include "location/no_path_info.h"
#include "location/win_amp.h"
#include "platform/sim/sim_shell.h"
#include "sim_world.h"
#include "tracking/recent_folder.h"

namespace snapdesk {
namespace {

TEST(NoPathInfoTest, FilterComesFromAnExtensionOfAtMostFourCharacters) {
    EXPECT_EQ(noPathFileFilter("Report.doc"), "*.doc |*.doc|All Files (*.*)|*.*");
    EXPECT_EQ(noPathFileFilter("v1.2 index.html"), "*.html |*.html|All Files (*.*)|*.*");
    EXPECT_EQ(noPathFileFilter("Photo.jpeg2"), "All Files (*.*)|*.*");
    EXPECT_EQ(noPathFileFilter("Untitled - Notepad"), "All Files (*.*)|*.*");
}

TEST(NoPathInfoTest, AnswersOfTheThreeButtons) {
    sim::SimShell shell;
    shell.chosenFile = "C:\\Docs\\Report.doc";
    int folderDialogs = 0;
    const auto browseForFolder = [&] {
        ++folderDialogs;
        return std::string("C:\\Letters");
    };

    NoPathInfo document("  Report.doc ", "C:\\OFFICE\\WINWORD.EXE", shell, browseForFolder);
    EXPECT_EQ(document.fileNameLabel(), "Report.doc");
    EXPECT_EQ(document.answer(), "");
    document.ok();
    EXPECT_EQ(document.answer(), "C:\\OFFICE\\WINWORD.EXE");
    document.browse(0x55);
    EXPECT_EQ(document.answer(), "C:\\Docs\\Report.doc");
    ASSERT_EQ(shell.fileDialogs.size(), 1u);
    EXPECT_EQ(shell.fileDialogs[0].title, "Locate File Path");
    EXPECT_EQ(shell.fileDialogs[0].filter, "*.doc |*.doc|All Files (*.*)|*.*");
    EXPECT_EQ(shell.lastOwner, 0x55u);
    document.doNotInclude();
    EXPECT_EQ(document.answer(), "");
    EXPECT_EQ(folderDialogs, 0);

    // An Explorer member is a folder: the folder dialog, never the file dialog.
    NoPathInfo folder("Letters", "C:\\Windows\\explorer.exe", shell, browseForFolder);
    folder.browse(0x55);
    EXPECT_EQ(folder.answer(), "C:\\Letters");
    EXPECT_EQ(folderDialogs, 1);
    EXPECT_EQ(shell.fileDialogs.size(), 1u);
}

TEST(NoNetscape6Test, CloseIsRefusedUntilAButtonGaveAnAnswer) {
    sim::SimUi ui;
    NoNetscape6 blankThenTyped(ui, "Home Page - Netscape", "Netscape 6");
    EXPECT_EQ(blankThenTyped.windowCaption(), "Storing Netscape 6 URLs");
    EXPECT_EQ(blankThenTyped.captionLine(), "     Home Page - Netscape");
    EXPECT_FALSE(blankThenTyped.queryClose());
    EXPECT_FALSE(blankThenTyped.saveUrl("    "));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "You did not enter a URL/file to save.");
    EXPECT_EQ(ui.messages[0].title, "Snapdesk!");
    EXPECT_EQ(ui.messages[0].style, MessageBoxStyle::Ok);
    EXPECT_FALSE(blankThenTyped.queryClose());
    EXPECT_TRUE(blankThenTyped.saveUrl("  http://www.zim.com/  "));
    EXPECT_TRUE(blankThenTyped.queryClose());
    EXPECT_EQ(blankThenTyped.answer(), "http://www.zim.com/");

    NoNetscape6 browser(ui, "Page", "Internet Explorer 4");
    browser.saveBrowser();
    EXPECT_TRUE(browser.queryClose());
    EXPECT_EQ(browser.answer(), kSaveBrowserExe);

    // "Do Not Save" closes, and only then is the answer empty: the member is left out.
    NoNetscape6 notSaved(ui, "Page", "Netscape 4");
    notSaved.doNotSave();
    EXPECT_NE(notSaved.answer(), "");
    EXPECT_TRUE(notSaved.queryClose());
    EXPECT_EQ(notSaved.answer(), "");
    EXPECT_EQ(ui.messages.size(), 1u);
}

// Shortcut targets by shortcut path.
struct Links : LinkPathResolver {
    std::map<std::string, std::string> targets;
    std::vector<WindowHandle> owners;
    std::string getLinkPath(WindowHandle owner, const std::string& linkFile) override {
        owners.push_back(owner);
        const auto it = targets.find(linkFile);
        return it == targets.end() ? std::string() : it->second;
    }
};

const std::string kRecent = "C:\\Users\\me\\Recent\\";

class WinAmpTest : public ::testing::Test {
  protected:
    void TearDown() override { setRecentFolder(kRecentFolderUnknown); }

    void shortcut(const std::string& name, const std::string& target) {
        files.addFile(kRecent + name);
        links.targets[kRecent + name] = target;
    }
    WinAmp dialog(const std::string& song = "", const std::string& exe = kPlayer) {
        return WinAmp({world.machine.ui, shell, files, links, world.list}, song, exe);
    }
    std::vector<std::string> shown(const WinAmp& d) const {
        std::vector<std::string> lines;
        for (const RecentSong& line : d.recentList()) {
            lines.push_back(line.shown);
        }
        return lines;
    }

    static constexpr const char* kPlayer = "C:\\Program Files\\Winamp\\WINAMP.EXE";
    testing::SimWorld world;
    sim::SimFileSystem& files = world.machine.files;
    sim::SimShell shell;
    Links links;
};

TEST_F(WinAmpTest, RecentListHoldsSongsAndPlaylistsInUpperCase) {
    setRecentFolder(kRecent);
    shortcut("Song.mp3.lnk", std::string("C:\\Music\\Song.mp3\0junk", 23));
    shortcut("letter.txt.lnk", "C:\\Docs\\letter.txt");
    shortcut("list.lnk", "  D:\\Lists\\Party.M3u  ");
    shortcut("short.lnk", "a.mp3");  // too short to be a song in a folder
    shortcut("noslash.lnk", "track01.mp3");
    shortcut("broken.lnk", "");
    files.addFile(kRecent + "Song.mp3");  // not a shortcut

    WinAmp d = dialog();
    d.loadRecentList(0x77);
    EXPECT_EQ(shown(d), (std::vector<std::string>{"Recent Songs and Playlists", "SONG.MP3",
                                                  "PARTY.M3U", "TRACK01.MP3"}));
    EXPECT_EQ(links.owners, std::vector<WindowHandle>(6, 0x77));
    EXPECT_EQ(d.pathOfLine(0), "");
    EXPECT_EQ(d.pathOfLine(1), "C:\\MUSIC\\SONG.MP3");
    EXPECT_EQ(d.pathOfLine(2), "D:\\LISTS\\PARTY.M3U");

    // Without a known Recent folder nothing is looked up.
    setRecentFolder(kRecentFolderUnknown);
    WinAmp none = dialog();
    none.loadRecentList(0x77);
    EXPECT_EQ(shown(none), std::vector<std::string>{"Recent Songs and Playlists"});
    EXPECT_EQ(links.owners.size(), 6u);
}

TEST_F(WinAmpTest, BrowseStartsAtTheSongOrElseAtThePlayer) {
    shell.chosenFile = "C:\\Music\\Other.mp3";
    EXPECT_EQ(dialog("C:\\Music\\Song.mp3").browse(0x77), "C:\\Music\\Other.mp3");
    EXPECT_EQ(dialog().browse(0x77), "C:\\Music\\Other.mp3");
    ASSERT_EQ(shell.fileDialogs.size(), 2u);
    for (const FileDialogRequest& request : shell.fileDialogs) {
        EXPECT_EQ(request.title, "Locate Playlist or Song");
        EXPECT_EQ(request.filter, "Songs/Playlists (*.mp3,*.m3u)|*.mp3;*.m3u|All Files (*.*)|*.*");
    }
    EXPECT_EQ(shell.fileDialogs[0].initialFolder, "C:\\Music\\");
    EXPECT_EQ(shell.fileDialogs[0].fileName, "Song.mp3");
    EXPECT_EQ(shell.fileDialogs[1].initialFolder, "C:\\Program Files\\Winamp\\");
    EXPECT_EQ(shell.fileDialogs[1].fileName, "");
}

TEST_F(WinAmpTest, OkWritesTheFirstPlayerRecordOrRefusesAPathThatNamesNothing) {
    const WindowHandle notepad = world.topLevel("notes - Notepad", 1, "C:\\Apps\\notepad.exe");
    const WindowHandle first = world.topLevel("1. Song - Winamp", 2, kPlayer);
    const WindowHandle second = world.topLevel("2. Other - Winamp", 3, kPlayer);
    world.list.refreshList();
    const long n = world.positionOf(notepad);
    const long p = world.positionOf(first);
    const long q = world.positionOf(second);
    ASSERT_TRUE(n && p && q);
    world.list.moveTo(n, 1);
    const long firstPlayer = std::min(world.positionOf(first), world.positionOf(second));
    const long otherPlayer = std::max(world.positionOf(first), world.positionOf(second));
    files.addFolder("C:\\Music");
    files.addFile("C:\\Music\\Song.mp3");

    WinAmp d = dialog();
    EXPECT_FALSE(d.accept("  C:\\Music\\Gone.mp3 "));
    ASSERT_EQ(world.machine.ui.messages.size(), 1u);
    EXPECT_EQ(world.machine.ui.messages[0].text,
              "         The path you entered:                                              \r\n"
              "         C:\\Music\\Gone.mp3\r\n"
              "         does not point to a file or folder.\r\n"
              "         Please check and re-enter the path.");
    EXPECT_EQ(world.machine.ui.messages[0].style, MessageBoxStyle::OkCritical);
    EXPECT_EQ(world.list.filePath(firstPlayer), "notfound");
    EXPECT_FALSE(world.list.searchDone(firstPlayer));

    EXPECT_TRUE(d.accept(" C:\\Music\\Song.mp3 "));
    EXPECT_EQ(world.list.filePath(firstPlayer), "C:\\Music\\Song.mp3");
    EXPECT_TRUE(world.list.searchDone(firstPlayer));
    EXPECT_EQ(world.list.filePath(otherPlayer), "notfound");
    EXPECT_EQ(world.list.filePath(world.positionOf(notepad)), "notfound");

    EXPECT_TRUE(d.accept("C:\\Music"));  // a folder is accepted
    EXPECT_EQ(world.list.filePath(firstPlayer), "C:\\Music");
    EXPECT_TRUE(d.accept("   "));  // the player by itself
    EXPECT_EQ(world.list.filePath(firstPlayer), world.list.EXEPath(firstPlayer));
    EXPECT_EQ(world.machine.ui.messages.size(), 1u);
}

// The window and the searches, as one log.
struct SearchLog : ContinueSearchActions, ContinueSearchView {
    std::vector<std::string> calls;
    ContinueSearch* dialog = nullptr;
    void quickSearch() override { calls.push_back(call("quick")); }
    void fullSearch() override { calls.push_back(call("full")); }
    void disableButtons() override { calls.push_back("disable"); }
    void setBusyCursor(bool busy) override { calls.push_back(busy ? "busy" : "normal"); }
    void close() override { calls.push_back("close"); }
    // A search runs before the save is let go on: the close box meanwhile would cancel it.
    std::string call(const std::string& name) const {
        return name + (dialog->saveCancelled() ? " (cancelled)" : " (going on)");
    }
};

TEST(ContinueSearchTest, EachButtonDisablesAllFirstAndDecidesWhetherTheSaveGoesOn) {
    using Calls = std::vector<std::string>;
    struct Case {
        void (ContinueSearch::*button)();
        Calls calls;
        bool cancelled;
    };
    const Case cases[] = {
        {&ContinueSearch::quickSearch,
         {"disable", "busy", "quick (going on)", "normal", "close"},
         false},
        {&ContinueSearch::fullSearch,
         {"disable", "busy", "full (cancelled)", "normal", "close"},
         false},
        {&ContinueSearch::noSearch, {"disable", "close"}, false},
        {&ContinueSearch::cancelSave, {"disable", "close"}, true},
    };
    for (const Case& c : cases) {
        SearchLog log;
        ContinueSearch dialog(log, log);
        log.dialog = &dialog;
        EXPECT_TRUE(dialog.saveCancelled());  // closed by the close box
        (dialog.*c.button)();
        EXPECT_EQ(log.calls, c.calls);
        EXPECT_EQ(dialog.saveCancelled(), c.cancelled);
    }
}

}  // namespace
}  // namespace snapdesk
