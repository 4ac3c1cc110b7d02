// zim001.dll's GetLinkPath on shortcuts that Wine's own shell-link objects wrote, the portable
// reader on the same files, and the main program's binder around the library.

#include <objidl.h>
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/runtime_error.h"
#include "link_path_contract.h"
#include "lnk_reader.h"
#include "platform/win32/link_path_binder.h"

namespace {

using GetLinkPathEntry = LONG(WINAPI*)(HWND, const char*, char*);
constexpr unsigned char kGuard = 0xA5;
constexpr std::size_t kGuardBytes = 64;

struct Answer {
    LONG code = 0;
    std::string target;
    bool terminated = false;
    bool guardIntact = true;
};

Answer inspect(LONG code, const std::vector<char>& buffer) {
    Answer answer;
    answer.code = code;
    const auto room = buffer.begin() + zim::kLinkPathSize;
    const auto end = std::find(buffer.begin(), room, '\0');
    answer.terminated = end != room;
    answer.target.assign(buffer.begin(), end);
    for (auto at = room; at != buffer.end(); ++at) {
        answer.guardIntact = answer.guardIntact && static_cast<unsigned char>(*at) == kGuard;
    }
    return answer;
}

std::vector<char> guardedBuffer() {
    // Not empty beforehand, so that an untouched buffer is not mistaken for an emptied one.
    std::vector<char> buffer(zim::kLinkPathSize + kGuardBytes, static_cast<char>(kGuard));
    std::memset(buffer.data(), 'x', zim::kLinkPathSize);
    return buffer;
}

std::vector<unsigned char> fileBytes(const std::wstring& path) {
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    const DWORD size = GetFileSize(file, nullptr);
    bytes.resize(size);
    DWORD read = 0;
    ReadFile(file, bytes.data(), size, &read, nullptr);
    bytes.resize(read);
    CloseHandle(file);
    return bytes;
}

std::string ansi(const std::wstring& wide) {
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(size - 1));
    return out;
}

std::string utf8(const std::wstring& wide) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(size - 1));
    return out;
}

void touch(const std::wstring& path, const char* content = "") {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, content, static_cast<DWORD>(std::strlen(content)), &written, nullptr);
    CloseHandle(file);
}

// A shortcut written by the system's own shell-link object.
void writeShortcut(const std::wstring& file, const std::function<void(IShellLinkW*)>& describe) {
    IShellLinkW* link = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&link)),
              S_OK);
    describe(link);
    IPersistFile* persist = nullptr;
    ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)), S_OK);
    EXPECT_EQ(persist->Save(file.c_str(), TRUE), S_OK);
    persist->Release();
    link->Release();
}

void targetPath(const std::wstring& path, const std::wstring& file) {
    writeShortcut(file, [&](IShellLinkW* link) { link->SetPath(path.c_str()); });
}

class LinkPathTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        library_ = LoadLibraryA(zim::kLinkPathLibrary);
        ASSERT_NE(library_, nullptr);
        entry_ = reinterpret_cast<GetLinkPathEntry>(
            reinterpret_cast<void*>(GetProcAddress(library_, zim::kLinkPathEntry)));
        ASSERT_NE(entry_, nullptr);
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ =
            std::wstring(temp) + L"snapdesk_linkpath_" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder_.c_str(), nullptr);
    }
    static void TearDownTestSuite() {
        // Leaves no files behind: delete every entry of the folder, then the folder.
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder_ + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileW((folder_ + L"\\" + found.cFileName).c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(folder_.c_str());
        CoUninitialize();
    }

    static std::wstring in(const std::wstring& name) { return folder_ + L"\\" + name; }

    static Answer getLinkPath(const std::wstring& file) {
        auto buffer = guardedBuffer();
        const LONG code = entry_(nullptr, ansi(file).c_str(), buffer.data());
        return inspect(code, buffer);
    }
    static Answer readPortably(const std::wstring& file) {
        const auto bytes = fileBytes(file);
        auto buffer = guardedBuffer();
        const LONG code = zim::readLinkPath(bytes.data(), bytes.size(), buffer.data());
        return inspect(code, buffer);
    }

    // Every answer keeps the contract, and the reader agrees with the shell.
    static Answer check(const std::wstring& file) {
        const Answer shell = getLinkPath(file);
        EXPECT_TRUE(shell.terminated);
        EXPECT_TRUE(shell.guardIntact);
        if (shell.code < 0 || shell.code == 1) {
            EXPECT_EQ(shell.target, "") << "code " << std::hex << shell.code;
        }
        if (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
            const Answer portable = readPortably(file);
            EXPECT_TRUE(portable.guardIntact);
            EXPECT_EQ(portable.target, shell.target);
            EXPECT_EQ(portable.code < 0, shell.code < 0)
                << std::hex << portable.code << " / " << shell.code;
        }
        return shell;
    }

    static inline HMODULE library_ = nullptr;
    static inline GetLinkPathEntry entry_ = nullptr;
    static inline std::wstring folder_;
};

TEST_F(LinkPathTest, ReturnsTheStoredTargetOfFilesAndFolders) {
    touch(in(L"report.txt"));
    targetPath(in(L"report.txt"), in(L"report.lnk"));
    Answer got = check(in(L"report.lnk"));
    EXPECT_EQ(got.code, S_OK);
    EXPECT_EQ(got.target, ansi(in(L"report.txt")));

    targetPath(folder_, in(L"folder.lnk"));
    got = check(in(L"folder.lnk"));
    EXPECT_EQ(got.code, S_OK);
    EXPECT_EQ(got.target, ansi(folder_));

    // Names outside ASCII arrive in the ANSI page.
    touch(in(L"caf\u00e9.txt"));
    targetPath(in(L"caf\u00e9.txt"), in(L"caf\u00e9.lnk"));
    got = check(in(L"caf\u00e9.lnk"));
    EXPECT_EQ(got.code, S_OK);
    EXPECT_EQ(got.target, ansi(in(L"caf\u00e9.txt")));

    targetPath(L"\\\\server\\share\\notes.txt", in(L"share.lnk"));
    got = check(in(L"share.lnk"));
    EXPECT_EQ(got.code, S_OK);
    EXPECT_EQ(got.target, "\\\\server\\share\\notes.txt");
}

