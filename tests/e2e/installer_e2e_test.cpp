// The 64-bit installer run silently, as an administrator deploys it: an older build installed
// with a saved project beside it, the upgrade over it, Snapdesk started from the Start-menu
// shortcut and showing tiles, then the uninstall, which keeps the projects unless REMOVEDATA=1.
// Each step is timed and printed; nothing asserts on speed.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "resources/version.h"
#include "snapdesk_app.h"
#include "test_apps.h"

namespace snapdesk::testing {
namespace {

using Clock = std::chrono::steady_clock;

constexpr wchar_t kProjectText[] = L"[Snapdesk!]\r\nProjectName=Shipping\r\n";

std::wstring widen(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

std::wstring knownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) {
        folder = path;
    }
    CoTaskMemFree(path);
    return folder;
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring readFile(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::wstring text(256, L'\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
    CloseHandle(file);
    text.resize(read / sizeof(wchar_t));
    return text;
}

void removeTree(const std::wstring& folder) {
    std::wstring from = folder;
    from.push_back(L'\0');  // the list of paths ends in two NULs
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    SHFileOperationW(&operation);
}

bool writeFile(const std::wstring& path, const std::wstring& text) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const bool whole = WriteFile(file, text.data(), size, &written, nullptr) && written == size;
    CloseHandle(file);
    return whole;
}

// msiexec with these arguments, waited for; its exit code (1603 on time-out).
DWORD msiexec(const std::wstring& arguments) {
    Program installer(L"msiexec.exe " + arguments);
    DWORD code = ERROR_INSTALL_FAILURE;
    if (installer.started() &&
        waitUntil([&] { return installer.hasExited(); }, Milliseconds{120000})) {
        GetExitCodeProcess(installer.process(), &code);
    }
    return code;
}

struct UninstallEntry {
    std::wstring version;
    std::wstring publisher;
    std::wstring uninstallString;
};

std::wstring stringValue(HKEY key, const wchar_t* name) {
    wchar_t value[512] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                     nullptr, value, &size) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}

// Add/Remove Programs' entries named Snapdesk, from every place Windows keeps them.
std::vector<UninstallEntry> snapdeskUninstallEntries() {
    constexpr wchar_t kUninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    std::vector<UninstallEntry> entries;
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            HKEY uninstall = nullptr;
            if (RegOpenKeyExW(root, kUninstall, 0, KEY_READ | view, &uninstall) != ERROR_SUCCESS) {
                continue;
            }
            wchar_t name[256];
            for (DWORD i = 0, length = 256;
                 RegEnumKeyExW(uninstall, i, name, &length, nullptr, nullptr, nullptr, nullptr) ==
                 ERROR_SUCCESS;
                 ++i, length = 256) {
                HKEY product = nullptr;
                if (RegOpenKeyExW(uninstall, name, 0, KEY_READ | view, &product) != ERROR_SUCCESS) {
                    continue;
                }
                if (stringValue(product, L"DisplayName") == L"Snapdesk") {
                    entries.push_back({stringValue(product, L"DisplayVersion"),
                                       stringValue(product, L"Publisher"),
                                       stringValue(product, L"UninstallString")});
                }
                RegCloseKey(product);
            }
            RegCloseKey(uninstall);
        }
    }
    return entries;
}

struct Shortcut {
    std::wstring target;
    std::wstring workingFolder;
};

// What the shell's link object reads from a shortcut file.
Shortcut readShortcut(const std::wstring& path) {
    Shortcut shortcut;
    const bool ownCom = SUCCEEDED(CoInitialize(nullptr));
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
        wchar_t text[MAX_PATH] = {};
        if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0))) {
            shortcut.target = text;
        }
        if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) {
            shortcut.workingFolder = text;
        }
    }
    if (file != nullptr) {
        file->Release();
    }
    if (link != nullptr) {
        link->Release();
    }
    if (ownCom) {
        CoUninitialize();
    }
    return shortcut;
}

