#pragma once

// Launching the programs a Win32 or end-to-end test drives, waiting for their windows, and
// closing them again, whatever the test's outcome.
#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace snapdesk::testing {

using Milliseconds = std::chrono::milliseconds;
constexpr Milliseconds kWindowTimeout{10000};

// Polls `condition` (pumping this thread's messages) until it holds or the time-out passes.
bool waitUntil(const std::function<bool()>& condition, Milliseconds timeout = kWindowTimeout);

// A path as CMake gives it (a Linux path when Wine runs the tests: drive Z: is "/") in
// Windows form.
std::wstring windowsPath(const std::string& path);
// The Windows path of a program built in tests/apps, e.g. testAppPath(L"mditest.exe").
std::wstring testAppPath(const std::wstring& exeName);
// One argument quoted for CommandLineToArgvW.
std::wstring quoteArgument(const std::wstring& argument);

// A shortcut file pointing at `target`, written by the shell's own link object (COM must be
// initialised on the thread); false when it could not be written.
bool writeShortcut(const std::wstring& shortcut, const std::wstring& target);

// A runtime command to one of our test programs (WM_COPYDATA); the window it answers with.
HWND sendCopyData(HWND frame, unsigned long command, const std::wstring& text);

std::wstring windowTextOf(HWND window);
std::wstring classNameOf(HWND window);
// Wine's ntdll exports wine_get_version.
bool runningUnderWine();
// The window's thread answers a WM_NULL within the time-out.
bool respondsWithin(HWND window, Milliseconds timeout);
// Top-level windows of every process, in Z order.
std::vector<HWND> topLevelWindows();
// Direct children of a window, in Z order.
std::vector<HWND> childWindows(HWND parent);

// A started program. The destructor closes it (WM_CLOSE, then TerminateProcess).
class Program {
  public:
    // Starts the command line (program first). started() tells whether it ran.
    explicit Program(const std::wstring& commandLine);
    ~Program();
    Program(Program&& other) noexcept;
    Program& operator=(Program&&) = delete;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return process_ != nullptr; }
    bool hasExited() const;
    DWORD processId() const { return processId_; }
    HANDLE process() const { return process_; }

    // The top-level windows of this process, in Z order (hidden ones included).
    std::vector<HWND> windows() const;
    int visibleWindowCount() const;
    // The first top-level window of this process for which the condition holds; nullptr when
    // none does within the time-out.
    HWND waitForWindow(const std::function<bool(HWND)>& condition,
                       Milliseconds timeout = kWindowTimeout) const;
    // Waits until the program waits for input (its start-up is done).
    bool waitForInputIdle(Milliseconds timeout = kWindowTimeout) const;
    // WM_CLOSE to each of its top-level windows, then TerminateProcess if it has not ended
    // within the grace period. Safe to call more than once.
    void close(Milliseconds grace = Milliseconds{3000});

  private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// mditest.exe (tests/apps) with these arguments; see the usage comment of mditest.cpp.
Program startMdiTest(std::initializer_list<std::wstring> arguments);
// Its frame (by class name) once it is visible, which mditest makes it only after creating
// every other window; nullptr on time-out.
HWND waitForMdiFrame(const Program& program, const std::wstring& frameClass = L"MdiTestFrame",
                     Milliseconds timeout = kWindowTimeout);
// The MDI client of a frame and the documents in it (hidden ones included), in Z order.
HWND mdiClientOf(HWND frame);
std::vector<HWND> mdiDocumentsOf(HWND frame);
// The document titled so, or nullptr.
HWND mdiDocumentTitled(HWND frame, const std::wstring& title);

// Makes the window the foreground window, retrying until it is or the time-out passes.
bool bringToFront(HWND window, Milliseconds timeout = kWindowTimeout);

// Runtime commands of mditest (mditest_protocol.h).
// Makes its thread stop answering for `ms` (mditest::kHangForever: for good); returns once
// the frame no longer answers, false if it still does after the time-out.
bool hangMdiTest(HWND frame, unsigned long ms, Milliseconds timeout = kWindowTimeout);
HWND addMdiDocument(HWND frame, const std::wstring& title, bool withIcon = true);
// Gives the active document a new title, as "Save As" does; returns that document.
HWND renameActiveMdiDocument(HWND frame, const std::wstring& title);

}  // namespace snapdesk::testing