TEST_F(LinkPathTest, ResolvesAMovedTargetWithoutADialog) {
    touch(in(L"gone.txt"));
    targetPath(in(L"gone.txt"), in(L"gone.lnk"));
    ASSERT_TRUE(DeleteFileW(in(L"gone.txt").c_str()));
    // The call returns (no dialog waits for an answer): either the stored path or a failure.
    const Answer got = check(in(L"gone.lnk"));
    if (got.code < 0) {
        EXPECT_EQ(got.target, "");
    } else {
        EXPECT_EQ(got.target, ansi(in(L"gone.txt")));
    }
}

TEST_F(LinkPathTest, GivesOneAndAnEmptyTargetForAVirtualFolder) {
    for (const int folder : {CSIDL_DRIVES, CSIDL_CONTROLS}) {
        const std::wstring file = in(L"virtual" + std::to_wstring(folder) + L".lnk");
        writeShortcut(file, [&](IShellLinkW* link) {
            LPITEMIDLIST items = nullptr;
            ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, folder, &items), S_OK);
            link->SetIDList(items);
            CoTaskMemFree(items);
        });
        const Answer got = check(file);
        EXPECT_EQ(got.code, S_FALSE);
        EXPECT_EQ(got.target, "");
    }
}

TEST_F(LinkPathTest, LeavesEnvironmentVariablesUnexpanded) {
    const std::wstring stored = in(L"%USERPROFILE%\\notes.txt");
    targetPath(stored, in(L"variable.lnk"));
    const Answer got = check(in(L"variable.lnk"));
    EXPECT_EQ(got.code, S_OK);
    EXPECT_EQ(got.target, ansi(stored));
    EXPECT_NE(got.target.find("%USERPROFILE%"), std::string::npos);
}

TEST_F(LinkPathTest, FailsWithAnEmptyTargetOnFilesThatAreNoShortcuts) {
    touch(in(L"plain.lnk"), "this is a text file, not a shortcut\r\n");
    Answer got = check(in(L"plain.lnk"));
    EXPECT_LT(got.code, 0);
    EXPECT_EQ(got.target, "");

    got = check(in(L"missing.lnk"));
    EXPECT_LT(got.code, 0);
    EXPECT_EQ(got.target, "");

    got = check(in(L"no such folder\\missing.lnk"));
    EXPECT_LT(got.code, 0);
    EXPECT_EQ(got.target, "");
}

TEST_F(LinkPathTest, NeverHandsOutATargetLongerThanTheBuffer) {
    // Up to 259 characters fit the 260-byte room with its zero; longer targets fail.
    const std::wstring base = folder_ + L"\\";
    for (const std::size_t length : {std::size_t{259}, std::size_t{260}, std::size_t{300}}) {
        const std::wstring target = base + std::wstring(length - base.size(), L'n');
        const std::wstring file = in(L"long" + std::to_wstring(length) + L".lnk");
        targetPath(target, file);
        const Answer got = check(file);
        if (length == 259) {
            EXPECT_EQ(got.code, S_OK);
            EXPECT_EQ(got.target, ansi(target));
        } else {
            EXPECT_LT(got.code, 0) << length;
            EXPECT_EQ(got.target, "") << length;
        }
    }
}

int errorNumber(const std::function<void()>& call) {
    try {
        call();
    } catch (const snapdesk::RuntimeError& error) {
        return error.number;
    }
    return 0;
}

TEST_F(LinkPathTest, BinderCallsTheLibraryAndConvertsToAndFromAnsi) {
    touch(in(L"na\u00efve r\u00e9sum\u00e9.txt"));
    targetPath(in(L"na\u00efve r\u00e9sum\u00e9.txt"), in(L"r\u00e9sum\u00e9.lnk"));
    snapdesk::Win32LinkPathBinder binder;
    EXPECT_EQ(binder.getLinkPath(0, utf8(in(L"r\u00e9sum\u00e9.lnk"))),
              utf8(in(L"na\u00efve r\u00e9sum\u00e9.txt")));
    // Failures of the shortcut itself reach the caller as an empty path.
    EXPECT_EQ(binder.getLinkPath(0, utf8(in(L"missing.lnk"))), "");
}

TEST_F(LinkPathTest, BinderRaisesFileNotFoundAndEntryPointNotFound) {
    snapdesk::Win32LinkPathBinder absent("zim001_absent.dll", zim::kLinkPathEntry);
    EXPECT_EQ(errorNumber([&] { absent.getLinkPath(0, "C:\\a.lnk"); }),
              snapdesk::errors::kFileNotFound);
    EXPECT_EQ(errorNumber([&] { absent.getLinkPath(0, "C:\\a.lnk"); }),
              snapdesk::errors::kFileNotFound);  // and again: nothing was bound

    // A build that exports the function without its decorated name.
    snapdesk::Win32LinkPathBinder undecorated("zim001_undecorated.dll", zim::kLinkPathEntry);
    EXPECT_EQ(errorNumber([&] { undecorated.getLinkPath(0, "C:\\a.lnk"); }),
              snapdesk::errors::kEntryPointNotFound);
}

}  // namespace
