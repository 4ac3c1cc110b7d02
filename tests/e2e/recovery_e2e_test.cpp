// Nothing lost when the session ends or Snapdesk stops: notepad on two files and the MDI test
// program on the Project tab with comments, never saved; the session ended as Windows ends it,
// or Snapdesk killed outright; started again, it offers them back and reopens them.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/win32_convert.h"
#include "projects/win32/recovery_dialog_ids.h"
#include "snapdesk_app.h"
#include "test_apps.h"
#include "zim_display_widget.h"

namespace snapdesk::testing {
namespace {

constexpr Milliseconds kTwoTicks{2 * 3000 + 2000};
const std::wstring kData = L"C:\\Snapdesk\\datafiles\\";
const std::wstring kRecovery = kData + L"recovery.txt";
const std::wstring kAside = kData + L"recovery-damaged-1.txt";
const std::wstring kNamed = kData + L"projects\\Recovery named.txt";
const std::vector<std::wstring> kMembers{L"rc one.txt", L"rc two.txt", L"Chapter 1.txt"};

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring recoveryValue(const std::wstring& section, const std::wstring& key) {
    std::wstring value(512, L'\0');
    value.resize(GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", value.data(), 512,
                                          kRecovery.c_str()));
    return value;
}

// What an edit control of another process holds (GetWindowText gives only its caption).
std::wstring editText(HWND edit) {
    std::wstring text(1024, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

class RecoveryE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        clearSnapdeskSettings();
        for (const std::wstring& f : {kRecovery, kAside, kNamed}) {
            DeleteFileW(f.c_str());
        }
        documents = std::make_unique<OpenTextDocuments>(
            std::initializer_list<const wchar_t*>{L"rc one.txt", L"rc two.txt"});
        ASSERT_TRUE(documents->allOpen());
        writer = std::make_unique<Program>(
            startMdiTest({L"--title", L"Report Writer", L"--doc", L"Chapter 1.txt"}));
        ASSERT_NE(waitForMdiFrame(*writer), nullptr);
        app = std::make_unique<SnapdeskApp>();
        ASSERT_TRUE(app->started());
    }
    void TearDown() override {
        if (app) {
            app->program().close();
        }
        writer.reset();
        documents.reset();
        for (const std::wstring& f : {kRecovery, kAside, kNamed}) {
            DeleteFileW(f.c_str());
        }
    }

    // The three members on the Project tab, each with the comment "note <n>".
    void gatherMembers() {
        for (std::size_t i = 0; i < kMembers.size(); ++i) {
            const auto tile = app->waitForTile(kMembers[i], kTwoTicks);
            ASSERT_TRUE(tile.has_value()) << win32::toUtf8(kMembers[i]);
            const std::wstring note = L"note " + std::to_wstring(i + 1);
            SnapdeskApp::typeComment(*tile, note);
            ASSERT_TRUE(waitUntil([&] {
                const auto now = app->tileNamed(kMembers[i]);
                return now && now->comment == note;
            }));
            ASSERT_TRUE(app->moveToProject(kMembers[i], kTwoTicks));
        }
    }
    void showProjectTab() {
        SendMessageW(descendant(app->main(), WC_TABCONTROLW), TCM_SETCURFOCUS, 1, 0);
    }
    // Snapdesk started again with the kept file: its offer, answered with `button`.
    std::wstring restartAndAnswer(int button) {
        app = std::make_unique<SnapdeskApp>(SnapdeskApp::KeptProject::Offered);
        const HWND offer = waitForWindowTitled(app->program(), L"Snapdesk Recovered Your Project");
        if (offer == nullptr) {
            return L"<no offer>";
        }
        const std::wstring text = staticTexts(offer);
        screenshot("recovery-offer");
        click(offer, button);
        EXPECT_TRUE(gone(offer));
        return text;
    }
    // Each member back on the Project tab with its comment.
    void expectMembersBack(const std::wstring& changedComment = L"note 2") {
        showProjectTab();
        ASSERT_TRUE(app->waitForTiles(kMembers, Milliseconds{30000}));
        for (std::size_t i = 0; i < kMembers.size(); ++i) {
            const std::wstring note = i == 1 ? changedComment : L"note " + std::to_wstring(i + 1);
            EXPECT_EQ(app->tileNamed(kMembers[i])->comment, note) << win32::toUtf8(kMembers[i]);
        }
    }

    std::unique_ptr<OpenTextDocuments> documents;
    std::unique_ptr<Program> writer;
    std::unique_ptr<SnapdeskApp> app;
};

TEST_F(RecoveryE2E, TheSessionEndsWithoutAQuestionAndTheNextStartOffersTheTabBack) {
    gatherMembers();
    const auto start = std::chrono::steady_clock::now();
    for (const HWND w : app->program().windows()) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(w, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
        if (w == app->main()) {
            EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "Snapdesk lets the session end";
        }
    }
    for (const HWND w : app->program().windows()) {
        SendMessageTimeoutW(w, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    }
    ASSERT_TRUE(waitUntil([&] { return app->program().hasExited(); }, Milliseconds{5000}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, Milliseconds{5000});

    EXPECT_EQ(recoveryValue(L"Recovery", L"Members"), L"3");
    EXPECT_EQ(recoveryValue(L"Recovery", L"Saved"), L"no");
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(recoveryValue(L"FileComment", std::to_wstring(k)), L"note " + std::to_wstring(k));
    }

    const std::wstring offer = restartAndAnswer(IDC_cmdReopen);
    EXPECT_NE(offer.find(L"Snapdesk was closed before your Project was saved"), std::wstring::npos)
        << win32::toUtf8(offer);
    EXPECT_NE(offer.find(L"Untitled"), std::wstring::npos);
    EXPECT_NE(offer.find(L"3 members"), std::wstring::npos);
    expectMembersBack();
    screenshot("recovery-reopened");

    // A clean close keeps an Untitled tab with members, offered at the next start; Discard ends it.
    ASSERT_TRUE(app->closeAndWait());
    ASSERT_TRUE(exists(kRecovery));
    EXPECT_NE(restartAndAnswer(IDC_cmdDiscard), L"<no offer>");
    EXPECT_FALSE(exists(kRecovery));
}

TEST_F(RecoveryE2E, SnapdeskKilledThreeSecondsAfterACommentLosesNothing) {
    gatherMembers();
    showProjectTab();
    const auto tile = app->waitForTile(kMembers[1], kTwoTicks);
    ASSERT_TRUE(tile.has_value());
    // Typed, not yet ended with Enter: the editor's text counts.
    const HWND value = GetDlgItem(tile->window, zim::kIdCommentD);
    PostMessageW(value, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageW(value, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    const HWND editor = GetDlgItem(tile->window, zim::kIdEditor);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(editor) != FALSE; }));
    for (const wchar_t c : std::wstring(L"still typing")) {
        PostMessageW(editor, WM_CHAR, c, 1);
    }
    ASSERT_TRUE(waitUntil([&] {
        const std::wstring t = editText(editor);
        return t.size() >= 12 && t.substr(t.size() - 12) == L"still typing";
    }));
    const std::wstring typed = editText(editor);
    Sleep(3000);  // the moment of the kill is the scenario itself
    TerminateProcess(app->program().process(), 9);
    ASSERT_TRUE(waitUntil([&] { return app->program().hasExited(); }));

    EXPECT_EQ(recoveryValue(L"FileComment", L"2"), typed);
    restartAndAnswer(IDC_cmdReopen);
    expectMembersBack(typed);
}

TEST_F(RecoveryE2E, NamedProjectsLeaveNoFileDamagedFilesAreSetAsideAndOneSnapdeskRuns) {
    ASSERT_TRUE(app->moveToProject(kMembers[0], kTwoTicks));
    // The recovery file shows when the location search has found the document.
    ASSERT_TRUE(waitUntil(
        [] { return recoveryValue(L"FilePath", L"1").find(L"rc one.txt") != std::wstring::npos; },
        Milliseconds{40000}));
    ASSERT_TRUE(app->saveProjectAsWithoutQuestions(L"Recovery named"));
    ASSERT_TRUE(app->closeAndWait());
    EXPECT_FALSE(exists(kRecovery)) << "a named project closed cleanly keeps nothing";

    const HANDLE file = CreateFileW(kRecovery.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    const char garbage[] = "[FileName]\r\n1=half a\0\0\0";
    DWORD written = 0;
    WriteFile(file, garbage, sizeof(garbage), &written, nullptr);
    CloseHandle(file);
    app = std::make_unique<SnapdeskApp>(SnapdeskApp::KeptProject::Offered);
    const std::wstring report = answerMessage(app->program());
    EXPECT_NE(report.find(L"set the file aside"), std::wstring::npos) << win32::toUtf8(report);
    EXPECT_FALSE(exists(kRecovery));
    EXPECT_TRUE(exists(kAside)) << "a damaged file is kept";

    // A second start brings the first to the front and ends.
    ShowWindow(app->main(), SW_MINIMIZE);
    ASSERT_TRUE(waitUntil([&] { return IsIconic(app->main()) != FALSE; }));
    Program second(L"\"C:\\Snapdesk\\snapdesk.exe\"");
    ASSERT_TRUE(second.started());
    EXPECT_TRUE(waitUntil([&] { return second.hasExited(); }));
    EXPECT_TRUE(waitUntil([&] { return IsIconic(app->main()) == FALSE; }));
    EXPECT_FALSE(app->program().hasExited());
}

}  // namespace
}  // namespace snapdesk::testing
