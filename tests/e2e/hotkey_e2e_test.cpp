// The hot key from anywhere: notepad in front and Snapdesk minimised, Ctrl+Alt+Space typed on
// the display's keyboard brings Snapdesk up and, pressed again, sends it back with notepad in
// front. With the key held by another program, Snapdesk says so once, its Hot Key dialog says
// the key is not active, and another key chosen there works at once.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "mainwindow/menu_ids.h"
#include "mainwindow/win32/hot_key_dialog_ids.h"
#include "snapdesk_app.h"
#include "test_apps.h"

namespace snapdesk::testing {
namespace {

// xdotool, a program of the Linux side, with the test display's keyboard and mouse: what it
// types and clicks reaches Wine as a person's input. Wine's ntdll starts Linux programs.
bool xdotool(std::initializer_list<std::string> arguments) {
    using Spawn = long(__cdecl*)(char* const argv[], int wait);
    const auto spawn = reinterpret_cast<Spawn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
    if (spawn == nullptr) {
        return false;
    }
    std::vector<std::string> words{"xdotool"};
    words.insert(words.end(), arguments);
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    return spawn(argv.data(), 1) == 0;
}

// Keys typed: wineserver matches them against the registered hot keys, whichever Wine window
// has the focus.
bool typeOnDisplay(const std::string& keys) {
    return xdotool({"key", keys});
}

// A click on the window's caption; the virtual desktop lies at the display's origin.
bool clickCaption(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return xdotool({"mousemove", std::to_string(r.left + 80),
                    std::to_string(r.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2), "click", "1"});
}

bool inFront(HWND window) {
    return GetForegroundWindow() == window;
}

class HotKeyE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        clearSnapdeskSettings();
        path = writeTempTextFile(L"hotkey notes.txt", "Notes\r\n");
        notepad = std::make_unique<Program>(startNotepadOn(path, notepadWindow));
        ASSERT_NE(notepadWindow, nullptr);
    }
    void TearDown() override {
        app.reset();
        holder.reset();
        notepad.reset();
        DeleteFileW(path.c_str());
        // The key the next test starts with.
        clearSnapdeskSettings();
    }

    // Snapdesk minimised, notepad clicked into.
    void minimiseWithNotepadInFront() {
        PostMessageW(app->main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(waitUntil([&] { return IsIconic(app->main()) != FALSE; }));
        ASSERT_TRUE(clickCaption(notepadWindow));
        ASSERT_TRUE(waitUntil([&] { return inFront(notepadWindow); }));
    }
    // The key brings Snapdesk up, restored and in front.
    void expectUpWith(const std::string& keys) {
        ASSERT_TRUE(typeOnDisplay(keys));
        EXPECT_TRUE(waitUntil([&] { return !IsIconic(app->main()) && inFront(app->main()); }))
            << "Snapdesk up with " << keys;
    }

    std::wstring hotKeyStatus(HWND dialog) {
        return windowTextOf(GetDlgItem(dialog, IDC_lblHotKeyStatus));
    }

    std::wstring path;
    HWND notepadWindow = nullptr;
    std::unique_ptr<Program> notepad;
    std::unique_ptr<Program> holder;
    std::unique_ptr<SnapdeskApp> app;
};

TEST_F(HotKeyE2E, CtrlAltSpaceBringsSnapdeskUpAndSendsItBackToNotepad) {
    app = std::make_unique<SnapdeskApp>();
    ASSERT_TRUE(app->started());
    EXPECT_EQ(snapdeskSetting(L"HotKey"), L"Ctrl+Alt+Space");
    minimiseWithNotepadInFront();

    expectUpWith("ctrl+alt+space");
    screenshot("hotkey-1-up");

    ASSERT_TRUE(typeOnDisplay("ctrl+alt+space"));
    EXPECT_TRUE(waitUntil([&] { return IsIconic(app->main()) && inFront(notepadWindow); }))
        << "minimised again with notepad in front";
    screenshot("hotkey-2-back");
}

TEST_F(HotKeyE2E, AKeyHeldElsewhereIsToldOnceAndAnotherChosenInTheDialogWorks) {
    holder = std::make_unique<Program>(quoteArgument(testAppPath(L"hotkeyholder.exe")));
    ASSERT_NE(
        holder->waitForWindow([](HWND w) { return windowTextOf(w) == L"Hot Key Holder - held"; }),
        nullptr);
    app = std::make_unique<SnapdeskApp>();
    ASSERT_TRUE(app->started());
    const std::wstring told = answerMessage(app->program());
    EXPECT_NE(told.find(L"Ctrl+Alt+Space: another program is using it"), std::wstring::npos)
        << std::string(told.begin(), told.end());

    app->command(ID_mnuHotKey);
    HWND dialog = waitForWindowTitled(app->program(), L"Hot Key");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(hotKeyStatus(dialog), L"Not active: another program is using this key");
    // Only the dialog: the message was not shown a second time.
    EXPECT_EQ(app->program().waitForWindow(
                  [](HWND w) {
                      return IsWindowVisible(w) && windowTextOf(w) == L"Snapdesk!" &&
                             classNameOf(w) == L"#32770";
                  },
                  Milliseconds{0}),
              nullptr);

    // Ctrl+Alt+K as the hot-key control holds it (its Alt bit is RegisterHotKey's Shift).
    SendMessageW(GetDlgItem(dialog, IDC_hotKey), HKM_SETHOTKEY,
                 MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
    click(dialog, IDOK);
    ASSERT_TRUE(gone(dialog));
    EXPECT_EQ(snapdeskSetting(L"HotKey"), L"Ctrl+Alt+K");

    minimiseWithNotepadInFront();
    expectUpWith("ctrl+alt+k");
}

}  // namespace
}  // namespace snapdesk::testing
