#include "snapdesk_app.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "mainwindow/menu_ids.h"
#include "projects/win32/open_dialog_ids.h"
#include "projects/win32/save_dialog_ids.h"
#include "zim_display_widget.h"

namespace snapdesk::testing {

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Zim Software\\Snapdesk\\userSettings";

constexpr wchar_t kInstallFolder[] = L"C:\\Snapdesk";

// The program is installed on drive C: as a user has it: its folder list is of that drive,
// not of the build machine's file system behind drive Z:.
std::wstring installedSnapdesk() {
    const std::wstring built = windowsPath(SNAPDESK_EXE);
    const std::wstring folder = built.substr(0, built.find_last_of(L'\\') + 1);
    CreateDirectoryW(kInstallFolder, nullptr);
    for (const wchar_t* file :
         {L"snapdesk.exe", L"zimDisplayWidget.dll", L"zim001.dll", L"SNAPDESK.HLP"}) {
        const std::wstring target = std::wstring(kInstallFolder) + L"\\" + file;
        // A run that just ended may still hold its files for a moment.
        if (!waitUntil([&] { return CopyFileW((folder + file).c_str(), target.c_str(), FALSE); },
                       Milliseconds{5000})) {
            return {};  // never start an old copy
        }
    }
    return std::wstring(kInstallFolder) + L"\\snapdesk.exe";
}

void collectTiles(HWND parent, std::vector<Tile>& tiles) {
    for (const HWND child : childWindows(parent)) {
        if (classNameOf(child) == L"zimDisplayControl") {
            if (IsWindowVisible(child)) {
                tiles.push_back({child, windowTextOf(GetDlgItem(child, zim::kIdFileD)),
                                 windowTextOf(GetDlgItem(child, zim::kIdCommentD))});
            }
        } else {
            collectTiles(child, tiles);
        }
    }
}

void postMouse(HWND window, UINT message) {
    PostMessageW(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(10, 10));
}

bool runOnDisplay(std::vector<std::string> words) {
    using Spawn = long(__cdecl*)(char* const argv[], int wait);
    static const auto spawn = reinterpret_cast<Spawn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    return spawn != nullptr && spawn(argv.data(), 1) == 0;
}

}  // namespace

bool xdotool(std::initializer_list<std::string> arguments) {
    std::vector<std::string> words{"xdotool"};
    words.insert(words.end(), arguments);
    return runOnDisplay(std::move(words));
}

bool clickCaption(HWND window) {
    RECT r{};
    // Raised first, so that no other window covers the spot.
    return bringToFront(window) && GetWindowRect(window, &r) &&
           xdotool({"mousemove", std::to_string(r.left + 80),
                    std::to_string(r.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2), "click",
                    "1"}) &&
           waitUntil([&] { return GetForegroundWindow() == window; });
}

void screenshot(const char* step) {
    if (const char* folder = std::getenv("SNAPDESK_E2E_SHOTS")) {
        runOnDisplay({"import", "-window", "root", std::string(folder) + "/" + step + ".png"});
    }
}

bool writeTextFile(const std::wstring& path, const std::string& text) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool whole =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    CloseHandle(file);
    return whole;
}

std::wstring writeTempTextFile(const std::wstring& name, const std::string& text) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + name;
    return writeTextFile(path, text) ? path : std::wstring();
}

Program startNotepadOn(const std::wstring& path, HWND& window) {
    Program notepad(L"notepad.exe " + quoteArgument(path));
    window = notepad.waitForWindow([](HWND w) {
        return IsWindowVisible(w) && windowTextOf(w).find(L"Notepad") != std::wstring::npos;
    });
    return notepad;
}

void clearSnapdeskSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Zim Software\\Snapdesk");
}

std::optional<std::wstring> snapdeskSetting(const std::wstring& name) {
    std::array<wchar_t, 512> value{};
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), RRF_RT_REG_SZ, nullptr,
                     value.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(value.data());
}

