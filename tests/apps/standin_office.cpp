// standin_office.exe: the windows of today's Word, Excel and PowerPoint, each with the document
// object the real program hands out for that window. Copied as EXCEL.EXE, WINWORD.EXE or
// POWERPNT.EXE it takes that program's shape, one frame per document:
//
//   EXCEL.EXE     XLMAIN "Book.xlsx - Excel" > XLDESK > EXCEL7 "Book.xlsx"
//   WINWORD.EXE   OpusApp "report.docx - Word" > _WwF > _WwB > _WwG
//   POWERPNT.EXE  PPTFrameClass "deck.pptx - PowerPoint" > MDIClient > mdiClass "deck.pptx"
//
//   standin_office [options] document ...
//     document          a path, an http(s) address (shown by its decoded file name), or a bare
//                       name for a document never saved ("Book1")
//     --die-at-call N   the N-th call of the window object's document member ends the process
//     --hang-at-call N  the N-th such call sleeps first (--hang-ms, default 30000)
//     --hang-ms MS
//
// The document window answers WM_GETOBJECT for OBJID_NATIVEOM with the program's window object
// (oleacc's LresultFromObject; IDispatch by name, no type library):
//   Excel       Window.Parent -> Workbook.FullName, Workbook.Name
//   Word        Window.Document -> Document.FullName, Document.Name
//   PowerPoint  DocumentWindow.Presentation -> Presentation.FullName, Presentation.Name
// Document windows are plain child windows without an icon (not MDI children: Snapdesk counts
// those as documents where it cannot ask their icon), so Snapdesk tracks each frame. The
// frames show only once every window exists: a test waits for the last one. Under any other
// file name the program exits with code 1.
// clang-format off
#include <windows.h>
#include <oleacc.h>
#include <shellapi.h>
// clang-format on

#include <array>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "automation_server.h"

namespace {

enum class Program { Word, Excel, PowerPoint };

struct Shape {
    const wchar_t* exe;
    const wchar_t* frameClass;
    const wchar_t* captionSuffix;
    // Window classes from the frame down to the document window; PowerPoint's MDIClient is
    // the system's MDI client.
    std::vector<const wchar_t*> levels;
};

const Shape& shapeOf(Program program) {
    static const Shape word{L"WINWORD.EXE", L"OpusApp", L" - Word", {L"_WwF", L"_WwB", L"_WwG"}};
    static const Shape excel{L"EXCEL.EXE", L"XLMAIN", L" - Excel", {L"XLDESK", L"EXCEL7"}};
    static const Shape powerPoint{
        L"POWERPNT.EXE", L"PPTFrameClass", L" - PowerPoint", {L"MDIClient", L"mdiClass"}};
    switch (program) {
        case Program::Word:
            return word;
        case Program::Excel:
            return excel;
        case Program::PowerPoint:
            break;
    }
    return powerPoint;
}

struct Document {
    std::wstring fullName;
    std::wstring name;
};

struct Options {
    std::vector<std::wstring> documents;
    standin::ItemHooks hooks;
};

HINSTANCE gInstance = nullptr;
Program gProgram = Program::Excel;
standin::ItemHooks gHooks;
std::map<HWND, std::shared_ptr<Document>> gDocumentOf;  // by document window
int gOpenFrames = 0;

bool sameText(const std::wstring& a, const wchar_t* b) {
    return CompareStringOrdinal(a.c_str(), -1, b, -1, TRUE) == CSTR_EQUAL;
}

// The program whose executable this copy is, from its own file name.
bool programOfOwnName(Program& program) {
    const std::wstring path = standin::ownPath();
    const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    for (const Program candidate : {Program::Word, Program::Excel, Program::PowerPoint}) {
        if (sameText(name, shapeOf(candidate).exe)) {
            program = candidate;
            return true;
        }
    }
    return false;
}

Options parseOptions() {
    Options options;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    auto number = [&](int& i) { return i + 1 < argc ? std::wcstol(argv[++i], nullptr, 10) : 0L; };
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--die-at-call") {
            options.hooks.dieAt = number(i);
        } else if (arg == L"--hang-at-call") {
            options.hooks.hangAt = number(i);
        } else if (arg == L"--hang-ms") {
            options.hooks.hangMs = static_cast<DWORD>(number(i));
        } else {
            options.documents.push_back(arg);
        }
    }
    LocalFree(argv);
    return options;
}

int hexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

// The escapes of an address decoded as UTF-8.
std::wstring percentDecoded(const std::wstring& text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
            hexValue(text[i + 2]) >= 0) {
            bytes.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
            i += 2;
            continue;
        }
        char utf8[8] = {};
        const int n = WideCharToMultiByte(CP_UTF8, 0, &text[i], 1, utf8, 8, nullptr, nullptr);
        bytes.append(utf8, static_cast<std::size_t>(n > 0 ? n : 0));
    }
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                        length);
    return wide;
}

// What the program shows for a document: the file name of a path or address.
Document documentOf(const std::wstring& argument) {
    const bool address = argument.rfind(L"https://", 0) == 0 || argument.rfind(L"http://", 0) == 0;
    if (address) {
        const std::wstring path = argument.substr(0, argument.find_first_of(L"?#"));
        return {argument, percentDecoded(path.substr(path.rfind(L'/') + 1))};
    }
    const std::size_t slash = argument.find_last_of(L"\\/");
    return {argument, slash == std::wstring::npos ? argument : argument.substr(slash + 1)};
}

// ---- Automation objects ----

enum : DISPID { kDocumentMember = 1, kFullName, kName };

class DocumentObject : public standin::DispatchObject {
  public:
    explicit DocumentObject(std::shared_ptr<Document> document)
        : DispatchObject(kMembers), document_(std::move(document)) {}

  protected:
    HRESULT member(DISPID id, DISPPARAMS*, VARIANT* result) override {
        switch (id) {
            case kFullName:
                return standin::returnText(result, document_->fullName);
            case kName:
                return standin::returnText(result, document_->name);
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
    }

  private:
    static constexpr std::array<standin::Member, 2> kMembers{
        {{L"FullName", kFullName}, {L"Name", kName}}};
    std::shared_ptr<Document> document_;
};

// The window object: one member leads to the document, named as the program names it.
class WindowObject : public standin::DispatchObject {
  public:
    explicit WindowObject(std::shared_ptr<Document> document)
        : DispatchObject(membersOf(gProgram)), document_(std::move(document)) {}

  protected:
    HRESULT member(DISPID id, DISPPARAMS*, VARIANT* result) override {
        if (id != kDocumentMember) {
            return DISP_E_MEMBERNOTFOUND;
        }
        gHooks.onItem();
        return standin::returnObject(result, new DocumentObject(document_));
    }

  private:
    static std::span<const standin::Member> membersOf(Program program) {
        static constexpr std::array<standin::Member, 1> kWord{{{L"Document", kDocumentMember}}};
        static constexpr std::array<standin::Member, 1> kExcel{{{L"Parent", kDocumentMember}}};
        static constexpr std::array<standin::Member, 1> kPowerPoint{
            {{L"Presentation", kDocumentMember}}};
        switch (program) {
            case Program::Word:
                return kWord;
            case Program::Excel:
                return kExcel;
            case Program::PowerPoint:
                break;
        }
        return kPowerPoint;
    }
    std::shared_ptr<Document> document_;
};

// ---- Windows ----

void fillParent(HWND window) {
    RECT area;
    GetClientRect(GetParent(window), &area);
    MoveWindow(window, 0, 0, area.right, area.bottom, TRUE);
}

// The document window: paints its FullName and serves the window object.
LRESULT documentMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    switch (message) {
        case WM_GETOBJECT:
            if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_NATIVEOM)) {
                const auto found = gDocumentOf.find(window);
                if (found != gDocumentOf.end()) {
                    IDispatch* object = new WindowObject(found->second);
                    const LRESULT result = LresultFromObject(IID_IDispatch, wParam, object);
                    object->Release();
                    return result;
                }
            }
            break;
        case WM_GETICON:
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(window, &paint);
            const auto found = gDocumentOf.find(window);
            if (found != gDocumentOf.end()) {
                const std::wstring& text = found->second->fullName;
                TextOutW(dc, 10, 10, text.c_str(), static_cast<int>(text.size()));
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY:
            gDocumentOf.erase(window);
            break;
        default:
            break;
    }
    handled = false;
    return 0;
}

