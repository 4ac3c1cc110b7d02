// standin_word.exe: a small MDI word processor that serves "Word.Application" to automation
// clients. Copied as WINWORD.EXE, its windows look like the real one's to Snapdesk: the frame is
// captioned "Microsoft Word - <active document>", each document window with the file's name.
//
//   standin_word [options] [file ...]   one document per file, in order (the last one active)
//   --new                 an unsaved document, "Document<n>" (empty Path)
//   --die-at-item N       the N-th call of Documents.Item ends the process at once
//   --hang-at-item N      the N-th call of Documents.Item sleeps first (--hang-ms, default 30000)
//   --hang-ms MS
//   -Embedding            started by COM: no documents, no window shown, ends when released
//   /regserver            writes its class (LocalServer32 = this file) and ProgID, then exits
//   /unregserver          removes them, then exits
//
// Started by a user, it registers its application object in the running object table (strong,
// so GetActiveObject finds it) and shows its frame only then: a visible frame tells a test that
// the server is ready; when the table already holds another instance, it exits with code 2.
// Runtime commands: see standin_protocol.h.
//
// Automation members: Application.Documents; Documents.Count, Documents.Item(i), i from 1;
// Document.Name, Document.Path (the folder without a trailing "\", "" when never saved).
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "automation_server.h"
#include "standin_protocol.h"

namespace {

constexpr UINT kFirstChildId = 50000;

struct Document {
    std::wstring name;
    std::wstring path;
    HWND window = nullptr;
};

struct Options {
    std::vector<std::wstring> files;
    int unsaved = 0;
    bool embedding = false;
    bool registerOnly = false;
    bool unregisterOnly = false;
    standin::ItemHooks hooks;
};

HINSTANCE gInstance = nullptr;
HWND gFrame = nullptr;
HWND gClient = nullptr;
// Open documents in the order they were opened: the order of Documents.Item.
std::vector<std::shared_ptr<Document>> gDocuments;
int gUnsavedCount = 0;
standin::ItemHooks gHooks;

Options parseOptions() {
    Options options;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    auto number = [&](int& i) { return i + 1 < argc ? std::wcstol(argv[++i], nullptr, 10) : 0L; };
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (standin::isSwitch(argv[i], L"Embedding") || standin::isSwitch(argv[i], L"Automation")) {
            options.embedding = true;
        } else if (standin::isSwitch(argv[i], L"regserver")) {
            options.registerOnly = true;
        } else if (standin::isSwitch(argv[i], L"unregserver")) {
            options.unregisterOnly = true;
        } else if (arg == L"--new") {
            ++options.unsaved;
        } else if (arg == L"--die-at-item") {
            options.hooks.dieAt = number(i);
        } else if (arg == L"--hang-at-item") {
            options.hooks.hangAt = number(i);
        } else if (arg == L"--hang-ms") {
            options.hooks.hangMs = static_cast<DWORD>(number(i));
        } else {
            options.files.push_back(arg);
        }
    }
    LocalFree(argv);
    return options;
}

// ---- Windows ----

void updateFrameCaption() {
    const HWND active = reinterpret_cast<HWND>(SendMessageW(gClient, WM_MDIGETACTIVE, 0, 0));
    std::wstring caption = L"Microsoft Word";
    for (const auto& document : gDocuments) {
        if (document->window == active) {
            caption += L" - " + document->name;
        }
    }
    SetWindowTextW(gFrame, caption.c_str());
}

LRESULT CALLBACK documentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MDIACTIVATE:
            if (reinterpret_cast<HWND>(lParam) == window) {
                // Activation comes before the new window is known to the list.
                PostMessageW(gFrame, WM_APP, 0, 0);
            }
            break;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(window, &paint);
            for (const auto& document : gDocuments) {
                if (document->window == window) {
                    const std::wstring text = document->path.empty()
                                                  ? document->name
                                                  : document->path + L"\\" + document->name;
                    TextOutW(dc, 10, 10, text.c_str(), static_cast<int>(text.size()));
                }
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY:
            std::erase_if(gDocuments, [&](const auto& d) { return d->window == window; });
            PostMessageW(gFrame, WM_APP, 0, 0);
            break;
        default:
            break;
    }
    return DefMDIChildProcW(window, message, wParam, lParam);
}

