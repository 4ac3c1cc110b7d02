// Saving a project as a user does: documents of notepad and of the stand-in word processor
// moved to the Project tab with the tile popup, Save Project answered dialog by dialog through
// their controls, the project file read byte for byte, then the question before closing.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
// clang-format on

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "location/win32/location_dialog_ids.h"
#include "mainwindow/menu_ids.h"
#include "platform/win32/win32_convert.h"
#include "projects/win32/save_dialog_ids.h"
#include "snapdesk_app.h"
#include "standin_servers.h"
#include "test_apps.h"

namespace snapdesk::testing {
namespace {

constexpr Milliseconds kTwoTicks{2 * 3000 + 2000};
const std::wstring kProjectFile = L"C:\\Snapdesk\\datafiles\\projects\\Alpha.txt";
// Locations learnt by earlier runs would answer for this run's documents.
const std::wstring kStoredPaths = L"C:\\Snapdesk\\datafiles\\oldpaths.txt";

void type(HWND edit, const std::wstring& text) {
    for (const wchar_t c : text) {
        PostMessageW(edit, WM_CHAR, c, 1);
    }
}

std::wstring labelStartingWith(HWND parent, const std::wstring& start) {
    for (const HWND child : childWindows(parent)) {
        const std::wstring text = windowTextOf(child);
        if (classNameOf(child) == L"Static" && text.rfind(start, 0) == 0) {
            return text;
        }
        const std::wstring below = labelStartingWith(child, start);
        if (!below.empty()) {
            return below;
        }
    }
    return {};
}

std::string fileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The bytes before the section of window placements, which closes the file with a line for
// each member (their values are the placement flow's to check).
std::string beforePlacements(const std::string& file, long members) {
    const std::size_t at = file.find("[FilePlacement]\r\n");
    const long lines =
        at == std::string::npos ? 0 : std::count(file.begin() + at, file.end(), '\n');
    return lines == members + 1 ? file.substr(0, at) : "<no placement for each member>\r\n" + file;
}

class SaveE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        clearSnapdeskSettings();
        DeleteFileW(kProjectFile.c_str());
        DeleteFileW(kStoredPaths.c_str());
        documents = std::make_unique<OpenTextDocuments>(
            std::initializer_list<const wchar_t*>{L"alpha one.txt", L"beta.txt"});
        ASSERT_TRUE(documents->allOpen());
        untitled = std::make_unique<Program>(L"notepad.exe");
        ASSERT_NE(waitForWindowTitled(*untitled, L"Untitled - Notepad"), nullptr);
        ASSERT_TRUE(word.registered());
        report = word.folder().writeFile(L"Report.doc", "report");
        ASSERT_NE(word.start({report, L"--new"}).frame, nullptr);
        app = std::make_unique<SnapdeskApp>();
        ASSERT_TRUE(app->started());
    }
    void TearDown() override {
        app.reset();
        documents.reset();
        DeleteFileW(kProjectFile.c_str());
        DeleteFileW(kStoredPaths.c_str());
        CoUninitialize();
    }

    void moveToProject(const std::wstring& name) {
        ASSERT_TRUE(app->moveToProject(name, kTwoTicks)) << toUtf8(name);
    }
    static std::string toUtf8(const std::wstring& s) { return win32::toUtf8(s); }

    std::unique_ptr<OpenTextDocuments> documents;
    std::unique_ptr<Program> untitled;
    StandInWord word;
    std::wstring report;
    std::unique_ptr<SnapdeskApp> app;
};