void storeSnapdeskSetting(const std::wstring& name, const std::wstring& value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

SnapdeskApp::SnapdeskApp() : SnapdeskApp(KeptProject::Removed) {}

SnapdeskApp::SnapdeskApp(KeptProject kept)
    : SnapdeskApp([kept] {
          if (kept == KeptProject::Removed) {
              DeleteFileW((std::wstring(kInstallFolder) + L"\\datafiles\\recovery.txt").c_str());
          }
          return installedSnapdesk();
      }()) {}

SnapdeskApp::SnapdeskApp(const std::wstring& installedProgram)
    : installed_(installedProgram), program_(quoteArgument(installed_)) {
    if (!installed_.empty() && program_.started()) {
        main_ = program_.waitForWindow(
            [](HWND w) { return classNameOf(w) == L"SnapdeskMainWindow" && IsWindowVisible(w); },
            Milliseconds{30000});
    }
}

std::vector<Tile> SnapdeskApp::tiles() const {
    std::vector<Tile> tiles;
    collectTiles(main_, tiles);
    const auto placeOf = [](HWND w) {
        RECT r{};
        GetWindowRect(w, &r);
        return std::make_pair(r.top, r.left);
    };
    std::sort(tiles.begin(), tiles.end(),
              [&](const Tile& a, const Tile& b) { return placeOf(a.window) < placeOf(b.window); });
    return tiles;
}

std::optional<Tile> SnapdeskApp::tileNamed(const std::wstring& fileName) const {
    for (const Tile& tile : tiles()) {
        if (tile.fileName == fileName) {
            return tile;
        }
    }
    return std::nullopt;
}

std::optional<Tile> SnapdeskApp::waitForTile(const std::wstring& fileName,
                                             Milliseconds timeout) const {
    std::optional<Tile> found;
    waitUntil([&] { return (found = tileNamed(fileName)).has_value(); }, timeout);
    return found;
}

std::vector<std::wstring> SnapdeskApp::tabCaptions() const {
    std::vector<std::wstring> captions;
    const HWND tab = descendant(main_, WC_TABCONTROLW);
    if (tab == nullptr) {
        return captions;
    }
    // The tab control fills a TCITEM in its own process: lend it memory there.
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                                 program_.processId());
    if (process == nullptr) {
        return captions;
    }
    constexpr int kChars = 128;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(TCITEMW) + kChars * sizeof(wchar_t),
                                  MEM_COMMIT, PAGE_READWRITE);
    const int count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; remote != nullptr && i < count; ++i) {
        auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(TCITEMW));
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = remoteText;
        item.cchTextMax = kChars;
        WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
        SendMessageW(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(remote));
        std::array<wchar_t, kChars> text{};
        ReadProcessMemory(process, remoteText, text.data(), sizeof(text), nullptr);
        text.back() = 0;
        captions.emplace_back(text.data());
    }
    if (remote != nullptr) {
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return captions;
}