LRESULT CALLBACK childProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const LRESULT result = documentMessage(window, message, wParam, lParam, handled);
    if (handled) {
        return result;
    }
    if (message == WM_SIZE) {
        if (const HWND inner = GetWindow(window, GW_CHILD); inner != nullptr) {
            fillParent(inner);
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (const HWND inner = GetWindow(window, GW_CHILD); inner != nullptr) {
                fillParent(inner);
            }
            return 0;
        case WM_DESTROY:
            if (--gOpenFrames == 0) {
                PostQuitMessage(0);
            }
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void registerClasses(const Shape& shape) {
    WNDCLASSW frame{};
    frame.lpfnWndProc = frameProc;
    frame.hInstance = gInstance;
    frame.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
    frame.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    frame.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE + 1));
    frame.lpszClassName = shape.frameClass;
    RegisterClassW(&frame);
    // No icon below the frame: Snapdesk would track a window with one as a document.
    for (const wchar_t* level : shape.levels) {
        if (sameText(level, L"MDIClient")) {
            continue;
        }
        WNDCLASSW child = frame;
        child.hIcon = nullptr;
        child.lpfnWndProc = childProc;
        child.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        child.lpszClassName = level;
        RegisterClassW(&child);
    }
}

// One frame with its windows down to the document window; nullptr when one failed.
HWND openFrame(const Shape& shape, const std::shared_ptr<Document>& document, int index) {
    const std::wstring caption = document->name + shape.captionSuffix;
    const HWND frame = CreateWindowExW(
        0, shape.frameClass, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
        40 + 40 * index, 40 + 30 * index, 640, 480, nullptr, nullptr, gInstance, nullptr);
    if (frame == nullptr) {
        return nullptr;
    }
    ++gOpenFrames;
    RECT area;
    GetClientRect(frame, &area);
    HWND parent = frame;
    HWND window = nullptr;
    for (std::size_t level = 0; level < shape.levels.size(); ++level) {
        const bool last = level + 1 == shape.levels.size();
        const wchar_t* text = last ? document->name.c_str() : L"";
        if (sameText(shape.levels[level], L"MDIClient")) {
            CLIENTCREATESTRUCT client{};
            client.idFirstChild = 50000;
            window =
                CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE,
                                0, 0, area.right, area.bottom, parent, nullptr, gInstance, &client);
        } else {
            window = CreateWindowExW(0, shape.levels[level], text,
                                     WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, area.right,
                                     area.bottom, parent, nullptr, gInstance, nullptr);
        }
        if (window == nullptr) {
            return nullptr;
        }
        parent = window;
    }
    gDocumentOf[window] = document;
    return frame;
}

int run(const Options& options) {
    const Shape& shape = shapeOf(gProgram);
    registerClasses(shape);
    std::vector<HWND> frames;
    for (const std::wstring& argument : options.documents) {
        const HWND frame = openFrame(shape, std::make_shared<Document>(documentOf(argument)),
                                     static_cast<int>(frames.size()));
        if (frame == nullptr) {
            return 1;
        }
        frames.push_back(frame);
    }
    for (const HWND frame : frames) {
        ShowWindow(frame, SW_SHOWNORMAL);
        UpdateWindow(frame);
    }
    if (gOpenFrames == 0) {
        return 0;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    gInstance = instance;
    standin::gMainThread = GetCurrentThreadId();
    if (!programOfOwnName(gProgram)) {
        return 1;
    }
    const Options options = parseOptions();
    gHooks = options.hooks;
    if (FAILED(OleInitialize(nullptr))) {
        return 1;
    }
    const int result = run(options);
    OleUninitialize();
    return result;
}
