// Opening a project of ten notepad documents under Wine, chosen in "Open Project" as a user
// does: the time from the choice until the last member shows on the Project tab, against the
// sum of the fixed waits the open gives its members (2 s each); the main window's longest
// stretch without answering a message meanwhile and until the open is over, measured from
// outside with SendMessageTimeout; and the same project with one more member, a program that
// never shows a window: what it adds, against the one wait it is bound to.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "bench_stats.h"
#include "projects/win32/open_dialog_ids.h"
#include "snapdesk_app.h"
#include "test_apps.h"

using namespace snapdesk::testing;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kMembers = 10;
constexpr double kWaitPerMemberMs = 2000;
const std::wstring kProjects = L"C:\\Snapdesk\\datafiles\\projects\\";
// Where the silent member stands: the members after it wait for it.
constexpr int kSilentAfter = 5;

std::wstring documentName(int j) {
    return L"bench doc " + std::to_wstring(j) + L".txt";
}

// With `silent`, a program that starts and ends without a window comes after member
// kSilentAfter.
bool writeProject(const std::wstring& project, const std::vector<std::wstring>& paths,
                  const std::wstring& silent) {
    std::wstring names = L"[FileName]\r\n", locations = L"[FilePath]\r\n", exes = L"[FileEXE]\r\n",
                 comments = L"[FileComment]\r\n";
    int key = 0;
    const auto add = [&](const std::wstring& name, const std::wstring& location,
                         const std::wstring& exe) {
        const std::wstring k = std::to_wstring(++key) + L"=";
        names += k + name + L"\r\n";
        locations += k + location + L"\r\n";
        exes += k + exe + L"\r\n";
        comments += k + L"note " + std::to_wstring(key) + L"\r\n";
    };
    for (int j = 1; j <= kMembers; ++j) {
        add(documentName(j), paths[static_cast<std::size_t>(j - 1)],
            L"C:\\WINDOWS\\SYSTEM32\\NOTEPAD.EXE");
        if (j == kSilentAfter && !silent.empty()) {
            add(L"Silent", silent, silent);
        }
    }
    const std::wstring text = locations + names + exes + comments;
    const std::wstring path = kProjects + project + L".txt";
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const std::string bytes(text.begin(), text.end());  // ASCII only
    DWORD written = 0;
    const bool whole =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    CloseHandle(file);
    return whole;
}

// Sends messages to the window without pause while `running`; the longest answer time.
class Pinger {
  public:
    explicit Pinger(HWND window)
        : thread_([this, window] {
              while (running_) {
                  const auto start = Clock::now();
                  DWORD_PTR result = 0;
                  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
                  const double ms =
                      std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                  longest_ = std::max(longest_.load(), ms);
                  Sleep(5);
              }
          }) {}
    double longest() const { return longest_; }
    double stop() {
        running_ = false;
        thread_.join();
        return longest_;
    }

  private:
    std::atomic<bool> running_{true};
    std::atomic<double> longest_{0};
    std::thread thread_;
};

struct OpenFigures {
    bool done = false;
    double toLastTile = 0;      // ms from the choice to the last member on the Project tab
    double longestToTiles = 0;  // longest unanswered stretch until then
    double longestWhole = 0;    // the same until the open is over
};

// Opens `project` as a user does and measures it; `changed`: the open project's members were
// closed, so Snapdesk asks first.
OpenFigures openAndMeasure(SnapdeskApp& app, const std::wstring& project, bool changed,
                           const std::vector<std::wstring>& names) {
    OpenFigures figures;
    app.startOpen();
    if (changed) {
        answerMessage(app.program(), IDNO);
    }
    const HWND dialog = waitForWindowTitled(app.program(), L"Open Project");
    if (dialog == nullptr) {
        std::printf("no Open Project dialog\n");
        return figures;
    }
    selectProject(dialog, project);
    Pinger pinger(app.main());
    const auto start = Clock::now();
    click(dialog, IDC_cmdOpen);
    const bool all = app.waitForTiles(names, Milliseconds{120000});
    figures.toLastTile = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    figures.longestToTiles = pinger.longest();
    // The open ends with the main window brought back in front of the members.
    waitUntil([&] { return GetForegroundWindow() == app.main(); }, Milliseconds{60000});
    figures.longestWhole = pinger.stop();
    figures.done = all;
    if (!all) {
        std::printf("%ls: not every member came onto the Project tab\n", project.c_str());
    }
    closeWindowsWith(L"bench doc ");
    waitUntil([&] { return !app.tileNamed(documentName(1)); }, Milliseconds{15000});
    return figures;
}

}  // namespace

int main() {
    clearSnapdeskSettings();
    std::vector<std::wstring> paths, names;
    for (int j = 1; j <= kMembers; ++j) {
        names.push_back(documentName(j));
        paths.push_back(writeTempTextFile(names.back(), "bench\r\n"));
    }
    // A fresh prefix has none of the program's folders yet.
    for (const wchar_t* folder :
         {L"C:\\Snapdesk", L"C:\\Snapdesk\\datafiles", L"C:\\Snapdesk\\datafiles\\projects"}) {
        CreateDirectoryW(folder, nullptr);
    }
    // Started without arguments, the test program ends at once without a window.
    const std::wstring silent = testAppPath(L"manywindows.exe");
    if (!writeProject(L"Bench open", paths, L"") || !writeProject(L"Bench silent", paths, silent)) {
        std::printf("could not write the projects\n");
        return 1;
    }
    SnapdeskApp app;
    if (!app.started()) {
        std::printf("Snapdesk did not start\n");
        return 1;
    }
    const double waits = kMembers * kWaitPerMemberMs;
    // Opens with and without the silent member in turn, so that both see the machine's load
    // alike; the first open also makes the tiles, later ones find them made.
    std::vector<double> plain, silentOnes;
    double longest = 0;
    for (int round = 1; round <= 5; ++round) {
        const bool withSilent = round % 2 == 0;
        const OpenFigures f =
            openAndMeasure(app, withSilent ? L"Bench silent" : L"Bench open", round > 1, names);
        if (!f.done) {
            return 1;
        }
        (withSilent ? silentOnes : plain).push_back(f.toLastTile);
        longest = std::max(longest, f.longestWhole);
        std::printf(
            "round %d%s: last member on the Project tab after %.0f ms; longest "
            "unanswered stretch %.1f ms until then, %.1f ms until the open is over\n",
            round, withSilent ? " (with the silent member)" : "", f.toLastTile, f.longestToTiles,
            f.longestWhole);
    }
    const double open = snapdesk::bench::median(plain);
    const double added = snapdesk::bench::median(silentOnes) - open;
    std::printf(
        "open of %d notepad documents %.0f ms (median of %zu), their waits %.0f ms, "
        "ratio %.3f (goal <= 0.3)\n",
        kMembers, open, plain.size(), waits, open / waits);
    std::printf(
        "a member that never shows a window adds %.0f ms, ratio to its wait of %.0f ms "
        "%.3f (goal: about 1, at most 1.1)\n",
        added, kWaitPerMemberMs, added / kWaitPerMemberMs);
    std::printf("longest unanswered stretch of all opens %.1f ms (goal <= 100)\n", longest);
    closeWindowsWith(L"bench doc ");
    app.program().close();
    for (const std::wstring& p : paths) {
        DeleteFileW(p.c_str());
    }
    for (const wchar_t* project : {L"Bench open", L"Bench silent"}) {
        DeleteFileW((kProjects + project + L".txt").c_str());
    }
    return 0;
}
