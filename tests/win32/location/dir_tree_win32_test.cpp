// A walk of the real drive C: of the Wine prefix, checked against a listing the test makes on
// its own, then reloaded from the files it wrote.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/text.h"
#include "location/dir_tree.h"
#include "location/dir_tree_file.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_shell.h"

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

struct DirectSplash : DirTreeSplashHost {
    std::vector<std::string> modes;
    void showSplash(DirectoryTree& tree) override {
        modes.push_back(tree.buildMode());
        if (tree.buildMode() == kFullBuild) {
            tree.buildDirTreeFromScratch();
        } else {
            tree.buildDirTreeFromStored();
        }
    }
};

std::wstring upper(std::wstring text) {
    CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// Depth first with FindFirstFileW and the attributes it reports, apart from the program's
// own level-by-level walk: every folder of the drive that is neither hidden nor system nor
// the Windows folder's SYSTEM or SYSTEM32, down to the levels the walk goes.
void listDrive(const std::wstring& folder, int level, const std::wstring& windows,
               std::set<std::string>& out) {
    if (level > dirtree::kMaxLevels) {
        return;
    }
    WIN32_FIND_DATAW data;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    std::vector<std::wstring> folders;
    do {
        const std::wstring name = data.cFileName;
        const std::wstring path = folder + L"\\" + name;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || name == L"." ||
            name == L".." ||
            (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0 ||
            upper(path) == windows + L"\\SYSTEM" || upper(path) == windows + L"\\SYSTEM32") {
            continue;
        }
        folders.push_back(path);
    } while (FindNextFileW(search, &data));
    FindClose(search);
    for (const auto& path : folders) {
        out.insert(toUtf8(path));
        listDrive(path, level + 1, windows, out);
    }
}

std::set<std::string> listingOfDriveC() {
    wchar_t windows[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    std::set<std::string> out{"C:"};
    listDrive(L"C:", 1, upper(std::wstring(windows, length)), out);
    return out;
}

void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                removeTree(path);
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &data));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

class DriveWalkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        ASSERT_TRUE(temp[0] == L'C' || temp[0] == L'c') << toUtf8(temp);
        base = std::wstring(temp) + L"snapdesk-dirtree-" + std::to_wstring(GetCurrentProcessId());
        removeTree(base);
        for (const wchar_t* folder :
             {L"", L"\\datafiles", L"\\Program Files-Old", L"\\Program Files-Old\\Inner=1-2",
              L"\\Gr\u00fc\u00dfe", L"\\Gr\u00fc\u00dfe\\Tief", L"\\Gr\u00fc\u00dfe\\Tief\\Tiefer",
              L"\\Hidden", L"\\Hidden\\Inner", L"\\Sys", L"\\Sys\\Inner", L"\\SYSTEM32",
              L"\\Fan"}) {
            ASSERT_TRUE(CreateDirectoryW((base + folder).c_str(), nullptr)) << toUtf8(folder);
        }
        for (int i = 0; i < 10; ++i) {
            const std::wstring a = base + L"\\Fan\\A" + std::to_wstring(i);
            CreateDirectoryW(a.c_str(), nullptr);
            for (int j = 0; j < 20; ++j) {
                CreateDirectoryW((a + L"\\B" + std::to_wstring(j)).c_str(), nullptr);
            }
        }
        SetFileAttributesW((base + L"\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesW((base + L"\\Sys").c_str(), FILE_ATTRIBUTE_SYSTEM);
        const HANDLE file = CreateFileW((base + L"\\file.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
        dataFolder = toUtf8(base) + "\\datafiles";
    }
    void TearDown() override { removeTree(base); }

    std::wstring base;
    std::string dataFolder;
    Win32FileSystem files;
    Win32Shell shell;
    RecordingUi ui;
    DirectSplash splash;
};

TEST_F(DriveWalkTest, WalkOfDriveCMatchesAnIndependentListingAndReloadsFromItsFiles) {
    const auto before = listingOfDriveC();
    DirectoryTree tree(files, shell, ui, dataFolder, "1.2.3");
    tree.setProjectFolders({"", "C:\\Projects Folder"});
    tree.buildDirTree(splash);
    const auto after = listingOfDriveC();
    ASSERT_EQ(splash.modes, std::vector<std::string>{kFullBuild});
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
    ASSERT_TRUE(tree.treeReady());

    // The drive's folders, then the project folder and the desktop folder.
    const auto desktop = shell.specialFolderPath(0, 0);
    ASSERT_TRUE(desktop);
    std::vector<std::string> list = tree.dirList();
    ASSERT_GE(list.size(), 4u);
    EXPECT_EQ(list.back(), *desktop + "\\");
    list.pop_back();
    EXPECT_EQ(list.back(), "C:\\Projects Folder");
    list.pop_back();
    list.erase(list.begin());
    const std::set<std::string> walked(list.begin(), list.end());
    EXPECT_EQ(walked.size(), list.size()) << "a folder listed twice";
    // The prefix's own folders and the 200-odd made here.
    EXPECT_GT(walked.size(), 300u);
    RecordProperty("folders", static_cast<int>(walked.size()));
    for (const auto& folder : walked) {
        EXPECT_TRUE(before.count(folder) || after.count(folder)) << "not on the drive: " << folder;
    }
    for (const auto& folder : before) {
        if (after.count(folder)) {
            EXPECT_TRUE(walked.count(folder)) << "missing from the tree: " << folder;
        }
    }
    const std::string b = toUtf8(base);
    EXPECT_TRUE(walked.count(b + "\\Program Files-Old\\Inner=1-2"));
    EXPECT_TRUE(walked.count(b + "\\Gr\xc3\xbc\xc3\x9f"
                                 "e\\Tief\\Tiefer"));
    EXPECT_TRUE(walked.count(b + "\\SYSTEM32"));  // only the Windows folder's own are left out
    EXPECT_TRUE(walked.count(b + "\\Fan\\A9\\B19"));
    for (const char* absent : {"\\Hidden", "\\Hidden\\Inner", "\\Sys", "\\Sys\\Inner"}) {
        EXPECT_FALSE(walked.count(b + absent)) << absent;
    }
    wchar_t windows[MAX_PATH];
    const std::string windowsFolder =
        toUtf8(std::wstring(windows, GetWindowsDirectoryW(windows, MAX_PATH)));
    for (const auto& folder : walked) {
        const std::string u = text::upperCase(folder);
        const std::string w = text::upperCase(windowsFolder);
        EXPECT_FALSE(u == w + "\\SYSTEM32" || text::beginsWith(u, w + "\\SYSTEM32\\") ||
                     u == w + "\\SYSTEM" || text::beginsWith(u, w + "\\SYSTEM\\"))
            << folder;
    }
    EXPECT_TRUE(walked.count(windowsFolder + "\\Fonts") || walked.count("C:\\windows\\Fonts"));

    // Level by level: each folder's parent comes before it, one level up.
    std::vector<std::string> levels(tree.dirList().begin(),
                                    tree.dirList().begin() + 1 + static_cast<long>(list.size()));
    int deepest = 0;
    for (std::size_t i = 2; i < levels.size(); ++i) {
        const int depth = static_cast<int>(std::count(levels[i].begin(), levels[i].end(), '\\'));
        EXPECT_GE(depth, deepest) << levels[i];
        deepest = std::max(deepest, depth);
    }

    // The files: every line of every level names its folder by its parent's index.
    const std::string folder = dataFolder + "\\";
    std::size_t lines = 0;
    for (int level = 1; level <= deepest + 1; ++level) {
        const auto content = files.readFile(folder + "dirTree" + std::to_string(level) + ".txt");
        ASSERT_TRUE(content) << level;
        ASSERT_EQ(content->rfind(dirtree::levelFileStart(level, "1.2.3"), 0), 0u) << level;
        const auto entries = dirtree::parseLevelFile(*content);
        ASSERT_TRUE(entries) << level;
        for (const auto& e : *entries) {
            ASSERT_LT(static_cast<std::size_t>(e.index), levels.size());
            EXPECT_EQ(levels[static_cast<std::size_t>(e.index)],
                      levels[static_cast<std::size_t>(e.parent)] + "\\" + e.name);
            ++lines;
        }
        EXPECT_EQ(content->back(), '\n');
        EXPECT_EQ(content->find("\n"), content->find("\r\n") + 1);
    }
    EXPECT_EQ(lines, list.size() - 1);
    const auto index = files.readFile(folder + "dirTree0.txt");
    ASSERT_TRUE(index);
    EXPECT_NE(index->find("[general]\r\nmaxDepth=" + std::to_string(deepest) + "\r\ntotalDirs=" +
                          std::to_string(list.size()) + "\r\ntreeBuilt=YES\r\nversion=1.2.3\r\n"),
              std::string::npos)
        << *index;

    DirectoryTree reloaded(files, shell, ui, dataFolder, "1.2.3");
    reloaded.setProjectFolders({"", "C:\\Projects Folder"});
    reloaded.buildDirTree(splash);
    EXPECT_EQ(splash.modes.back(), kStoredBuild);
    EXPECT_EQ(reloaded.dirList(), tree.dirList());

    // A level file removed: the next start-up walks the drive again.
    ASSERT_TRUE(files.deleteFile(folder + "dirTree2.txt"));
    DirectoryTree again(files, shell, ui, dataFolder, "1.2.3");
    again.buildDirTree(splash);
    EXPECT_EQ(splash.modes.back(), kFullBuild);
    EXPECT_TRUE(files.readFile(folder + "dirTree2.txt"));
}

TEST_F(DriveWalkTest, FindPathFindsFilesOnTheRealDriveByLastAccess) {
    DirectoryTree tree(files, shell, ui, dataFolder, "1.2.3");
    tree.buildDirTree(splash);
    const std::wstring older = base + L"\\Fan\\A3\\B7\\Quarterly Report.doc";
    const std::wstring newer = base + L"\\Fan\\A1\\Quarterly Report.txt";
    for (const auto& [path, day] : {std::pair{older, 1}, std::pair{newer, 2}}) {
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        SYSTEMTIME when{2020, 1, 0, static_cast<WORD>(day), 12, 0, 0, 0};
        FILETIME time;
        SystemTimeToFileTime(&when, &time);
        SetFileTime(file, &time, &time, &time);
        CloseHandle(file);
    }
    auto search = [&](std::string name) {
        std::int32_t start = 0;
        std::uint32_t high = 0, low = 0;
        bool done = false;
        return tree.findPath(name, start, high, low, done, true);
    };
    const std::string b = toUtf8(base);
    EXPECT_EQ(search("Quarterly Report"), b + "\\Fan\\A1\\Quarterly Report.txt");
    EXPECT_EQ(search("Quarterly Report.doc"), b + "\\Fan\\A3\\B7\\Quarterly Report.doc");
    EXPECT_EQ(search("Quarterly"), "notfound");
    EXPECT_EQ(tree.findFolder("Tiefer"), b + "\\Gr\xc3\xbc\xc3\x9f"
                                             "e\\Tief\\Tiefer");
}

}  // namespace
}  // namespace snapdesk
