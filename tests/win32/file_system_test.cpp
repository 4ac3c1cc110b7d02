// Win32FileSystem and LongFileName against the real file system of the Wine prefix.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_file_system.h"
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