TEST_F(SaveE2E, SaveProjectAsksForWhatItCannotFindRefusesBadNamesAndWritesTheFile) {
    Program& snapdesk = app->program();
    // Only notepad's new file on the tab, and the user leaves it out: nothing to save.
    moveToProject(L"Untitled ");
    app->command(ID_mnuSaveProject);
    HWND search = waitForWindowTitled(snapdesk, L"Path Not Found");
    ASSERT_NE(search, nullptr);
    screenshot("save-1-path-not-found");
    click(search, IDC_CONTINUESEARCH_CMDNOSEARCH);
    ASSERT_TRUE(gone(search));
    HWND noPath = waitForWindowTitled(snapdesk, L"Cannot Find Path Information");
    ASSERT_NE(noPath, nullptr);
    EXPECT_EQ(windowTextOf(GetDlgItem(noPath, IDC_NOPATHINFO_LBLFILENAME)), L"Untitled");
    screenshot("save-2-no-path-info");
    click(noPath, IDC_NOPATHINFO_CMDCANCEL);
    ASSERT_TRUE(gone(noPath));
    const HWND empty = waitForWindowTitled(snapdesk, L"Cannot Save an Empty Project");
    ASSERT_NE(empty, nullptr);
    screenshot("save-3-empty-project");
    EXPECT_NE(staticTexts(empty).find(L"that you wish to save as part of the Project."),
              std::wstring::npos)
        << toUtf8(staticTexts(empty));
    key(empty, VK_RETURN);
    ASSERT_TRUE(gone(empty));

    const auto first = app->waitForTile(L"alpha one.txt", kTwoTicks);
    ASSERT_TRUE(first.has_value());
    SnapdeskApp::typeComment(*first, L"first draft");
    ASSERT_TRUE(waitUntil([&] {
        const auto now = app->tileNamed(L"alpha one.txt");
        return now && now->comment == L"first draft";
    })) << "the comment is typed and its editor closed";
    for (const wchar_t* name : {L"alpha one.txt", L"beta.txt", L"Report.doc", L"Document1"}) {
        moveToProject(name);
    }
    app->command(ID_mnuSaveProject);
    // The word processor's new document is still missing: no further search, and Enter
    // saves the program itself.
    search = waitForWindowTitled(snapdesk, L"Path Not Found");
    ASSERT_NE(search, nullptr);
    click(search, IDC_CONTINUESEARCH_CMDNOSEARCH);
    ASSERT_TRUE(gone(search));
    noPath = waitForWindowTitled(snapdesk, L"Cannot Find Path Information");
    ASSERT_NE(noPath, nullptr);
    EXPECT_EQ(windowTextOf(GetDlgItem(noPath, IDC_NOPATHINFO_LBLFILENAME)), L"Document1");
    key(noPath, VK_RETURN);
    ASSERT_TRUE(gone(noPath));

    const HWND save = waitForWindowTitled(snapdesk, L"Save Project As");
    ASSERT_NE(save, nullptr);
    screenshot("save-4-save-project-as");
    const HWND name = GetDlgItem(save, IDC_txtSavePro);
    key(name, VK_RETURN);
    EXPECT_NE(answerMessage(snapdesk).find(L"Please enter a Project name."), std::wstring::npos);
    type(name, L"a.b");
    key(name, VK_RETURN);
    EXPECT_NE(answerMessage(snapdesk).find(L"Illegal character(s) in Project name."),
              std::wstring::npos);
    SetWindowTextW(name, L"");
    type(name, L"CON");
    key(name, VK_RETURN);
    EXPECT_NE(answerMessage(snapdesk).find(L"CON"), std::wstring::npos);
    EXPECT_FALSE(waitUntil(
        [] { return GetFileAttributesW(kProjectFile.c_str()) != INVALID_FILE_ATTRIBUTES; },
        Milliseconds{500}));
    SetWindowTextW(name, L"");
    type(name, L"Alpha");
    key(name, VK_RETURN);
    ASSERT_TRUE(gone(save));

    std::string exe = toUtf8(word.exePath());
    for (char& c : exe) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const std::string a = toUtf8(documents->paths[0]), b = toUtf8(documents->paths[1]),
                      r = toUtf8(report);
    const std::string expected =
        "[Snapdesk!]\r\nIMPORTANT=Warning: Automatically generated file.  Do Not Delete or "
        "Edit.\r\n[FilePath]\r\n1=" +
        a + "\r\n2=" + b + "\r\n3=" + r + "\r\n4=" + exe +
        "\r\n[FileName]\r\n1=alpha one.txt\r\n2=beta.txt\r\n3=Report.doc\r\n4=Document1\r\n"
        "[FileEXE]\r\n1=C:\\WINDOWS\\SYSTEM32\\NOTEPAD.EXE\r\n2=C:\\WINDOWS\\SYSTEM32\\NOTEPAD.EXE"
        "\r\n3=" +
        exe + "\r\n4=" + exe + "\r\n[FileComment]\r\n1=first draft\r\n2=\r\n3=\r\n4=\r\n";
    EXPECT_EQ(beforePlacements(fileBytes(kProjectFile), 4), expected);
    EXPECT_TRUE(waitUntil(
        [&] { return labelStartingWith(app->main(), L"Project: ") == L"Project: Alpha"; }));

    // A name that differs only in letter case asks, then overwrites.
    app->command(ID_mnuSaveProjectAs);
    const HWND again = waitForWindowTitled(snapdesk, L"Save Project As");
    ASSERT_NE(again, nullptr);
    type(GetDlgItem(again, IDC_txtSavePro), L"alpha");
    click(again, IDC_cmdSaveProject);
    const std::wstring overwrite = answerMessage(snapdesk, IDYES);
    EXPECT_NE(overwrite.find(L"Do you want to overwrite alpha?"), std::wstring::npos)
        << toUtf8(overwrite);
    ASSERT_TRUE(gone(again));
    EXPECT_TRUE(waitUntil(
        [&] { return labelStartingWith(app->main(), L"Project: ") == L"Project: alpha"; }));
    EXPECT_EQ(beforePlacements(fileBytes(kProjectFile), 4), expected);

    // A member gone changes the project: closing asks first; Cancel keeps Snapdesk running.
    SendMessageW(descendant(app->main(), WC_TABCONTROLW), TCM_SETCURFOCUS, 1, 0);
    ASSERT_TRUE(app->waitForTile(L"beta.txt").has_value()) << "the Project tab shows its members";
    documents->notepads[1]->close();
    ASSERT_TRUE(waitUntil([&] { return !app->tileNamed(L"beta.txt").has_value(); }, kTwoTicks));
    PostMessageW(app->main(), WM_CLOSE, 0, 0);
    const std::wstring question = answerMessage(snapdesk, IDCANCEL);
    EXPECT_NE(question.find(L"Do you want to save changes in alpha?"), std::wstring::npos)
        << toUtf8(question);
    EXPECT_FALSE(snapdesk.hasExited());
    EXPECT_TRUE(IsWindowVisible(app->main()));
    PostMessageW(app->main(), WM_CLOSE, 0, 0);
    answerMessage(snapdesk, IDNO);
    EXPECT_TRUE(waitUntil([&] { return snapdesk.hasExited(); }));
}

}  // namespace
}  // namespace snapdesk::testing
