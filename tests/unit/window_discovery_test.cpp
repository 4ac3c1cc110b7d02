#include <gtest/gtest.h>

#include "sim_world.h"
#include "tracking/recent_folder.h"

namespace snapdesk::testing {
namespace {

class Discovery : public ::testing::Test, public SimWorld {
  protected:
    void TearDown() override { setRecentFolder(kRecentFolderUnknown); }
};

TEST_F(Discovery, MdiDocumentsAreTrackedOnDocumentsAndTheFrameIsNot) {
    auto mdi = mdiFrame("Microsoft Word - report.doc");
    const auto doc = child(mdi.client, "report.doc");
    const auto hidden = child(mdi.client, "hidden.doc");
    desktop.window(hidden).visible = false;
    const auto noIcon = child(mdi.client, "noicon.doc", 0);
    const auto oneChar = child(mdi.client, "x");
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.hWnd(1), doc);
    EXPECT_EQ(list.hTopWnd(1), mdi.frame);
    EXPECT_EQ(list.hClient(1), mdi.client);
    EXPECT_EQ(list.inTab(1), kDocumentsTab);
    EXPECT_EQ(list.EXEPath(1), "C:\\OFFICE\\WINWORD.EXE");
    EXPECT_EQ(list.CaptionString(1), "report.doc");
    EXPECT_EQ(positionOf(noIcon) + positionOf(oneChar) + positionOf(mdi.frame), 0);
}

TEST_F(Discovery, DocumentsWhoseIconCannotBeAskedCountWhenTheyAreMdiChildren) {
    auto mdi = mdiFrame("Editor");
    const auto doc = child(mdi.client, "notes.txt", 0);
    desktop.window(doc).iconRefused = true;
    desktop.window(doc).exStyle = 0x40;  // WS_EX_MDICHILD
    const auto toolbar = child(mdi.client, "Formatting", 0);
    desktop.window(toolbar).iconRefused = true;
    desktop.window(mdi.frame).iconRefused = true;
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.hWnd(1), doc);
    EXPECT_EQ(list.hIcon(1), 32512u);  // unknown: the stock application icon
    EXPECT_EQ(positionOf(toolbar), 0);
}

TEST_F(Discovery, AFrameThatGainsDocumentsIsReplacedByThem) {
    auto mdi = mdiFrame("Microsoft Word");
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.hWnd(1), mdi.frame);
    EXPECT_EQ(list.inTab(1), kOthersTab);
    const auto doc = child(mdi.client, "Document1");
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.hWnd(1), doc);
}

TEST_F(Discovery, ExcelFramesMarkTheirDocuments) {
    auto mdi = mdiFrame("Microsoft Excel - Book1", 3, "C:\\OFFICE\\EXCEL.EXE");
    child(mdi.client, "Book1");
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    bool front = false;
    desktop.clearCalls();
    list.activateDocument(1, 1, 1, front);
    // The spreadsheet sequence asks for the active document first.
    ASSERT_FALSE(desktop.calls().empty());
    EXPECT_EQ(desktop.calls().front(), "WM_MDIGETACTIVE(" + sim::handleText(mdi.client) + ")");
}

TEST_F(Discovery, WindowsThatAreNeverTracked) {
    topLevel("x");
    topLevel("Program Manager");
    const auto owner = topLevel("Owner window");
    const auto owned = topLevel("Owned dialog");
    desktop.window(owned).owner = owner;
    const auto tool = topLevel("Tool palette");
    desktop.window(tool).exStyle = 0x80;
    const auto sdi = topLevel("Office shell");
    desktop.window(sdi).className = "MS-SDIa";
    const auto hidden = topLevel("Hidden");
    desktop.window(hidden).visible = false;
    const auto mine = topLevel("Snapdesk!");
    list.setMainWindow(mine);
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.hWnd(1), owner);
}

