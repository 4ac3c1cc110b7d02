// Windows back where they were: notepad on three files, the MDI test program with two
// documents and a folder in Explorer arranged by hand (one maximised, one off the right edge of
// the screen), saved as a project, all closed, Snapdesk started again and the project opened.
// clang-format off
#include <windows.h>
#include <objbase.h>
// clang-format on

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/win32_convert.h"
#include "projects/win32/open_dialog_ids.h"
#include "snapdesk_app.h"
#include "test_apps.h"

namespace snapdesk::testing {
namespace {

const std::wstring kProjects = L"C:\\Snapdesk\\datafiles\\projects\\";
const std::wstring kFolder = L"C:\\Placement Folder";
constexpr Milliseconds kTwoTicks{2 * 3000 + 2000};
constexpr LONG kSlack = 2;

// Where a window stands: its normal rectangle (GetWindowPlacement's, or for an MDI document
// the one inside its frame's client), its shown state and, for a top-level window, whether the
// normal rectangle is its own: Wine tells another process a window's current rectangle instead.
struct Where {
    RECT rect{};
    UINT showCmd = SW_SHOWNORMAL;
    bool normalSeen = true;
};

bool sameRect(const RECT& a, const RECT& b, LONG slack) {
    return std::labs(a.left - b.left) <= slack && std::labs(a.top - b.top) <= slack &&
           std::labs(a.right - b.right) <= slack && std::labs(a.bottom - b.bottom) <= slack;
}

Where whereIs(HWND window) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    GetWindowPlacement(window, &wp);
    Where where{wp.rcNormalPosition, wp.showCmd == SW_SHOWMAXIMIZED   ? UINT{SW_SHOWMAXIMIZED}
                                     : wp.showCmd == SW_SHOWMINIMIZED ? UINT{SW_SHOWMINIMIZED}
                                                                      : UINT{SW_SHOWNORMAL}};
    RECT now{};
    GetWindowRect(window, &now);
    if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0) {
        if (where.showCmd == SW_SHOWNORMAL) {
            MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&now), 2);
            where.rect = now;
        }
    } else if (where.showCmd == SW_SHOWMAXIMIZED) {
        where.normalSeen = !sameRect(where.rect, now, 0);
    }
    return where;
}

// A maximised window fills the work area of its monitor, give or take its frame.
bool fillsItsWorkArea(const RECT& window) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &info);
    constexpr LONG kFrame = 8;
    return window.left <= info.rcWork.left && window.top <= info.rcWork.top &&
           window.right >= info.rcWork.right && window.bottom >= info.rcWork.bottom &&
           sameRect(window, info.rcWork, kFrame);
}

// `back` stands where `was` stood. A maximised window whose normal rectangle cannot be seen
// is checked for what can: it fills its monitor's work area as it is now (a taskbar may have
// taken a strip of it since).
bool closeTo(const Where& back, const Where& was) {
    if (back.showCmd != was.showCmd) {
        return false;
    }
    if (!back.normalSeen || !was.normalSeen) {
        return fillsItsWorkArea(back.rect);
    }
    return sameRect(back.rect, was.rect, kSlack);
}

std::string describe(const Where& w) {
    return std::to_string(w.showCmd) + ": " + std::to_string(w.rect.left) + "," +
           std::to_string(w.rect.top) + "," + std::to_string(w.rect.right) + "," +
           std::to_string(w.rect.bottom);
}

