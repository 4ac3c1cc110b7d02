// The folder tree under Wine: a walk of drive C: holding a tree of 20,000 folders against a
// bare recursive FindFirstFileExW walk of the same drive, loading the stored tree against
// walking it, memory per folder (string objects and their text), and the longest wait between two
// message pumps of an incremental findPath step on 100,000 folders in memory.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/text.h"
#include "location/dir_tree.h"
#include "platform/sim/sim_shell.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_file_system.h"

namespace {

using namespace snapdesk;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 5;

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct QuietUi : Ui {
    int messages = 0;
    void messageBox(const std::string& text, const std::string&, MessageBoxStyle) override {
        ++messages;
        std::printf("message: %s\n", text.c_str());
    }
    void doEvents() override {}
};

// The baseline: depth first, FindFirstFileExW with the same flags and the same exclusions,
// nothing kept but the count.
long bareWalk(const std::wstring& folder, int level, const std::wstring& windowsUpper) {
    if (level > 21) {
        return 0;
    }
    WIN32_FIND_DATAW data;
    const HANDLE search =
        FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data,
                         FindExSearchLimitToDirectories, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    const bool inWindows = [&] {
        std::wstring u = folder;
        CharUpperBuffW(u.data(), static_cast<DWORD>(u.size()));
        return u == windowsUpper;
    }();
    long count = 0;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
            (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0 ||
            wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0) {
            continue;
        }
        if (inWindows && (_wcsicmp(data.cFileName, L"SYSTEM") == 0 ||
                          _wcsicmp(data.cFileName, L"SYSTEM32") == 0)) {
            continue;
        }
        count += 1 + bareWalk(folder + L"\\" + data.cFileName, level + 1, windowsUpper);
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return count;
}

// The same listing level by level, as the program walks: a second baseline, so that the
// order of the walk is not mistaken for its cost.
long bareLevelWalk(const std::wstring& drive, const std::wstring& windowsUpper) {
    std::vector<std::wstring> previous{drive};
    long count = 0;
    for (int level = 1; level <= 21 && !previous.empty(); ++level) {
        std::vector<std::wstring> next;
        for (const auto& folder : previous) {
            WIN32_FIND_DATAW data;
            const HANDLE search = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic,
                                                   &data, FindExSearchLimitToDirectories, nullptr,
                                                   FIND_FIRST_EX_LARGE_FETCH);
            if (search == INVALID_HANDLE_VALUE) {
                continue;
            }
            std::wstring u = folder;
            CharUpperBuffW(u.data(), static_cast<DWORD>(u.size()));
            const bool inWindows = u == windowsUpper;
            do {
                if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
                    (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) !=
                        0 ||
                    wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0) {
                    continue;
                }
                if (inWindows && (_wcsicmp(data.cFileName, L"SYSTEM") == 0 ||
                                  _wcsicmp(data.cFileName, L"SYSTEM32") == 0)) {
                    continue;
                }
                next.push_back(folder + L"\\" + data.cFileName);
                ++count;
            } while (FindNextFileW(search, &data));
            FindClose(search);
        }
        previous = std::move(next);
    }
    return count;
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

std::size_t heapBytes(const std::vector<std::string>& list) {
    std::size_t bytes = list.capacity() * sizeof(std::string);
    for (const auto& s : list) {
        // Short strings live inside the string object itself.
        if (s.capacity() > 15) {
            bytes += s.capacity() + 1;
        }
    }
    return bytes;
}