HWND addDocument(std::wstring name, std::wstring path) {
    auto document = std::make_shared<Document>(Document{std::move(name), std::move(path)});
    const int index = static_cast<int>(gDocuments.size());
    MDICREATESTRUCTW create{};
    create.szClass = standin::kWordDocumentClass;
    create.szTitle = document->name.c_str();
    create.hOwner = gInstance;
    create.x = 10 + 30 * index;
    create.y = 10 + 30 * index;
    create.cx = 420;
    create.cy = 300;
    create.style = WS_VISIBLE;
    document->window = reinterpret_cast<HWND>(
        SendMessageW(gClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    if (document->window == nullptr) {
        return nullptr;
    }
    SetWindowLongPtrW(document->window, GWLP_ID, kFirstChildId + index);
    gDocuments.push_back(document);
    updateFrameCaption();
    return document->window;
}

// A file's name and folder, as Document.Name and Document.Path give them.
HWND openFile(const std::wstring& file) {
    wchar_t full[MAX_PATH] = {};
    wchar_t* namePart = nullptr;
    if (GetFullPathNameW(file.c_str(), MAX_PATH, full, &namePart) == 0 || namePart == nullptr) {
        return nullptr;
    }
    const std::wstring name = namePart;
    std::wstring folder(full, static_cast<std::size_t>(namePart - full));
    // "C:\" keeps its "\"; deeper folders lose it.
    if (folder.size() > 3 && folder.back() == L'\\') {
        folder.pop_back();
    }
    return addDocument(name, folder);
}

HWND newDocument() {
    return addDocument(L"Document" + std::to_wstring(++gUnsavedCount), L"");
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
        case WM_APP:
            updateFrameCaption();
            return 0;
        case WM_COPYDATA: {
            const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            const std::wstring text(static_cast<const wchar_t*>(data.lpData),
                                    data.cbData / sizeof(wchar_t));
            if (data.dwData == standin::kOpenDocument) {
                return reinterpret_cast<LRESULT>(openFile(text));
            }
            if (data.dwData == standin::kNewDocument) {
                return reinterpret_cast<LRESULT>(newDocument());
            }
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefFrameProcW(window, gClient, message, wParam, lParam);
    }
}

void registerClasses() {
    WNDCLASSW frame{};
    frame.lpfnWndProc = frameProc;
    frame.hInstance = gInstance;
    frame.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
    frame.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    frame.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE + 1));
    frame.lpszClassName = standin::kWordFrameClass;
    RegisterClassW(&frame);
    WNDCLASSW document = frame;
    document.lpfnWndProc = documentProc;
    // Snapdesk tracks only MDI documents that have an icon.
    document.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32516));
    document.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    document.lpszClassName = standin::kWordDocumentClass;
    RegisterClassW(&document);
}

// ---- Automation objects ----

enum : DISPID { kItem = DISPID_VALUE, kDocuments = 1, kCount, kName, kPath };

class DocumentObject : public standin::DispatchObject {
  public:
    explicit DocumentObject(std::shared_ptr<Document> document)
        : DispatchObject(kMembers), document_(std::move(document)) {}

  protected:
    HRESULT member(DISPID id, DISPPARAMS*, VARIANT* result) override {
        switch (id) {
            case kName:
                return standin::returnText(result, document_->name);
            case kPath:
                return standin::returnText(result, document_->path);
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
    }

  private:
    static constexpr std::array<standin::Member, 2> kMembers{{{L"Name", kName}, {L"Path", kPath}}};
    std::shared_ptr<Document> document_;
};

class DocumentsObject : public standin::DispatchObject {
  public:
    DocumentsObject() : DispatchObject(kMembers) {}