bool samePath(const std::wstring& a, const std::wstring& b) {
    const auto trimmed = [](std::wstring path) {
        while (!path.empty() && path.back() == L'\\') {
            path.pop_back();
        }
        return path;
    };
    return CompareStringOrdinal(trimmed(a).c_str(), -1, trimmed(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class InstallerE2E : public ::testing::Test {
  protected:
    // Whatever an earlier test or run left installed goes first, with its data and the
    // settings a window placed off screen would keep.
    void SetUp() override {
        clearSnapdeskSettings();
        for (const char* package : {SNAPDESK_INSTALLER, SNAPDESK_OLD_INSTALLER}) {
            msiexec(L"/qn /x " + quoted(package));
        }
        removeTree(folder);
        ASSERT_FALSE(exists(folder)) << "an earlier Snapdesk could not be removed";
        ASSERT_TRUE(snapdeskUninstallEntries().empty());
    }

    static std::wstring quoted(const char* path) { return quoteArgument(windowsPath(path)); }

    // Snapdesk started as the Start-menu shortcut starts it; checks where the shortcut points.
    void startFromShortcut() {
        const Shortcut shortcut = readShortcut(startMenuShortcut);
        ASSERT_TRUE(samePath(shortcut.target, program)) << shortcut.target;
        ASSERT_TRUE(samePath(shortcut.workingFolder, folder)) << shortcut.workingFolder;
        app = std::make_unique<SnapdeskApp>(shortcut.target);
        ASSERT_TRUE(app->started()) << "no main window from " << program;
    }

    void expectProgramFilesGone() {
        for (const wchar_t* file :
             {L"snapdesk.exe", L"zimDisplayWidget.dll", L"zim001.dll", L"SNAPDESK.HLP"}) {
            EXPECT_FALSE(exists(folder + L"\\" + file)) << file;
        }
        EXPECT_FALSE(exists(startMenuShortcut));
        EXPECT_TRUE(snapdeskUninstallEntries().empty());
    }

    const std::wstring folder = knownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Snapdesk";
    const std::wstring program = folder + L"\\snapdesk.exe";
    const std::wstring startMenuShortcut = knownFolder(FOLDERID_Programs) + L"\\Snapdesk.lnk";
    std::unique_ptr<SnapdeskApp> app;
};

TEST_F(InstallerE2E, UpgradeKeepsTheProjectsAndTheShortcutStartsSnapdeskWithTiles) {
    Clock::time_point start = Clock::now();
    ASSERT_EQ(msiexec(L"/qn /i " + quoted(SNAPDESK_OLD_INSTALLER)), 0u);
    std::printf("[figure] silent install of the older build: %.1f s\n", secondsSince(start));
    auto entries = snapdeskUninstallEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].version, L"0.0.0");

    // A project saved with the older build.
    const std::wstring project = folder + L"\\datafiles\\projects\\Shipping.txt";
    ASSERT_TRUE(CreateDirectoryW((folder + L"\\datafiles").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((folder + L"\\datafiles\\projects").c_str(), nullptr));
    ASSERT_TRUE(writeFile(project, kProjectText));

    HWND notepadWindow = nullptr;
    const std::wstring notes = writeTempTextFile(L"shipping list.txt", "crates, labels\r\n");
    Program notepad = startNotepadOn(notes, notepadWindow);
    ASSERT_NE(notepadWindow, nullptr);

    start = Clock::now();
    ASSERT_EQ(msiexec(L"/qn /i " + quoted(SNAPDESK_INSTALLER)), 0u);
    std::printf("[figure] silent upgrade: %.1f s\n", secondsSince(start));
    entries = snapdeskUninstallEntries();
    ASSERT_EQ(entries.size(), 1u) << "the upgrade replaces the older entry";
    EXPECT_EQ(entries[0].version, widen(SNAPDESK_VERSION_TEXT));
    EXPECT_EQ(entries[0].publisher, widen(SNAPDESK_PUBLISHER));
    EXPECT_EQ(readFile(project), kProjectText);
    EXPECT_TRUE(exists(folder + L"\\SNAPDESK.HLP")) << "the help file lies beside the program";

    ASSERT_NO_FATAL_FAILURE(startFromShortcut());
    EXPECT_TRUE(app->waitForTile(L"shipping list.txt", Milliseconds{20000}).has_value());
    std::printf("[figure] silent upgrade to a tile of notepad's file: %.1f s\n",
                secondsSince(start));
    ASSERT_TRUE(app->closeAndWait());

    // The entry's own command, made silent, as an administrator's script runs it.
    const std::wstring uninstall = entries[0].uninstallString;
    ASSERT_EQ(uninstall.rfind(L"MsiExec.exe ", 0), 0u) << uninstall;
    start = Clock::now();
    ASSERT_EQ(msiexec(uninstall.substr(12) + L" /qn"), 0u);
    std::printf("[figure] silent uninstall: %.1f s\n", secondsSince(start));
    expectProgramFilesGone();
    EXPECT_EQ(readFile(project), kProjectText) << "the user's projects stay";
    DeleteFileW(notes.c_str());
}

TEST_F(InstallerE2E, FreshInstallStartsAndUninstallWithRemoveDataTakesTheDataToo) {
    const Clock::time_point start = Clock::now();
    ASSERT_EQ(msiexec(L"/qn /i " + quoted(SNAPDESK_INSTALLER)), 0u);
    ASSERT_NO_FATAL_FAILURE(startFromShortcut());
    std::printf("[figure] silent install to Snapdesk's window: %.1f s\n", secondsSince(start));
    // The program's first start writes its data folder: the folder list of the drive.
    EXPECT_TRUE(waitUntil([&] { return exists(folder + L"\\datafiles\\projects"); }));
    ASSERT_TRUE(app->closeAndWait());

    ASSERT_EQ(msiexec(L"/qn /x " + quoted(SNAPDESK_INSTALLER) + L" REMOVEDATA=1"), 0u);
    expectProgramFilesGone();
    EXPECT_FALSE(exists(folder + L"\\datafiles"));
}

}  // namespace
}  // namespace snapdesk::testing