// Moved as a user moves a window: restored first, so that the move sets its normal rectangle.
void moveTo(HWND window, int x, int y, int cx, int cy) {
    if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0) {
        SendMessageW(GetParent(window), WM_MDIRESTORE, reinterpret_cast<WPARAM>(window), 0);
    } else if (IsZoomed(window) || IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    SetWindowPos(window, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string fileText(const std::wstring& path) {
    std::ifstream in(win32::toUtf8(path), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

HWND mdiFrame() {
    return FindWindowW(L"MdiTestFrame", nullptr);
}

// The window each member is shown in, found anew after every start.
struct Members {
    static constexpr const wchar_t* kTexts[] = {L"pl one.txt", L"pl two.txt", L"pl three.txt"};
    static constexpr const wchar_t* kDocuments[] = {L"pl alpha.txt", L"pl beta.txt"};

    static HWND notepad(int i) {
        const auto found = windowsWith(std::wstring(kTexts[i]) + L" - Notepad");
        return found.size() == 1 ? found.front() : nullptr;
    }
    static HWND document(int i) {
        const HWND frame = mdiFrame();
        return frame != nullptr ? mdiDocumentTitled(frame, kDocuments[i]) : nullptr;
    }
    static HWND folder() {
        const auto found = windowsWith(L"Placement Folder");
        return found.size() == 1 ? found.front() : nullptr;
    }
    // In a fixed order: three notepads, the frame, its two documents, the folder.
    static std::vector<HWND> all() {
        return {notepad(0), notepad(1), notepad(2), mdiFrame(), document(0), document(1), folder()};
    }
};

class PlacementE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        clearSnapdeskSettings();
        closeWindowsWith(L"MDI Test");
        for (const wchar_t* name : {L"Placement.txt", L"Placement before.txt"}) {
            DeleteFileW((kProjects + name).c_str());
        }
        CreateDirectoryW(kFolder.c_str(), nullptr);
        // Wine's explorer is not among the shell's windows: the folder is found in the list of
        // the drive's folders, which Snapdesk walks again at start when its index is gone.
        DeleteFileW(L"C:\\Snapdesk\\datafiles\\dirTree0.txt");
        texts = std::make_unique<OpenTextDocuments>(std::initializer_list<const wchar_t*>{
            Members::kTexts[0], Members::kTexts[1], Members::kTexts[2]});
        ASSERT_TRUE(texts->allOpen());
        for (const wchar_t* name : Members::kDocuments) {
            documents.push_back(writeTempTextFile(name, "document\r\n"));
            shortcuts.push_back(addRecentShortcut(name, documents.back()));
        }
        mdi = std::make_unique<Program>(startMdiTest({documents[0], documents[1]}));
        ASSERT_NE(waitForMdiFrame(*mdi), nullptr);
        explorer = std::make_unique<Program>(L"explorer.exe " + quoteArgument(kFolder));
        ASSERT_TRUE(waitUntil([] { return Members::folder() != nullptr; }));
        app = std::make_unique<SnapdeskApp>();
        ASSERT_TRUE(app->started());
    }
    void TearDown() override {
        if (app) {
            app->program().close();
        }
        for (const wchar_t* part :
             {L"pl one.txt", L"pl two.txt", L"pl three.txt", L"MDI Test", L"Placement Folder"}) {
            closeWindowsWith(part);
        }
        texts.reset();
        for (const std::wstring& f : shortcuts) {
            DeleteFileW(f.c_str());
        }
        for (const std::wstring& f : documents) {
            DeleteFileW(f.c_str());
        }
        for (const wchar_t* name : {L"Placement.txt", L"Placement before.txt"}) {
            DeleteFileW((kProjects + name).c_str());
        }
        RemoveDirectoryW(kFolder.c_str());
        CoUninitialize();
    }

    // Open Project with `name` chosen; true once every member is on the Project tab.
    bool openProject(const std::wstring& name, const std::vector<std::wstring>& tiles) {
        app->startOpen();
        // A project whose windows were closed has changed: its save is declined.
        if (const HWND question = app->program().waitForWindow(
                [](HWND w) {
                    return IsWindowVisible(w) && classNameOf(w) == L"#32770" &&
                           windowTextOf(w) == L"Snapdesk!";
                },
                Milliseconds{1000})) {
            click(question, IDNO);
        }
        const HWND dialog = waitForWindowTitled(app->program(), L"Open Project");
        if (dialog == nullptr) {
            return false;
        }
        selectProject(dialog, name);
        click(dialog, IDC_cmdOpen);
        return app->waitForTiles(tiles, Milliseconds{40000});
    }
    void closeEveryMember() {
        for (const wchar_t* part :
             {L"pl one.txt", L"pl two.txt", L"pl three.txt", L"MDI Test", L"Placement Folder"}) {
            closeWindowsWith(part);
        }
    }

    std::unique_ptr<OpenTextDocuments> texts;
    std::vector<std::wstring> documents, shortcuts;
    std::unique_ptr<Program> mdi, explorer;
    std::unique_ptr<SnapdeskApp> app;
};

TEST_F(PlacementE2E, EveryWindowComesBackWhereItWasAndTheOneOffScreenComesOntoIt) {
    // 1: every member has its tile (the first pictures taken, which brings documents forward),
    // then the user's arrangement. The third notepad stands wholly beyond the right edge.
    const std::wstring folderTile = [&] {
        std::wstring name;
        waitUntil(
            [&] {
                for (const Tile& t : app->tiles()) {
                    if (t.fileName.find(L"Placement Folder") != std::wstring::npos) {
                        name = t.fileName;
                    }
                }
                return !name.empty();
            },
            kTwoTicks);
        return name;
    }();
    ASSERT_FALSE(folderTile.empty());
    const std::vector<std::wstring> tiles{Members::kTexts[0],     Members::kTexts[1],
                                          Members::kTexts[2],     Members::kDocuments[0],
                                          Members::kDocuments[1], folderTile};
    ASSERT_TRUE(app->waitForTiles(tiles, kTwoTicks));
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    moveTo(Members::notepad(0), 30, 20, 420, 300);
    moveTo(Members::notepad(1), 90, 110, 500, 330);
    ShowWindow(Members::notepad(1), SW_MAXIMIZE);
    moveTo(Members::notepad(2), screenWidth + 40, 200, 400, 300);
    moveTo(mdiFrame(), 180, 140, 640, 500);
    moveTo(Members::document(0), 12, 8, 300, 210);
    moveTo(Members::document(1), 150, 120, 330, 230);
    moveTo(Members::folder(), 320, 60, 560, 400);
    std::vector<Where> arranged;
    for (const HWND w : Members::all()) {
        ASSERT_NE(w, nullptr);
        arranged.push_back(whereIs(w));
    }
    ASSERT_EQ(arranged[1].showCmd, UINT{SW_SHOWMAXIMIZED});
    ASSERT_GE(arranged[2].rect.left, screenWidth);

    // 2: every member on the Project tab, saved; a copy without the placements stands for a
    // file of the previous format.
    for (const std::wstring& t : tiles) {
        ASSERT_TRUE(app->moveToProject(t, kTwoTicks)) << win32::toUtf8(t);
    }
    ASSERT_TRUE(app->saveProjectAsWithoutQuestions(L"Placement"));
    std::string saved = fileText(kProjects + L"Placement.txt");
    std::printf("%s\n", saved.c_str());
    const std::size_t section = saved.find("[FilePlacement]");
    ASSERT_NE(section, std::string::npos);
    {
        std::ofstream before(win32::toUtf8(kProjects + L"Placement before.txt"), std::ios::binary);
        before << saved.substr(0, section);
    }

    // 3: everything closed, Snapdesk started again, the project opened.
    closeEveryMember();
    ASSERT_TRUE(app->closeWithoutSaving());
    app = std::make_unique<SnapdeskApp>();
    ASSERT_TRUE(app->started());
    ASSERT_TRUE(openProject(L"Placement", tiles));
    screenshot("placement-1-opened");

    std::vector<Where> back;
    const bool allBack = waitUntil([&] {
        back.clear();
        bool all = true;
        const std::vector<HWND> now = Members::all();
        for (std::size_t i = 0; i < now.size(); ++i) {
            back.push_back(now[i] != nullptr ? whereIs(now[i]) : Where{});
            all = all && now[i] != nullptr && (i == 2 || closeTo(back[i], arranged[i]));
        }
        return all;
    });
    for (std::size_t i = 0; i < back.size(); ++i) {
        if (i != 2) {
            EXPECT_TRUE(closeTo(back[i], arranged[i]))
                << "window " << i << " is at " << describe(back[i]) << ", was at "
                << describe(arranged[i]);
        }
    }
    EXPECT_TRUE(allBack);
    // The one that was off the screen: whole on the monitor's work area, its size kept.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT offScreen{};
    GetWindowRect(Members::notepad(2), &offScreen);
    EXPECT_GE(offScreen.left, work.left);
    EXPECT_LE(offScreen.right, work.right);
    EXPECT_GE(offScreen.top, work.top);
    EXPECT_LE(offScreen.bottom, work.bottom);
    EXPECT_EQ(offScreen.right - offScreen.left, arranged[2].rect.right - arranged[2].rect.left);
    EXPECT_EQ(offScreen.bottom - offScreen.top, arranged[2].rect.bottom - arranged[2].rect.top);

    // 4: the file without placements opens every member as before.
    closeEveryMember();
    ASSERT_TRUE(waitUntil([&] { return !app->tileNamed(Members::kTexts[0]); }, kTwoTicks));
    EXPECT_TRUE(openProject(L"Placement before", tiles));
    for (const HWND w : Members::all()) {
        EXPECT_NE(w, nullptr);
    }
}

}  // namespace
}  // namespace snapdesk::testing
