// The automation adapter against the stand-in servers of tests/apps, each in a process of its
// own and registered in the prefix's registry; and the shell's folder dialog.
#include <gtest/gtest.h>
#include <windows.h>
// clang-format off
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "common/runtime_error.h"
#include "platform/win32/win32_automation.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_ui.h"
#include "standin_protocol.h"
#include "standin_servers.h"
#include "test_apps.h"

namespace snapdesk {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::Milliseconds;
using Pairs = std::vector<std::pair<std::string, std::string>>;

constexpr unsigned kBoundMs = 1500;
// Long past the bound, short enough for a hung server to finish and end cleanly: Wine keeps the
// class registration of a server that was killed.
constexpr unsigned long kHangMs = 5000;
constexpr int kTimeoutError = static_cast<int>(HRESULT_FROM_WIN32(ERROR_TIMEOUT));

Pairs pairsOf(const std::vector<WordDocument>& documents) {
    Pairs pairs;
    for (const auto& d : documents) {
        pairs.emplace_back(d.name, d.folder);
    }
    return pairs;
}

Pairs pairsOf(const std::vector<ShellWindowLocation>& windows) {
    Pairs pairs;
    for (const auto& w : windows) {
        pairs.emplace_back(w.locationName, w.locationURL);
    }
    return pairs;
}

// A window of this thread that notes when a posted WM_APP reaches it.
class MessageProbe {
  public:
    MessageProbe() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"AutomationTestProbe";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, windowClass.lpszClassName, L"Automation test owner",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~MessageProbe() { DestroyWindow(window_); }
    MessageProbe(const MessageProbe&) = delete;
    MessageProbe& operator=(const MessageProbe&) = delete;

    HWND window() const { return window_; }
    // Posts WM_APP from another thread after `delay`.
    std::jthread postLater(Milliseconds delay) const {
        return std::jthread([window = window_, delay] {
            std::this_thread::sleep_for(delay);
            PostMessageW(window, WM_APP, 0, 0);
        });
    }
    bool received() const { return received_.has_value(); }
    Clock::time_point receivedAt() const { return *received_; }

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) {
            auto* self = reinterpret_cast<MessageProbe*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            self->received_ = Clock::now();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    std::optional<Clock::time_point> received_;
};

// A hung server: the call gives up within the bound while the calling thread keeps serving
// its own windows.
template <class Call>
void expectGivesUpInTime(Call call, const char* source) {
    MessageProbe probe;
    const auto start = Clock::now();
    auto poster = probe.postLater(300ms);
    std::optional<RuntimeError> error;
    try {
        call();
    } catch (const RuntimeError& e) {
        error = e;
    }
    const auto returned = Clock::now();
    const auto elapsed = std::chrono::duration_cast<Milliseconds>(returned - start);
    ASSERT_TRUE(error.has_value()) << "no time-out from " << source;
    EXPECT_EQ(error->number, kTimeoutError);
    EXPECT_EQ(error->source, source);
    EXPECT_GE(elapsed, Milliseconds{kBoundMs - 50});
    // The server sleeps 5 s; the bound is 1.5 s.
    EXPECT_LT(elapsed, Milliseconds{kBoundMs + 2000});
    ASSERT_TRUE(probe.received()) << "messages were not processed during the wait";
    EXPECT_LT(probe.receivedAt(), returned);
}

class AutomationTest : public ::testing::Test {
  protected:
    // The program's user-interface thread is a single-threaded apartment.
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }

    Win32Ui ui;
};

