#include "platform/win32/win32_shell.h"

#include <shlobj.h>

#include <cwchar>
#include <memory>

#include "platform/win32/win32_convert.h"

namespace snapdesk {
namespace {

struct ItemListFree {
    void operator()(ITEMIDLIST* items) const { CoTaskMemFree(items); }
};
using ItemList = std::unique_ptr<ITEMIDLIST, ItemListFree>;

}  // namespace

std::optional<std::string> Win32Shell::specialFolderPath(int folder, WindowHandle owner) {
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(win32::toHwnd(owner), folder, &items)) ||
        items == nullptr) {
        return std::nullopt;
    }
    wchar_t buffer[MAX_PATH + 1] = {};
    const BOOL converted = SHGetPathFromIDListW(items, buffer);
    CoTaskMemFree(items);
    if (!converted) {
        return std::nullopt;
    }
    return win32::toUtf8(std::wstring_view(buffer, wcsnlen(buffer, MAX_PATH)));
}

std::string Win32Shell::browseForFolder(WindowHandle owner) {
    const HWND window = win32::toHwnd(owner);
    LPITEMIDLIST rootItems = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(window, special_folders::kDesktop, &rootItems))) {
        rootItems = nullptr;
    }
    const ItemList root(rootItems);
    wchar_t displayName[MAX_PATH + 1] = {};
    BROWSEINFOW info{};
    info.hwndOwner = window;
    info.pidlRoot = root.get();
    info.pszDisplayName = displayName;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    const ItemList chosen(SHBrowseForFolderW(&info));
    if (!chosen) {
        return {};
    }
    wchar_t buffer[MAX_PATH + 1] = {};
    if (!SHGetPathFromIDListW(chosen.get(), buffer)) {
        return {};
    }
    return win32::toUtf8(std::wstring_view(buffer, wcsnlen(buffer, MAX_PATH)));
}

}  // namespace snapdesk