TEST_F(Discovery, CloakedWindowsAreTrackedOnlyWhenOnAnotherVirtualDesktop) {
    const auto plain = topLevel("Budget.txt - Notepad");
    const auto suspended = topLevel("Settings");
    desktop.window(suspended).cloak = kCloakedByApp;
    const auto inherited = topLevel("Input host");
    desktop.window(inherited).cloak = kCloakInherited;
    const auto shellHere = topLevel("Calculator");
    desktop.window(shellHere).cloak = kCloakedByShell;
    desktop.window(shellHere).desktop = DesktopPlace::Current;
    const auto noDesktop = topLevel("Microsoft Store");
    desktop.window(noDesktop).cloak = kCloakedByShell;
    const auto elsewhere = topLevel("Lease.txt - Notepad");
    desktop.window(elsewhere).cloak = kCloakedByShell;
    desktop.window(elsewhere).desktop = DesktopPlace::Other;
    const auto appOnOther = topLevel("Suspended elsewhere");
    desktop.window(appOnOther).cloak = kCloakedByApp | kCloakedByShell;
    desktop.window(appOnOther).desktop = DesktopPlace::Other;
    list.refreshList();
    ASSERT_EQ(list.count(), 2);
    EXPECT_GT(positionOf(plain), 0);
    EXPECT_GT(positionOf(elsewhere), 0);

    // A tracked window its program cloaks goes like a hidden one, documents of a frame too,
    // and comes back uncloaked.
    auto mdi = mdiFrame("Microsoft Word - report.doc");
    const auto doc = child(mdi.client, "report.doc");
    list.refreshList();
    ASSERT_GT(positionOf(doc), 0);
    desktop.window(plain).cloak = kCloakedByApp;
    desktop.window(mdi.frame).cloak = kCloakedByApp;
    list.refreshList();
    EXPECT_EQ(positionOf(plain) + positionOf(doc), 0);
    desktop.window(plain).cloak = 0;
    list.refreshList();
    EXPECT_GT(positionOf(plain), 0);
}

TEST_F(Discovery, WindowsOwnedByAToolWindowAreTracked) {
    const auto tool = topLevel("Hidden owner");
    desktop.window(tool).exStyle = 0x80;
    const auto owned = topLevel("Main program window");
    desktop.window(owned).owner = tool;
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.hWnd(1), owned);
}

TEST_F(Discovery, AWindowShownAgainIsJudgedAfreshAndItsStateReadEachPass) {
    const auto owner = topLevel("Main program");
    const auto panel = topLevel("Panel");
    list.refreshList();
    ASSERT_EQ(list.count(), 2);
    // Hidden for one walk and shown again as an owned window: no longer tracked.
    desktop.window(panel).visible = false;
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    desktop.window(panel).visible = true;
    desktop.window(panel).owner = owner;
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.hWnd(1), owner);
    // Maximised while tracked, then minimised: the zoom state follows, and stays while minimised.
    desktop.window(owner).zoomed = true;
    list.refreshList();
    EXPECT_TRUE(list.isZoomed(1));
    EXPECT_TRUE(list.parentZoomed(1));
    desktop.window(owner).minimized = true;
    desktop.window(owner).zoomed = false;
    list.refreshList();
    EXPECT_TRUE(list.isZoomed(1));
    desktop.window(owner).minimized = false;
    list.refreshList();
    EXPECT_FALSE(list.isZoomed(1));
}

TEST_F(Discovery, ClassNamesAreReadThroughATwentyCharacterBuffer) {
    const auto late = topLevel("Late marker");
    desktop.window(late).className = "ABCDEFGHIJKLMNOPQRSMS-SDI";  // "MS-SDI" past 19 characters
    list.refreshList();
    EXPECT_EQ(list.count(), 1);
}

TEST_F(Discovery, EudoraIsTrackedWholeWithItsFixedName) {
    auto mdi = mdiFrame("Eudora - [In]", 4, "C:\\Eudora\\Eudora.exe");
    child(mdi.client, "In mailbox");
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.hWnd(1), mdi.frame);
    EXPECT_EQ(list.inTab(1), kOthersTab);
    EXPECT_EQ(list.CaptionString(1), "Eudora");
    EXPECT_EQ(list.filePath(1), "C:\\EUDORA\\EUDORA.EXE");
    EXPECT_TRUE(list.searchDone(1));
}

TEST_F(Discovery, BrowsersLandOnWebBrowsersOnlyInTheirFirstPass) {
    const auto ie = topLevel("Example - Microsoft Internet Explorer", 5,
                             "C:\\Program Files\\Internet Explorer\\iexplore.exe");
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.inTab(1), kWebBrowsersTab);
    EXPECT_EQ(list.originalTab(1), kWebBrowsersTab);
    list.setInTab(1, kOthersTab);
    desktop.window(ie).text = "Other page - Microsoft Internet Explorer";
    list.refreshList();
    EXPECT_EQ(list.inTab(1), kOthersTab);
    EXPECT_EQ(list.originalTab(1), kWebBrowsersTab);
}

