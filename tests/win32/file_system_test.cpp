// Win32FileSystem and LongFileName against the real file system of the Wine prefix.
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_shell.h"
#include "tracking/long_file_name.h"

namespace snapdesk {
namespace {

using win32::toUtf8;
using win32::toWide;

class RecordingUi : public Ui {
  public:
    std::vector<std::string> messages;
    void messageBox(const std::string& text, const std::string&, MessageBoxStyle) override {
        messages.push_back(text);
    }
    void doEvents() override {}
};

std::wstring lowered(std::wstring text) {
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// A folder with long, mixed-case names under the temporary folder of drive C:, removed after.
class LongNamesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        ASSERT_EQ(temp[0] == L'C' || temp[0] == L'c', true) << toUtf8(temp);
        root =
            std::wstring(temp) + L"Snapdesk Long Folder " + std::to_wstring(GetCurrentProcessId());
        folder = root + L"\\Gr\u00fc\u00dfe Mixed Case Sub Folder";
        file = folder + L"\\Quarterly Report Draft.Version2.txt";
        ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        const HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(handle, "twelve bytes", 12, &written, nullptr);
        CloseHandle(handle);
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    void TearDown() override {
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(file.c_str());
        RemoveDirectoryW(folder.c_str());
        RemoveDirectoryW(root.c_str());
    }

    // The path as GetLongPathName spells it: every element as the file system stores it.
    std::wstring longForm(const std::wstring& path) {
        wchar_t buffer[1024];
        const DWORD length = GetLongPathNameW(path.c_str(), buffer, 1024);
        return std::wstring(buffer, length);
    }

    std::wstring root, folder, file;
    Win32FileSystem files;
    RecordingUi ui;
};

TEST_F(LongNamesTest, FindFirstFileGivesTheStoredNameAttributesSizeAndTime) {
    const auto entry = files.findFirstFile(toUtf8(lowered(file)));
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->name, "Quarterly Report Draft.Version2.txt");
    EXPECT_NE(entry->attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(entry->size, 12u);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(entry->lastAccessTime,
              (static_cast<std::uint64_t>(data.ftLastAccessTime.dwHighDateTime) << 32) |
                  data.ftLastAccessTime.dwLowDateTime);
    EXPECT_NE(entry->lastAccessTime, 0u);

    const auto byPattern = files.findFirstFile(toUtf8(folder + L"\\quarterly*.txt"));
    ASSERT_TRUE(byPattern.has_value());
    EXPECT_EQ(byPattern->name, "Quarterly Report Draft.Version2.txt");

    const auto subFolder = files.findFirstFile(toUtf8(folder));
    ASSERT_TRUE(subFolder.has_value());
    EXPECT_EQ(subFolder->name,
              "Gr\xc3\xbc\xc3\x9f"
              "e Mixed Case Sub Folder");
    EXPECT_NE(subFolder->attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);

    EXPECT_FALSE(files.findFirstFile(toUtf8(folder + L"\\no such file.txt")).has_value());
}

TEST_F(LongNamesTest, LongFileNameExpandsAShortPathToItsLongCaseCorrectForm) {
    wchar_t buffer[1024];
    const DWORD length = GetShortPathNameW(file.c_str(), buffer, 1024);
    ASSERT_GT(length, 0u);
    const std::wstring shortPath(buffer, length);
    ASSERT_EQ(shortPath.find(L"Quarterly Report"), std::wstring::npos) << toUtf8(shortPath);
    const std::wstring expected = longForm(file);
    ASSERT_FALSE(expected.empty());

    EXPECT_EQ(LongFileName(files, ui, toUtf8(shortPath)), toUtf8(expected));
    // The drive stays as written; every other element takes the case the file system stores.
    const std::wstring lowerShort = lowered(shortPath);
    EXPECT_EQ(LongFileName(files, ui, toUtf8(lowerShort)),
              toUtf8(lowerShort.substr(0, 2) + expected.substr(2)));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LongNamesTest, LongFileNameKeepsAMissingFileAsWritten) {
    wchar_t buffer[1024];
    const DWORD length = GetShortPathNameW(folder.c_str(), buffer, 1024);
    ASSERT_GT(length, 0u);
    const std::wstring missing = std::wstring(buffer, length) + L"\\Deleted Since.doc";
    EXPECT_EQ(LongFileName(files, ui, toUtf8(missing)),
              toUtf8(longForm(folder) + L"\\Deleted Since.doc"));
}

// Whole files and folders in a fresh folder under the temporary folder.
class WholeFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        root = toUtf8(temp) + "Snapdesk Files " + std::to_string(GetCurrentProcessId());
    }
    void TearDown() override {
        for (const auto& entry : files.findFiles(root + "\\*")) {
            DeleteFileW(toWide(root + "\\" + entry.name).c_str());
        }
        RemoveDirectoryW(toWide(root + "\\sub").c_str());
        RemoveDirectoryW(toWide(root).c_str());
    }
    std::string systemRead(const std::string& path) {
        const HANDLE file = CreateFileW(toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return "<missing>";
        }
        std::string content(GetFileSize(file, nullptr), '\0');
        DWORD got = 0;
        ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &got, nullptr);
        CloseHandle(file);
        return content.substr(0, got);
    }
    Win32FileSystem files;
    std::string root;
};

