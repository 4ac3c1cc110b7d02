// mditest.exe: an MDI program whose windows the tests choose on the command line.
//
//   --title T          frame title (default "MDI Test")
//   --class C          frame class name (default "MdiTestFrame")
//   --doc T            a document titled T with an icon
//   --doc-noicon T     a document without an icon (WM_GETICON answers 0, no class icon)
//   --doc-hidden T     an invisible document with an icon
//   --max-doc N        maximise document N (documents count from 1 in command-line order)
//   --min-doc N        minimise document N
//   --active N         activate document N at the end (default: the last one created)
//   --frame-max        maximise the frame;  --frame-min  minimise it
//   --tool-window T    a top-level tool window (WS_EX_TOOLWINDOW), class "MdiTestTool"
//   --owned-window T   a top-level window owned by the frame, class "MdiTestOwned"
//   --one-char-window  a top-level window titled "Q", class "MdiTestOneChar"
//   --hang-ms N        about 1 s after start-up, stop answering for N ms (4294967295: forever)
//   PATH               a file opened as a document titled by its name, as an editor does; when
//                      a frame of the class runs already, it gets the documents and this
//                      instance ends (one window for every document)
//
// The frame becomes visible once every window exists. Documents have the classes "MdiTestDocument"
// and "MdiTestDocumentNoIcon" and paint a coloured rectangle with their title. The frame and its
// documents also draw themselves on WM_PRINT and WM_PRINTCLIENT (PrintWindow). Runtime messages:
// see mditest_protocol.h.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cwchar>
#include <string>
#include <vector>

#include "mditest_protocol.h"

namespace {

constexpr wchar_t kDocumentClass[] = L"MdiTestDocument";
constexpr wchar_t kDocumentNoIconClass[] = L"MdiTestDocumentNoIcon";
constexpr wchar_t kToolClass[] = L"MdiTestTool";
constexpr wchar_t kOwnedClass[] = L"MdiTestOwned";
constexpr wchar_t kOneCharClass[] = L"MdiTestOneChar";
constexpr UINT kFirstChildId = 50000;
constexpr UINT_PTR kHangTimer = 1;

enum class DocumentKind { WithIcon, NoIcon, Hidden };

struct DocumentSpec {
    std::wstring title;
    DocumentKind kind = DocumentKind::WithIcon;
};

struct Options {
    std::wstring title = L"MDI Test";
    std::wstring frameClass = L"MdiTestFrame";
    std::vector<DocumentSpec> documents;
    std::vector<std::wstring> files;  // titles of documents opened from files
    int maximizedDocument = 0;
    int minimizedDocument = 0;
    int activeDocument = 0;
    bool frameMaximized = false;
    bool frameMinimized = false;
    std::wstring toolWindow;
    std::wstring ownedWindow;
    bool oneCharWindow = false;
    bool hang = false;
    DWORD hangMs = 0;
};

HINSTANCE gInstance = nullptr;
HWND gFrame = nullptr;
HWND gClient = nullptr;
HICON gDocumentIcon = nullptr;
std::vector<HWND> gDocuments;
DWORD gHangMs = 0;

Options parseOptions() {
    Options options;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    auto value = [&](int& i) { return i + 1 < argc ? std::wstring(argv[++i]) : std::wstring(); };
    auto number = [&](int& i) {
        return static_cast<int>(std::wcstol(value(i).c_str(), nullptr, 10));
    };
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--title") {
            options.title = value(i);
        } else if (arg == L"--class") {
            options.frameClass = value(i);
        } else if (arg == L"--doc") {
            options.documents.push_back({value(i), DocumentKind::WithIcon});
        } else if (arg == L"--doc-noicon") {
            options.documents.push_back({value(i), DocumentKind::NoIcon});
        } else if (arg == L"--doc-hidden") {
            options.documents.push_back({value(i), DocumentKind::Hidden});
        } else if (arg == L"--max-doc") {
            options.maximizedDocument = number(i);
        } else if (arg == L"--min-doc") {
            options.minimizedDocument = number(i);
        } else if (arg == L"--active") {
            options.activeDocument = number(i);
        } else if (arg == L"--frame-max") {
            options.frameMaximized = true;
        } else if (arg == L"--frame-min") {
            options.frameMinimized = true;
        } else if (arg == L"--tool-window") {
            options.toolWindow = value(i);
        } else if (arg == L"--owned-window") {
            options.ownedWindow = value(i);
        } else if (arg == L"--one-char-window") {
            options.oneCharWindow = true;
        } else if (arg == L"--hang-ms") {
            options.hang = true;
            options.hangMs = std::wcstoul(value(i).c_str(), nullptr, 10);
        } else if (arg.rfind(L"--", 0) != 0) {
            const std::wstring title = arg.substr(arg.find_last_of(L'\\') + 1);
            options.files.push_back(title);
            options.documents.push_back({title, DocumentKind::WithIcon});
        }
    }
    LocalFree(argv);
    return options;
}