// Folders and files in memory, found through a table by folder: the figures then show the
// search's own cost, not a simulation's.
class MemoryDrive : public FileSystem {
  public:
    void addFolder(const std::string& parent, const std::string& name) {
        children_[text::upperCase(parent)].push_back({name, 0x10, 0, 0});
    }
    void addFile(const std::string& parent, const std::string& name, std::uint64_t time) {
        children_[text::upperCase(parent)].push_back({name, 0x20, time, 100});
    }
    std::optional<FileEntry> findFirstFile(const std::string& pattern) override {
        const auto all = findFiles(pattern);
        return all.empty() ? std::nullopt : std::optional<FileEntry>(all.front());
    }
    std::optional<std::string> readFile(const std::string& path) override {
        const auto it = contents_.find(text::upperCase(path));
        return it == contents_.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    bool replaceFile(const std::string& path, const std::string& content) override {
        contents_[text::upperCase(path)] = content;
        return true;
    }
    bool deleteFile(const std::string& path) override {
        return contents_.erase(text::upperCase(path)) > 0;
    }
    bool createFolder(const std::string&) override { return false; }
    std::optional<std::uint32_t> fileAttributes(const std::string& path) override {
        return contents_.count(text::upperCase(path)) ? std::optional<std::uint32_t>(0x20)
                                                      : std::nullopt;
    }
    std::vector<FileEntry> findFiles(const std::string& pattern) override {
        std::vector<FileEntry> found;
        const std::size_t slash = pattern.rfind('\\');
        const auto it = children_.find(text::upperCase(pattern.substr(0, slash)));
        if (it == children_.end()) {
            return found;
        }
        std::string name = text::upperCase(pattern.substr(slash + 1));
        const bool prefix = !name.empty() && name.back() == '*';
        if (prefix) {
            name.pop_back();
        }
        for (const auto& entry : it->second) {
            const std::string upper = text::upperCase(entry.name);
            if (prefix ? text::beginsWith(upper, name) : upper == name) {
                found.push_back(entry);
            }
        }
        return found;
    }
    std::vector<FileEntry> listFolders(const std::string& folder) override {
        std::vector<FileEntry> found;
        const auto it = children_.find(text::upperCase(folder));
        if (it != children_.end()) {
            for (const auto& entry : it->second) {
                if ((entry.attributes & 0x10) != 0) {
                    found.push_back(entry);
                }
            }
        }
        return found;
    }
    std::string windowsFolder() override { return "C:\\WINDOWS"; }

  private:
    std::unordered_map<std::string, std::vector<FileEntry>> children_;
    std::map<std::string, std::string> contents_;
};

// Timestamps every pump; the longest gap between two (the step's start and end count too).
struct PumpClock : Ui {
    Clock::time_point last;
    Clock::duration longest{};
    long pumps = 0;
    void messageBox(const std::string&, const std::string&, MessageBoxStyle) override {}
    void doEvents() override {
        const auto now = Clock::now();
        longest = std::max(longest, now - last);
        last = now;
        ++pumps;
    }
};

void measureSearchPumps() {
    MemoryDrive drive;
    drive.addFolder("C:", "datafiles");
    int folders = 2;
    for (int a = 0; a < 40 && folders < 100000; ++a) {
        const std::string pa = "C:\\Area " + std::to_string(a);
        drive.addFolder("C:", "Area " + std::to_string(a));
        ++folders;
        for (int b = 0; b < 50 && folders < 100000; ++b) {
            const std::string pb = pa + "\\Group " + std::to_string(b);
            drive.addFolder(pa, "Group " + std::to_string(b));
            ++folders;
            for (int c = 0; c < 60 && folders < 100000; ++c) {
                const std::string name = "Document set " + std::to_string(c);
                drive.addFolder(pb, name);
                ++folders;
                for (int f = 0; f < 6; ++f) {
                    drive.addFile(pb + "\\" + name, "Report " + std::to_string(f) + ".doc",
                                  static_cast<std::uint64_t>(f));
                }
            }
        }
    }
    sim::SimShell shell;
    PumpClock ui;
    DirectoryTree tree(drive, shell, ui, "C:\\datafiles", "1.0.0");
    tree.buildDirTreeFromScratch();
    std::printf("findPath on %d folders in memory: searchChunk %d\n", tree.dirCount(),
                tree.searchChunk());

    for (const char* asked : {"Report 3", "Missing.doc"}) {
        std::string name = asked;
        std::int32_t start = 0;
        std::uint32_t high = 0, low = 0;
        bool done = false;
        Clock::duration longestStep{};
        ui.longest = {};
        ui.pumps = 0;
        int steps = 0;
        while (!done && steps < 100) {
            ui.last = Clock::now();
            const auto begin = ui.last;
            tree.findPath(name, start, high, low, done, false);
            const auto end = Clock::now();
            ui.longest = std::max(ui.longest, end - ui.last);
            longestStep = std::max(longestStep, end - begin);
            ++steps;
        }
        // The same search without pumps keeps the loop waiting for the whole list.
        start = 0;
        done = false;
        const auto begin = Clock::now();
        tree.findPath(name, start, high, low, done, true);
        const auto whole = Clock::now() - begin;
        std::printf(
            "  \"%s\": %d steps, %ld pumps; longest wait between two pumps %.3f ms, longest "
            "step %.1f ms, complete search without pumps %.1f ms; wait ratio pumped/unpumped "
            "step = %.5f\n",
            asked, steps, ui.pumps, ms(ui.longest), ms(longestStep), ms(whole),
            ms(ui.longest) / ms(longestStep));
    }
}

}  // namespace

