// The dialogs of a save as real windows from the resource script, opened through
// Win32ProjectDialogs over a test window and driven from a helper thread by their control ids,
// as a user would with keys and clicks: answers, refused closes, messages, the WinAmp Recent
// list from a real shortcut resolved by zim001.dll, the refresh timer, and that no text is cut.

// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/runtime_error.h"
#include "common/text.h"
#include "location/win32/location_dialog_ids.h"
#include "location/win32/win32_project_dialogs.h"
#include "platform/win32/link_path_binder.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_shell.h"
#include "test_apps.h"
#include "tracking/recent_folder.h"

namespace snapdesk {
namespace {

using testing::childWindows;
using testing::classNameOf;
using testing::waitUntil;
using testing::windowTextOf;
using win32::toUtf8;
using win32::toWide;

// The refresh timer; read by the helper thread while a dialog is up.
struct Timer : Timer1Switch {
    std::atomic<bool> on{true};
    bool timer1Enabled() override { return on; }
    void setTimer1(bool enabled) override { on = enabled; }
};

struct DialogSearch {
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK matchDialog(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<DialogSearch*>(search);
    if (IsWindowVisible(window) && classNameOf(window) == L"#32770" &&
        windowTextOf(window) == *s->caption) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

// The visible dialog (or message box) of `thread` with this caption; nullptr on time-out.
HWND waitForDialog(DWORD thread, const std::wstring& caption) {
    DialogSearch search{&caption, nullptr};
    waitUntil([&] {
        EnumThreadWindows(thread, matchDialog, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

std::string textOf(HWND window) {
    return toUtf8(windowTextOf(window));
}

// What a user does, from the helper thread. Posted, so that a message box the dialog opens
// does not block the helper.
void click(HWND dialog, int id) {
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}
void pressKey(DWORD thread, WPARAM key) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(thread, &info);
    PostMessageW(info.hwndFocus, WM_KEYDOWN, key, 0);
    PostMessageW(info.hwndFocus, WM_KEYUP, key, 0);
}
void closeBox(HWND dialog) {
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}
// Returns once the dialog's thread has handled what was posted to it before: a marker posted
// after it, a new length limit of one of its edit boxes, has arrived.
void settle(HWND edit) {
    static std::atomic<int> marker{40000};
    const int limit = ++marker;
    PostMessageW(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
    waitUntil([&] { return SendMessageW(edit, EM_GETLIMITTEXT, 0, 0) == limit; });
}
bool waitGone(HWND dialog) {
    return waitUntil([&] { return !IsWindow(dialog); });
}

// The static texts of a dialog, in order, and those the control is too small for.
struct Statics {
    std::vector<std::string> texts;
    std::vector<std::string> cutOff;
};
Statics readStatics(HWND dialog) {
    Statics statics;
    for (HWND control : childWindows(dialog)) {
        if (classNameOf(control) != L"Static") {
            continue;
        }
        const std::wstring text = windowTextOf(control);
        statics.texts.push_back(toUtf8(text));
        RECT box{};
        GetClientRect(control, &box);
        RECT needed = box;
        HDC dc = GetDC(control);
        HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
        UINT format = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS;
        if (GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX) {
            format |= DT_NOPREFIX;
        }
        DrawTextW(dc, text.c_str(), -1, &needed, format);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        if (needed.right - needed.left > box.right - box.left ||
            needed.bottom - needed.top > box.bottom - box.top) {
            statics.cutOff.push_back(toUtf8(text) + " needs " +
                                     std::to_string(needed.right - needed.left) + "x" +
                                     std::to_string(needed.bottom - needed.top) + ", has " +
                                     std::to_string(box.right) + "x" + std::to_string(box.bottom));
        }
    }
    return statics;
}

// The placement every dialog of a save has.
bool placedCentredAtAThird(HWND dialog) {
    RECT frame{};
    GetWindowRect(dialog, &frame);
    const int left = (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 3;
    return std::abs(frame.left - left) <= 1 && std::abs(frame.top - top) <= 1;
}

LRESULT CALLBACK ownerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefWindowProcW(w, m, wp, lp);
}

class SaveDialogsWin32 : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        WNDCLASSW type{};
        type.lpfnWndProc = ownerProc;
        type.hInstance = GetModuleHandleW(nullptr);
        type.lpszClassName = L"SaveDialogsTestOwner";
        RegisterClassW(&type);
        owner = CreateWindowExW(0, type.lpszClassName, L"Song - Winamp", WS_OVERLAPPEDWINDOW, 100,
                                100, 400, 300, nullptr, nullptr, type.hInstance, nullptr);
        ShowWindow(owner, SW_SHOW);
        dialogs = std::make_unique<Win32ProjectDialogs>(
            owner, timer,
            Win32ProjectDialogs::Ports{platform.ui, shell, platform.files, list, links},
            [this] { return shell.browseForFolder(win32::toHandle(owner)); }, [this] { ++saves; },
            [] { return std::optional<std::string>(); });
    }
    void TearDown() override {
        dialogs.reset();
        DestroyWindow(owner);
        setRecentFolder(kRecentFolderUnknown);
        CoUninitialize();
    }

    // Shows a dialog on this thread while `drive` works it from a helper thread once the
    // dialog captioned so is up; false when it never came up.
    bool whileShown(const std::wstring& caption, const std::function<void(HWND)>& drive,
                    const std::function<void()>& show) {
        std::atomic<bool> found{false};
        std::thread helper([&] {
            HWND dialog = waitForDialog(thread, caption);
            if (dialog != nullptr) {
                found = true;
                drive(dialog);
            }
        });
        show();
        helper.join();
        return found;
    }

    DWORD thread = GetCurrentThreadId();
    Win32Platform system;
    Platform& platform = system.platform();
    Win32Shell shell;
    Win32LinkPathBinder links;
    CoffeeShopList list{platform};
    Timer timer;
    HWND owner = nullptr;
    int saves = 0;
    std::unique_ptr<Win32ProjectDialogs> dialogs;
};

const std::vector<std::string> kNoPathInfoTexts = {
    "Cannot find the path to:",
    "Report of the year.doc",
    "This may be do to one of the following reasons:",
    "This is a document that has not yet been saved.",
    "This is neither a document nor a web page.",
    "A file cannot be saved as part of a Project witout the full path.",
    "The Program will save the program and launch it as part of the Project.",
    "or you may Browse to supply the file path by clicking on 'Browse for Path'",
    "or you may choose to not include it in the saved Project."};

TEST_F(SaveDialogsWin32, NoPathInfoEnterSavesTheProgramAndDoNotIncludeLeavesItOut) {
    const std::string exe = "C:\\OFFICE\\WINWORD.EXE";
    Statics statics;
    std::vector<std::string> buttons;
    bool timerWhileShown = true;
    bool placed = false;
    std::string answer;
    ASSERT_TRUE(whileShown(
        L"Cannot Find Path Information",
        [&](HWND dialog) {
            statics = readStatics(dialog);
            for (int id :
                 {IDC_NOPATHINFO_OKBUTTON, IDC_NOPATHINFO_CMDBROWSE, IDC_NOPATHINFO_CMDCANCEL}) {
                buttons.push_back(textOf(GetDlgItem(dialog, id)));
            }
            timerWhileShown = timer.on;
            placed = placedCentredAtAThird(dialog);
            pressKey(thread, VK_RETURN);
            waitGone(dialog);
        },
        [&] { answer = dialogs->showNoPathInfo(" Report of the year.doc ", exe); }));
    EXPECT_EQ(answer, exe);
    EXPECT_EQ(statics.texts, kNoPathInfoTexts);
    EXPECT_EQ(statics.cutOff, std::vector<std::string>{});
    EXPECT_EQ(buttons, (std::vector<std::string>{"OK", "&Browse for path...",
                                                 "&Do not include in Project"}));
    EXPECT_FALSE(timerWhileShown);
    EXPECT_TRUE(timer.on);
    EXPECT_TRUE(placed);

    // Its mnemonic: Alt+D, the way a user reaches "Do not include in Project".
    timer.on = false;
    ASSERT_TRUE(whileShown(
        L"Cannot Find Path Information",
        [&](HWND dialog) {
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            GetGUIThreadInfo(thread, &info);
            PostMessageW(info.hwndFocus, WM_SYSCHAR, 'd', 1 << 29);
            waitGone(dialog);
        },
        [&] { answer = dialogs->showNoPathInfo("Report.doc", exe); }));
    EXPECT_EQ(answer, "");
    EXPECT_FALSE(timer.on);  // given back as it was
}

TEST_F(SaveDialogsWin32, ContinueSearchCloseBoxCancelsAndASearchRunsWithTheButtonsDisabled) {
    struct Actions : ContinueSearchActions {
        int quick = 0;
        int full = 0;
        std::vector<bool> buttonsEnabled;
        DWORD thread = 0;
        void quickSearch() override {
            ++quick;
            HWND dialog = waitForDialog(thread, L"Path Not Found");
            for (int id : {IDC_CONTINUESEARCH_CMDQUICKSEARCH, IDC_CONTINUESEARCH_CMDCOMPLETE,
                           IDC_CONTINUESEARCH_CMDNOSEARCH, IDC_CONTINUESEARCH_CMDCANCELSAVE}) {
                buttonsEnabled.push_back(IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE);
            }
        }
        void fullSearch() override { ++full; }
    } actions;
    actions.thread = thread;

    Statics statics;
    bool cancelled = false;
    ASSERT_TRUE(whileShown(
        L"Path Not Found",
        [&](HWND dialog) {
            statics = readStatics(dialog);
            closeBox(dialog);
            waitGone(dialog);
        },
        [&] { cancelled = dialogs->showContinueSearch(actions); }));
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(actions.quick + actions.full, 0);
    EXPECT_FALSE(timer.on);  // left off for the rest of the save
    EXPECT_EQ(statics.texts,
              (std::vector<std::string>{
                  "Some file locations have not yet been found for this Project. ",
                  "A document must be saved before it can be included in a saved Project.",
                  "If you have unsaved documents that you wish to include in the Project,",
                  "        please save them before continuing.",
                  "Do you want the Program to continue searching? (This may take a few "
                  "minutes.)"}));
    EXPECT_EQ(statics.cutOff, std::vector<std::string>{});

    ASSERT_TRUE(whileShown(
        L"Path Not Found",
        [&](HWND dialog) {
            click(dialog, IDC_CONTINUESEARCH_CMDQUICKSEARCH);
            waitGone(dialog);
        },
        [&] { cancelled = dialogs->showContinueSearch(actions); }));
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(actions.quick, 1);
    EXPECT_EQ(actions.buttonsEnabled, std::vector<bool>(4, false));
}

TEST_F(SaveDialogsWin32, NoNetscape6RefusesItsCloseBoxAndABlankAddress) {
    const std::string page = "Snapdesk! Home Page - Thumbnails of your open work - Netscape 6";
    Statics statics;
    std::string caption;
    bool openAfterCloseBox = false;
    std::string message;
    bool openAfterBlank = false;
    std::string answer = "unchanged";
    ASSERT_TRUE(whileShown(
        L"Storing Netscape 6 URLs",
        [&](HWND dialog) {
            statics = readStatics(dialog);
            closeBox(dialog);
            pressKey(thread, VK_ESCAPE);
            settle(GetDlgItem(dialog, IDC_NONETSCAPE6_TEXT1));
            openAfterCloseBox = IsWindowVisible(dialog) != FALSE;
            SendMessageW(GetDlgItem(dialog, IDC_NONETSCAPE6_TEXT1), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(L"   "));
            click(dialog, IDC_NONETSCAPE6_OKBUTTON);
            if (HWND box = waitForDialog(thread, L"Snapdesk!")) {
                message = textOf(GetDlgItem(box, 0xFFFF));
                click(box, IDOK);
                waitGone(box);
            }
            settle(GetDlgItem(dialog, IDC_NONETSCAPE6_TEXT1));
            openAfterBlank = IsWindowVisible(dialog) != FALSE;
            // Typed, then Enter in the address box: the default button.
            SendMessageW(GetDlgItem(dialog, IDC_NONETSCAPE6_TEXT1), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(L" http://www.zim.com/ "));
            pressKey(thread, VK_RETURN);
            waitGone(dialog);
        },
        [&] { answer = dialogs->showNoNetscape6(page, "Netscape 6"); }));
    EXPECT_TRUE(openAfterCloseBox);
    EXPECT_EQ(message, "You did not enter a URL/file to save.");
    EXPECT_TRUE(openAfterBlank);
    EXPECT_EQ(answer, "http://www.zim.com/");
    EXPECT_EQ(statics.texts,
              (std::vector<std::string>{
                  "Sorry, Snapdesk! could not read the URL/address for:", "     " + page,
                  "You may enter it below to save it with the project.",
                  "  (Hint: You can go the to browser, copy the URL from the",
                  "   address line,then return and paste it into the box below)",
                  "Or, you may choose to save just the browser."}));
    EXPECT_EQ(statics.cutOff, std::vector<std::string>{});
    EXPECT_TRUE(timer.on);

    // "Do Not Save" leaves the member out; "Save Browser" saves the program.
    for (const auto& [button, expected] :
         {std::pair{IDC_NONETSCAPE6_CMDCANCEL, std::string()},
          std::pair{IDC_NONETSCAPE6_CMDSAVEBROWSER, std::string(kSaveBrowserExe)}}) {
        ASSERT_TRUE(whileShown(
            L"Storing Internet Explorer 4 URLs",
            [&](HWND dialog) {
                click(dialog, button);
                waitGone(dialog);
            },
            [&] { answer = dialogs->showNoNetscape6("Page", "Internet Explorer 4"); }));
        EXPECT_EQ(answer, expected);
    }
}

TEST_F(SaveDialogsWin32, WinAmpListsARecentSongAndWritesItIntoThePlayersRecord) {
    // The player's record: the owner window, tracked like any other.
    list.refreshList();
    long player = 0;
    for (long i = 1; i <= list.count(); ++i) {
        if (list.hWnd(i) == win32::toHandle(owner)) {
            player = i;
        }
    }
    ASSERT_NE(player, 0);
    list.setEXEPath(player, "C:\\PROGRAM FILES\\WINAMP\\WINAMP.EXE");

    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::string folder = toUtf8(temp) + "Snapdesk dialogs";
    const std::string song = folder + "\\Song of the day.mp3";
    SHCreateDirectoryExW(nullptr, toWide(folder).c_str(), nullptr);
    std::ofstream(toWide(song).c_str()) << "ID3";
    const auto recent = shell.specialFolderPath(special_folders::kRecent, 0);
    ASSERT_TRUE(recent.has_value());
    setRecentFolder(*recent + "\\");
    const std::string shortcut = *recent + "\\Song of the day.mp3.lnk";
    ASSERT_TRUE(testing::writeShortcut(toWide(shortcut), toWide(song)));
    const std::string upperSong = text::upperCase(song);

    Statics statics;
    std::vector<std::string> lines;
    std::string pathBox;
    std::string message;
    ASSERT_TRUE(whileShown(
        L"Storing WinAmp Playlist or Song",
        [&](HWND dialog) {
            statics = readStatics(dialog);
            HWND combo = GetDlgItem(dialog, IDC_WINAMP_COMBO1);
            const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
            for (LRESULT k = 0; k < count; ++k) {
                std::wstring line(
                    static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, k, 0)), L'\0');
                SendMessageW(combo, CB_GETLBTEXT, k, reinterpret_cast<LPARAM>(line.data()));
                lines.push_back(toUtf8(line));
            }
            // Down the list with the keyboard to the song.
            for (std::size_t k = 1; k < lines.size() && lines[k] != "SONG OF THE DAY.MP3"; ++k) {
                pressKey(thread, VK_DOWN);
            }
            pressKey(thread, VK_DOWN);
            settle(GetDlgItem(dialog, IDC_WINAMP_TXTLONGPATH));
            pathBox = textOf(GetDlgItem(dialog, IDC_WINAMP_TXTLONGPATH));
            // A path that names nothing is refused with a message.
            SendMessageW(GetDlgItem(dialog, IDC_WINAMP_TXTLONGPATH), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(L"C:\\No such folder\\gone.mp3"));
            click(dialog, IDC_WINAMP_OKBUTTON);
            if (HWND box = waitForDialog(thread, L"Snapdesk!")) {
                message = textOf(GetDlgItem(box, 0xFFFF));
                click(box, IDOK);
                waitGone(box);
            }
            SendMessageW(GetDlgItem(dialog, IDC_WINAMP_TXTLONGPATH), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(toWide(pathBox).c_str()));
            click(dialog, IDC_WINAMP_OKBUTTON);
            waitGone(dialog);
        },
        [&] { dialogs->showWinAmp("", "C:\\PROGRAM FILES\\WINAMP\\WINAMP.EXE"); }));
    // Without the shortcut resolver the dialog cannot open: the failure reaches the save
    // command, and the timer is given back.
    Win32LinkPathBinder missing("snapdesk_missing.dll", "_GetLinkPath@12");
    Win32ProjectDialogs withoutResolver(
        owner, timer, {platform.ui, shell, platform.files, list, missing}, [] { return ""; }, [] {},
        [] { return std::optional<std::string>(); });
    EXPECT_THROW(withoutResolver.showWinAmp("", "C:\\WINAMP\\WINAMP.EXE"), RuntimeError);
    DeleteFileW(toWide(shortcut).c_str());
    DeleteFileW(toWide(song).c_str());
    RemoveDirectoryW(toWide(folder).c_str());

    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "Recent Songs and Playlists");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "SONG OF THE DAY.MP3"), lines.end());
    EXPECT_EQ(pathBox, upperSong);
    EXPECT_EQ(message, "         The path you entered:" + std::string(46, ' ') +
                           "\r\n         C:\\No such folder\\gone.mp3\r\n"
                           "         does not point to a file or folder.\r\n"
                           "         Please check and re-enter the path.");
    EXPECT_EQ(list.filePath(player), upperSong);
    EXPECT_TRUE(list.searchDone(player));
    EXPECT_EQ(statics.cutOff, std::vector<std::string>{});
    EXPECT_EQ(statics.texts.size(), 4u);
    EXPECT_TRUE(timer.on);
}

TEST_F(SaveDialogsWin32, EmptyProjectNotesAndTheirChoices) {
    for (const bool tabHasRecords : {false, true}) {
        Statics statics;
        ASSERT_TRUE(whileShown(
            L"Cannot Save an Empty Project",
            [&](HWND dialog) {
                statics = readStatics(dialog);
                pressKey(thread, VK_RETURN);
                waitGone(dialog);
            },
            [&] { dialogs->showNoEmptyProject(tabHasRecords); }));
        EXPECT_EQ(statics.texts,
                  tabHasRecords
                      ? (std::vector<std::string>{"There are no files in the Project Tab ",
                                                  "that you wish to save as part of the Project.",
                                                  "", "Please add files to the Project Tab before",
                                                  "  the Project can be saved."})
                      : (std::vector<std::string>{
                            "There are no files in the Project Tab.",
                            "Use the 'To Project' button or", "  right click on an image to move",
                            "  the files you wish comprise the Project",
                            "  into the Project Tab and then Save the Project."}));
        EXPECT_EQ(statics.cutOff, std::vector<std::string>{});
    }

    Statics statics;
    std::vector<EmptyOverwriteChoice> choices;
    const std::vector<std::function<void(HWND)>> users = {
        [&](HWND dialog) {
            statics = readStatics(dialog);
            click(dialog, IDC_NOEMPTYOVERWRITE_CMDDELETE);
        },
        [&](HWND) { pressKey(thread, VK_RETURN); },
        [&](HWND dialog) { closeBox(dialog); },
    };
    for (const auto& user : users) {
        ASSERT_TRUE(whileShown(
            L"Empty Project",
            [&](HWND dialog) {
                user(dialog);
                waitGone(dialog);
            },
            [&] { choices.push_back(dialogs->showNoEmptyOverwrite()); }));
    }
    EXPECT_EQ(choices, (std::vector<EmptyOverwriteChoice>{EmptyOverwriteChoice::DeleteProject,
                                                          EmptyOverwriteChoice::OpenNewProject,
                                                          EmptyOverwriteChoice::Closed}));
    EXPECT_EQ(statics.texts,
              (std::vector<std::string>{"Overwriting an existing project so that it contains no "
                                        "documents is not permitted.",
                                        "You should either:", "Delete the current project",
                                        "Open a new Project"}));
    EXPECT_EQ(statics.cutOff, std::vector<std::string>{});
    EXPECT_TRUE(timer.on);

    dialogs->showSave();
    EXPECT_EQ(saves, 1);
}

}  // namespace
}  // namespace snapdesk