TEST_F(WholeFilesTest, CreateReplaceReadListAndDelete) {
    EXPECT_FALSE(files.fileAttributes(root).has_value());
    ASSERT_TRUE(files.createFolder(root));
    EXPECT_FALSE(files.createFolder(root));  // already there
    ASSERT_TRUE(files.createFolder(root + "\\sub"));
    EXPECT_NE(*files.fileAttributes(root) & FILE_ATTRIBUTE_DIRECTORY, 0u);

    const std::string path = root + "\\Data File.txt";
    EXPECT_FALSE(files.readFile(path).has_value());
    const std::string first("first\r\n\0binary\xff", 15);
    ASSERT_TRUE(files.replaceFile(path, first));
    EXPECT_EQ(systemRead(path), first);
    std::string big(3 << 20, 'b');
    ASSERT_TRUE(files.replaceFile(path, big));  // larger than one write
    EXPECT_EQ(files.readFile(path).value_or(""), big);
    ASSERT_TRUE(files.replaceFile(path, "short"));
    EXPECT_EQ(systemRead(path), "short");
    EXPECT_EQ(files.fileAttributes(path).value_or(0) & FILE_ATTRIBUTE_DIRECTORY, 0u);

    // No temporary file stays behind; the listing gives both entries without "." and "..".
    std::vector<std::string> names;
    for (const auto& entry : files.findFiles(root + "\\*")) {
        names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Data File.txt", "sub"}));
    EXPECT_TRUE(files.findFiles(root + "\\*.none").empty());

    EXPECT_TRUE(files.deleteFile(path));
    EXPECT_FALSE(files.deleteFile(path));
    EXPECT_EQ(systemRead(path), "<missing>");
    EXPECT_FALSE(files.replaceFile(root + "\\no such folder\\x.txt", "x"));
}

TEST_F(WholeFilesTest, AReplaceThatCannotFinishLeavesTheOldFileWhole) {
    ASSERT_TRUE(files.createFolder(root));
    const std::string path = root + "\\locked.txt";
    ASSERT_TRUE(files.replaceFile(path, "old content"));
    // Held open without delete sharing, the file cannot be replaced.
    const HANDLE holder = CreateFileW(toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files.replaceFile(path, "new content"));
    CloseHandle(holder);
    EXPECT_EQ(systemRead(path), "old content");
    EXPECT_EQ(files.findFiles(root + "\\*").size(), 1u);  // the temporary file is gone
}

TEST(ShellTest, RecentFolderIsTheShellsOwn) {
    Win32Shell shell;
    const auto recent = shell.specialFolderPath(8, 0);
    ASSERT_TRUE(recent.has_value());
    wchar_t expected[MAX_PATH];
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_RECENT, nullptr, 0, expected), S_OK);
    EXPECT_EQ(*recent, toUtf8(expected));
    EXPECT_FALSE(shell.specialFolderPath(0x7fff, 0).has_value());
}

TEST(ConvertTest, Utf8AndUtf16RoundTripWithNulsKept) {
    const std::string text("a\0b \xc3\xa9\xe6\x9d\xb1 \xf0\x9f\x93\x84", 14);
    const std::wstring wide = toWide(text);
    EXPECT_EQ(wide, std::wstring(L"a\0b \u00e9\u6771 \U0001F4C4", 9));
    EXPECT_EQ(toUtf8(wide), text);
    EXPECT_EQ(toUtf8(L""), "");
    EXPECT_EQ(toWide(""), L"");
}

}  // namespace
}  // namespace snapdesk
