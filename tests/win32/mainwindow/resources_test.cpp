// The menu bar, shortcuts, icon and version of snapdesk.exe as Windows loads them from the
// program file, against the menu model the commands are written for.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "mainwindow/menu_ids.h"
#include "mainwindow/menu_model.h"
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

// Every shown item of the model at its place, with its text, id and marks; hidden ones absent.
void expectMenuMatches(HMENU menu, const Menu& model, const std::string& where) {
    const Menu shown = visibleItems(model);
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(shown.size())) << where;
    for (int i = 0; i < static_cast<int>(shown.size()); ++i) {
        const MenuItem& item = shown[static_cast<std::size_t>(i)];
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 127;
        ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) << where << i;
        const std::string at = where + " / " + (item.separator ? "separator" : item.caption);
        if (item.separator) {
            EXPECT_NE(info.fType & MFT_SEPARATOR, 0u) << at;
            continue;
        }
        EXPECT_EQ(win32::toUtf8(text), menuItemText(item)) << at;
        EXPECT_EQ((info.fState & MFS_CHECKED) != 0, item.checked) << at;
        EXPECT_EQ((info.fState & MFS_GRAYED) != 0, !item.enabled) << at;
        if (!item.items.empty()) {
            ASSERT_NE(info.hSubMenu, nullptr) << at;
            expectMenuMatches(info.hSubMenu, item.items, at);
        } else {
            EXPECT_EQ(static_cast<int>(info.wID), item.id) << at;
        }
    }
}

TEST_F(ProgramResources, TheMenuBarIsTheOneTheCommandsKnow) {
    HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(IDR_MAINMENU));
    ASSERT_NE(menu, nullptr);
    expectMenuMatches(menu, menuBar(), "menu bar");
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