// Stops answering every window of this thread, as a program stuck in a long computation does.
void hang(DWORD milliseconds) {
    Sleep(milliseconds == mditest::kHangForever ? INFINITE : milliseconds);
}

void drawDocument(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    const int index = GetWindowLongPtrW(window, GWLP_ID) - kFirstChildId;
    const COLORREF colours[] = {RGB(200, 40, 40), RGB(40, 160, 40), RGB(40, 40, 200),
                                RGB(200, 160, 0)};
    const HBRUSH brush = CreateSolidBrush(colours[static_cast<unsigned>(index) % 4]);
    RECT block{client.left + 10, client.top + 30, client.right / 2, client.bottom - 10};
    FillRect(dc, &block, brush);
    DeleteObject(brush);
    wchar_t title[256];
    const int length = GetWindowTextW(window, title, 256);
    SetTextColor(dc, RGB(0, 0, 128));
    TextOutW(dc, client.left + 10, client.top + 5, title, length);
}

void paintDocument(HWND window) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    drawDocument(window, dc);
    EndPaint(window, &paint);
}

// WM_PRINT as Windows' own windows answer it: the frame and caption, then the client area
// (background and WM_PRINTCLIENT) and the children, each at its place in the given DC.
void printWindow(HWND window, HDC dc, LPARAM flags) {
    if ((flags & PRF_CHECKVISIBLE) != 0 && !IsWindowVisible(window)) {
        return;
    }
    RECT outer{};
    GetWindowRect(window, &outer);
    POINT clientOrigin{0, 0};
    ClientToScreen(window, &clientOrigin);
    RECT client{};
    GetClientRect(window, &client);
    const int left = clientOrigin.x - outer.left;
    const int top = clientOrigin.y - outer.top;
    const int saved = SaveDC(dc);
    if ((flags & PRF_NONCLIENT) != 0) {
        RECT frame{0, 0, outer.right - outer.left, outer.bottom - outer.top};
        FillRect(dc, &frame, GetSysColorBrush(COLOR_BTNFACE));
        const LONG style = GetWindowLongW(window, GWL_STYLE);
        if ((style & WS_CAPTION) == WS_CAPTION) {
            DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT | BF_ADJUST);
            RECT caption{frame.left, frame.top, frame.right, top - 1};
            const bool active =
                window == GetForegroundWindow() ||
                window == reinterpret_cast<HWND>(SendMessageW(gClient, WM_MDIGETACTIVE, 0, 0));
            DrawCaption(window, dc, &caption, DC_TEXT | DC_ICON | (active ? DC_ACTIVE : 0));
        } else {
            DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
        }
    }
    OffsetViewportOrgEx(dc, left, top, nullptr);
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    if ((flags & PRF_ERASEBKGND) != 0) {
        SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    }
    if ((flags & PRF_CLIENT) != 0) {
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
    }
    if ((flags & PRF_CHILDREN) != 0) {
        // From the bottom of the Z-order up, so the window on top is drawn last.
        for (HWND child = GetWindow(GetWindow(window, GW_CHILD), GW_HWNDLAST); child != nullptr;
             child = GetWindow(child, GW_HWNDPREV)) {
            if (!IsWindowVisible(child)) {
                continue;
            }
            RECT place{};
            GetWindowRect(child, &place);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
            const int inner = SaveDC(dc);
            OffsetViewportOrgEx(dc, place.left, place.top, nullptr);
            IntersectClipRect(dc, 0, 0, place.right - place.left, place.bottom - place.top);
            // The MDI client is the system's: it is drawn here the way it looks.
            if (child == gClient) {
                printWindow(child, dc, flags | PRF_ERASEBKGND);
            } else {
                SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
            }
            RestoreDC(dc, inner);
        }
    }
    RestoreDC(dc, saved);
}

