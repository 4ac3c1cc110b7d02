// "Save Project As" on the real dialog, typed into from a second thread the way a user types:
// characters into the boxes, Enter and Escape, the message boxes read and answered. The
// project file is written on the real file system of the Wine prefix.
// clang-format off
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "dialog_driving.h"
#include "platform/sim/sim_shell.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_ui.h"
#include "projects/project_store.h"
#include "projects/save_dialog.h"
#include "projects/win32/save_dialog_ids.h"
#include "projects/win32/save_dialog_window.h"
#include "sim_world.h"

namespace snapdesk {
namespace {

using namespace dialog_driving;

// Keys as the keyboard sends them to the control with the focus.
void type(HWND box, const std::string& text) {
    for (const wchar_t c : win32::toWide(text)) {
        PostMessageW(box, WM_CHAR, c, 1);
    }
}
void erase(HWND box) {
    const int length = GetWindowTextLengthW(box);
    PostMessageW(box, WM_KEYDOWN, VK_END, 1);
    for (int i = 0; i < length; ++i) {
        PostMessageW(box, WM_CHAR, VK_BACK, 1);
    }
}

// The dialog's picture as the screen shows it, in a bitmap file beside the test.
void saveScreenshot(HWND dialog, const char* file) {
    RECT r{};
    GetWindowRect(dialog, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
    const DWORD size = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(header) + sizeof(info.bmiHeader);
    header.bfSize = header.bfOffBits + size;
    if (FILE* out = std::fopen(file, "wb")) {
        std::fwrite(&header, sizeof(header), 1, out);
        std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out);
        std::fwrite(bits, 1, size, out);
        std::fclose(out);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

class QuietHost : public ProjectStoreHost {
  public:
    void updatePaths(bool) override {}
    void setProjectLabelCaption(const std::string&) override {}
    int projectLabelWidth() override { return 0; }
    int mainWindowWidth() override { return 0; }
    void setProjectLabelLeft(int) override {}
    void showNoEmptyOverwrite() override {}
    void showNoEmptyProject() override {}
};

// What the typing thread saw, asserted on the test's thread.
struct Seen {
    std::string caption, savedProjects, filesIncluded, fileLocation, edit, save, cancel;
    std::vector<std::string> projects, lines;
    std::string longPath, focus;
    bool browseVisible = true, longPathEnabled = true;
    RECT rect{};
    int screenWidth = 0, screenHeight = 0;
    std::vector<std::string> tips, cut;
    std::string fullStopMessage, editCaption, missingPathMessage, storedCaption;
    bool editEnabled = false, storedDisabled = false, closed = false;
};

class SaveDialogWindowTest : public ::testing::Test {
  protected:
    static std::string temporaryFolder() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        return win32::toUtf8(temp) + "snapdesk-save-dialog-" +
               std::to_string(GetCurrentProcessId());
    }
    void SetUp() override {
        CreateDirectoryW(win32::toWide(program).c_str(), nullptr);
        CreateDirectoryW(win32::toWide(program + "\\datafiles").c_str(), nullptr);
        CreateDirectoryW(win32::toWide(program + "\\datafiles\\projects").c_str(), nullptr);
        ASSERT_TRUE(files.replaceFile(program + "\\datafiles\\projects\\Alpha.txt", ""));
        ASSERT_TRUE(files.replaceFile(document, "report"));

        world.topLevel("Report.doc - Word", 10);
        world.topLevel("Notes", 11);
        world.list.refreshList();
        ASSERT_EQ(world.list.count(), 2);
        for (long i = 1; i <= 2; ++i) {
            world.list.setInTab(i, kProjectTab);
        }
        world.list.setCaptionString(1, "Report.doc");
        world.list.setFilePath(1, document);
        world.list.setEXEPath(1, "C:\\OFFICE\\WINWORD.EXE");
        world.list.setCaptionString(2, "Notes");
        world.list.setFilePath(2, "C:\\windows\\win.ini");
        world.list.setEXEPath(2, "C:\\windows\\notepad.exe");
        store.loadProjectStore();
    }
    void TearDown() override {
        for (const char* name : {"Alpha", "Sample Project"}) {
            DeleteFileW(win32::toWide(program + "\\datafiles\\projects\\" + name + ".txt").c_str());
        }
        DeleteFileW(win32::toWide(document).c_str());
        RemoveDirectoryW(win32::toWide(program + "\\datafiles\\projects").c_str());
        RemoveDirectoryW(win32::toWide(program + "\\datafiles").c_str());
        RemoveDirectoryW(win32::toWide(program).c_str());
    }
    // Shows the dialog while `drive` works it from another thread; closes what it left open.
    void run(const std::function<void(HWND)>& drive) {
        std::thread user([&] {
            HWND dialog = nullptr;
            if (!waitFor([&] {
                    return (dialog = ownedDialog(nullptr, L"Save Project As")) != nullptr &&
                           IsWindowVisible(dialog);
                })) {
                return;
            }
            drive(dialog);
            if (IsWindow(dialog)) {
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            }
        });
        showSaveDialog(nullptr, presenter);
        user.join();
    }

    const std::string program = temporaryFolder();
    const std::string document = program + "\\Report.doc";
    Win32FileSystem files;
    Win32Ui ui;
    testing::SimWorld world;
    sim::SimShell shell;
    QuietHost host;
    ProjectStore store{files, shell, ui, world.list, host, program};
    bool saveCancelled = false;
    SaveDialog presenter{world.list, store, ui, shell, files, nullptr, saveCancelled};
};

TEST_F(SaveDialogWindowTest, TypedNamesAreCheckedAndEnterSavesWithTheLocationsEdited) {
    Seen seen;
    run([&](HWND dialog) {
        auto item = [&](int id) { return GetDlgItem(dialog, id); };
        seen.caption = textOf(dialog);
        seen.savedProjects = textOf(item(IDC_lblSavedProjects));
        seen.filesIncluded = textOf(item(IDC_lblFiles));
        seen.fileLocation = textOf(item(IDC_lblFileLocation));
        seen.edit = textOf(item(IDC_cmdEdit));
        seen.save = textOf(item(IDC_cmdSaveProject));
        seen.cancel = textOf(item(IDCANCEL));
        seen.projects = listItems(item(IDC_lstIniSection));
        seen.lines = listItems(item(IDC_lbxFiles));
        seen.longPath = textOf(item(IDC_txtLongPath));
        seen.browseVisible = IsWindowVisible(item(IDC_cmdBrowse)) != 0;
        seen.longPathEnabled = IsWindowEnabled(item(IDC_txtLongPath)) != 0;
        GUITHREADINFO thread{};
        thread.cbSize = sizeof(thread);
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
        seen.focus =
            thread.hwndFocus == item(IDC_txtSavePro) ? "txtSavePro" : classOf(thread.hwndFocus);
        GetWindowRect(dialog, &seen.rect);
        seen.screenWidth = GetSystemMetrics(SM_CXSCREEN);
        seen.screenHeight = GetSystemMetrics(SM_CYSCREEN);
        seen.tips = toolTipsOf(dialog, {IDC_cmdEdit, IDC_cmdSaveProject, IDCANCEL});
        seen.cut = cutTexts(dialog);
        saveScreenshot(dialog, "save_dialog.bmp");
        std::printf("dialog at %ld,%ld-%ld,%ld, picture in save_dialog.bmp\n", seen.rect.left,
                    seen.rect.top, seen.rect.right, seen.rect.bottom);

        HWND name = item(IDC_txtSavePro);
        type(name, "My.Project");
        press(name, VK_RETURN);
        seen.fullStopMessage = answerMessageBox(dialog);

        // Enter in the location box stores the edit; a missing file is refused first.
        PostMessageW(item(IDC_cmdEdit), BM_CLICK, 0, 0);
        HWND path = item(IDC_txtLongPath);
        waitFor([&] { return IsWindowEnabled(path) != 0; });
        seen.editEnabled = IsWindowVisible(item(IDC_cmdBrowse)) != 0;
        seen.editCaption = textOf(item(IDC_cmdEdit));
        erase(path);
        type(path, "C:\\nowhere\\gone.doc");
        press(path, VK_RETURN);
        seen.missingPathMessage = answerMessageBox(dialog);
        erase(path);
        type(path, "C:\\windows\\system.ini");
        press(path, VK_RETURN);
        seen.storedDisabled = waitFor([&] { return IsWindowEnabled(path) == 0; });
        seen.storedCaption = textOf(item(IDC_cmdEdit));

        erase(name);
        type(name, "Sample Project");
        press(name, VK_RETURN);
        seen.closed = waitFor([&] { return !IsWindow(dialog); });
    });

    EXPECT_EQ(seen.caption, "Save Project As");
    EXPECT_EQ(seen.savedProjects, "Saved Projects");
    EXPECT_EQ(seen.filesIncluded, "Files to be included in Saved Project:");
    EXPECT_EQ(seen.fileLocation, "File Location:");
    EXPECT_EQ(seen.edit, "Edit File Path");
    EXPECT_EQ(seen.save, "&Save");
    EXPECT_EQ(seen.cancel, "&Cancel");
    EXPECT_EQ(seen.projects, std::vector<std::string>{"Alpha"});
    EXPECT_EQ(seen.lines, (std::vector<std::string>{"Report.doc", "Notes"}));
    EXPECT_EQ(seen.longPath, document);
    EXPECT_FALSE(seen.browseVisible);
    EXPECT_FALSE(seen.longPathEnabled);
    EXPECT_EQ(seen.focus, "txtSavePro");
    const int width = seen.rect.right - seen.rect.left, height = seen.rect.bottom - seen.rect.top;
    EXPECT_EQ(seen.rect.left, (seen.screenWidth - width) / 2);
    EXPECT_EQ(seen.rect.top, (seen.screenHeight - height) / 3);
    EXPECT_EQ(seen.tips, (std::vector<std::string>{"Click to Enable Editing",
                                                   "Click to Save Project", "Click to Cancel"}));
    EXPECT_EQ(seen.cut, std::vector<std::string>{});

    EXPECT_EQ(seen.fullStopMessage,
              "\r\n    Illegal character(s) in Project name.        \r\n"
              "     \\ / < >  : ; . , ? | * \" are not allowed.");
    EXPECT_TRUE(seen.editEnabled);
    EXPECT_EQ(seen.editCaption, "Store Edit");
    EXPECT_EQ(seen.missingPathMessage,
              "         The path you entered:                                              \r\n"
              "         C:\\nowhere\\gone.doc\r\n"
              "         does not point to a file or folder.\r\n"
              "         Please check and re-enter the path.");
    EXPECT_TRUE(seen.storedDisabled);
    EXPECT_EQ(seen.storedCaption, "Edit Path");
    EXPECT_TRUE(seen.closed);

    EXPECT_TRUE(presenter.saved());
    EXPECT_EQ(store.currentProjectName(), "Sample Project");
    const std::string saved =
        files.readFile(program + "\\datafiles\\projects\\Sample Project.txt").value_or("");
    EXPECT_NE(saved.find("1=C:\\windows\\system.ini"), std::string::npos) << saved;
    EXPECT_NE(saved.find("2=C:\\windows\\win.ini"), std::string::npos) << saved;
}

TEST_F(SaveDialogWindowTest, EscapeCancelsWithoutWriting) {
    bool closed = false;
    run([&](HWND dialog) {
        HWND name = GetDlgItem(dialog, IDC_txtSavePro);
        type(name, "Never");
        press(name, VK_ESCAPE);
        closed = waitFor([&] { return !IsWindow(dialog); });
    });
    EXPECT_TRUE(closed);
    EXPECT_FALSE(presenter.saved());
    EXPECT_FALSE(files.fileAttributes(program + "\\datafiles\\projects\\Never.txt").has_value());
    EXPECT_EQ(store.currentProjectName(), "[Untitled]");
}

}  // namespace
}  // namespace snapdesk
