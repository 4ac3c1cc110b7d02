// frmSplashDirTreeBuild on a real window: its texts, its place, its waits, the owner kept
// from input while it is up.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "location/dir_tree.h"
#include "location/win32/splash_window.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_ui.h"

namespace snapdesk {
namespace {

// What a timer of the test saw while the splash was up.
struct Seen {
    int probes = 0;
    bool visible = false;
    std::string caption, label1, welcome, productName;
    RECT rect{};
    bool ownerEnabled = true;
};
Seen seen;
HWND owner = nullptr;

std::string textOf(HWND window) {
    wchar_t buffer[256] = {};
    const int length = GetWindowTextW(window, buffer, 256);
    return win32::toUtf8(std::wstring(buffer, static_cast<std::size_t>(length)));
}

void CALLBACK probe(HWND, UINT, UINT_PTR, DWORD) {
    const HWND splash = FindWindowW(kSplashWindowClass, nullptr);
    if (splash == nullptr) {
        return;
    }
    ++seen.probes;
    seen.visible = IsWindowVisible(splash) != 0;
    seen.caption = textOf(splash);
    seen.label1 = textOf(GetDlgItem(splash, kSplashLabel1Id));
    seen.welcome = textOf(GetDlgItem(splash, kSplashWelcomeId));
    seen.productName = textOf(GetDlgItem(splash, kSplashProductNameId));
    GetWindowRect(splash, &seen.rect);
    seen.ownerEnabled = IsWindowEnabled(owner) != 0;
}

// The real message pump; failures are recorded instead of waiting for a click.
struct PumpingUi : Win32Ui {
    std::vector<std::string> messages;
    void messageBox(const std::string& text, const std::string&, MessageBoxStyle) override {
        messages.push_back(text);
    }
};

class SplashWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        folder = std::wstring(temp) + L"snapdesk-splash-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder.c_str(), nullptr);
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner);
        for (int level = 0; level <= 22; ++level) {
            DeleteFileW((folder + L"\\dirTree" + std::to_wstring(level) + L".txt").c_str());
        }
        RemoveDirectoryW(folder.c_str());
    }
    // One start-up behind the real splash; its duration in milliseconds.
    ULONGLONG startUp() {
        seen = Seen{};
        DirectoryTree tree(files, shell, ui, win32::toUtf8(folder), "1.2.3");
        SplashDirTreeBuildWindow splash(ui, owner);
        const UINT_PTR timer = SetTimer(nullptr, 0, 250, probe);
        const ULONGLONG begin = GetTickCount64();
        tree.buildDirTree(splash);
        const ULONGLONG elapsed = GetTickCount64() - begin;
        KillTimer(nullptr, timer);
        EXPECT_TRUE(tree.treeReady());
        EXPECT_GT(tree.dirCount(), 10);
        EXPECT_TRUE(ui.messages.empty());
        return elapsed;
    }

    std::wstring folder;
    Win32FileSystem files;
    Win32Shell shell;
    PumpingUi ui;
};

TEST_F(SplashWindowTest, ShowsItsTextsCentredWhileTheTreeIsWalkedThenLoaded) {
    const ULONGLONG walk = startUp();
    EXPECT_GE(seen.probes, 5);
    EXPECT_TRUE(seen.visible);
    EXPECT_EQ(seen.label1, "Initializing ... this may take a few minutes.");
    EXPECT_EQ(seen.welcome, "Welcome to");
    EXPECT_EQ(seen.productName, "Snapdesk!");
    EXPECT_EQ(seen.caption, "Snapdesk!");
    EXPECT_FALSE(seen.ownerEnabled);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(seen.rect.left + seen.rect.right, screenWidth, 2);
    EXPECT_NEAR(seen.rect.top + seen.rect.bottom, screenHeight, 2);
    // One second before the work and two after it.
    EXPECT_GE(walk, 2900u);
    EXPECT_EQ(FindWindowW(kSplashWindowClass, nullptr), nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner));

    const ULONGLONG load = startUp();
    EXPECT_EQ(seen.label1, "Initializing ...");
    EXPECT_EQ(seen.productName, "Snapdesk!");
    EXPECT_GE(load, 2900u);
    EXPECT_LT(load, 10000u);
    EXPECT_EQ(FindWindowW(kSplashWindowClass, nullptr), nullptr);
}

}  // namespace
}  // namespace snapdesk