TEST_F(AutomationTest, WordDocumentsComeFromTheRunningWordProcessorOnly) {
    testing::StandInWord word;
    ASSERT_TRUE(word.registered());
    Win32Automation automation(ui, kBoundMs);

    // Registered but not running: nothing, and no word processor started for the question.
    EXPECT_EQ(automation.wordDocuments(), std::nullopt);
    EXPECT_TRUE(testing::processesRunning(word.exePath()).empty());
    ASSERT_TRUE(word.unregisterServer());
    EXPECT_EQ(automation.wordDocuments(), std::nullopt);
    ASSERT_TRUE(word.registerServer());

    const std::wstring report = word.folder().writeFile(L"R\u00e9sum\u00e9 2.doc", "text");
    const auto started = word.start({report, L"--new"});
    ASSERT_NE(started.frame, nullptr);
    // The frame names the active document as the real one does.
    EXPECT_EQ(testing::windowTextOf(started.frame), L"Microsoft Word - Document1");
    const std::string folder = win32::toUtf8(word.folder().path());
    EXPECT_EQ(pairsOf(automation.wordDocuments().value()),
              (Pairs{{"R\xC3\xA9sum\xC3\xA9 2.doc", folder}, {"Document1", ""}}));

    // Each walk sees the documents of the moment.
    ASSERT_NE(testing::newStandInWordDocument(started.frame), nullptr);
    const HWND first = testing::standInWordDocument(started.frame, L"R\u00e9sum\u00e9 2.doc");
    ASSERT_NE(first, nullptr);
    SendMessageW(first, WM_CLOSE, 0, 0);
    EXPECT_EQ(pairsOf(automation.wordDocuments().value()),
              (Pairs{{"Document1", ""}, {"Document2", ""}}));

    // Once it is closed, nothing again.
    started.program.close();
    ASSERT_TRUE(started.program.hasExited());
    EXPECT_EQ(automation.wordDocuments(), std::nullopt);
}

TEST_F(AutomationTest, WordProcessorThatDiesOrHangsInTheWalkMakesItThrow) {
    testing::StandInWord word;
    ASSERT_TRUE(word.registered());
    Win32Automation automation(ui, kBoundMs);
    const std::wstring a = word.folder().writeFile(L"A.doc", "a");
    const std::wstring b = word.folder().writeFile(L"B.doc", "b");

    {
        const auto dying = word.start({a, b, L"--die-at-item", L"2"});
        ASSERT_NE(dying.frame, nullptr);
        try {
            automation.wordDocuments();
            ADD_FAILURE() << "a server that died in the walk gave an answer";
        } catch (const RuntimeError& e) {
            EXPECT_LT(e.number, 0);  // a failure HRESULT
            EXPECT_NE(e.number, kTimeoutError);
            EXPECT_FALSE(e.description.empty());
            EXPECT_EQ(e.source, "Word.Application");
        }
        ASSERT_TRUE(testing::waitUntil([&] { return dying.program.hasExited(); }));
        DWORD code = 0;
        GetExitCodeProcess(dying.program.process(), &code);
        EXPECT_EQ(code, static_cast<DWORD>(standin::kDiedOnPurpose));
    }

    const auto hanging =
        word.start({a, b, L"--hang-at-item", L"2", L"--hang-ms", std::to_wstring(kHangMs)});
    ASSERT_NE(hanging.frame, nullptr) << "the dead server's entry was left behind";
    expectGivesUpInTime([&] { automation.wordDocuments(); }, "Word.Application");
    hanging.program.close(Milliseconds{kHangMs + 5000});
}