  protected:
    HRESULT member(DISPID id, DISPPARAMS* params, VARIANT* result) override {
        switch (id) {
            case kCount:
                return standin::returnLong(result, static_cast<long>(gDocuments.size()));
            case kItem: {
                long index = 0;
                if (const HRESULT hr = standin::indexArgument(params, index); FAILED(hr)) {
                    return hr;
                }
                gHooks.onItem();
                if (index < 1 || index > static_cast<long>(gDocuments.size())) {
                    return DISP_E_BADINDEX;
                }
                return standin::returnObject(result, new DocumentObject(gDocuments[index - 1]));
            }
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
    }

  private:
    static constexpr std::array<standin::Member, 2> kMembers{
        {{L"Count", kCount}, {L"Item", kItem}}};
};

class ApplicationObject : public standin::DispatchObject {
  public:
    ApplicationObject() : DispatchObject(kMembers) {}

  protected:
    HRESULT member(DISPID id, DISPPARAMS*, VARIANT* result) override {
        switch (id) {
            case kDocuments:
                return standin::returnObject(result, new DocumentsObject());
            case kName:
                return standin::returnText(result, L"Microsoft Word");
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
    }

  private:
    static constexpr std::array<standin::Member, 2> kMembers{
        {{L"Documents", kDocuments}, {L"Name", kName}}};
};

int serve(const Options& options) {
    registerClasses();
    gFrame = CreateWindowExW(0, standin::kWordFrameClass, L"Microsoft Word",
                             WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 60, 60, 800, 600, nullptr,
                             nullptr, gInstance, nullptr);
    if (gFrame == nullptr) {
        return 1;
    }
    if (!options.embedding) {
        for (const auto& file : options.files) {
            openFile(file);
        }
        for (int i = 0; i < options.unsaved; ++i) {
            newDocument();
        }
    }

    const CLSID classId = standin::classIdOf(standin::kWordClassId);
    // Started by a user: one application object, in the running object table. Started by COM:
    // one for each client, and the process goes when the last one is released.
    ApplicationObject* application = options.embedding ? nullptr : new ApplicationObject();
    standin::gEndWhenUnused = options.embedding;
    standin::ClassFactory factory([application]() -> IDispatch* {
        if (application == nullptr) {
            return new ApplicationObject();
        }
        application->AddRef();
        return application;
    });
    DWORD classCookie = 0;
    CoRegisterClassObject(classId, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &classCookie);
    DWORD activeCookie = 0;
    bool active = false;
    if (application != nullptr) {
        active = SUCCEEDED(
            RegisterActiveObject(application, classId, ACTIVEOBJECT_STRONG, &activeCookie));
        if (!active) {
            // Another instance still holds the entry: a test must see that, not a silent frame.
            CoRevokeClassObject(classCookie);
            application->Release();
            return 2;
        }
        ShowWindow(gFrame, SW_SHOWNORMAL);
        UpdateWindow(gFrame);
    }

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!TranslateMDISysAccel(gClient, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (active) {
        RevokeActiveObject(activeCookie, nullptr);
    }
    CoRevokeClassObject(classCookie);
    if (application != nullptr) {
        application->Release();
    }
    if (IsWindow(gFrame)) {
        DestroyWindow(gFrame);
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    gInstance = instance;
    standin::gMainThread = GetCurrentThreadId();
    const Options options = parseOptions();
    if (options.registerOnly) {
        return standin::registerServer(standin::kWordClassId, standin::kWordProgId,
                                       L"Stand-in word processor")
                   ? standin::kRegistrationDone
                   : 1;
    }
    if (options.unregisterOnly) {
        return standin::unregisterServer(standin::kWordClassId, standin::kWordProgId)
                   ? standin::kRegistrationDone
                   : 1;
    }
    gHooks = options.hooks;
    if (FAILED(OleInitialize(nullptr))) {
        return 1;
    }
    const int result = serve(options);
    OleUninitialize();
    return result;
}
