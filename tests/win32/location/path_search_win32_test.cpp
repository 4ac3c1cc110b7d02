// Finding where Project documents live, over the real machine: windows of other processes on
// the Project tab, shortcuts of the real Recent folder made by the shell's own link objects,
// zim001.dll, the registry and the files of the Wine prefix. Everything the tests write lies
// on drive T:, a small drive of the test prefix, so that the folder list stays short.
// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/text.h"
#include "location/path_search.h"
#include "platform/win32/link_path_binder.h"
#include "platform/win32/win32_automation.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "standin_servers.h"
#include "support/history_files.h"
#include "support/project_fakes.h"
#include "test_apps.h"
#include "tracking/recent_folder.h"

namespace snapdesk {
namespace {

using testing_fakes::DirectSplash;
using testing_fakes::NoStoreHost;

using testing::Program;
using win32::toUtf8;
using win32::toWide;

const std::string kRoot = "T:\\PathSearch";
const std::string kProgram = kRoot + "\\Snapdesk";

struct Host : PathSearchHost {
    bool timer = true;
    int ie = 6;
    bool timer1Enabled() override { return timer; }
    void setTimer1(bool enabled) override { timer = enabled; }
    WindowHandle mainWindowHandle() override { return 0; }
    int ieVersion() override { return ie; }
};

void writeBytes(const std::string& path, const std::string& bytes) {
    const std::wstring wide = toWide(path);
    SHCreateDirectoryExW(nullptr, wide.substr(0, wide.rfind(L'\\')).c_str(), nullptr);
    std::ofstream out(wide.c_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
}

void removeTree(const std::string& folder) {
    std::wstring from = toWide(folder);
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

class PathSearchWin32 : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        removeTree(kRoot);
        writeBytes(kProgram + "\\datafiles\\keep.txt", "");
    }
    void TearDown() override {
        for (Program& p : programs) {
            p.close();
        }
        for (const std::string& shortcut : shortcuts) {
            DeleteFileW(toWide(shortcut).c_str());
        }
        search.reset();
        setRecentFolder(kRecentFolderUnknown);
        removeTree(kRoot);
        CoUninitialize();
    }

    // The store and the folder list as start-up makes them, after the test laid out its
    // files; then the window list sees the desktop.
    void start() {
        store = std::make_unique<ProjectStore>(platform.files, shell, platform.ui, list, storeHost,
                                               kProgram);
        store->loadProjectStore();
        tree = std::make_unique<DirectoryTree>(platform.files, shell, platform.ui,
                                               kProgram + "\\datafiles", "1.0.0");
        tree->buildDirTree(splash);
        search = std::make_unique<PathSearch>(
            list, platform, shell, PathSources{automation, links, history, *store, *tree}, host);
    }

    // Starts a program and waits for its window to carry `caption`.
    HWND startWindow(const std::wstring& commandLine, const std::wstring& caption) {
        programs.emplace_back(commandLine);
        return programs.back().waitForWindow(
            [&](HWND w) { return IsWindowVisible(w) && testing::windowTextOf(w) == caption; });
    }

    // The window's record, moved to the Project tab; 0 when the list does not track it.
    long projectMember(HWND window) {
        for (long i = 1; i <= list.count(); ++i) {
            if (list.hWnd(i) == win32::toHandle(window)) {
                list.setInTab(i, kProjectTab);
                return i;
            }
        }
        return 0;
    }

    std::string recent() const { return recentFolder(); }

    Win32Platform system;
    Platform& platform = system.platform();
    Win32Shell shell;
    Win32LinkPathBinder links;
    Win32Automation automation{platform.ui};
    BrowserHistory history{platform.files, shell};
    CoffeeShopList list{platform};
    Host host;
    NoStoreHost storeHost;
    DirectSplash splash;
    std::unique_ptr<ProjectStore> store;
    std::unique_ptr<DirectoryTree> tree;
    std::unique_ptr<PathSearch> search;
    std::vector<Program> programs;
    std::vector<std::string> shortcuts;
};

TEST_F(PathSearchWin32, NotepadDocumentsAreFoundByShortcutStoredPathAndFolderSearch) {
    // letter.txt has a shortcut in Recent, notes.txt a stored path, hidden.txt neither: it
    // lies deep in a tree of folders that the search takes several passes to cover.
    writeBytes(kRoot + "\\Work\\letter.txt", "a letter");
    writeBytes(kRoot + "\\Old\\notes.txt", "some notes");
    for (int k = 1; k <= 30; ++k) {
        writeBytes(kRoot + "\\Tree\\F" + std::to_string(k) + "\\keep.txt", "");
    }
    writeBytes(kRoot + "\\Tree\\F2\\hidden.txt", "hidden");
    writeBytes(
        kProgram + "\\datafiles\\oldpaths.txt",
        "[oldFileName]\r\n1=notes.txt\r\n[oldFilePath]\r\n1=" + kRoot + "\\Old\\notes.txt\r\n");
    start();
    ASSERT_NE(recent(), kRecentFolderUnknown);
    // Only the shortcut the test makes may speak for these names.
    for (const char* name : {"letter.txt", "notes.txt", "hidden.txt"}) {
        shortcuts.push_back(recent() + name + ".lnk");
        DeleteFileW(toWide(shortcuts.back()).c_str());
    }
    ASSERT_TRUE(testing::writeShortcut(toWide(recent() + "letter.txt.lnk"),
                                       toWide(kRoot + "\\Work\\letter.txt")));

    const HWND letter = startWindow(L"notepad.exe " + toWide(kRoot + "\\Work\\letter.txt"),
                                    L"letter.txt - Notepad");
    const HWND notes =
        startWindow(L"notepad.exe " + toWide(kRoot + "\\Old\\notes.txt"), L"notes.txt - Notepad");
    const HWND hidden = startWindow(L"notepad.exe " + toWide(kRoot + "\\Tree\\F2\\hidden.txt"),
                                    L"hidden.txt - Notepad");
    ASSERT_TRUE(letter && notes && hidden);
    list.refreshList();
    const long a = projectMember(letter), b = projectMember(notes), c = projectMember(hidden);
    ASSERT_TRUE(a && b && c);
    ASSERT_EQ(list.CaptionString(c), "hidden.txt");

    search->updatePaths(true);
    EXPECT_EQ(list.filePath(a), kRoot + "\\Work\\letter.txt");
    EXPECT_EQ(list.filePath(b), kRoot + "\\Old\\notes.txt");
    EXPECT_EQ(list.filePath(c), kNotFound) << "one step cannot reach it";
    EXPECT_FALSE(host.timer == false) << "the timer came back";

    int passes = 1;
    while (list.filePath(c) == kNotFound && !list.searchDone(c) && passes < 50) {
        search->updatePaths(true);
        ++passes;
    }
    EXPECT_EQ(text::upperCase(list.filePath(c)), text::upperCase(kRoot + "\\Tree\\F2\\hidden.txt"));
    EXPECT_GT(passes, 2);
    search->updatePaths(true);
    EXPECT_EQ(text::upperCase(list.filePath(c)), text::upperCase(kRoot + "\\Tree\\F2\\hidden.txt"));
}

TEST_F(PathSearchWin32, ExplorerFoldersComeFromTheShellWindowsOrTheFolderList) {
    writeBytes(kRoot + "\\Work\\Letters\\keep.txt", "");
    start();
    const HWND explorer =
        startWindow(L"explorer.exe " + toWide(kRoot + "\\Work\\Letters"), L"Letters");
    ASSERT_NE(explorer, nullptr);
    struct Closer {
        HWND window;
        ~Closer() { PostMessageW(window, WM_CLOSE, 0, 0); }
    } closer{explorer};
    list.refreshList();
    const long i = projectMember(explorer);
    ASSERT_NE(i, 0);
    ASSERT_TRUE(text::contains(list.EXEPath(i), "\\EXPLORER.EXE")) << list.EXEPath(i);

    // Wine's shell windows can be created but not listed: the folder list answers.
    search->findExplorerPaths();
    EXPECT_EQ(list.filePath(i), kRoot + "\\Work\\Letters");
    EXPECT_TRUE(list.searchDone(i));

    // A shell that lists its windows, in a process of its own, is believed first.
    testing::StandInShellWindows shellWindows;
    ASSERT_TRUE(shellWindows.registered());
    shellWindows.serve({{{"Other", "file:///T:/Other"},
                         {"Letters", "file:///T:/PathSearch/My%20Letters/Letters"}}});
    Win32Automation standIn(platform.ui, Win32Automation::kDefaultTimeoutMs,
                            shellWindows.classId());
    PathSearch standInSearch(list, platform, shell,
                             PathSources{standIn, links, history, *store, *tree}, host);
    standInSearch.findExplorerPaths();
    EXPECT_EQ(list.filePath(i), kRoot + "\\My Letters\\Letters");
}

TEST_F(PathSearchWin32, WordDocumentsAreAskedOfTheRunningWordProcessor) {
    testing::StandInWord word;
    ASSERT_TRUE(word.registered());
    writeBytes(kRoot + "\\Docs\\Report.doc", "report");
    start();
    const auto started = word.start({toWide(kRoot + "\\Docs\\Report.doc"), L"--new"});
    ASSERT_NE(started.frame, nullptr);
    list.refreshList();
    long report = 0, unsaved = 0;
    for (long i = 1; i <= list.count(); ++i) {
        if (list.hTopWnd(i) != win32::toHandle(started.frame)) {
            continue;
        }
        list.setInTab(i, kProjectTab);
        (list.CaptionString(i) == "Report.doc" ? report : unsaved) = i;
    }
    ASSERT_TRUE(report && unsaved);
    ASSERT_TRUE(text::contains(list.EXEPath(report), "\\WINWORD.EXE"));

    search->findWordPath();
    EXPECT_EQ(list.filePath(report), kRoot + "\\Docs\\Report.doc");
    EXPECT_TRUE(list.searchDone(report));
    EXPECT_EQ(list.filePath(unsaved), kNotFound) << list.CaptionString(unsaved);
}

TEST_F(PathSearchWin32, OfficeWindowsAreNamedByTheirOwnDocumentsAndCloudFilesBySyncedCopies) {
    // The sync client's registration of a OneDrive folder, as it writes it for the user.
    const std::wstring provider = L"Software\\SyncEngines\\Providers\\OneDrive\\SnapdeskTest";
    struct ProviderKey {
        std::wstring path;
        ~ProviderKey() { RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str()); }
    } providerKey{provider};
    Win32Registry registry;
    ASSERT_TRUE(registry.writeUserString(toUtf8(provider), "UrlNamespace",
                                         "https://d.docs.live.net/5e6f/"));
    ASSERT_TRUE(registry.writeUserString(toUtf8(provider), "MountPoint", kRoot + "\\OneDrive"));
    writeBytes(kRoot + "\\OneDrive\\Team Plan.xlsx", "synced");
    writeBytes(kRoot + "\\Docs\\Budget.xlsx", "budget");
    writeBytes(kRoot + "\\Docs\\report.docx", "report");
    start();