TEST_F(AutomationTest, EachOfficeWindowNamesItsOwnDocument) {
    testing::StandInOffice excel(L"EXCEL.EXE");
    testing::StandInOffice word(L"WINWORD.EXE");
    testing::StandInOffice powerPoint(L"POWERPNT.EXE");
    const std::wstring cloud = L"https://d.docs.live.net/5e6f/Shared%20Plan.xlsx";
    const auto first = excel.start({L"C:\\Docs\\Budget.xlsx", cloud});
    const auto second = excel.start({L"T:\\Other.xlsx", L"Book1"});
    const auto report = word.start({L"C:\\Docs\\report.docx"});
    const auto deck = powerPoint.start({L"C:\\Talks\\deck.pptx"});
    ASSERT_EQ(first.frames.size(), 2u);
    ASSERT_EQ(second.frames.size(), 2u);
    ASSERT_EQ(report.frames.size(), 1u);
    ASSERT_EQ(deck.frames.size(), 1u);
    Win32Automation automation(ui, kBoundMs);
    const auto fullName = [&](HWND window, OfficeProgram program) {
        return automation.officeDocumentFullName(win32::toHandle(window), program);
    };

    // Two instances of one program, each frame with its own document, captioned as Excel does.
    const std::pair<const wchar_t*, std::string> excelFrames[] = {
        {L"Budget.xlsx - Excel", "C:\\Docs\\Budget.xlsx"},
        {L"Shared Plan.xlsx - Excel", win32::toUtf8(cloud)},
        {L"Other.xlsx - Excel", "T:\\Other.xlsx"},
        {L"Book1 - Excel", "Book1"}};
    for (const auto& [caption, expected] : excelFrames) {
        HWND frame = testing::frameCaptioned(first, caption);
        frame = frame != nullptr ? frame : testing::frameCaptioned(second, caption);
        ASSERT_NE(frame, nullptr) << win32::toUtf8(caption);
        EXPECT_EQ(fullName(frame, OfficeProgram::Excel), expected) << win32::toUtf8(caption);
    }
    ASSERT_EQ(testing::windowTextOf(report.frames[0]), L"report.docx - Word");
    EXPECT_EQ(fullName(report.frames[0], OfficeProgram::Word), "C:\\Docs\\report.docx");
    ASSERT_EQ(testing::windowTextOf(deck.frames[0]), L"deck.pptx - PowerPoint");
    EXPECT_EQ(fullName(deck.frames[0], OfficeProgram::PowerPoint), "C:\\Talks\\deck.pptx");
    // The document window itself answers as its frame does.
    const HWND workbook = FindWindowExW(FindWindowExW(first.frames[0], nullptr, L"XLDESK", nullptr),
                                        nullptr, L"EXCEL7", nullptr);
    ASSERT_NE(workbook, nullptr);
    EXPECT_TRUE(fullName(workbook, OfficeProgram::Excel).has_value());

    // Windows that serve no such object: a frame asked as another program, and a plain window.
    EXPECT_EQ(fullName(report.frames[0], OfficeProgram::Excel), std::nullopt);
    MessageProbe plain;
    EXPECT_EQ(fullName(plain.window(), OfficeProgram::Word), std::nullopt);
}

TEST_F(AutomationTest, AnOfficeProgramThatDiesOrHangsWhenAskedMakesItThrow) {
    testing::StandInOffice excel(L"EXCEL.EXE");
    Win32Automation automation(ui, kBoundMs);
    {
        const auto dying = excel.start({L"C:\\Docs\\Budget.xlsx"}, {L"--die-at-call", L"1"});
        ASSERT_EQ(dying.frames.size(), 1u);
        try {
            automation.officeDocumentFullName(win32::toHandle(dying.frames[0]),
                                              OfficeProgram::Excel);
            ADD_FAILURE() << "a program that died when asked gave an answer";
        } catch (const RuntimeError& e) {
            EXPECT_LT(e.number, 0);
            EXPECT_NE(e.number, kTimeoutError);
            EXPECT_EQ(e.source, "Excel.Application");
        }
        ASSERT_TRUE(testing::waitUntil([&] { return dying.program.hasExited(); }));
        DWORD code = 0;
        GetExitCodeProcess(dying.program.process(), &code);
        EXPECT_EQ(code, static_cast<DWORD>(standin::kDiedOnPurpose));
    }
    const auto hanging =
        excel.start({L"C:\\Docs\\Budget.xlsx"},
                    {L"--hang-at-call", L"1", L"--hang-ms", std::to_wstring(kHangMs)});
    ASSERT_EQ(hanging.frames.size(), 1u);
    expectGivesUpInTime(
        [&] {
            automation.officeDocumentFullName(win32::toHandle(hanging.frames[0]),
                                              OfficeProgram::Excel);
        },
        "Excel.Application");
    hanging.program.close(Milliseconds{kHangMs + 5000});
}