TEST_F(Discovery, TodaysBrowsersLandOnWebBrowsersNamedByTheirPage) {
    setRecentFolder("C:\\Users\\me\\Recent\\");
    machine.files.addFile("C:\\Users\\me\\Recent\\report.docx.lnk");
    const auto chrome = topLevel("Node.js docs - Google Chrome", 8,
                                 "C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe");
    const auto edge = topLevel("A - B - Personal - Microsoft\u200B Edge", 9,
                               "C:\\Program Files\\Microsoft\\Edge\\Application\\msedge.exe");
    const auto word = topLevel("report - Word", 10, "C:\\Office16\\WINWORD.EXE");
    list.refreshList();
    ASSERT_EQ(list.count(), 3);
    const long c = positionOf(chrome);
    EXPECT_EQ(list.inTab(c), kWebBrowsersTab);
    EXPECT_EQ(list.originalTab(c), kWebBrowsersTab);
    EXPECT_EQ(list.CaptionString(c), "Node.js docs");
    EXPECT_EQ(list.inTab(positionOf(edge)), kWebBrowsersTab);
    EXPECT_EQ(list.CaptionString(positionOf(edge)), "A - B");
    EXPECT_EQ(list.inTab(positionOf(word)), kOthersTab);
    EXPECT_EQ(list.CaptionString(positionOf(word)), "report.docx");
    // Moved to Others by the user, then another page comes to the front: it stays there.
    list.setInTab(c, kOthersTab);
    desktop.window(chrome).text = "Other page - Google Chrome";
    list.refreshList();
    ASSERT_EQ(positionOf(chrome), c);
    EXPECT_EQ(list.inTab(c), kOthersTab);
    EXPECT_EQ(list.originalTab(c), kWebBrowsersTab);
    EXPECT_EQ(list.CaptionString(c), "Other page");
    EXPECT_EQ(list.filePath(c), "notfound");
}

TEST_F(Discovery, ExecutablePathsAreLongAndUpperCased) {
    // The process reports short names (and a NUL with junk after it).
    machine.files.addFile("C:\\Program Files\\Big Editor\\Editor.exe");
    machine.files.addShortName("C:\\Program Files", "PROGRA~1");
    machine.files.addShortName("C:\\Program Files\\Big Editor", "BIGEDI~1");
    topLevel("notes.txt - Editor", 6, "");
    desktop.setProcessPath(6, std::string("C:\\PROGRA~1\\BIGEDI~1\\EDITOR.EXE\0junk", 36));
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.EXEPath(1), "C:\\PROGRAM FILES\\BIG EDITOR\\EDITOR.EXE");
}

TEST_F(Discovery, ProcessesThatCannotBeOpenedAreAskedAgainNextPass) {
    topLevel("secret.txt - Vault", 7, "C:\\Vault\\vault.exe");
    desktop.denyProcess(7);
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.EXEPath(1), "");
    EXPECT_EQ(list.inTab(1), kOthersTab);
    EXPECT_EQ(list.CaptionString(1), "secret.txt");
    desktop.allowProcess(7);
    list.refreshList();
    EXPECT_EQ(list.EXEPath(1), "C:\\VAULT\\VAULT.EXE");
}

TEST_F(Discovery, TheToolHelpPathFindsTheSameExecutables) {
    desktop.setWindowsNT(false);
    topLevel("Inbox - Microsoft Outlook", 8, "C:\\Office\\Outlook.exe");
    topLevel("readme.txt - Notepad", 9, "C:\\Windows\\notepad.exe");
    list.refreshList();
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.EXEPath(1), "C:\\OFFICE\\OUTLOOK.EXE");
    EXPECT_EQ(list.CaptionString(1), "Microsoft Outlook");
    EXPECT_EQ(list.EXEPath(2), "C:\\WINDOWS\\NOTEPAD.EXE");
    EXPECT_EQ(list.CaptionString(2), "readme.txt");
}

TEST_F(Discovery, MoreThanTwoHundredRecordsAllGetTheirExecutable) {
    for (int k = 1; k <= 250; ++k) {
        topLevel("file" + std::to_string(k) + ".txt - Notepad", static_cast<std::uint32_t>(100 + k),
                 "C:\\Windows\\notepad" + std::to_string(k) + ".exe");
    }
    list.refreshList();
    ASSERT_EQ(list.count(), 250);
    for (long i = 1; i <= 250; ++i) {
        EXPECT_EQ(list.EXEPath(i), "C:\\WINDOWS\\NOTEPAD" + std::to_string(i) + ".EXE");
    }
}

TEST_F(Discovery, NamesAreKeptUntilTheTextChangesAndAChangeRestartsTheSearch) {
    const auto w = topLevel("draft.txt - Notepad", 10, "C:\\Windows\\notepad.exe");
    list.refreshList();
    list.setFilePath(1, "C:\\docs\\draft.txt");
    list.setSearchDone(1, true);
    list.setUpdateCount(1, 3);
    list.setCaptionString(1, "my own name");
    list.refreshList();  // same text: the name stays
    EXPECT_EQ(list.CaptionString(1), "my own name");
    EXPECT_EQ(list.filePath(1), "C:\\docs\\draft.txt");
    desktop.window(w).text = "final.txt - Notepad";  // "Save As"
    list.refreshList();
    EXPECT_EQ(list.CaptionString(1), "final.txt");
    EXPECT_EQ(list.filePath(1), "notfound");
    EXPECT_FALSE(list.searchDone(1));
    EXPECT_EQ(list.updateCount(1), 0);
}