    testing::StandInOffice excel(L"EXCEL.EXE");
    testing::StandInOffice word(L"WINWORD.EXE");
    testing::StandInOffice powerPoint(L"POWERPNT.EXE");
    const auto first = excel.start(
        {toWide(kRoot + "\\Docs\\Budget.xlsx"), L"https://d.docs.live.net/5e6f/Team%20Plan.xlsx"});
    const auto second = excel.start({L"https://d.docs.live.net/5e6f/Not%20Synced.xlsx", L"Book1"});
    const auto dying = excel.start({toWide(kRoot + "\\Docs\\Lost.xlsx")}, {L"--die-at-call", L"1"});
    const auto report = word.start({toWide(kRoot + "\\Docs\\report.docx")});
    const auto talk = powerPoint.start({toWide(kRoot + "\\Docs\\deck.pptx")});
    ASSERT_EQ(first.frames.size() + second.frames.size() + dying.frames.size(), 5u);
    ASSERT_EQ(report.frames.size() + talk.frames.size(), 2u);
    list.refreshList();
    const auto member = [&](const testing::StandInOffice::Started& started,
                            const wchar_t* caption) {
        const HWND frame = testing::frameCaptioned(started, caption);
        return frame == nullptr ? 0 : projectMember(frame);
    };
    const long budget = member(first, L"Budget.xlsx - Excel");
    const long team = member(first, L"Team Plan.xlsx - Excel");
    const long notSynced = member(second, L"Not Synced.xlsx - Excel");
    const long unsaved = member(second, L"Book1 - Excel");
    const long lost = member(dying, L"Lost.xlsx - Excel");
    // Each frame is one member: its document window has no icon to be tracked by.
    const long docx = member(report, L"report.docx - Word");
    const long deck = member(talk, L"deck.pptx - PowerPoint");
    ASSERT_TRUE(budget && team && notSynced && unsaved && lost && docx && deck);
    ASSERT_TRUE(text::contains(list.EXEPath(budget), "\\EXCEL.EXE")) << list.EXEPath(budget);