LRESULT CALLBACK documentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETICON: {
            wchar_t className[64];
            GetClassNameW(window, className, 64);
            return std::wcscmp(className, kDocumentClass) == 0
                       ? reinterpret_cast<LRESULT>(gDocumentIcon)
                       : 0;
        }
        case WM_PAINT:
            paintDocument(window);
            return 0;
        case WM_PRINT:
            printWindow(window, reinterpret_cast<HDC>(wParam), lParam);
            return 0;
        case WM_PRINTCLIENT:
            drawDocument(window, reinterpret_cast<HDC>(wParam));
            return 0;
        default:
            return DefMDIChildProcW(window, message, wParam, lParam);
    }
}

HWND addDocument(const std::wstring& title, DocumentKind kind) {
    const wchar_t* windowClass =
        kind == DocumentKind::NoIcon ? kDocumentNoIconClass : kDocumentClass;
    const int index = static_cast<int>(gDocuments.size());
    MDICREATESTRUCTW create{};
    create.szClass = windowClass;
    create.szTitle = title.c_str();
    create.hOwner = gInstance;
    create.x = 10 + 30 * index;
    create.y = 10 + 30 * index;
    create.cx = 420;
    create.cy = 300;
    create.style = kind == DocumentKind::Hidden ? 0 : WS_VISIBLE;
    const HWND document = reinterpret_cast<HWND>(
        SendMessageW(gClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    if (document != nullptr) {
        SetWindowLongPtrW(document, GWLP_ID, kFirstChildId + index);
        if (kind == DocumentKind::Hidden) {
            ShowWindow(document, SW_HIDE);
        }
        gDocuments.push_back(document);
    }
    return document;
}

LRESULT onCopyData(const COPYDATASTRUCT& data) {
    const std::wstring text(static_cast<const wchar_t*>(data.lpData),
                            data.cbData / sizeof(wchar_t));
    switch (data.dwData) {
        case mditest::kAddDocument:
            return reinterpret_cast<LRESULT>(addDocument(text, DocumentKind::WithIcon));
        case mditest::kAddDocumentNoIcon:
            return reinterpret_cast<LRESULT>(addDocument(text, DocumentKind::NoIcon));
        case mditest::kRenameActiveDocument: {
            const HWND active =
                reinterpret_cast<HWND>(SendMessageW(gClient, WM_MDIGETACTIVE, 0, 0));
            if (active != nullptr) {
                SetWindowTextW(active, text.c_str());
                InvalidateRect(active, nullptr, TRUE);
            }
            return reinterpret_cast<LRESULT>(active);
        }
        default:
            return 0;
    }
}

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            CLIENTCREATESTRUCT client{};
            client.idFirstChild = kFirstChildId + 1000;
            gClient =
                CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL,
                                0, 0, 0, 0, window, nullptr, gInstance, &client);
            return 0;
        }
        case mditest::kHangMessage:
            hang(static_cast<DWORD>(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == kHangTimer) {
                KillTimer(window, kHangTimer);
                hang(gHangMs);
            }
            return 0;
        case WM_COPYDATA:
            return onCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_PRINT:
            printWindow(window, reinterpret_cast<HDC>(wParam), lParam);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefFrameProcW(window, gClient, message, wParam, lParam);
    }
}