int main() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root =
        std::wstring(temp) + L"snapdesk-tree-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW((root + L"\\datafiles").c_str(), nullptr);
    // 20 x 20 x 49 folders and the 420 above them: 20,020 below the bench's folder.
    int made = 0;
    const auto createStart = Clock::now();
    for (int a = 0; a < 20; ++a) {
        const std::wstring pa = root + L"\\Customer " + std::to_wstring(a);
        made += CreateDirectoryW(pa.c_str(), nullptr) ? 1 : 0;
        for (int b = 0; b < 20; ++b) {
            const std::wstring pb = pa + L"\\Project-" + std::to_wstring(b);
            made += CreateDirectoryW(pb.c_str(), nullptr) ? 1 : 0;
            for (int c = 0; c < 49; ++c) {
                made += CreateDirectoryW((pb + L"\\Letters " + std::to_wstring(c)).c_str(), nullptr)
                            ? 1
                            : 0;
            }
        }
    }
    std::printf("made %d folders in %.0f ms\n", made, ms(Clock::now() - createStart));

    Win32FileSystem files;
    sim::SimShell shell;
    QuietUi ui;
    const std::string dataFolder = win32::toUtf8(root) + "\\datafiles";
    std::wstring windowsUpper = win32::toWide(files.windowsFolder());
    CharUpperBuffW(windowsUpper.data(), static_cast<DWORD>(windowsUpper.size()));

    std::vector<double> ours, bare, bareLevels, loads;
    long bareCount = 0;
    std::int32_t walked = 0, loaded = 0;
    std::size_t memory = 0, pathBytes = 0;
    bool same = true;
    bool countsAgree = true;
    for (int round = 0; round < kRounds; ++round) {
        auto t0 = Clock::now();
        bareCount = bareWalk(L"C:", 1, windowsUpper);
        auto t1 = Clock::now();
        const long levelCount = bareLevelWalk(L"C:", windowsUpper);
        auto t1b = Clock::now();
        countsAgree = countsAgree && levelCount == bareCount;
        DirectoryTree tree(files, shell, ui, dataFolder, "1.0.0");
        auto t2 = Clock::now();
        tree.buildDirTreeFromScratch();
        auto t3 = Clock::now();
        DirectoryTree stored(files, shell, ui, dataFolder, "1.0.0");
        auto t4 = Clock::now();
        stored.buildDirTreeFromStored();
        auto t5 = Clock::now();
        bare.push_back(ms(t1 - t0));
        bareLevels.push_back(ms(t1b - t1));
        ours.push_back(ms(t3 - t2));
        loads.push_back(ms(t5 - t4));
        walked = tree.dirCount();
        loaded = stored.dirCount();
        same = same && tree.dirList() == stored.dirList();
        memory = heapBytes(tree.dirList());
        pathBytes = 0;
        for (const auto& path : tree.dirList()) {
            pathBytes += path.size();
        }
    }
    const double walk = median(ours), baseline = median(bare), load = median(loads);
    const double levelBaseline = median(bareLevels);
    std::printf(
        "walk of drive C:: ours %d folders (root included) in %.0f ms, bare recursive "
        "FindFirstFileExW %ld folders in %.0f ms (median of %d)\n",
        walked, walk, bareCount, baseline, kRounds);
    std::printf(
        "ratio walk ours/bare = %.3f (goal <= 1.3); against a bare level-by-level walk "
        "(%.0f ms) %.3f\n",
        walk / baseline, levelBaseline, walk / levelBaseline);
    std::printf(
        "load of the stored tree %.1f ms (%d folders, same list: %s); ratio walk/load = "
        "%.1f (goal >= 10)\n",
        load, loaded, same ? "yes" : "NO", walk / load);
    std::printf(
        "memory: %.1f bytes per folder in the list (path text alone %.1f bytes, ratio "
        "%.2f)\n",
        static_cast<double>(memory) / walked, static_cast<double>(pathBytes) / walked,
        static_cast<double>(memory) / static_cast<double>(pathBytes));
    measureSearchPumps();

    removeTree(root);
    countsAgree = countsAgree && walked == bareCount + 1;
    if (!countsAgree) {
        // Other programs may add or remove folders on drive C: meanwhile.
        std::printf("note: the walks counted different folders\n");
    }
    const bool ok = same && ui.messages == 0 && loaded == walked;
    if (!ok) {
        std::printf("FAILED: the stored tree does not reload to the walked one\n");
    }
    return ok ? 0 : 1;
}