    search->findOfficePaths();
    EXPECT_EQ(list.filePath(budget), kRoot + "\\Docs\\Budget.xlsx");
    EXPECT_EQ(list.filePath(team), kRoot + "\\OneDrive\\Team Plan.xlsx");
    EXPECT_EQ(list.filePath(notSynced), "https://d.docs.live.net/5e6f/Not%20Synced.xlsx");
    EXPECT_EQ(list.filePath(docx), kRoot + "\\Docs\\report.docx");
    EXPECT_EQ(list.filePath(deck), kRoot + "\\Docs\\deck.pptx");
    for (const long i : {budget, team, notSynced, docx, deck}) {
        EXPECT_TRUE(list.searchDone(i)) << list.CaptionString(i);
    }
    // Never saved, and a program that died when asked: both as they were.
    EXPECT_EQ(list.filePath(unsaved), kNotFound);
    EXPECT_EQ(list.filePath(lost), kNotFound);
    EXPECT_FALSE(list.searchDone(lost));
}

TEST_F(PathSearchWin32, BrowserPagesAreFoundInEachBrowsersHistoryFile) {
    namespace hf = history_files;
    const std::string apps = kRoot + "\\Apps";
    const std::wstring mdi = testing::testAppPath(L"mditest.exe");
    // Our test program copied under each browser's name, so that the windows carry it.
    for (const char* exe : {"\\NETSCAPE\\NETSCAPE.EXE", "\\NETSCP6.EXE", "\\IEXPLORE.EXE"}) {
        writeBytes(apps + exe, "");
        ASSERT_TRUE(CopyFileW(mdi.c_str(), toWide(apps + exe).c_str(), FALSE));
    }
    writeBytes(apps + "\\NETSCAPE\\USERS\\default\\NETSCAPE.HST",
               hf::netscape4File({{"Other", "http://other.example/"},
                                  {"Alpha Page", "http://alpha.example/a.html"}}));
    const auto appData = shell.specialFolderPath(special_folders::kApplicationData, 0);
    const auto historyFolder = shell.specialFolderPath(special_folders::kHistory, 0);
    ASSERT_TRUE(appData && historyFolder);
    const std::string mozilla = *appData + "\\Mozilla";
    const std::string index = *historyFolder + "\\INDEX.DAT";
    ASSERT_EQ(GetFileAttributesW(toWide(index).c_str()), INVALID_FILE_ATTRIBUTES)
        << "the prefix has a history index of its own";
    writeBytes(mozilla + "\\Profiles\\test\\HISTORY.DAT",
               hf::netscape6File({{"Beta Page", "file:///T|/PathSearch/My%20Docs/beta.htm"},
                                  {"Beta", "http://beta.example/"}}));
    writeBytes(index, hf::ieIndexFile({{"Gamma Page", "http://gamma.example/"}}));
    struct Cleanup {
        std::string mozilla, index;
        ~Cleanup() {
            removeTree(mozilla);
            DeleteFileW(toWide(index).c_str());
        }
    } cleanup{mozilla, index};
    host.ie = 4;
    start();

    const std::pair<const char*, const wchar_t*> browsers[] = {
        {"\\NETSCAPE\\NETSCAPE.EXE", L"Alpha Page - Netscape"},
        {"\\NETSCP6.EXE", L"Beta Page - Netscape 6"},
        {"\\IEXPLORE.EXE", L"Gamma Page - Microsoft Internet Explorer"}};
    std::vector<long> at;
    std::vector<HWND> windows;
    for (const auto& [exe, title] : browsers) {
        windows.push_back(startWindow(testing::quoteArgument(toWide(apps + exe)) + L" --title " +
                                          testing::quoteArgument(title),
                                      title));
        ASSERT_NE(windows.back(), nullptr);
    }
    list.refreshList();
    for (const HWND w : windows) {
        at.push_back(projectMember(w));
        ASSERT_NE(at.back(), 0);
        ASSERT_EQ(list.originalTab(at.back()), kWebBrowsersTab) << list.EXEPath(at.back());
    }
    search->findBrowserPaths();
    EXPECT_EQ(list.filePath(at[0]), "http://alpha.example/a.html");
    EXPECT_EQ(list.filePath(at[1]), "T:\\PathSearch\\My Docs\\beta.htm");
    EXPECT_EQ(list.filePath(at[2]), "http://gamma.example/");
    EXPECT_EQ(history.fileReads(), 3);
    // The background pass reads no history file.
    search->updatePaths(true);
    EXPECT_EQ(history.fileReads(), 3);
}

}  // namespace
}  // namespace snapdesk