TEST_F(Discovery, WinampNameChangesKeepTheLocation) {
    const auto w = topLevel("1. A - B - Winamp", 11, "C:\\Winamp\\winamp.exe");
    list.refreshList();
    list.setFilePath(1, "C:\\music\\list.m3u");
    desktop.window(w).text = "2. C - D - Winamp";
    list.refreshList();
    EXPECT_EQ(list.CaptionString(1), "2. C - D ");
    EXPECT_EQ(list.filePath(1), "C:\\music\\list.m3u");
}

TEST_F(Discovery, NetscapeNamesAreAlwaysRecomputed) {
    topLevel("Netscape", 12, "C:\\Netscape\\netscape.exe");
    list.refreshList();
    list.setCaptionString(1, "netscape");
    list.refreshList();
    EXPECT_EQ(list.CaptionString(1), "Netscape");
}

TEST_F(Discovery, RecentFolderGivesHiddenExtensions) {
    setRecentFolder("C:\\Users\\me\\Recent\\");
    machine.files.addFile("C:\\Users\\me\\Recent\\Untitled .txt.lnk");
    topLevel("Untitled - Notepad", 13, "C:\\Windows\\notepad.exe");
    list.refreshList();
    EXPECT_EQ(list.CaptionString(1), "Untitled .txt");
}

TEST_F(Discovery, PlainFolderWindowsAreDroppedWhenFoldersAreNotShown) {
    const auto plain = topLevel("My Documents", 14, "C:\\Windows\\explorer.exe");
    const auto tree = topLevel("Exploring - C:\\", 14, "C:\\Windows\\explorer.exe");
    list.refreshList();
    EXPECT_EQ(list.count(), 2);
    list.setDisplayFolders(false);
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.hWnd(1), tree);
    EXPECT_EQ(positionOf(plain), 0);
}

TEST_F(Discovery, WindowsVanishingDuringThePassLoseNoOtherRecord) {
    const auto a = topLevel("a.txt - Notepad", 15, "C:\\Windows\\notepad.exe");
    const auto b = topLevel("b.txt - Notepad", 15, "C:\\Windows\\notepad.exe");
    const auto c = topLevel("c.txt - Notepad", 15, "C:\\Windows\\notepad.exe");
    list.refreshList();
    bool done = false;
    desktop.onQuery([&](WindowHandle h) {
        if (h == c && !done) {
            done = true;
            desktop.destroyWindow(b);
        }
    });
    list.refreshList();
    desktop.onQuery(nullptr);
    EXPECT_EQ(positionOf(a), 1);
    EXPECT_EQ(positionOf(b), 0);
    EXPECT_EQ(positionOf(c), 2);
    EXPECT_TRUE(machine.ui.messages.empty());
}

TEST_F(Discovery, HungWindowsSpreadTheirTimeOutOverRefreshesAndShowNoMessage) {
    auto mdi = mdiFrame("Frozen frame", 16, "C:\\Apps\\frozen.exe");
    const auto doc = child(mdi.client, "doc.txt");
    desktop.window(doc).hung = true;
    desktop.window(mdi.frame).hung = true;
    // One refresh waits a short turn for each; ten of them add up to the time-out of each.
    list.refreshList();
    EXPECT_EQ(desktop.hungWaitMs(), 100u);
    ASSERT_EQ(list.count(), 1);  // the frame, since its document did not answer
    EXPECT_EQ(list.hWnd(1), mdi.frame);
    EXPECT_EQ(list.hIcon(1), 32512u);
    for (int i = 2; i <= 10; ++i) {
        list.refreshList();
    }
    EXPECT_EQ(desktop.hungWaitMs(), 1000u);
    EXPECT_EQ(list.count(), 1);
    // Awake again, the document answers at the next turn: it is tracked, not its frame.
    desktop.window(doc).hung = false;
    desktop.window(mdi.frame).hung = false;
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.hWnd(1), doc);
    EXPECT_TRUE(machine.ui.messages.empty());
}

TEST_F(Discovery, VeryLongTitlesAreKeptWhole) {
    const std::string title(5000, 'w');
    topLevel(title);
    list.refreshList();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.WindowText(1), title);
    EXPECT_EQ(list.CaptionString(1), title);
}

}  // namespace
}  // namespace snapdesk::testing
