// The round trip a user makes: documents of notepad and of the stand-in word processor and a
// folder in Explorer saved as a project, every program and Snapdesk closed, Snapdesk started
// again and the project opened from its dialog; opened again, opened with a document gone, and
// a project deleted from the dialog.
// clang-format off
#include <windows.h>
#include <objbase.h>
// clang-format on

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
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
const std::wstring kData = L"C:\\Snapdesk\\datafiles\\";
const std::wstring kProjectFile = kData + L"projects\\Round trip.txt";
const std::wstring kSpareFile = kData + L"projects\\Spare.txt";
const std::wstring kWebFile = kData + L"projects\\Web.txt";
const std::wstring kFolder = L"C:\\RoundTrip Folder";

std::string utf8(const std::wstring& s) {
    return win32::toUtf8(s);
}

std::vector<std::string> listLines(HWND list) {
    std::vector<std::string> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring line(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
        lines.push_back(utf8(line));
    }
    return lines;
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class OpenE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        clearSnapdeskSettings();
        for (const std::wstring& f :
             {kProjectFile, kSpareFile, kData + L"oldpaths.txt", kData + L"dirTree0.txt"}) {
            DeleteFileW(f.c_str());
        }
        // The folder list is walked anew at start-up, so it knows the new folder.
        CreateDirectoryW(kFolder.c_str(), nullptr);
        documents = std::make_unique<OpenTextDocuments>(
            std::initializer_list<const wchar_t*>{L"rt one.txt", L"rt two.txt"});
        ASSERT_TRUE(documents->allOpen());
        ASSERT_TRUE(word.registered());
        plan = word.folder().writeFile(L"Plan.doc", "plan");
        memo = word.folder().writeFile(L"Memo.doc", "memo");
        wordProgram = &word.start({plan, memo}).program;
        explorer = std::make_unique<Program>(L"explorer.exe " + quoteArgument(kFolder));
        ASSERT_NE(explorer->waitForWindow([](HWND w) {
            return IsWindowVisible(w) && classNameOf(w) == L"ExplorerWClass";
        }),
                  nullptr);
        app = std::make_unique<SnapdeskApp>();
        ASSERT_TRUE(app->started());
    }
    void TearDown() override {
        if (app) {
            app->program().close();
        }
        closeWindowsWith(L"rt one.txt");
        closeWindowsWith(L"rt two.txt");
        closeWindowsWith(L"RoundTrip Folder");
        documents.reset();
        closeWindowsWith(L"Wine Internet Explorer");
        for (const std::wstring& f : {kProjectFile, kSpareFile, kWebFile}) {
            DeleteFileW(f.c_str());
        }
        RemoveDirectoryW(kFolder.c_str());
        CoUninitialize();
    }

    // The tile whose name holds `part`; empty when none shows in time.
    std::wstring tileWith(const std::wstring& part) {
        std::wstring name;
        waitUntil(
            [&] {
                for (const Tile& t : app->tiles()) {
                    if (t.fileName.find(part) != std::wstring::npos) {
                        name = t.fileName;
                        return true;
                    }
                }
                return false;
            },
            kTwoTicks);
        return name;
    }
    HWND openDialog() {
        app->startOpen();
        return waitForWindowTitled(app->program(), L"Open Project");
    }
    // Open Project, "Round trip" chosen and opened; the time until its members are all on
    // the Project tab, or nothing when they did not come.
    std::optional<Milliseconds> openRoundTrip(const std::vector<std::wstring>& members,
                                              bool expectQuestion = false) {
        app->startOpen();
        if (expectQuestion) {
            const std::wstring question = answerMessage(app->program(), IDNO);
            EXPECT_NE(question.find(L"Do you want to save changes in Round trip?"),
                      std::wstring::npos)
                << utf8(question);
        }
        const HWND dialog = waitForWindowTitled(app->program(), L"Open Project");
        if (dialog == nullptr) {
            ADD_FAILURE() << "no Open Project dialog";
            return std::nullopt;
        }
        selectProject(dialog, L"Round trip");
        const auto start = std::chrono::steady_clock::now();
        click(dialog, IDC_cmdOpen);
        const bool all = app->waitForTiles(members, Milliseconds{30000});
        if (!all) {
            return std::nullopt;
        }
        return std::chrono::duration_cast<Milliseconds>(std::chrono::steady_clock::now() - start);
    }

    std::unique_ptr<OpenTextDocuments> documents;
    StandInWord word;
    std::wstring plan, memo;
    Program* wordProgram = nullptr;
    std::unique_ptr<Program> explorer;
    std::unique_ptr<SnapdeskApp> app;
};

