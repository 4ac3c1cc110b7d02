// The menu bar, shortcuts, icon and version of snapdesk.exe as Windows loads them from the
// program file, against the menu model the commands are written for.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "mainwindow/menu_ids.h"
#include "mainwindow/menu_model.h"
#include "menu_expect.h"
#include "platform/win32/win32_convert.h"
#include "resources/version.h"
#include "test_apps.h"

namespace snapdesk {
namespace {

std::wstring programPath() {
    return testing::windowsPath(SNAPDESK_EXE);
}

class ProgramResources : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(module, nullptr); }
    void TearDown() override {
        if (module != nullptr) {
            FreeLibrary(module);
        }
    }
    HMODULE module = LoadLibraryExW(programPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
};

TEST_F(ProgramResources, TheMenuBarIsTheOneTheCommandsKnow) {
    HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(IDR_MAINMENU));
    ASSERT_NE(menu, nullptr);
    testing::expectMenuMatches(testing::readMenu(menu), menuBar(), "menu bar");
    DestroyMenu(menu);
}

TEST_F(ProgramResources, ShortcutsAreTheMenusCtrlKeys) {
    HACCEL table = LoadAcceleratorsW(module, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    std::vector<ACCEL> keys(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, keys.data(), static_cast<int>(keys.size()));
    const auto expected = menuAccelerators();
    ASSERT_EQ(keys.size(), expected.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].key, static_cast<WORD>(expected[i].key));
        EXPECT_EQ(keys[i].cmd, static_cast<WORD>(expected[i].id));
        EXPECT_EQ(keys[i].fVirt & (FCONTROL | FVIRTKEY), FCONTROL | FVIRTKEY);
    }
}

TEST_F(ProgramResources, IconAndVersion) {
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(IDI_SNAPDESK), RT_GROUP_ICON), nullptr);
    DWORD handle = 0;
    const std::wstring path = programPath();
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), SNAPDESK_VERSION_MAJOR);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), SNAPDESK_VERSION_MINOR);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), SNAPDESK_VERSION_REVISION);
}

}  // namespace
}  // namespace snapdesk
