#include "standin_servers.h"

#include <objbase.h>
#include <tlhelp32.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "../apps/standin_protocol.h"

namespace snapdesk::testing {

namespace {

bool samePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring imagePathOf(DWORD processId) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) {
        return {};
    }
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const BOOL known = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    return known ? std::wstring(path, size) : std::wstring();
}

void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = folder + L"\\" + name;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                removeTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                // An executable can stay locked for a moment after its process ended.
                waitUntil([&] { return DeleteFileW(path.c_str()) != 0; }, Milliseconds{3000});
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

std::wstring copyTestApp(const std::wstring& appName, const TempFolder& folder,
                         const std::wstring& copyName) {
    const std::wstring copy = folder.path() + L"\\" + copyName;
    return CopyFileW(testAppPath(appName).c_str(), copy.c_str(), FALSE) ? copy : std::wstring();
}

}  // namespace

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH] = {};
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    std::wstring base(temp, length);
    if (!base.empty() && base.back() == L'\\') {
        base.pop_back();
    }
    for (;;) {
        path_ = base + L"\\snapdesk-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
        if (CreateDirectoryW(path_.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS) {
            return;
        }
    }
}

TempFolder::~TempFolder() {
    removeTree(path_);
}

std::wstring TempFolder::writeFile(const std::wstring& name, const std::string& content) const {
    const std::wstring path = path_ + L"\\" + name;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }
    return path;
}

std::vector<DWORD> processesRunning(const std::wstring& exePath) {
    std::vector<DWORD> found;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return found;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (samePath(imagePathOf(entry.th32ProcessID), exePath)) {
            found.push_back(entry.th32ProcessID);
        }
    }
    CloseHandle(snapshot);
    return found;
}

void endProcesses(const std::wstring& exePath, Milliseconds grace) {
    waitUntil([&] { return processesRunning(exePath).empty(); }, grace);
    for (const DWORD id : processesRunning(exePath)) {
        const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (process != nullptr) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, static_cast<DWORD>(kWindowTimeout.count()));
            CloseHandle(process);
        }
    }
}

bool runRegistration(const std::wstring& exePath, bool doRegister) {
    if (exePath.empty()) {
        return false;
    }
    Program program(quoteArgument(exePath) + (doRegister ? L" /regserver" : L" /unregserver"));
    DWORD code = 1;
    return program.started() &&
           WaitForSingleObject(program.process(), static_cast<DWORD>(kWindowTimeout.count())) ==
               WAIT_OBJECT_0 &&
           GetExitCodeProcess(program.process(), &code) && code == standin::kRegistrationDone;
}

StandInWord::StandInWord() : exe_(copyTestApp(L"standin_word.exe", folder_, L"WINWORD.EXE")) {
    registerServer();
}

StandInWord::~StandInWord() {
    programs_.clear();
    if (!exe_.empty()) {
        endProcesses(exe_, kWindowTimeout);
    }
    unregisterServer();
}

bool StandInWord::registerServer() {
    registered_ = runRegistration(exe_, true);
    return registered_;
}

bool StandInWord::unregisterServer() {
    const bool done = runRegistration(exe_, false);
    registered_ = registered_ && !done;
    return done;
}

StandInWord::Started StandInWord::start(std::initializer_list<std::wstring> arguments) {
    std::wstring line = quoteArgument(exe_);
    for (const auto& argument : arguments) {
        line += L" " + quoteArgument(argument);
    }
    Program& program = programs_.emplace_back(line);
    const HWND frame = program.waitForWindow(
        [](HWND w) { return classNameOf(w) == standin::kWordFrameClass && IsWindowVisible(w); });
    return {program, frame};
}

HWND openStandInWordDocument(HWND frame, const std::wstring& path) {
    return sendCopyData(frame, standin::kOpenDocument, path);
}

HWND newStandInWordDocument(HWND frame) {
    return sendCopyData(frame, standin::kNewDocument, L"");
}

HWND standInWordDocument(HWND frame, const std::wstring& title) {
    for (const HWND document : childWindows(mdiClientOf(frame))) {
        if (classNameOf(document) == standin::kWordDocumentClass &&
            windowTextOf(document) == title) {
            return document;
        }
    }
    return nullptr;
}

namespace {

std::wstring officeFrameClass(const std::wstring& exeName) {
    if (samePath(exeName, L"WINWORD.EXE")) {
        return L"OpusApp";
    }
    if (samePath(exeName, L"POWERPNT.EXE")) {
        return L"PPTFrameClass";
    }
    return L"XLMAIN";
}

}  // namespace

StandInOffice::StandInOffice(const std::wstring& exeName)
    : exe_(copyTestApp(L"standin_office.exe", folder_, exeName)),
      frameClass_(officeFrameClass(exeName)) {}

StandInOffice::~StandInOffice() {
    programs_.clear();
    if (!exe_.empty()) {
        endProcesses(exe_);
    }
}

StandInOffice::Started StandInOffice::start(std::initializer_list<std::wstring> documents,
                                            std::initializer_list<std::wstring> options) {
    std::wstring line = quoteArgument(exe_);
    for (const auto& option : options) {
        line += L" " + quoteArgument(option);
    }
    for (const auto& document : documents) {
        line += L" " + quoteArgument(document);
    }
    Program& program = programs_.emplace_back(line);
    std::vector<HWND> frames;
    waitUntil([&] {
        frames.clear();
        for (const HWND w : program.windows()) {
            if (classNameOf(w) == frameClass_ && IsWindowVisible(w)) {
                frames.push_back(w);
            }
        }
        return frames.size() == documents.size() || program.hasExited();
    });
    if (frames.size() != documents.size()) {
        frames.clear();
    }
    return {program, frames};
}

HWND frameCaptioned(const StandInOffice::Started& started, const std::wstring& caption) {
    for (const HWND frame : started.frames) {
        if (windowTextOf(frame) == caption) {
            return frame;
        }
    }
    return nullptr;
}

StandInShellWindows::StandInShellWindows()
    : exe_(copyTestApp(L"standin_shell_windows.exe", folder_, L"standin_shell_windows.exe")) {
    CoCreateGuid(&classId_);
    serve({});
    registered_ = runRegistration(exe_, true);
}

StandInShellWindows::~StandInShellWindows() {
    if (!exe_.empty()) {
        endProcesses(exe_, kWindowTimeout);
    }
    runRegistration(exe_, false);
}

void StandInShellWindows::serve(const ShellWindowsScript& script) {
    wchar_t classText[40] = {};
    StringFromGUID2(classId_, classText, 40);
    std::string text = "class\t";
    for (const wchar_t* c = classText; *c != L'\0'; ++c) {
        text += static_cast<char>(*c);
    }
    text += "\n";
    for (const auto& [name, url] : script.windows) {
        text += "window\t" + name + "\t" + url + "\n";
    }
    text += "missing-item\t" + std::to_string(script.missingItem) + "\n";
    text += "die-at-item\t" + std::to_string(script.dieAtItem) + "\n";
    text += "hang-at-item\t" + std::to_string(script.hangAtItem) + "\t" +
            std::to_string(script.hangMs) + "\n";
    folder_.writeFile(L"standin_shell_windows.txt", text);
}

}  // namespace snapdesk::testing
