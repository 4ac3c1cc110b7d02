// Writing a project of 200 members: saveProject on the real file system against the same
// sequence of calls on the system's own private-profile functions, in the same run.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/sim/sim_platform.h"
#include "platform/sim/sim_shell.h"
#include "platform/win32/win32_file_system.h"
#include "projects/project_store.h"
#include "tracking/coffee_shop_list.h"

namespace {

using namespace snapdesk;
using Clock = std::chrono::steady_clock;

constexpr int kMembers = 200;
constexpr int kRounds = 7;

struct NoHost : ProjectStoreHost {
    void updatePaths(bool) override {}
    void setProjectLabelCaption(const std::string&) override {}
    int projectLabelWidth() override { return 0; }
    int mainWindowWidth() override { return 0; }
    void setProjectLabelLeft(int) override {}
    void showNoEmptyOverwrite() override {}
    void showNoEmptyProject() override {}
};

std::string member(int j, const char* what) {
    return std::string("C:\\Documents and Settings\\user\\Projects\\") + what + " " +
           std::to_string(j) + ".doc";
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string root =
        std::string(temp) + "snapdesk-save-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(root.c_str(), nullptr);

    sim::SimPlatform machine;
    for (int j = 1; j <= kMembers; ++j) {
        sim::SimWindow w;
        w.text = "Member " + std::to_string(j) + " - Word";
        w.process = static_cast<std::uint32_t>(j);
        w.thread = w.process;
        w.bigIcon = 0x7001;
        machine.desktop.setProcessPath(w.process, "C:\\OFFICE\\WINWORD.EXE");
        machine.desktop.addWindow(w);
    }
    machine.files.addFile("C:\\OFFICE\\WINWORD.EXE");
    CoffeeShopList list(machine.platform);
    list.refreshList();
    if (list.count() != kMembers) {
        std::printf("window list holds %ld records, not %d\n", list.count(), kMembers);
        return 1;
    }
    for (long i = 1; i <= list.count(); ++i) {
        list.setInTab(i, kProjectTab);
        list.setCaptionString(i, "Member " + std::to_string(i) + ".doc");
        list.setFilePath(i, member(static_cast<int>(i), "Member"));
        list.setEXEPath(i, "C:\\OFFICE\\WINWORD.EXE");
        list.setCommentString(i, "comment " + std::to_string(i));
    }

    Win32FileSystem files;
    sim::SimShell shell;
    NoHost host;
    ProjectStore store(files, shell, machine.ui, list, host, root);
    store.loadProjectStore();
    const std::string theirs = root + "\\datafiles\\projects\\system.txt";

    std::vector<double> ourTimes, systemTimes;
    for (int round = 0; round < kRounds; ++round) {
        const auto a = Clock::now();
        std::string name = "Bench";
        store.saveProject(name, true);
        const auto b = Clock::now();
        for (const char* section : {"FilePath", "FileName", "FileEXE", "FileComment"}) {
            WritePrivateProfileStringA(section, nullptr, nullptr, theirs.c_str());
        }
        WritePrivateProfileStringA("Snapdesk!", "IMPORTANT",
                                   "Warning: Automatically generated file.  Do Not Delete or Edit.",
                                   theirs.c_str());
        for (long i = 1; i <= list.count(); ++i) {
            WritePrivateProfileStringA("FilePath", std::to_string(i).c_str(),
                                       list.filePath(i).c_str(), theirs.c_str());
        }
        for (long i = 1; i <= list.count(); ++i) {
            const std::string key = std::to_string(i);
            WritePrivateProfileStringA("FileName", key.c_str(), list.CaptionString(i).c_str(),
                                       theirs.c_str());
            WritePrivateProfileStringA("FileEXE", key.c_str(), list.EXEPath(i).c_str(),
                                       theirs.c_str());
            WritePrivateProfileStringA("FileComment", key.c_str(), list.CommentString(i).c_str(),
                                       theirs.c_str());
        }
        const auto c = Clock::now();
        ourTimes.push_back(std::chrono::duration<double, std::milli>(b - a).count());
        systemTimes.push_back(std::chrono::duration<double, std::milli>(c - b).count());
        // Each round starts again from a missing file on both sides.
        if (round + 1 < kRounds) {
            DeleteFileA((root + "\\datafiles\\projects\\Bench.txt").c_str());
            DeleteFileA(theirs.c_str());
        }
    }
    const auto ourBytes = files.readFile(root + "\\datafiles\\projects\\Bench.txt");
    const auto systemBytes = files.readFile(theirs);
    const bool same = ourBytes && systemBytes && *ourBytes == *systemBytes;

    const double ours = median(ourTimes), system = median(systemTimes);
    std::printf(
        "saveProject of %d members: ours %.2f ms, system private-profile calls %.2f ms "
        "(median of %d)\n",
        kMembers, ours, system, kRounds);
    std::printf("ratio ours/system = %.3f (goal <= 0.5); files identical: %s\n", ours / system,
                same ? "yes" : "NO");

    DeleteFileA((root + "\\datafiles\\projects\\Bench.txt").c_str());
    DeleteFileA(theirs.c_str());
    RemoveDirectoryA((root + "\\datafiles\\projects").c_str());
    DeleteFileA((root + "\\datafiles\\oldpaths.txt").c_str());
    RemoveDirectoryA((root + "\\datafiles").c_str());
    RemoveDirectoryA(root.c_str());
    return same ? 0 : 1;
}
