#include "platform/win32/win32_shell.h"

// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <memory>
#include <system_error>
#include <thread>

#include "base/unique_handle.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk {
namespace {

// Longest time a shell call may take before the program goes on without its answer.
constexpr DWORD kLongestShellCallMs = 30000;

using ItemList = win32::unique_cotaskmem<ITEMIDLIST>;

const wchar_t* orNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

// The process is started as the program's own; what a failed start would have been in the
// shell's codes.
long launchCode(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_ACCESS_DENIED:
            return static_cast<long>(error);
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return 8;
        case ERROR_BAD_EXE_FORMAT:
        case ERROR_BAD_FORMAT:
            return 11;
        case ERROR_SHARING_VIOLATION:
            return 26;
        default:
            return 0;
    }
}

// The current folder for the time of one launch.
class CurrentFolderFor {
  public:
    explicit CurrentFolderFor(const std::string& folder) {
        if (folder.empty()) {
            return;
        }
        const DWORD size = GetCurrentDirectoryW(0, nullptr);
        previous_.resize(size);
        if (size == 0 || GetCurrentDirectoryW(size, previous_.data()) == 0) {
            previous_.clear();
            return;
        }
        previous_.resize(size - 1);
        SetCurrentDirectoryW(win32::toWide(folder).c_str());
    }
    ~CurrentFolderFor() {
        if (!previous_.empty()) {
            SetCurrentDirectoryW(previous_.c_str());
        }
    }
    CurrentFolderFor(const CurrentFolderFor&) = delete;
    CurrentFolderFor& operator=(const CurrentFolderFor&) = delete;

  private:
    std::wstring previous_;
};

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

std::string Win32Shell::findExecutable(const std::string& document,
                                       const std::string& defaultFolder, long& code) {
    wchar_t buffer[MAX_PATH + 1] = {};
    const std::wstring folder = win32::toWide(defaultFolder);
    const auto result = reinterpret_cast<INT_PTR>(
        FindExecutableW(win32::toWide(document).c_str(), orNull(folder), buffer));
    code = static_cast<long>(result);
    if (result <= 32) {
        return {};
    }
    return win32::toUtf8(std::wstring_view(buffer, wcsnlen(buffer, MAX_PATH)));
}

long Win32Shell::shellExecute(WindowHandle owner, const ShellOpenRequest& request) {
    // The call runs where it cannot hold the window's messages; it owns a copy of everything.
    struct Call {
        HWND owner;
        std::wstring verb, file, parameters, folder;
        std::atomic<long> result{0};
        win32::unique_handle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    };
    auto call = std::make_shared<Call>();
    call->owner = win32::toHwnd(owner);
    call->verb = win32::toWide(request.verb);
    call->file = win32::toWide(request.file);
    call->parameters = win32::toWide(request.parameters);
    call->folder = win32::toWide(request.workingFolder);
    const auto run = [](Call& c) {
        const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        c.result = static_cast<long>(reinterpret_cast<INT_PTR>(
            ShellExecuteW(c.owner, c.verb.c_str(), c.file.c_str(), orNull(c.parameters),
                          orNull(c.folder), SW_SHOWNORMAL)));
        if (SUCCEEDED(com)) {
            CoUninitialize();
        }
        SetEvent(c.done.get());
    };
    const CurrentFolderFor current(request.currentFolder);
    if (ui_ == nullptr || !call->done) {
        run(*call);
        return call->result;
    }
    try {
        std::thread([call, run] { run(*call); }).detach();
    } catch (const std::system_error&) {
        run(*call);
        return call->result;
    }
    const HANDLE done = call->done.get();
    const DWORD deadline = GetTickCount() + kLongestShellCallMs;
    for (;;) {
        const DWORD now = GetTickCount();
        const DWORD left = static_cast<LONG>(deadline - now) > 0 ? deadline - now : 0;
        const DWORD woken =
            MsgWaitForMultipleObjectsEx(1, &done, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0 + 1 && left > 0) {
            ui_->doEvents();
            continue;
        }
        if (WaitForSingleObject(done, 0) == WAIT_OBJECT_0) {
            return call->result;
        }
        // A shell that does not answer is as a program that never answered its DDE talk.
        return 28;
    }
}

bool Win32Shell::explorerWantsQuotedFolder() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

long Win32Shell::startProgram(const std::string& program, const std::string& arguments) {
    const std::wstring application = win32::toWide(program);
    std::wstring commandLine = L"\"" + application + L"\"";
    if (!arguments.empty()) {
        commandLine += L"  " + win32::toWide(arguments);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process)) {
        return launchCode(GetLastError());
    }
    const win32::unique_handle thread(process.hThread), started(process.hProcess);
    return kLaunchOk;
}

}  // namespace snapdesk
