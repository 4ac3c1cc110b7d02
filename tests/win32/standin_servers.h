#pragma once

// The stand-in automation servers of tests/apps, set up for one test and taken down again:
// a private copy of the executable, its registration in the prefix's registry, the processes it
// ran, all undone by the destructor whatever the test's outcome.
#include <windows.h>

#include <deque>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "test_apps.h"

namespace snapdesk::testing {

// A new folder under the prefix's temporary folder, removed with its contents.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Without a trailing "\".
    const std::wstring& path() const { return path_; }
    // Writes a file of that name here and returns its full path.
    std::wstring writeFile(const std::wstring& name, const std::string& content) const;

  private:
    std::wstring path_;
};

// Processes whose executable is this file (full path, case ignored).
std::vector<DWORD> processesRunning(const std::wstring& exePath);
// Gives them `grace` to end on their own, then ends the rest and waits for them. Wine keeps the
// class registrations of a COM server that was ended so: creating that class fails for the
// rest of the session. Let servers finish where a test can.
void endProcesses(const std::wstring& exePath, Milliseconds grace = Milliseconds{0});

// Runs `exe /regserver` or `/unregserver`; true when it reported success.
bool runRegistration(const std::wstring& exePath, bool doRegister);

// standin_word.exe copied as WINWORD.EXE into a folder of its own and registered as the
// prefix's "Word.Application". Documents for it can be written into the same folder.
class StandInWord {
  public:
    StandInWord();
    // Closes what it started, ends any copy still running (after a grace period: a hung copy
    // may still finish), removes the registration and the folder.
    ~StandInWord();
    StandInWord(const StandInWord&) = delete;
    StandInWord& operator=(const StandInWord&) = delete;

    bool registered() const { return registered_; }
    bool registerServer();
    bool unregisterServer();

    const std::wstring& exePath() const { return exe_; }
    const TempFolder& folder() const { return folder_; }

    // Starts it as a user would (files, "--new", hooks: see standin_word.cpp) and waits until
    // its frame shows, which it does once GetActiveObject can find it. The frame is nullptr
    // when that did not happen in time.
    struct Started {
        Program& program;
        HWND frame;
    };
    Started start(std::initializer_list<std::wstring> arguments);

  private:
    TempFolder folder_;
    std::wstring exe_;
    bool registered_ = false;
    std::deque<Program> programs_;
};

// Runtime commands of the stand-in word processor (standin_protocol.h); each returns the new
// document's window.
HWND openStandInWordDocument(HWND frame, const std::wstring& path);
HWND newStandInWordDocument(HWND frame);
// Its document window captioned so, or nullptr.
HWND standInWordDocument(HWND frame, const std::wstring& title);

// standin_office.exe copied as an Office program's executable (EXCEL.EXE, WINWORD.EXE or
// POWERPNT.EXE) into a folder of its own, which takes that program's shape. Documents for it can
// be written into the same folder.
class StandInOffice {
  public:
    explicit StandInOffice(const std::wstring& exeName);
    // Closes what it started and ends any copy still running.
    ~StandInOffice();
    StandInOffice(const StandInOffice&) = delete;
    StandInOffice& operator=(const StandInOffice&) = delete;

    const std::wstring& exePath() const { return exe_; }
    const TempFolder& folder() const { return folder_; }
    // The class of the program's frames: XLMAIN, OpusApp, PPTFrameClass.
    const std::wstring& frameClass() const { return frameClass_; }

    // Starts one instance with these documents and options (see standin_office.cpp) and waits
    // until a frame shows for each document. `frames` is empty when that did not happen in time.
    struct Started {
        Program& program;
        std::vector<HWND> frames;
    };
    Started start(std::initializer_list<std::wstring> documents,
                  std::initializer_list<std::wstring> options = {});

  private:
    TempFolder folder_;
    std::wstring exe_;
    std::wstring frameClass_;
    std::deque<Program> programs_;
};
// Its frame captioned so, or nullptr.
HWND frameCaptioned(const StandInOffice::Started& started, const std::wstring& caption);

// What the next collection of the stand-in shell windows serves (see standin_shell_windows.cpp).
struct ShellWindowsScript {
    std::vector<std::pair<std::string, std::string>> windows;  // location name, URL
    long missingItem = -1;                                     // Item(i) answers no window
    long dieAtItem = 0;                                        // the n-th Item call ends it
    long hangAtItem = 0;                                       // the n-th Item call sleeps
    unsigned long hangMs = 30000;
};

// standin_shell_windows.exe copied into a folder of its own and registered under a class of its
// own (new for each object). COM starts it for each walk; it ends when the walk lets go.
class StandInShellWindows {
  public:
    StandInShellWindows();
    ~StandInShellWindows();
    StandInShellWindows(const StandInShellWindows&) = delete;
    StandInShellWindows& operator=(const StandInShellWindows&) = delete;

    bool registered() const { return registered_; }
    const CLSID& classId() const { return classId_; }
    const std::wstring& exePath() const { return exe_; }
    // Read by each new collection, so it applies from the next walk on.
    void serve(const ShellWindowsScript& script);

  private:
    TempFolder folder_;
    std::wstring exe_;
    CLSID classId_{};
    bool registered_ = false;
};

}  // namespace snapdesk::testing