TEST_F(AutomationTest, ShellWindowsAreListedFromAnotherProcessOrNotAtAll) {
    testing::StandInShellWindows shell;
    ASSERT_TRUE(shell.registered());
    Win32Automation automation(ui, kBoundMs, shell.classId());
    testing::ShellWindowsScript script;
    script.windows = {{"Documents", "file:///C:/users/root/Documents"},
                      {"Closed meanwhile", "file:///C:/closed"},
                      {"WineHQ", "http://www.winehq.org/"}};
    script.missingItem = 1;
    shell.serve(script);
    EXPECT_EQ(pairsOf(automation.shellWindows().value()),
              (Pairs{{"Documents", "file:///C:/users/root/Documents"},
                     {"WineHQ", "http://www.winehq.org/"}}));
    // The walk lets go of the server that COM started for it, which then ends.
    EXPECT_TRUE(
        testing::waitUntil([&] { return testing::processesRunning(shell.exePath()).empty(); }));

    script.dieAtItem = 2;
    shell.serve(script);
    try {
        automation.shellWindows();
        ADD_FAILURE() << "a server that died in the walk gave an answer";
    } catch (const RuntimeError& e) {
        EXPECT_LT(e.number, 0);
        EXPECT_NE(e.number, kTimeoutError);
        EXPECT_EQ(e.source, "ShellWindows");
    }

    script.dieAtItem = 0;
    script.hangAtItem = 1;
    script.hangMs = kHangMs;
    shell.serve(script);
    expectGivesUpInTime([&] { automation.shellWindows(); }, "ShellWindows");
    // The abandoned walk ends once the server wakes up, and lets go of it.
    EXPECT_TRUE(
        testing::waitUntil([&] { return testing::processesRunning(shell.exePath()).empty(); },
                           Milliseconds{kHangMs + 10000}));

    // A class nobody serves cannot be created; Wine's own collection is created but not listed.
    const CLSID unknown = {
        0x1f2e3d4c, 0x5b6a, 0x4978, {0x86, 0x95, 0xa4, 0xb3, 0xc2, 0xd1, 0xe0, 0xf1}};
    EXPECT_EQ(Win32Automation(ui, kBoundMs, unknown).shellWindows(), std::nullopt);
    const auto own = Win32Automation(ui).shellWindows();
    ASSERT_TRUE(own.has_value());
    if (testing::runningUnderWine()) {
        EXPECT_TRUE(own->empty());
    }
}

// Closes a browser window that no client holds any more (Wine's browser ignores WM_CLOSE while
// one does) and waits for its process to end on its own.
bool closeBrowser(HWND frame) {
    DWORD processId = 0;
    GetWindowThreadProcessId(frame, &processId);
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    const bool closed = testing::waitUntil([&] {
        if (!IsWindow(frame)) {
            return true;
        }
        PostMessageW(frame, WM_CLOSE, 0, 0);
        return false;
    });
    const bool ended = process != nullptr && WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
    if (process != nullptr) {
        CloseHandle(process);
    }
    return closed && ended;
}

// Browser windows that appeared since the object was made, closed however the test ends.
class NewBrowserFrames {
  public:
    ~NewBrowserFrames() {
        for (const HWND frame : all()) {
            closeBrowser(frame);
        }
    }
    std::vector<HWND> all() const {
        std::vector<HWND> frames;
        for (const HWND w : testing::topLevelWindows()) {
            if (testing::classNameOf(w) == L"IEFrame" &&
                std::find(before_.begin(), before_.end(), w) == before_.end()) {
                frames.push_back(w);
            }
        }
        return frames;
    }
    HWND visible() const {
        for (const HWND w : all()) {
            if (IsWindowVisible(w)) {
                return w;
            }
        }
        return nullptr;
    }

  private:
    std::vector<HWND> before_ = testing::topLevelWindows();
};

