#include "platform/win32/win32_shell.h"

// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <cwchar>
#include <memory>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk {
namespace {

using ItemList = win32::unique_cotaskmem<ITEMIDLIST>;

}  // namespace

std::optional<std::string> Win32Shell::specialFolderPath(int folder, WindowHandle owner) {
    ItemList items;
    if (FAILED(SHGetSpecialFolderLocation(win32::toHwnd(owner), folder, items.put())) || !items) {
        return std::nullopt;
    }
    wchar_t buffer[MAX_PATH + 1] = {};
    if (!SHGetPathFromIDListW(items.get(), buffer)) {
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

std::string Win32Shell::openFileDialog(WindowHandle owner, const FileDialogRequest& request) {
    // The filter's pairs end in NUL each, the list in a second one.
    std::wstring filter = win32::toWide(request.filter);
    for (wchar_t& c : filter) {
        if (c == L'|') {
            c = L'\0';
        }
    }
    filter.append(2, L'\0');
    std::wstring file = win32::toWide(request.fileName);
    file.resize(std::max<std::size_t>(file.size() + 1, 32768), L'\0');
    const std::wstring title = win32::toWide(request.title);
    const std::wstring folder = win32::toWide(request.initialFolder);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = win32::toHwnd(owner);
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetOpenFileNameW(&dialog)) {
        return {};
    }
    return win32::toUtf8(std::wstring_view(file.c_str()));
}

}  // namespace snapdesk