void SnapdeskApp::command(int id) const {
    PostMessageW(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void SnapdeskApp::click(const Tile& tile) {
    const HWND picture = GetDlgItem(tile.window, zim::kIdDisplay);
    postMouse(picture, WM_LBUTTONDOWN);
    postMouse(picture, WM_LBUTTONUP);
}

void SnapdeskApp::doubleClick(const Tile& tile) {
    const HWND picture = GetDlgItem(tile.window, zim::kIdDisplay);
    postMouse(picture, WM_LBUTTONDOWN);
    postMouse(picture, WM_LBUTTONUP);
    postMouse(picture, WM_LBUTTONDBLCLK);
    postMouse(picture, WM_LBUTTONUP);
}

void SnapdeskApp::typeComment(const Tile& tile, const std::wstring& text) {
    const HWND value = GetDlgItem(tile.window, zim::kIdCommentD);
    postMouse(value, WM_LBUTTONDOWN);
    postMouse(value, WM_LBUTTONUP);
    const HWND editor = GetDlgItem(tile.window, zim::kIdEditor);
    waitUntil([&] { return IsWindowVisible(editor) != FALSE; });
    for (const wchar_t c : text) {
        PostMessageW(editor, WM_CHAR, c, 1);
    }
    PostMessageW(editor, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(editor, WM_CHAR, L'\r', 1);
    PostMessageW(editor, WM_KEYUP, VK_RETURN, 0xC0000001);
}

bool SnapdeskApp::closeAndWait() {
    if (main_ != nullptr) {
        PostMessageW(main_, WM_CLOSE, 0, 0);
    }
    return waitUntil([&] { return program_.hasExited(); }, Milliseconds{20000});
}

bool SnapdeskApp::closeWithoutSaving() {
    PostMessageW(main_, WM_CLOSE, 0, 0);
    waitUntil(
        [&] { return program_.hasExited() || GetDlgItem(GetForegroundWindow(), IDNO) != nullptr; });
    if (!program_.hasExited()) {
        answerMessage(program_, IDNO);
    }
    return waitUntil([&] { return program_.hasExited(); });
}

bool SnapdeskApp::saveProjectAsWithoutQuestions(const std::wstring& name) {
    command(ID_mnuSaveProjectAs);
    const HWND save = waitForWindowTitled(program_, L"Save Project As");
    if (save == nullptr) {
        return false;
    }
    SetWindowTextW(GetDlgItem(save, IDC_txtSavePro), name.c_str());
    testing::click(save, IDC_cmdSaveProject);
    return gone(save);
}

HWND waitForPopup(Milliseconds timeout) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            for (HWND w = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w != nullptr;
                 w = FindWindowExW(nullptr, w, L"#32768", nullptr)) {
                if (IsWindowVisible(w)) {
                    found = w;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return found;
}

bool popupGone(Milliseconds timeout) {
    return waitUntil(
        [] {
            for (HWND w = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w != nullptr;
                 w = FindWindowExW(nullptr, w, L"#32768", nullptr)) {
                if (IsWindowVisible(w)) {
                    return false;
                }
            }
            return true;
        },
        timeout);
}

void key(HWND window, WPARAM virtualKey) {
    PostMessageW(window, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(window, WM_KEYUP, virtualKey, 0xC0000001);
}

void SnapdeskApp::rightClick(const Tile& tile) {
    const HWND picture = GetDlgItem(tile.window, zim::kIdDisplay);
    PostMessageW(picture, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
    PostMessageW(picture, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
}

HWND descendant(HWND parent, const wchar_t* className) {
    for (const HWND child : childWindows(parent)) {
        if (classNameOf(child) == className) {
            return child;
        }
        if (const HWND found = descendant(child, className)) {
            return found;
        }
    }
    return nullptr;
}

// A visible top-level window of the process with this caption.
HWND waitForWindowTitled(const Program& program, const std::wstring& caption,
                         Milliseconds timeout) {
    return program.waitForWindow(
        [&](HWND w) { return IsWindowVisible(w) && windowTextOf(w) == caption; }, timeout);
}

bool gone(HWND window) {
    return waitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

// Every text of a dialog's static controls, one a line.
std::wstring staticTexts(HWND dialog) {
    std::wstring all;
    for (const HWND child : childWindows(dialog)) {
        if (classNameOf(child) == L"Static" && !windowTextOf(child).empty()) {
            all += windowTextOf(child) + L"\n";
        }
    }
    return all;
}

void click(HWND dialog, int id) {
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// The message box that Snapdesk shows now: its text, and OK pressed.
std::wstring answerMessage(const Program& program, int button) {
    const HWND box = program.waitForWindow(
        [](HWND w) {
            return IsWindowVisible(w) && classNameOf(w) == L"#32770" &&
                   windowTextOf(w) == L"Snapdesk!";
        },
        Milliseconds{10000});
    if (box == nullptr || GetDlgItem(box, button) == nullptr) {
        return L"<no message>";
    }
    std::wstring text = staticTexts(box);
    click(box, button);
    gone(box);
    return text;
}

std::wstring recentFolder() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_RECENT, nullptr, 0, path);
    return path;
}

// A shortcut in the Recent folder, as the shell leaves one for a document the user opened.
std::wstring addRecentShortcut(const std::wstring& name, const std::wstring& target) {
    const std::wstring shortcut = recentFolder() + L"\\" + name + L".lnk";
    return writeShortcut(shortcut, target) ? shortcut : std::wstring();
}

// Top-level windows of any process whose caption holds `part`.
std::vector<HWND> windowsWith(const std::wstring& part) {
    std::vector<HWND> found;
    for (const HWND w : topLevelWindows()) {
        if (IsWindowVisible(w) && windowTextOf(w).find(part) != std::wstring::npos) {
            found.push_back(w);
        }
    }
    return found;
}

void closeWindowsWith(const std::wstring& part) {
    for (const HWND w : windowsWith(part)) {
        PostMessageW(w, WM_CLOSE, 0, 0);
    }
    waitUntil([&] { return windowsWith(part).empty(); });
}

// A project picked in the list, as a click on its line does.
void selectProject(HWND dialog, const std::wstring& name) {
    const HWND list = GetDlgItem(dialog, IDC_lstProjects);
    const LRESULT at = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_lstProjects, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

OpenTextDocuments::OpenTextDocuments(std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* name : names) {
        paths.push_back(writeTempTextFile(name, "text\r\n"));
        shortcuts.push_back(addRecentShortcut(name, paths.back()));
        HWND window = nullptr;
        notepads.push_back(std::make_unique<Program>(startNotepadOn(paths.back(), window)));
        open = open && !paths.back().empty() && window != nullptr;
    }
}

OpenTextDocuments::~OpenTextDocuments() {
    notepads.clear();
    for (const std::wstring& f : shortcuts) {
        DeleteFileW(f.c_str());
    }
    for (const std::wstring& f : paths) {
        DeleteFileW(f.c_str());
    }
}

bool SnapdeskApp::waitForTiles(const std::vector<std::wstring>& fileNames,
                               Milliseconds timeout) const {
    return waitUntil(
        [&] {
            return std::all_of(fileNames.begin(), fileNames.end(), [&](const std::wstring& name) {
                return tileNamed(name).has_value();
            });
        },
        timeout);
}

void SnapdeskApp::startOpen() const {
    waitUntil(
        [&] {
            command(ID_mnuOpen);
            return program_.waitForWindow(
                       [](HWND w) { return IsWindowVisible(w) && classNameOf(w) == L"#32770"; },
                       Milliseconds{1500}) != nullptr;
        },
        Milliseconds{30000});
}

bool SnapdeskApp::moveToProject(const std::wstring& name, Milliseconds timeout) const {
    const auto tile = waitForTile(name, timeout);
    if (!tile) {
        screenshot("tile-missing");
        return false;
    }
    rightClick(*tile);
    const HWND popup = waitForPopup();
    if (popup == nullptr) {
        return false;
    }
    key(popup, VK_DOWN);
    key(popup, VK_DOWN);
    key(popup, VK_RETURN);
    return popupGone() && waitUntil([&] { return !tileNamed(name).has_value(); });
}

}  // namespace snapdesk::testing