TEST_F(OpenE2E, ASavedProjectComesBackWithItsProgramsAndComments) {
    // 1-2: members on the Project tab with comments, saved as "Round trip".
    const std::wstring folderTile = tileWith(L"RoundTrip Folder");
    ASSERT_FALSE(folderTile.empty());
    const auto first = app->waitForTile(L"rt one.txt", kTwoTicks);
    ASSERT_TRUE(first.has_value());
    SnapdeskApp::typeComment(*first, L"first draft");
    ASSERT_TRUE(waitUntil([&] {
        const auto now = app->tileNamed(L"rt one.txt");
        return now && now->comment == L"first draft";
    }));
    const auto planTile = app->waitForTile(L"Plan.doc", kTwoTicks);
    ASSERT_TRUE(planTile.has_value());
    SnapdeskApp::typeComment(*planTile, L"the plan");
    ASSERT_TRUE(waitUntil([&] {
        const auto now = app->tileNamed(L"Plan.doc");
        return now && now->comment == L"the plan";
    }));
    const std::vector<std::wstring> members{L"rt one.txt", L"rt two.txt", L"Plan.doc", L"Memo.doc",
                                            folderTile};
    for (const std::wstring& m : members) {
        ASSERT_TRUE(app->moveToProject(m, kTwoTicks)) << utf8(m);
    }
    ASSERT_TRUE(app->saveProjectAsWithoutQuestions(L"Round trip"))
        << "every location was found, so no other dialog asks";
    ASSERT_TRUE(exists(kProjectFile));
    ASSERT_TRUE(CopyFileW(kProjectFile.c_str(), kSpareFile.c_str(), FALSE));
    // A page saved with the system's browser, which opens through its automation object.
    documents->paths.push_back(
        writeTempTextFile(L"rt page.html", "<html><body>page</body></html>"));
    const std::string web = "[FileName]\r\n1=Wine Internet Explorer\r\n[FilePath]\r\n1=" +
                            utf8(documents->paths.back()) +
                            "\r\n[FileEXE]\r\n1=C:\\PROGRAM FILES\\INTERNET "
                            "EXPLORER\\IEXPLORE.EXE\r\n[FileComment]\r\n1=the page\r\n";
    const HANDLE webFile = CreateFileW(kWebFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(webFile, web.data(), static_cast<DWORD>(web.size()), &written, nullptr);
    CloseHandle(webFile);

    // 3: every program closed, then Snapdesk; Snapdesk started again.
    for (auto& n : documents->notepads) {
        n->close();
    }
    wordProgram->close();
    explorer->close();
    ASSERT_TRUE(app->closeWithoutSaving());
    ASSERT_TRUE(windowsWith(L"rt one.txt").empty());
    app = std::make_unique<SnapdeskApp>();
    ASSERT_TRUE(app->started());

    // 4: the dialog lists the project and its members; opening starts each member once.
    const HWND dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    const auto projects = listLines(GetDlgItem(dialog, IDC_lstProjects));
    EXPECT_NE(std::find(projects.begin(), projects.end(), "Round trip"), projects.end());
    selectProject(dialog, L"Round trip");
    EXPECT_EQ(listLines(GetDlgItem(dialog, IDC_lbxFileNames)).size(), members.size());
    screenshot("open-1-dialog");
    click(dialog, IDCANCEL);
    ASSERT_TRUE(gone(dialog));
    const auto took = openRoundTrip(members);
    screenshot("open-2-opened");
    ASSERT_TRUE(took.has_value()) << "every member came back onto the Project tab";
    std::printf("open of %zu members: %lld ms (waits %zu ms)\n", members.size(),
                static_cast<long long>(took->count()), members.size() * 2000);
    EXPECT_EQ(app->tileNamed(L"rt one.txt")->comment, L"first draft");
    EXPECT_EQ(app->tileNamed(L"Plan.doc")->comment, L"the plan");
    EXPECT_EQ(windowsWith(L"rt one.txt - Notepad").size(), 1u);
    EXPECT_EQ(windowsWith(L"rt two.txt - Notepad").size(), 1u);
    EXPECT_EQ(windowsWith(L"RoundTrip Folder").size(), 1u);

    // 5: opening again starts nothing that is open.
    ASSERT_TRUE(openRoundTrip(members).has_value());
    EXPECT_FALSE(waitUntil([] { return windowsWith(L"rt one.txt - Notepad").size() > 1; },
                           Milliseconds{3000}));
    EXPECT_EQ(windowsWith(L"RoundTrip Folder").size(), 1u);

    // 6: a document gone is reported with its reason; the others still open.
    DeleteFileW(documents->paths[1].c_str());
    closeWindowsWith(L"rt two.txt");
    closeWindowsWith(L"rt one.txt");
    ASSERT_TRUE(waitUntil([&] { return !app->tileNamed(L"rt one.txt"); }, kTwoTicks));
    const std::vector<std::wstring> left{L"rt one.txt", L"Plan.doc", L"Memo.doc", folderTile};
    const auto reopened = [&] {
        app->startOpen();
        EXPECT_NE(answerMessage(app->program(), IDNO).find(L"save changes in Round trip?"),
                  std::wstring::npos);
        const HWND d = waitForWindowTitled(app->program(), L"Open Project");
        selectProject(d, L"Round trip");
        click(d, IDC_cmdOpen);
        const std::wstring message = answerMessage(app->program());
        EXPECT_NE(message.find(L"An Error has occured opening a member of the Project."),
                  std::wstring::npos)
            << utf8(message);
        EXPECT_NE(message.find(L"Reason: File not found"), std::wstring::npos) << utf8(message);
        return app->waitForTiles(left, Milliseconds{30000});
    }();
    EXPECT_TRUE(reopened);
    EXPECT_EQ(windowsWith(L"rt one.txt - Notepad").size(), 1u);

    // 7: a project deleted from the dialog: its file, its line and its members go. The open
    // project still lacks a member, so the question comes first.
    app->startOpen();
    answerMessage(app->program(), IDNO);
    const HWND again = waitForWindowTitled(app->program(), L"Open Project");
    ASSERT_NE(again, nullptr);
    selectProject(again, L"Spare");
    EXPECT_EQ(listLines(GetDlgItem(again, IDC_lbxFileNames)).size(), members.size());
    click(again, IDC_cmdDelete);
    const std::wstring question = answerMessage(app->program(), IDYES);
    EXPECT_NE(question.find(L"Do you really want to remove 'Spare'?"), std::wstring::npos)
        << utf8(question);
    EXPECT_TRUE(waitUntil([] { return !exists(kSpareFile); }));
    const auto remaining = listLines(GetDlgItem(again, IDC_lstProjects));
    EXPECT_EQ(std::find(remaining.begin(), remaining.end(), "Spare"), remaining.end());
    EXPECT_TRUE(listLines(GetDlgItem(again, IDC_lbxFileNames)).empty());
    click(again, IDCANCEL);
    EXPECT_TRUE(gone(again));

    // 8: the page comes back in a visible browser window, sent to the saved page.
    app->startOpen();
    answerMessage(app->program(), IDNO);
    const HWND webDialog = waitForWindowTitled(app->program(), L"Open Project");
    ASSERT_NE(webDialog, nullptr);
    selectProject(webDialog, L"Web");
    click(webDialog, IDC_cmdOpen);
    EXPECT_TRUE(waitUntil(
        [&] {
            for (const Tile& t : app->tiles()) {
                if (t.comment == L"the page") {
                    return true;
                }
            }
            return false;
        },
        Milliseconds{30000}))
        << "the browser's window is on the Project tab with its comment";
    screenshot("open-3-browser");
    const auto browsers = windowsWith(L"Wine Internet Explorer");
    ASSERT_EQ(browsers.size(), 1u);
    // Without Wine's Gecko the browser shows neither the page nor its address: that Navigate
    // was taken shows as no message about the member.
    EXPECT_EQ(answerMessage(app->program()), L"<no message>");
}

}  // namespace
}  // namespace snapdesk::testing
