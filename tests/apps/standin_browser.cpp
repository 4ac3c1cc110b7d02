// standin_browser.exe: copied as chrome.exe, msedge.exe, brave.exe, vivaldi.exe, opera.exe or
// firefox.exe, it shows Snapdesk what that browser shows: one window per page, captioned as the
// real browser captions it, and a history database that it keeps open and locked while it runs.
//
//   chrome.exe [--profile-directory=<folder>] --new-window <url> ...
//   firefox.exe -new-window <url> ...
//
// A second start hands its pages to the running copy (WM_COPYDATA) and ends at once, as the
// real browsers do. What it knows comes from standin_browser.txt beside the program, one entry
// a line, fields separated by tabs:
//   title    <url>      <page title>
//   profile  <folder>   <profile name shown in Edge's caption>
//   history  <folder>   <database file>   (Firefox: any folder, e.g. "*")
// Each page shown is recorded as a visit: Chromium's `urls` with the database held in
// exclusive locking mode, Firefox's `moz_places` in WAL mode with checkpoints off, so that the
// row is only in the -wal file while the browser runs.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const wchar_t* kHostClass = L"StandInBrowserHost";
constexpr ULONG_PTR kOpenPages = 1;

enum class Kind { Chrome, Edge, Brave, Vivaldi, Opera, Firefox };

struct Table {
    std::map<std::wstring, std::wstring> titles;        // url -> title
    std::map<std::wstring, std::wstring> profileNames;  // folder -> name
    std::map<std::wstring, std::wstring> histories;     // folder -> database
};

struct Request {
    std::wstring profile;
    std::vector<std::wstring> urls;
};

HINSTANCE gInstance = nullptr;
Kind gKind = Kind::Chrome;
Table gTable;
int gPages = 0;
std::map<std::wstring, sqlite3*> gDatabases;

