// The hot key from anywhere: notepad in front and Snapdesk minimised, Ctrl+Alt+Space typed on
// the display's keyboard brings Snapdesk up and, again, sends it back with notepad in front.
// With the key held by another program, Snapdesk says so once, its Hot Key dialog says the
// key is not active, and another key chosen there works at once.
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
        clearSnapdeskSettings();  // the key the next test starts with
    }

    // Snapdesk minimised, then a click on notepad's caption.
    void minimiseWithNotepadInFront() {
        PostMessageW(app->main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(waitUntil([&] { return IsIconic(app->main()) != FALSE; }));
        ASSERT_TRUE(clickCaption(notepadWindow));
    }
    void expectUpWith(const std::string& keys) {
        ASSERT_TRUE(xdotool({"key", keys}));
        EXPECT_TRUE(waitUntil([&] {
            return !IsIconic(app->main()) && GetForegroundWindow() == app->main();
        })) << "Snapdesk restored and in front with "
            << keys;
    }

    std::wstring path;
    HWND notepadWindow = nullptr;
    std::unique_ptr<Program> notepad, holder;
    std::unique_ptr<SnapdeskApp> app;
};

TEST_F(HotKeyE2E, CtrlAltSpaceBringsSnapdeskUpAndSendsItBackToNotepad) {
    app = std::make_unique<SnapdeskApp>();
    ASSERT_TRUE(app->started());
    EXPECT_EQ(snapdeskSetting(L"HotKey"), L"Ctrl+Alt+Space");
    minimiseWithNotepadInFront();
    expectUpWith("ctrl+alt+space");
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+space"}));
    EXPECT_TRUE(waitUntil([&] {
        return IsIconic(app->main()) && GetForegroundWindow() == notepadWindow;
    })) << "minimised again with notepad in front";
}

TEST_F(HotKeyE2E, AKeyHeldElsewhereIsToldOnceAndAnotherChosenInTheDialogWorks) {
    holder = std::make_unique<Program>(quoteArgument(testAppPath(L"hotkeyholder.exe")));
    ASSERT_TRUE(
        holder->waitForWindow([](HWND w) { return windowTextOf(w) == L"Hot Key Holder - held"; }));
    app = std::make_unique<SnapdeskApp>();
    ASSERT_TRUE(app->started());
    const std::wstring told = answerMessage(app->program());
    EXPECT_NE(told.find(L"Ctrl+Alt+Space: another program is using it"), std::wstring::npos);

    app->command(ID_mnuHotKey);
    const HWND dialog = waitForWindowTitled(app->program(), L"Hot Key");
    ASSERT_NE(dialog, nullptr);
    screenshot("hotkey-dialog-not-active");
    EXPECT_EQ(windowTextOf(GetDlgItem(dialog, IDC_lblHotKeyStatus)),
              L"Not active: another program is using this key");
    const auto message = [](HWND w) {
        return IsWindowVisible(w) && windowTextOf(w) == L"Snapdesk!" && classNameOf(w) == L"#32770";
    };
    EXPECT_EQ(app->program().waitForWindow(message, Milliseconds{0}), nullptr) << "told twice";
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
