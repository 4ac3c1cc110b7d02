// Opening a project of ten notepad documents under Wine, chosen in "Open Project" as a user
// does: the time from the choice until the last member shows on the Project tab, against the
// sum of the waits the open gives its members (2 s each); and the main window's longest
// stretch without answering a message meanwhile, measured from outside with
// SendMessageTimeout.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "projects/win32/open_dialog_ids.h"
#include "snapdesk_app.h"
#include "test_apps.h"

using namespace snapdesk::testing;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kMembers = 10;
constexpr int kRounds = 2;
constexpr double kWaitPerMemberMs = 2000;
const std::wstring kProjectFile = L"C:\\Snapdesk\\datafiles\\projects\\Bench open.txt";

std::wstring documentName(int j) {
    return L"bench doc " + std::to_wstring(j) + L".txt";
}

bool writeProject(const std::vector<std::wstring>& paths) {
    std::wstring names = L"[FileName]\r\n", locations = L"[FilePath]\r\n", exes = L"[FileEXE]\r\n",
                 comments = L"[FileComment]\r\n";
    for (int j = 1; j <= kMembers; ++j) {
        const std::wstring key = std::to_wstring(j) + L"=";
        names += key + documentName(j) + L"\r\n";
        locations += key + paths[static_cast<std::size_t>(j - 1)] + L"\r\n";
        exes += key + L"C:\\WINDOWS\\SYSTEM32\\NOTEPAD.EXE\r\n";
        comments += key + L"note " + std::to_wstring(j) + L"\r\n";
    }
    const std::wstring text = locations + names + exes + comments;
    const HANDLE file = CreateFileW(kProjectFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
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
    if (!writeProject(paths)) {
        std::printf("could not write the project\n");
        return 1;
    }
    SnapdeskApp app;
    if (!app.started()) {
        std::printf("Snapdesk did not start\n");
        return 1;
    }
    int status = 0;
    for (int round = 1; round <= kRounds && status == 0; ++round) {
        app.startOpen();
        if (round > 1) {
            // The members were closed: the open project changed.
            answerMessage(app.program(), IDNO);
        }
        const HWND dialog = waitForWindowTitled(app.program(), L"Open Project");
        if (dialog == nullptr) {
            std::printf("no Open Project dialog\n");
            status = 1;
            break;
        }
        selectProject(dialog, L"Bench open");
        Pinger pinger(app.main());
        const auto start = Clock::now();
        click(dialog, IDC_cmdOpen);
        const bool all = app.waitForTiles(names, Milliseconds{120000});
        const double elapsed =
            std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        const double longest = pinger.stop();
        if (!all) {
            std::printf("round %d: not every member came onto the Project tab\n", round);
            status = 1;
            break;
        }
        const double waits = kMembers * kWaitPerMemberMs;
        std::printf(
            "round %d: open of %d notepad documents %.0f ms, waits %.0f ms, ratio %.3f "
            "(goal <= 1.1); longest unanswered stretch %.1f ms (goal <= 100)\n",
            round, kMembers, elapsed, waits, elapsed / waits, longest);
        closeWindowsWith(L"bench doc ");
        waitUntil([&] { return !app.tileNamed(documentName(1)); }, Milliseconds{15000});
    }
    closeWindowsWith(L"bench doc ");
    app.program().close();
    for (const std::wstring& p : paths) {
        DeleteFileW(p.c_str());
    }
    DeleteFileW(kProjectFile.c_str());
    return status;
}