std::string utf8(const std::wstring& s) {
    if (s.empty()) {
        return {};
    }
    const int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

std::wstring wide(const std::string& s) {
    if (s.empty()) {
        return {};
    }
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

std::wstring ownPath() {
    wchar_t buffer[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return buffer;
}

std::wstring upper(std::wstring s) {
    CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

Kind kindOf(const std::wstring& path) {
    const std::wstring name = upper(path.substr(path.find_last_of(L'\\') + 1));
    if (name == L"MSEDGE.EXE") {
        return Kind::Edge;
    }
    if (name == L"BRAVE.EXE") {
        return Kind::Brave;
    }
    if (name == L"VIVALDI.EXE") {
        return Kind::Vivaldi;
    }
    if (name == L"OPERA.EXE") {
        return Kind::Opera;
    }
    if (name == L"FIREFOX.EXE") {
        return Kind::Firefox;
    }
    return Kind::Chrome;
}

// The whole file, "" when it cannot be read.
std::string fileText(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string text(static_cast<std::size_t>(GetFileSize(file, nullptr)), '\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(file);
    text.resize(read);
    return text;
}

Table readTable(const std::wstring& exe) {
    Table table;
    std::istringstream file(
        fileText(exe.substr(0, exe.find_last_of(L'\\') + 1) + L"standin_browser.txt"));
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::vector<std::wstring> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');) {
            fields.push_back(wide(field));
        }
        if (fields.size() != 3) {
            continue;
        }
        if (fields[0] == L"title") {
            table.titles[fields[1]] = fields[2];
        } else if (fields[0] == L"profile") {
            table.profileNames[fields[1]] = fields[2];
        } else if (fields[0] == L"history") {
            table.histories[fields[1]] = fields[2];
        }
    }
    return table;
}

std::wstring captionOf(const std::wstring& title, const std::wstring& profile) {
    switch (gKind) {
        case Kind::Edge: {
            const auto name = gTable.profileNames.find(profile);
            const std::wstring shown =
                name == gTable.profileNames.end() ? L"Profile 1" : name->second;
            return title + L" - " + shown + L" - Microsoft\u200B Edge";
        }
        case Kind::Brave:
            return title + L" - Brave";
        case Kind::Vivaldi:
            return title + L" - Vivaldi";
        case Kind::Opera:
            return title + L" - Opera";
        case Kind::Firefox:
            return title + L" \u2014 Mozilla Firefox";
        case Kind::Chrome:
            break;
    }
    return title + L" - Google Chrome";
}

bool run(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The database of a profile, opened and locked the way the browser keeps it.
sqlite3* databaseOf(const std::wstring& profile) {
    auto known = gTable.histories.find(gKind == Kind::Firefox ? L"*" : profile);
    if (known == gTable.histories.end()) {
        return nullptr;
    }
    const auto open = gDatabases.find(known->second);
    if (open != gDatabases.end()) {
        return open->second;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open(utf8(known->second).c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    if (gKind == Kind::Firefox) {
        run(db, "PRAGMA journal_mode=WAL");
        run(db, "PRAGMA wal_autocheckpoint=0");
        run(db,
            "CREATE TABLE IF NOT EXISTS moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, "
            "title LONGVARCHAR, rev_host LONGVARCHAR, visit_count INTEGER DEFAULT 0, "
            "last_visit_date INTEGER)");
    } else {
        run(db, "PRAGMA locking_mode=EXCLUSIVE");
        run(db,
            "CREATE TABLE IF NOT EXISTS urls (id INTEGER PRIMARY KEY AUTOINCREMENT, url "
            "LONGVARCHAR, title LONGVARCHAR, visit_count INTEGER DEFAULT 0 NOT NULL, "
            "typed_count INTEGER DEFAULT 0 NOT NULL, last_visit_time INTEGER NOT NULL, hidden "
            "INTEGER DEFAULT 0 NOT NULL)");
    }
    gDatabases[known->second] = db;
    return db;
}

// Microseconds since 1601 (Chromium) or since 1970 (Firefox), now.
std::int64_t visitTime() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const std::int64_t since1601 =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(now.dwHighDateTime) << 32) |
                                  now.dwLowDateTime) /
        10;
    constexpr std::int64_t k1601To1970 = 11644473600LL * 1000000LL;
    return gKind == Kind::Firefox ? since1601 - k1601To1970 : since1601;
}

void recordVisit(const std::wstring& profile, const std::wstring& url, const std::wstring& title) {
    sqlite3* db = databaseOf(profile);
    if (db == nullptr) {
        return;
    }
    const char* sql = gKind == Kind::Firefox
                          ? "INSERT INTO moz_places (url, title, visit_count, last_visit_date) "
                            "VALUES (?, ?, 1, ?)"
                          : "INSERT INTO urls (url, title, visit_count, last_visit_time) VALUES "
                            "(?, ?, 1, ?)";
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK) {
        const std::string u = utf8(url), t = utf8(title);
        sqlite3_bind_text(statement, 1, u.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(statement, 2, t.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(statement, 3, visitTime());
        sqlite3_step(statement);
    }
    sqlite3_finalize(statement);
}

LRESULT CALLBACK pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY && --gPages == 0) {
        PostQuitMessage(0);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void showPage(const std::wstring& profile, const std::wstring& url) {
    const auto known = gTable.titles.find(url);
    const std::wstring title = known == gTable.titles.end() ? url : known->second;
    const wchar_t* cls = gKind == Kind::Firefox ? L"MozillaWindowClass" : L"Chrome_WidgetWin_1";
    const int offset = 30 * (gPages % 8);
    const HWND page =
        CreateWindowExW(0, cls, captionOf(title, profile).c_str(), WS_OVERLAPPEDWINDOW, 80 + offset,
                        60 + offset, 480, 320, nullptr, nullptr, gInstance, nullptr);
    if (page == nullptr) {
        return;
    }
    ++gPages;
    recordVisit(profile, url, title);
    ShowWindow(page, SW_SHOWNORMAL);
}

// Pages travel to the running copy as "profile\nurl\nurl...".
std::wstring encode(const Request& request) {
    std::wstring text = request.profile;
    for (const std::wstring& url : request.urls) {
        text += L"\n" + url;
    }
    return text;
}

Request decode(const std::wstring& text) {
    Request request;
    std::wistringstream lines(text);
    std::getline(lines, request.profile);
    for (std::wstring url; std::getline(lines, url);) {
        request.urls.push_back(url);
    }
    return request;
}

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data->dwData == kOpenPages) {
            const Request request = decode(std::wstring(static_cast<const wchar_t*>(data->lpData),
                                                        data->cbData / sizeof(wchar_t)));
            for (const std::wstring& url : request.urls) {
                showPage(request.profile, url);
            }
            return TRUE;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

Request parseCommandLine() {
    Request request;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::wstring profileOption = L"--profile-directory=";
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg.rfind(profileOption, 0) == 0) {
            request.profile = arg.substr(profileOption.size());
        } else if (!arg.empty() && arg[0] != L'-') {
            request.urls.push_back(arg);
        }
    }
    LocalFree(argv);
    if (request.profile.empty() && gKind != Kind::Firefox) {
        request.profile = L"Default";
    }
    return request;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    gInstance = instance;
    const std::wstring exe = ownPath();
    gKind = kindOf(exe);
    const Request request = parseCommandLine();
    // One running copy per browser program: the copy's identity is its path.
    const std::wstring identity = upper(exe);
    if (const HWND running = FindWindowExW(HWND_MESSAGE, nullptr, kHostClass, identity.c_str())) {
        const std::wstring text = encode(request);
        COPYDATASTRUCT data{kOpenPages, static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                            const_cast<wchar_t*>(text.data())};
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                            SMTO_ABORTIFHUNG, 5000, &answer);
        return 0;
    }
    gTable = readTable(exe);

    WNDCLASSW host{};
    host.lpfnWndProc = hostProc;
    host.hInstance = instance;
    host.lpszClassName = kHostClass;
    RegisterClassW(&host);
    WNDCLASSW page{};
    page.lpfnWndProc = pageProc;
    page.hInstance = instance;
    page.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    page.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    page.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
    page.lpszClassName = gKind == Kind::Firefox ? L"MozillaWindowClass" : L"Chrome_WidgetWin_1";
    RegisterClassW(&page);
    CreateWindowExW(0, kHostClass, identity.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                    nullptr);

    for (const std::wstring& url : request.urls) {
        showPage(request.profile, url);
    }
    if (gPages == 0) {
        showPage(request.profile, L"about:blank");
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    for (auto& [path, db] : gDatabases) {
        sqlite3_close(db);
    }
    return 0;
}
