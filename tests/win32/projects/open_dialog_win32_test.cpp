// "Open Project" on the real dialog over a test window, worked from a second thread the way a
// user works it: arrow keys and Enter in the project list, a click on a member line, the delete
// question answered. The projects are real files in a program folder of the Wine prefix.
// clang-format off
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "dialog_driving.h"
#include "platform/sim/sim_shell.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_ui.h"
#include "projects/open_dialog.h"
#include "projects/project_store.h"
#include "projects/win32/open_dialog_ids.h"
#include "projects/win32/open_dialog_window.h"
#include "sim_world.h"
#include "support/project_fakes.h"

namespace snapdesk {
namespace {

using namespace dialog_driving;

const char* const kAlpha =
    "[FilePath]\r\n1=C:\\windows\\win.ini\r\n2=C:\\Music\\Song.mp3\r\n"
    "[FileName]\r\n1=win.ini\r\n2=Winamp\r\n"
    "[FileEXE]\r\n1=C:\\windows\\notepad.exe\r\n2=C:\\Winamp\\winamp.exe\r\n"
    "[FileComment]\r\n1=\r\n2=\r\n";

// A click on line `index` of a list box, at the middle of the line; returns once the list has
// handled it (a marker posted after it has arrived).
void clickLine(HWND list, int index) {
    RECT line{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&line));
    const LPARAM at = MAKELPARAM((line.left + line.right) / 2, (line.top + line.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    constexpr LPARAM kMarker = 0x5eed;
    PostMessageW(list, LB_SETITEMDATA, 0, kMarker);
    waitFor([&] { return SendMessageW(list, LB_GETITEMDATA, 0, 0) == kMarker; });
}

// Waits until the project shows. The member list is filled before the dialog processes the
// messages waiting, outside the dialog's keyboard handling: the next key waits until that is
// over.
void waitForMembers(HWND dialog, const std::string& project) {
    waitFor([&] { return textOf(GetDlgItem(dialog, IDC_lblDisplay)) == project; });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

class OpenDialogWindowTest : public ::testing::Test {
  protected:
    static std::string temporaryFolder() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        return win32::toUtf8(temp) + "snapdesk-open-dialog-" +
               std::to_string(GetCurrentProcessId());
    }
    std::string projectFile(const std::string& name) const {
        return program + "\\datafiles\\projects\\" + name + ".txt";
    }
    void SetUp() override {
        for (const char* folder : {"", "\\datafiles", "\\datafiles\\projects"}) {
            CreateDirectoryW(win32::toWide(program + folder).c_str(), nullptr);
        }
        ASSERT_TRUE(files.replaceFile(projectFile("Alpha"), kAlpha));
        ASSERT_TRUE(files.replaceFile(projectFile("Beta"), "[Snapdesk!]\r\nIMPORTANT=x\r\n"));
        store.loadProjectStore();
        owner =
            CreateWindowExW(0, L"STATIC", L"Open dialog owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            10, 10, 300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner);
        for (const char* name : {"Alpha", "Beta"}) {
            DeleteFileW(win32::toWide(projectFile(name)).c_str());
        }
        for (const char* folder : {"\\datafiles\\projects", "\\datafiles", ""}) {
            RemoveDirectoryW(win32::toWide(program + folder).c_str());
        }
    }
    // Shows the dialog while `drive` works it from another thread; closes what it left open.
    void run(const std::function<void(HWND)>& drive) {
        std::thread user([&] {
            HWND dialog = nullptr;
            if (!waitFor([&] {
                    return (dialog = ownedDialog(owner, L"Open Project")) != nullptr &&
                           IsWindowVisible(dialog);
                })) {
                return;
            }
            drive(dialog);
            if (IsWindow(dialog)) {
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            }
        });
        showOpenDialog(owner, presenter);
        user.join();
    }

    const std::string program = temporaryFolder();
    Win32FileSystem files;
    Win32Ui ui;
    testing::SimWorld world;
    sim::SimShell shell;
    testing_fakes::NoStoreHost host;
    ProjectStore store{files, shell, ui, world.list, host, program};
    OpenDialog presenter{store, ui};
    HWND owner = nullptr;
};

TEST_F(OpenDialogWindowTest, ArrowKeysShowTheMembersAndEnterOpensTheSelectedProject) {
    struct {
        std::vector<std::string> texts, projects, tips, cut, alphaMembers, betaMembers;
        std::string focus;
        RECT rect{};
        int screenWidth = 0, screenHeight = 0, memberSelection = 0;
        bool closed = false;
    } seen;
    run([&](HWND dialog) {
        auto item = [&](int id) { return GetDlgItem(dialog, id); };
        for (HWND window : {dialog, item(IDC_lblSelectedProject), item(IDC_cmdOpen),
                            item(IDC_cmdDelete), item(IDCANCEL)}) {
            seen.texts.push_back(textOf(window));
        }
        HWND projects = item(IDC_lstProjects);
        HWND members = item(IDC_lbxFileNames);
        seen.projects = listItems(projects);
        seen.tips = toolTipsOf(dialog, {IDC_lstProjects});
        GUITHREADINFO thread{};
        thread.cbSize = sizeof(thread);
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
        seen.focus = thread.hwndFocus == projects ? "lstProjects" : classOf(thread.hwndFocus);
        GetWindowRect(dialog, &seen.rect);
        seen.screenWidth = GetSystemMetrics(SM_CXSCREEN);
        seen.screenHeight = GetSystemMetrics(SM_CYSCREEN);

        press(projects, VK_DOWN);
        waitForMembers(dialog, "Alpha");
        seen.alphaMembers = listItems(members);
        seen.cut = cutTexts(dialog);
        press(projects, VK_DOWN);
        waitForMembers(dialog, "Beta");
        seen.betaMembers = listItems(members);
        press(projects, VK_UP);
        waitForMembers(dialog, "Alpha");

        clickLine(members, 1);
        seen.memberSelection = static_cast<int>(SendMessageW(members, LB_GETCURSEL, 0, 0));

        press(projects, VK_RETURN);
        seen.closed = waitFor([&] { return !IsWindow(dialog); });
    });

    EXPECT_EQ(seen.texts,
              (std::vector<std::string>{"Open Project", "Selected Project :", "&Open Project",
                                        "&Delete Project", "&Cancel"}));
    EXPECT_EQ(seen.projects, (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(seen.tips, std::vector<std::string>{"Select to View Files in this Project"});
    EXPECT_EQ(seen.focus, "lstProjects");
    const int width = seen.rect.right - seen.rect.left, height = seen.rect.bottom - seen.rect.top;
    EXPECT_EQ(seen.rect.left, (seen.screenWidth - width) / 2);
    EXPECT_EQ(seen.rect.top, (seen.screenHeight - height) / 3);
    EXPECT_EQ(seen.cut, std::vector<std::string>{});
    EXPECT_EQ(seen.alphaMembers, (std::vector<std::string>{"win.ini", "WinAmp - Song.mp3"}));
    EXPECT_EQ(seen.betaMembers, std::vector<std::string>{"No Files in Project: 'Beta'"});
    EXPECT_EQ(seen.memberSelection, LB_ERR);
    EXPECT_TRUE(seen.closed);
    EXPECT_EQ(presenter.projectToOpen(), "Alpha");
}

TEST_F(OpenDialogWindowTest, DeleteWithYesRemovesTheProjectAndEscapeOpensNothing) {
    struct {
        std::string question;
        bool yesNo = false, exclamation = false, closed = false;
        std::vector<std::string> projects, members;
        std::string shownName = "<unread>";
    } seen;
    run([&](HWND dialog) {
        auto item = [&](int id) { return GetDlgItem(dialog, id); };
        HWND projects = item(IDC_lstProjects);
        press(projects, VK_DOWN);
        waitForMembers(dialog, "Alpha");

        PostMessageW(item(IDC_cmdDelete), BM_CLICK, 0, 0);
        if (HWND box = waitForMessageBox(dialog)) {
            seen.yesNo = GetDlgItem(box, IDYES) != nullptr && GetDlgItem(box, IDNO) != nullptr &&
                         GetDlgItem(box, IDOK) == nullptr;
            const auto exclamation = reinterpret_cast<LRESULT>(LoadIconW(nullptr, IDI_EXCLAMATION));
            for (HWND child : childrenOf(box)) {
                seen.exclamation =
                    seen.exclamation || SendMessageW(child, STM_GETICON, 0, 0) == exclamation;
            }
        }
        seen.question = answerMessageBox(dialog, IDYES);
        waitFor([&] { return listItems(projects).size() == 1; });
        seen.projects = listItems(projects);
        seen.members = listItems(item(IDC_lbxFileNames));
        seen.shownName = textOf(item(IDC_lblDisplay));

        press(projects, VK_ESCAPE);
        seen.closed = waitFor([&] { return !IsWindow(dialog); });
    });

    EXPECT_EQ(seen.question, "\r\nDo you really want to remove 'Alpha'?\r\n");
    EXPECT_TRUE(seen.yesNo);
    EXPECT_TRUE(seen.exclamation);
    EXPECT_EQ(seen.projects, std::vector<std::string>{"Beta"});
    EXPECT_EQ(seen.members, std::vector<std::string>{});
    EXPECT_EQ(seen.shownName, "");
    EXPECT_FALSE(files.fileAttributes(projectFile("Alpha")).has_value());
    EXPECT_TRUE(files.fileAttributes(projectFile("Beta")).has_value());
    EXPECT_TRUE(seen.closed);
    EXPECT_EQ(presenter.projectToOpen(), std::nullopt);
}

}  // namespace
}  // namespace snapdesk