LRESULT CALLBACK plainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        // Closing any extra window closes the program, so a test's WM_CLOSE always ends it.
        PostMessageW(gFrame, WM_CLOSE, 0, 0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerClass(const wchar_t* name, WNDPROC procedure, HICON icon, int background) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = gInstance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

void registerClasses(const Options& options) {
    gDocumentIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32516));  // the information icon
    registerClass(options.frameClass.c_str(), frameProc,
                  LoadIconW(nullptr, MAKEINTRESOURCEW(32515)), COLOR_APPWORKSPACE);
    registerClass(kDocumentClass, documentProc, gDocumentIcon, COLOR_WINDOW);
    registerClass(kDocumentNoIconClass, documentProc, nullptr, COLOR_WINDOW);
    registerClass(kToolClass, plainProc, nullptr, COLOR_BTNFACE);
    registerClass(kOwnedClass, plainProc, nullptr, COLOR_BTNFACE);
    registerClass(kOneCharClass, plainProc, nullptr, COLOR_BTNFACE);
}

void createExtraWindow(DWORD exStyle, const wchar_t* windowClass, const std::wstring& title,
                       HWND owner, int x) {
    CreateWindowExW(exStyle, windowClass, title.c_str(),
                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, x, 500, 220, 120, owner,
                    nullptr, gInstance, nullptr);
}

HWND documentAt(int position) {
    return position >= 1 && position <= static_cast<int>(gDocuments.size())
               ? gDocuments[position - 1]
               : nullptr;
}

void createWindows(const Options& options) {
    gFrame = CreateWindowExW(0, options.frameClass.c_str(), options.title.c_str(),
                             WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 800, 600, nullptr,
                             nullptr, gInstance, nullptr);
    for (const auto& document : options.documents) {
        addDocument(document.title, document.kind);
    }
    if (const HWND document = documentAt(options.maximizedDocument)) {
        SendMessageW(gClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(document), 0);
    }
    if (const HWND document = documentAt(options.minimizedDocument)) {
        ShowWindow(document, SW_MINIMIZE);
    }
    if (const HWND document = documentAt(options.activeDocument)) {
        SendMessageW(gClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document), 0);
    }
    if (!options.toolWindow.empty()) {
        createExtraWindow(WS_EX_TOOLWINDOW, kToolClass, options.toolWindow, nullptr, 10);
    }
    if (!options.ownedWindow.empty()) {
        createExtraWindow(0, kOwnedClass, options.ownedWindow, gFrame, 250);
    }
    if (options.oneCharWindow) {
        createExtraWindow(0, kOneCharClass, L"Q", nullptr, 490);
    }
    // The frame shows last, so a visible frame tells a test that every window exists.
    ShowWindow(gFrame, options.frameMaximized   ? SW_MAXIMIZE
                       : options.frameMinimized ? SW_SHOWMINIMIZED
                                                : SW_SHOWNORMAL);
    UpdateWindow(gFrame);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    gInstance = instance;
    const Options options = parseOptions();
    if (!options.files.empty()) {
        if (const HWND running = FindWindowW(options.frameClass.c_str(), nullptr)) {
            for (const std::wstring& title : options.files) {
                COPYDATASTRUCT data{mditest::kAddDocument,
                                    static_cast<DWORD>(title.size() * sizeof(wchar_t)),
                                    const_cast<wchar_t*>(title.data())};
                SendMessageW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
            }
            return 0;
        }
    }
    registerClasses(options);
    createWindows(options);
    if (gFrame == nullptr) {
        return 1;
    }
    if (options.hang) {
        // A timer fires only once the queue is empty: start-up, painting and the idle state
        // that launchers wait for all come first.
        gHangMs = options.hangMs;
        SetTimer(gFrame, kHangTimer, 1000, nullptr);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!TranslateMDISysAccel(gClient, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
