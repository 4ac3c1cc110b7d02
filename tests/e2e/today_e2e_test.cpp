// Today's browsers and Office, end to end: pages in the stand-in Chrome (two pages, one
// profile), Edge (profile "Personal") and Firefox (its row still only in the -wal file), and
// documents of two Office stand-in instances, all moved to the Project tab and saved without a
// question; every program closed, the project opened again: each page and file back in a window
// of its own, on the Project tab with its comment.
// clang-format off
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "mainwindow/menu_ids.h"
#include "platform/win32/win32_convert.h"
#include "projects/win32/open_dialog_ids.h"
#include "projects/win32/save_dialog_ids.h"
#include "snapdesk_app.h"
#include "standin_servers.h"
#include "test_apps.h"

namespace snapdesk::testing {
namespace {

constexpr Milliseconds kTwoTicks{2 * 3000 + 2000};
const std::wstring kProjectFile = L"C:\\Snapdesk\\datafiles\\projects\\Today.txt";
const std::wstring kStoredPaths = L"C:\\Snapdesk\\datafiles\\oldpaths.txt";

std::string utf8(const std::wstring& s) {
    return win32::toUtf8(s);
}

std::wstring knownFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
    return path;
}

bool writeText(const std::wstring& path, const std::string& text) {
    SHCreateDirectoryExW(nullptr, path.substr(0, path.find_last_of(L'\\')).c_str(), nullptr);
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

std::string fileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The folder and everything in it.
void removeTree(const std::wstring& folder) {
    std::wstring from = folder + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

// The sync client's registration of a OneDrive folder for the user, removed again.
struct OneDriveFolder {
    const wchar_t* key = L"Software\\SyncEngines\\Providers\\OneDrive\\SnapdeskE2E";
    OneDriveFolder(const std::wstring& urlNamespace, const std::wstring& mountPoint) {
        set(L"UrlNamespace", urlNamespace);
        set(L"MountPoint", mountPoint);
    }
    ~OneDriveFolder() { RegDeleteTreeW(HKEY_CURRENT_USER, key); }
    void set(const wchar_t* name, const std::wstring& value) const {
        RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
};

// The stand-in browser installed where the real one lives, with what it knows of its pages.
struct InstalledBrowser {
    std::wstring exe;
    InstalledBrowser(const std::wstring& path, const std::string& table) : exe(path) {
        SHCreateDirectoryExW(nullptr, path.substr(0, path.find_last_of(L'\\')).c_str(), nullptr);
        CopyFileW(testAppPath(L"standin_browser.exe").c_str(), path.c_str(), FALSE);
        writeText(path.substr(0, path.find_last_of(L'\\') + 1) + L"standin_browser.txt", table);
    }
    std::wstring command(const std::wstring& arguments) const {
        return quoteArgument(exe) + L" " + arguments;
    }
};

class TodayE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        clearSnapdeskSettings();
        for (const std::wstring& f : {kProjectFile, kStoredPaths}) {
            DeleteFileW(f.c_str());
        }
        local = knownFolder(CSIDL_LOCAL_APPDATA);
        roaming = knownFolder(CSIDL_APPDATA);
        chromeData = local + L"\\Google\\Chrome\\User Data";
        edgeData = local + L"\\Microsoft\\Edge\\User Data";
        firefoxData = roaming + L"\\Mozilla\\Firefox";
        for (const std::wstring& folder : {chromeData, edgeData, firefoxData}) {
            removeTree(folder);
        }
        ASSERT_TRUE(writeText(chromeData + L"\\Local State",
                              R"({"profile":{"info_cache":{"Default":{"name":"Person 1"}},)"
                              R"("last_used":"Default"}})"));
        ASSERT_TRUE(writeText(edgeData + L"\\Local State",
                              R"({"profile":{"info_cache":{"Default":{"name":"Work"},)"
                              R"("Profile 1":{"name":"Personal"}},"last_used":"Default"}})"));
        ASSERT_TRUE(writeText(firefoxData + L"\\profiles.ini",
                              "[Install308046B0AF4A39CB]\r\nDefault=Profiles/k3x.default-release"
                              "\r\nLocked=1\r\n\r\n[Profile0]\r\nName=default-release\r\n"
                              "IsRelative=1\r\nPath=Profiles/k3x.default-release\r\n\r\n"
                              "[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n"));
        SHCreateDirectoryExW(nullptr, (firefoxData + L"\\Profiles\\k3x.default-release").c_str(),
                             nullptr);
        SHCreateDirectoryExW(nullptr, (chromeData + L"\\Default").c_str(), nullptr);
        SHCreateDirectoryExW(nullptr, (edgeData + L"\\Profile 1").c_str(), nullptr);

        chrome = std::make_unique<InstalledBrowser>(
            L"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe",
            "title\t" + kChromeOne +
                "\tNode.js docs - Guides\n"  // a title holding " - "
                "title\t" +
                kChromeTwo +
                "\tRelease notes\n"
                "history\tDefault\t" +
                utf8(chromeData) + "\\Default\\History\n");
        edge = std::make_unique<InstalledBrowser>(
            L"C:\\Program Files (x86)\\Microsoft\\Edge\\Application\\msedge.exe",
            "title\t" + kEdgePage +
                "\tQuarterly plan\n"
                "profile\tProfile 1\tPersonal\nprofile\tDefault\tWork\n"
                "history\tProfile 1\t" +
                utf8(edgeData) + "\\Profile 1\\History\n");
        firefox = std::make_unique<InstalledBrowser>(
            L"C:\\Program Files\\Mozilla Firefox\\firefox.exe",
            "title\t" + kFirefoxPage +
                "\tMDN Web Docs\n"
                "history\t*\t" +
                utf8(firefoxData) + "\\Profiles\\k3x.default-release\\places.sqlite\n");
    }
    void TearDown() override {
        if (app) {
            app->program().close();
        }
        closeBrowsers();
        for (const std::wstring& f : {kProjectFile, kStoredPaths}) {
            DeleteFileW(f.c_str());
        }
        CoUninitialize();
    }
    static void closeBrowsers() {
        for (const wchar_t* suffix :
             {L" - Google Chrome", L" - Microsoft\u200B Edge", L" \u2014 Mozilla Firefox"}) {
            closeWindowsWith(suffix);
        }
    }
    // A browser started as the user starts it; a second start hands its page to the first.
    void startBrowser(const InstalledBrowser& browser, const std::wstring& arguments,
                      const std::wstring& caption) {
        programs.push_back(std::make_unique<Program>(browser.command(arguments)));
        ASSERT_TRUE(waitUntil([&] { return !windowsWith(caption).empty(); }, kTwoTicks))
            << utf8(caption);
    }

    const std::string kChromeOne = "https://nodejs.test/docs/guides";
    const std::string kChromeTwo = "https://nodejs.test/en/blog/release";
    const std::string kEdgePage = "https://plans.test/q3?view=all&x=1";
    const std::string kFirefoxPage = "https://developer.test/en-US/docs/Web";

    std::wstring local, roaming, chromeData, edgeData, firefoxData;
    std::unique_ptr<InstalledBrowser> chrome, edge, firefox;
    std::vector<std::unique_ptr<Program>> programs;
    std::unique_ptr<SnapdeskApp> app;
    StandInOffice excel{L"EXCEL.EXE"};
};

TEST_F(TodayE2E, PagesAndOfficeFilesAreSavedWithoutAQuestionAndComeBackEachInItsWindow) {
    startBrowser(*chrome, L"--new-window " + win32::toWide(kChromeOne),
                 L"Node.js docs - Guides - Google Chrome");
    startBrowser(*chrome, L"--new-window " + win32::toWide(kChromeTwo),
                 L"Release notes - Google Chrome");
    startBrowser(*edge,
                 L"--profile-directory=\"Profile 1\" --new-window " +
                     quoteArgument(win32::toWide(kEdgePage)),
                 L"Quarterly plan - Personal - Microsoft\u200B Edge");
    startBrowser(*firefox, L"-new-window " + win32::toWide(kFirefoxPage),
                 L"MDN Web Docs \u2014 Mozilla Firefox");
    // The handed-over page is the running Chrome's: the second process has ended.
    EXPECT_TRUE(waitUntil([&] { return programs[1]->hasExited(); }));
    // Firefox keeps the visit only in its write-ahead log while it runs.
    const std::wstring places = firefoxData + L"\\Profiles\\k3x.default-release\\places.sqlite";
    EXPECT_GT(fileBytes(places + L"-wal").size(), 0u);

    // Two Excel instances with two workbooks each: one saved in the synced OneDrive folder and
    // shown by its web address, one only on the web.
    const std::wstring synced = excel.folder().path() + L"\\OneDrive";
    CreateDirectoryW(synced.c_str(), nullptr);
    const OneDriveFolder oneDrive(L"https://d.docs.live.net/5e6f/", synced);
    const std::wstring budget = excel.folder().writeFile(L"Budget.xlsx", "budget");
    const std::wstring forecast = excel.folder().writeFile(L"Forecast.xlsx", "forecast");
    const std::wstring teamPlan = synced + L"\\Team Plan.xlsx";
    ASSERT_TRUE(writeText(teamPlan, "team"));
    const std::wstring webOnly = L"https://d.docs.live.net/5e6f/Not%20Synced.xlsx";
    ASSERT_EQ(excel.start({budget, L"https://d.docs.live.net/5e6f/Team%20Plan.xlsx"}).frames.size(),
              2u);
    ASSERT_EQ(excel.start({forecast, webOnly}).frames.size(), 2u);

    app = std::make_unique<SnapdeskApp>();
    ASSERT_TRUE(app->started());
    const std::vector<std::wstring> members{
        L"Node.js docs - Guides", L"Release notes",  L"Quarterly plan", L"MDN Web Docs",
        L"Budget.xlsx",           L"Team Plan.xlsx", L"Forecast.xlsx",  L"Not Synced.xlsx"};
    ASSERT_TRUE(app->waitForTiles(members, kTwoTicks)) << "each page is named by its title";
    const auto comment = [&](const wchar_t* name, const wchar_t* text) {
        const auto tile = app->tileNamed(name);
        ASSERT_TRUE(tile.has_value()) << utf8(name);
        SnapdeskApp::typeComment(*tile, text);
        ASSERT_TRUE(waitUntil([&] {
            const auto now = app->tileNamed(name);
            return now && now->comment == text;
        }));
    };
    comment(L"Quarterly plan", L"for Monday");
    comment(L"Team Plan.xlsx", L"shared numbers");
    for (const std::wstring& m : members) {
        ASSERT_TRUE(app->moveToProject(m, kTwoTicks)) << utf8(m);
    }
    ASSERT_TRUE(app->saveProjectAsWithoutQuestions(L"Today"))
        << "every page was found in its history: no other dialog asks";
    const std::string project = fileBytes(kProjectFile);
    for (const std::string& address : {kChromeOne, kChromeTwo, kEdgePage, kFirefoxPage}) {
        EXPECT_NE(project.find("=" + address + "\r\n"), std::string::npos) << project;
    }
    for (const std::wstring& file : {budget, teamPlan, forecast, webOnly}) {
        EXPECT_NE(project.find("=" + utf8(file) + "\r\n"), std::string::npos) << project;
    }
    EXPECT_NE(project.find("[FileProfile]"), std::string::npos) << project;
    EXPECT_NE(project.find("=Profile 1\r\n"), std::string::npos) << "Edge's page in its profile";

    // Every program closed, Snapdesk too; started again and the project opened.
    closeBrowsers();
    closeWindowsWith(L" - Excel");
    ASSERT_TRUE(waitUntil([] {
        return windowsWith(L" - Google Chrome").empty() && windowsWith(L" - Excel").empty();
    }));
    ASSERT_TRUE(app->closeWithoutSaving()) << "the project lost its members: it asks first";
    app = std::make_unique<SnapdeskApp>();
    ASSERT_TRUE(app->started());
    app->startOpen();
    const HWND dialog = waitForWindowTitled(app->program(), L"Open Project");
    ASSERT_NE(dialog, nullptr);
    selectProject(dialog, L"Today");
    click(dialog, IDC_cmdOpen);
    EXPECT_TRUE(app->waitForTiles(members, Milliseconds{40000}));
    screenshot("today-reopened");
    EXPECT_EQ(windowsWith(L"Node.js docs - Guides - Google Chrome").size(), 1u);
    EXPECT_EQ(windowsWith(L"Release notes - Google Chrome").size(), 1u);
    EXPECT_EQ(windowsWith(L"Quarterly plan - Personal - Microsoft\u200B Edge").size(), 1u)
        << "Edge's page is back in the profile it was saved from";
    EXPECT_EQ(windowsWith(L"MDN Web Docs \u2014 Mozilla Firefox").size(), 1u);
    for (const wchar_t* workbook : {L"Budget.xlsx - Excel", L"Team Plan.xlsx - Excel",
                                    L"Forecast.xlsx - Excel", L"Not Synced.xlsx - Excel"}) {
        EXPECT_EQ(windowsWith(workbook).size(), 1u) << utf8(workbook);
    }
    const auto back = app->tileNamed(L"Quarterly plan");
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->comment, L"for Monday");
    const auto workbook = app->tileNamed(L"Team Plan.xlsx");
    ASSERT_TRUE(workbook.has_value());
    EXPECT_EQ(workbook->comment, L"shared numbers");
    EXPECT_EQ(answerMessage(app->program()), L"<no message>");
}

}  // namespace
}  // namespace snapdesk::testing