TEST_F(AutomationTest, BrowserObjectDrivesAWindowOfTheSystemsBrowser) {
    NewBrowserFrames frames;
    {
        // Starting the browser's server takes about a second.
        Win32Automation automation(ui, 15000);
        auto browser = automation.createBrowser();
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(frames.visible(), nullptr) << "shown before it was asked to";
        browser->setVisible(true);
        HWND frame = nullptr;
        ASSERT_TRUE(testing::waitUntil([&] { return (frame = frames.visible()) != nullptr; }));
        DWORD browserProcess = 0;
        GetWindowThreadProcessId(frame, &browserProcess);
        EXPECT_NE(browserProcess, GetCurrentProcessId());
        // Without Wine's Gecko the page stays blank: only the call itself can be checked.
        testing::TempFolder folder;
        const std::wstring page = folder.writeFile(L"page.html", "<html><body>x</body></html>");
        EXPECT_NO_THROW(browser->navigate("file:///" + win32::toUtf8(page)));
        browser->setVisible(false);
        EXPECT_TRUE(testing::waitUntil([&] { return !IsWindowVisible(frame); }));
        browser.reset();
        EXPECT_TRUE(closeBrowser(frame)) << "the browser object was not released";
    }

    // Too short a bound: creating gives up, and the browser that comes up anyway is let go.
    Win32Automation hasty(ui, 1);
    try {
        hasty.createBrowser();
        ADD_FAILURE() << "a browser came up within 1 ms";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number, kTimeoutError);
        EXPECT_EQ(e.source, "InternetExplorer.Application");
    }
    HWND late = nullptr;
    ASSERT_TRUE(testing::waitUntil([&] {
        const auto all = frames.all();
        late = all.empty() ? nullptr : all.front();
        return late != nullptr;
    }));
    EXPECT_FALSE(IsWindowVisible(late));
    EXPECT_TRUE(closeBrowser(late)) << "the late browser object was not released";
}

// Finds this process's folder dialog from another thread, notes its owner and lets `answer`
// close it.
class FolderDialogDriver {
  public:
    template <class Answer>
    explicit FolderDialogDriver(Answer answer)
        : thread_([this, answer] {
              HWND dialog = nullptr;
              testing::waitUntil([&] {
                  for (const HWND w : testing::topLevelWindows()) {
                      DWORD process = 0;
                      GetWindowThreadProcessId(w, &process);
                      if (process == GetCurrentProcessId() &&
                          testing::classNameOf(w) == L"#32770" && IsWindowVisible(w)) {
                          dialog = w;
                          return true;
                      }
                  }
                  return false;
              });
              if (dialog != nullptr) {
                  owner_ = GetWindow(dialog, GW_OWNER);
                  found_ = true;
                  answer(dialog);
              }
          }) {}

    void join() { thread_.join(); }
    bool found() const { return found_; }
    HWND owner() const { return owner_; }

  private:
    std::atomic<bool> found_{false};
    std::atomic<HWND> owner_{nullptr};
    std::jthread thread_;
};

TEST_F(AutomationTest, FolderDialogIsOwnedByTheGivenWindowAndAnswersThePathOrNothing) {
    MessageProbe owner;
    Win32Shell shell;

    FolderDialogDriver cancel([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(shell.browseForFolder(win32::toHandle(owner.window())), "");
    cancel.join();
    ASSERT_TRUE(cancel.found()) << "no folder dialog of this process showed";
    EXPECT_EQ(cancel.owner(), owner.window());

    // The dialog's own selection message stands in for the user's clicks in the tree.
    testing::TempFolder folder;
    const std::wstring chosen = folder.path();
    FolderDialogDriver choose([&chosen](HWND dialog) {
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(chosen.c_str()));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    const std::string answer = shell.browseForFolder(win32::toHandle(owner.window()));
    choose.join();
    ASSERT_TRUE(choose.found()) << "no folder dialog of this process showed";
    EXPECT_EQ(answer, win32::toUtf8(chosen));
}

}  // namespace
}  // namespace snapdesk
