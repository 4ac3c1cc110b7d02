#include "test_apps.h"

// clang-format off
#include <shlobj.h>
// clang-format on

#include <thread>
#include <utility>

#include "../apps/mditest_protocol.h"

namespace snapdesk::testing {

namespace {

constexpr Milliseconds kPollInterval{20};

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

bool waitUntil(const std::function<bool()>& condition, Milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        pumpMessages();
        std::this_thread::sleep_for(kPollInterval);
    }
}

// The folder that CMake gives is a Linux path when Wine runs the tests: drive Z: is "/".
std::wstring windowsPath(const std::string& path) {
    std::wstring result(path.begin(), path.end());
    if (!result.empty() && result[0] == L'/') {
        result = L"Z:" + result;
    }
    for (auto& c : result) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return result;
}

bool writeShortcut(const std::wstring& shortcut, const std::wstring& target) {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        return false;
    }
    bool saved = false;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->SetPath(target.c_str())) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        saved = SUCCEEDED(file->Save(shortcut.c_str(), TRUE));
        file->Release();
    }
    link->Release();
    return saved;
}

HWND sendCopyData(HWND frame, unsigned long command, const std::wstring& text) {
    COPYDATASTRUCT data{};
    data.dwData = command;
    data.cbData = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(text.data());
    DWORD_PTR result = 0;
    SendMessageTimeoutW(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                        static_cast<UINT>(kWindowTimeout.count()), &result);
    return reinterpret_cast<HWND>(result);
}

std::wstring testAppPath(const std::wstring& exeName) {
    return windowsPath(SNAPDESK_TEST_APPS_DIR) + L"\\" + exeName;
}

std::wstring quoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote is escaped.
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

std::wstring windowTextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring classNameOf(HWND window) {
    wchar_t name[256] = {};
    return std::wstring(name, static_cast<std::size_t>(GetClassNameW(window, name, 256)));
}

bool runningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool respondsWithin(HWND window, Milliseconds timeout) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL,
                               static_cast<UINT>(timeout.count()), &ignored) != 0;
}

std::vector<HWND> topLevelWindows() {
    std::vector<HWND> windows;
    for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        windows.push_back(w);
    }
    return windows;
}

std::vector<HWND> childWindows(HWND parent) {
    std::vector<HWND> windows;
    for (HWND w = GetWindow(parent, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        windows.push_back(w);
    }
    return windows;
}

Program::Program(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring line = commandLine;
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        processId_ = info.dwProcessId;
    }
}

Program::Program(Program&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)),
      processId_(std::exchange(other.processId_, 0)) {}

Program::~Program() {
    close();
}

bool Program::hasExited() const {
    return process_ == nullptr || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
}

int Program::visibleWindowCount() const {
    int n = 0;
    for (const HWND w : windows()) {
        n += IsWindowVisible(w) ? 1 : 0;
    }
    return n;
}

std::vector<HWND> Program::windows() const {
    std::vector<HWND> mine;
    for (const HWND w : topLevelWindows()) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId_) {
            mine.push_back(w);
        }
    }
    return mine;
}

HWND Program::waitForWindow(const std::function<bool(HWND)>& condition,
                            Milliseconds timeout) const {
    HWND found = nullptr;
    waitUntil(
        [&] {
            for (const HWND w : windows()) {
                if (condition(w)) {
                    found = w;
                    return true;
                }
            }
            return hasExited();
        },
        timeout);
    return found;
}

bool Program::waitForInputIdle(Milliseconds timeout) const {
    return process_ != nullptr &&
           WaitForInputIdle(process_, static_cast<DWORD>(timeout.count())) == 0;
}

void Program::close(Milliseconds grace) {
    if (process_ == nullptr) {
        return;
    }
    if (!hasExited()) {
        for (const HWND w : windows()) {
            PostMessageW(w, WM_CLOSE, 0, 0);
        }
        if (WaitForSingleObject(process_, static_cast<DWORD>(grace.count())) != WAIT_OBJECT_0) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, static_cast<DWORD>(kWindowTimeout.count()));
        }
    }
    CloseHandle(process_);
    process_ = nullptr;
}

Program startMdiTest(std::initializer_list<std::wstring> arguments) {
    std::wstring line = quoteArgument(testAppPath(L"mditest.exe"));
    for (const auto& argument : arguments) {
        line += L" " + quoteArgument(argument);
    }
    return Program(line);
}

HWND waitForMdiFrame(const Program& program, const std::wstring& frameClass, Milliseconds timeout) {
    const HWND frame = program.waitForWindow(
        [&](HWND w) { return classNameOf(w) == frameClass && IsWindowVisible(w); }, timeout);
    // Let it finish painting; a program that hangs soon after start-up may never get idle.
    if (frame != nullptr) {
        program.waitForInputIdle(Milliseconds{500});
    }
    return frame;
}

HWND mdiClientOf(HWND frame) {
    for (const HWND child : childWindows(frame)) {
        if (CompareStringOrdinal(classNameOf(child).c_str(), -1, L"MDIClient", -1, TRUE) ==
            CSTR_EQUAL) {
            return child;
        }
    }
    return nullptr;
}

std::vector<HWND> mdiDocumentsOf(HWND frame) {
    std::vector<HWND> documents;
    for (const HWND child : childWindows(mdiClientOf(frame))) {
        const std::wstring name = classNameOf(child);
        if (name == L"MdiTestDocument" || name == L"MdiTestDocumentNoIcon") {
            documents.push_back(child);
        }
    }
    return documents;
}

HWND mdiDocumentTitled(HWND frame, const std::wstring& title) {
    for (const HWND document : mdiDocumentsOf(frame)) {
        if (windowTextOf(document) == title) {
            return document;
        }
    }
    return nullptr;
}

bool bringToFront(HWND window, Milliseconds timeout) {
    return waitUntil(
        [&] {
            if (GetForegroundWindow() == window) {
                return true;
            }
            SetForegroundWindow(window);
            return false;
        },
        timeout);
}

bool hangMdiTest(HWND frame, unsigned long ms, Milliseconds timeout) {
    SendNotifyMessageW(frame, mditest::kHangMessage, ms, 0);
    return waitUntil([&] { return !respondsWithin(frame, Milliseconds{100}); }, timeout);
}

HWND addMdiDocument(HWND frame, const std::wstring& title, bool withIcon) {
    return sendCopyData(frame, withIcon ? mditest::kAddDocument : mditest::kAddDocumentNoIcon,
                        title);
}

HWND renameActiveMdiDocument(HWND frame, const std::wstring& title) {
    return sendCopyData(frame, mditest::kRenameActiveDocument, title);
}

}  // namespace snapdesk::testing
