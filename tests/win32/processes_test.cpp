// Win32Processes against Wine's notepad.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/text.h"
#include "platform/win32/win32_processes.h"
#include "test_apps.h"

namespace snapdesk {
namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

class ProcessesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(notepad.started());
        window = notepad.waitForWindow(
            [](HWND w) { return testing::classNameOf(w) == L"Notepad" && IsWindowVisible(w); });
        ASSERT_NE(window, nullptr);
    }

    testing::Program notepad{L"notepad.exe"};
    HWND window = nullptr;
    Win32Processes processes;
};

TEST_F(ProcessesTest, ModuleFileNameOfNotepad) {
    EXPECT_TRUE(processes.isWindowsNT());
    const auto path = processes.moduleFileName(notepad.processId());
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(lower(*path), "c:\\windows\\system32\\notepad.exe");
}

TEST_F(ProcessesTest, SnapshotListsNotepadAndThisProcess) {
    const auto entries = processes.processSnapshot();
    auto find = [&](DWORD id) {
        return std::find_if(entries.begin(), entries.end(),
                            [&](const ProcessEntry& e) { return e.processId == id; });
    };
    const auto notepadEntry = find(notepad.processId());
    ASSERT_NE(notepadEntry, entries.end());
    EXPECT_TRUE(lower(notepadEntry->exeFile).ends_with("notepad.exe")) << notepadEntry->exeFile;
    EXPECT_EQ(notepadEntry->exeFile.find('\0'), std::string::npos);
    const auto self = find(GetCurrentProcessId());
    ASSERT_NE(self, entries.end());
    EXPECT_TRUE(lower(self->exeFile).ends_with("win32_tests.exe")) << self->exeFile;
}

TEST_F(ProcessesTest, AProcessThatDoesNotExistHasNoModule) {
    EXPECT_FALSE(processes.moduleFileName(0xFFFFFFF0u).has_value());
}

// Wine has no packages: its kernel32 has GetPackageFullName, which finds none, and lacks
// GetApplicationUserModelId, which this program must not import to load at all.
TEST_F(ProcessesTest, NothingIsPackagedUnderWine) {
    EXPECT_FALSE(processes.applicationUserModelId(notepad.processId()).has_value());
    EXPECT_FALSE(processes.applicationUserModelId(GetCurrentProcessId()).has_value());
    EXPECT_FALSE(processes.applicationUserModelId(0xFFFFFFF0u).has_value());
}

}  // namespace
}  // namespace snapdesk
