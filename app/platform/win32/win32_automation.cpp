#include "platform/win32/win32_automation.h"

#include <oleacc.h>
#include <oleauto.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "base/unique_handle.h"
#include "common/runtime_error.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk {
namespace {

constexpr const char* kWordSource = "Word.Application";
constexpr const char* kShellWindowsSource = "ShellWindows";
constexpr const char* kBrowserSource = "InternetExplorer.Application";
constexpr const wchar_t* kWordProgId = L"Word.Application";
constexpr const wchar_t* kBrowserProgId = L"InternetExplorer.Application";

// ---- Owners of strings and variants ----

class Variant {
  public:
    Variant() { VariantInit(&v_); }
    ~Variant() { VariantClear(&v_); }
    Variant(Variant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
    Variant& operator=(Variant&&) = delete;
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    static Variant fromLong(long value) {
        Variant v;
        v.v_.vt = VT_I4;
        v.v_.lVal = value;
        return v;
    }
    static Variant fromBool(bool value) {
        Variant v;
        v.v_.vt = VT_BOOL;
        v.v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        return v;
    }
    static Variant fromText(const std::string& text) {
        const std::wstring wide = win32::toWide(text);
        Variant v;
        v.v_.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        if (v.v_.bstrVal != nullptr) {
            v.v_.vt = VT_BSTR;
        }
        return v;
    }

    VARIANT* get() { return &v_; }
    const VARIANT* get() const { return &v_; }
    VARIANT* put() {
        VariantClear(&v_);
        return &v_;
    }

  private:
    VARIANT v_;
};

// A BSTR the callee allocated.
class Bstr {
  public:
    explicit Bstr(BSTR text = nullptr) : b_(text) {}
    ~Bstr() { SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    std::string utf8() const {
        return b_ == nullptr ? std::string()
                             : win32::toUtf8(std::wstring_view(b_, SysStringLen(b_)));
    }

  private:
    BSTR b_;
};

// ---- Errors ----

std::string systemMessage(HRESULT hr) {
    auto format = [](DWORD code) {
        win32::unique_hlocal<wchar_t> buffer;
        const DWORD length =
            FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
        std::wstring text(buffer ? buffer.get() : L"", length);
        while (!text.empty() &&
               (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
            text.pop_back();
        }
        return win32::toUtf8(text);
    };
    std::string text = format(static_cast<DWORD>(hr));
    if (text.empty() && HRESULT_FACILITY(hr) == FACILITY_WIN32) {
        text = format(static_cast<DWORD>(HRESULT_CODE(hr)));
    }
    if (text.empty()) {
        char fallback[40];
        std::snprintf(fallback, sizeof(fallback), "Automation error 0x%08lX",
                      static_cast<unsigned long>(hr));
        text = fallback;
    }
    return text;
}

[[noreturn]] void fail(HRESULT hr, const std::string& description, const char* source) {
    throw RuntimeError(static_cast<int>(hr), description.empty() ? systemMessage(hr) : description,
                       source);
}

// ---- Late binding ----

// Calls a member by name with arguments in their natural order. On failure, `description`
// holds the server's own explanation when it gave one.
HRESULT invoke(IDispatch* object, const wchar_t* member, WORD flags, std::vector<Variant>& args,
               VARIANT* result, std::string& description) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
        return hr;
    }
    // DISPPARAMS wants the last argument first.
    std::vector<VARIANTARG> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it) {
        reversed.push_back(*it->get());
    }
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if ((flags & DISPATCH_PROPERTYPUT) != 0) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    UINT badArgument = 0;
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception,
                        &badArgument);
    if (hr == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn != nullptr) {
            exception.pfnDeferredFillIn(&exception);
        }
        const Bstr text(exception.bstrDescription);
        const Bstr source(exception.bstrSource);
        const Bstr help(exception.bstrHelpFile);
        description = text.utf8();
        if (FAILED(exception.scode)) {
            hr = exception.scode;
        }
    }
    return hr;
}

HRESULT tryGet(IDispatch* object, const wchar_t* member, Variant& value, std::string& description) {
    std::vector<Variant> none;
    return invoke(object, member, DISPATCH_PROPERTYGET, none, value.put(), description);
}

Variant get(IDispatch* object, const wchar_t* member, const char* source) {
    Variant value;
    std::string description;
    const HRESULT hr = tryGet(object, member, value, description);
    if (FAILED(hr)) {
        fail(hr, description, source);
    }
    return value;
}

Variant call(IDispatch* object, const wchar_t* member, std::vector<Variant> args,
             const char* source) {
    Variant value;
    std::string description;
    // Item is a method of some collections and a parameterised property of others.
    const HRESULT hr = invoke(object, member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args,
                              value.put(), description);
    if (FAILED(hr)) {
        fail(hr, description, source);
    }
    return value;
}

void put(IDispatch* object, const wchar_t* member, Variant value, const char* source) {
    std::vector<Variant> args;
    args.push_back(std::move(value));
    std::string description;
    const HRESULT hr = invoke(object, member, DISPATCH_PROPERTYPUT, args, nullptr, description);
    if (FAILED(hr)) {
        fail(hr, description, source);
    }
}

long toLong(const Variant& value, const char* source) {
    Variant converted;
    const HRESULT hr =
        VariantChangeType(converted.get(), const_cast<VARIANT*>(value.get()), 0, VT_I4);
    if (FAILED(hr)) {
        fail(hr, {}, source);
    }
    return converted.get()->lVal;
}

std::string toText(const Variant& value, const char* source) {
    const VARTYPE type = value.get()->vt;
    if (type == VT_EMPTY || type == VT_NULL) {
        return {};
    }
    Variant converted;
    const HRESULT hr =
        VariantChangeType(converted.get(), const_cast<VARIANT*>(value.get()), 0, VT_BSTR);
    if (FAILED(hr)) {
        fail(hr, {}, source);
    }
    const BSTR text = converted.get()->bstrVal;
    return text == nullptr ? std::string()
                           : win32::toUtf8(std::wstring_view(text, SysStringLen(text)));
}

// The object a member returned; empty when it returned none.
win32::unique_com<IDispatch> toObject(const Variant& value) {
    win32::unique_com<IDispatch> object;
    const VARIANT& v = *value.get();
    IUnknown* unknown = nullptr;
    if (v.vt == VT_DISPATCH) {
        unknown = v.pdispVal;
    } else if (v.vt == VT_UNKNOWN) {
        unknown = v.punkVal;
    }
    if (unknown != nullptr) {
        unknown->QueryInterface(IID_IDispatch, object.putVoid());
    }
    return object;
}

win32::unique_com<IDispatch> requireObject(const Variant& value, const wchar_t* member,
                                           const char* source) {
    win32::unique_com<IDispatch> object = toObject(value);
    if (!object) {
        fail(DISP_E_TYPEMISMATCH, win32::toUtf8(member) + " returned no object", source);
    }
    return object;
}

// ---- Bounded calls ----

// What a worker hands back. Shared by the worker and the caller, so a caller that gave up
// leaves nothing the worker could still reach.
template <class T>
struct Outcome {
    win32::unique_handle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::optional<T> value;
    std::exception_ptr error;
};

template <class T>
std::shared_ptr<Outcome<T>> newOutcome(const char* source) {
    auto outcome = std::make_shared<Outcome<T>>();
    if (outcome->done.get() == nullptr) {
        fail(HRESULT_FROM_WIN32(GetLastError()), {}, source);
    }
    return outcome;
}

template <class T, class Work>
void complete(Outcome<T>& outcome, Work& work) {
    try {
        outcome.value.emplace(work());
    } catch (...) {
        outcome.error = std::current_exception();
    }
    SetEvent(outcome.done.get());
}

class MultithreadedApartment {
  public:
    MultithreadedApartment() : hr_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~MultithreadedApartment() {
        if (SUCCEEDED(hr_)) {
            CoUninitialize();
        }
    }
    MultithreadedApartment(const MultithreadedApartment&) = delete;
    MultithreadedApartment& operator=(const MultithreadedApartment&) = delete;

    HRESULT result() const { return hr_; }

  private:
    HRESULT hr_;
};

void startThread(std::function<void()> body, const char* source) {
    try {
        std::thread(std::move(body)).detach();
    } catch (const std::system_error&) {
        fail(E_OUTOFMEMORY, {}, source);
    }
}

// Waits for `done` while the calling thread's messages keep flowing; throws when the time-out
// passes first.
void waitPumping(Ui& ui, HANDLE done, unsigned timeoutMs, const char* source) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto now = Clock::now();
        const auto left =
            now >= deadline
                ? 0
                : std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count() + 1;
        const DWORD woken = MsgWaitForMultipleObjectsEx(1, &done, static_cast<DWORD>(left),
                                                        QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0) {
            return;
        }
        if (woken == WAIT_OBJECT_0 + 1) {
            ui.doEvents();
            if (Clock::now() < deadline) {
                continue;
            }
        }
        if (WaitForSingleObject(done, 0) == WAIT_OBJECT_0) {
            return;
        }
        if (woken == WAIT_FAILED) {
            fail(HRESULT_FROM_WIN32(GetLastError()), {}, source);
        }
        fail(HRESULT_FROM_WIN32(ERROR_TIMEOUT), {}, source);
    }
}

// Runs `work` on a worker thread of the multithreaded apartment and waits for it at most
// `timeoutMs`. A worker that does not finish in time is left to finish on its own.
template <class T, class Work>
T runBounded(Ui& ui, unsigned timeoutMs, const char* source, Work work) {
    auto outcome = newOutcome<T>(source);
    startThread(
        [outcome, work = std::move(work), source]() mutable {
            const MultithreadedApartment apartment;
            auto inApartment = [&] {
                if (FAILED(apartment.result())) {
                    fail(apartment.result(), {}, source);
                }
                return work();
            };
            complete(*outcome, inApartment);
        },
        source);
    waitPumping(ui, outcome->done.get(), timeoutMs, source);
    if (outcome->error) {
        std::rethrow_exception(outcome->error);
    }
    return std::move(*outcome->value);
}

// ---- The walks, on the worker ----

std::optional<std::vector<WordDocument>> walkWordDocuments() {
    CLSID word{};
    if (FAILED(CLSIDFromProgID(kWordProgId, &word))) {
        return std::nullopt;
    }
    // Only a running instance holds the user's documents: never start one.
    win32::unique_com<IUnknown> running;
    if (FAILED(GetActiveObject(word, nullptr, running.put())) || !running) {
        return std::nullopt;
    }
    win32::unique_com<IDispatch> application;
    const HRESULT hr = running->QueryInterface(IID_IDispatch, application.putVoid());
    if (hr == E_NOINTERFACE) {
        return std::nullopt;
    }
    if (FAILED(hr)) {
        fail(hr, {}, kWordSource);
    }
    const win32::unique_com<IDispatch> documents =
        requireObject(get(application.get(), L"Documents", kWordSource), L"Documents", kWordSource);
    const long count = toLong(get(documents.get(), L"Count", kWordSource), kWordSource);
    std::vector<WordDocument> result;
    for (long i = 1; i <= count; ++i) {
        std::vector<Variant> index;
        index.push_back(Variant::fromLong(i));
        const win32::unique_com<IDispatch> document =
            toObject(call(documents.get(), L"Item", std::move(index), kWordSource));
        if (!document) {
            continue;
        }
        WordDocument entry;
        entry.name = toText(get(document.get(), L"Name", kWordSource), kWordSource);
        entry.folder = toText(get(document.get(), L"Path", kWordSource), kWordSource);
        result.push_back(std::move(entry));
    }
    return result;
}

std::optional<std::vector<ShellWindowLocation>> walkShellWindows(const CLSID& windowsClass) {
    win32::unique_com<IDispatch> windows;
    if (FAILED(CoCreateInstance(windowsClass, nullptr, CLSCTX_ALL, IID_IDispatch,
                                windows.putVoid())) ||
        !windows) {
        return std::nullopt;
    }
    Variant countValue;
    std::string description;
    const HRESULT hr = tryGet(windows.get(), L"Count", countValue, description);
    if (hr == E_NOTIMPL) {
        // Created but not listable (Wine's own collection).
        return std::vector<ShellWindowLocation>{};
    }
    if (FAILED(hr)) {
        fail(hr, description, kShellWindowsSource);
    }
    const long count = toLong(countValue, kShellWindowsSource);
    std::vector<ShellWindowLocation> result;
    // The shell's collection counts from 0.
    for (long i = 0; i < count; ++i) {
        std::vector<Variant> index;
        index.push_back(Variant::fromLong(i));
        const win32::unique_com<IDispatch> window =
            toObject(call(windows.get(), L"Item", std::move(index), kShellWindowsSource));
        if (!window) {
            continue;  // closed while the walk went on
        }
        ShellWindowLocation entry;
        entry.locationName =
            toText(get(window.get(), L"LocationName", kShellWindowsSource), kShellWindowsSource);
        entry.locationURL =
            toText(get(window.get(), L"LocationURL", kShellWindowsSource), kShellWindowsSource);
        result.push_back(std::move(entry));
    }
    return result;
}

// ---- An Office window's own document ----

// The classes of the windows that serve the program's window object.
std::vector<std::wstring_view> documentClassesOf(OfficeProgram program) {
    switch (program) {
        case OfficeProgram::Word:
            return {L"_WwG"};
        case OfficeProgram::Excel:
            return {L"EXCEL7"};
        case OfficeProgram::PowerPoint:
            return {L"paneClassDC", L"mdiClass"};
        case OfficeProgram::None:
            break;
    }
    return {};
}

bool hasClassOf(HWND window, const std::vector<std::wstring_view>& classes) {
    wchar_t name[64] = {};
    const int length = GetClassNameW(window, name, 64);
    for (const std::wstring_view wanted : classes) {
        if (std::wstring_view(name, length > 0 ? static_cast<std::size_t>(length) : 0) == wanted) {
            return true;
        }
    }
    return false;
}

struct DocumentWindowSearch {
    const std::vector<std::wstring_view>* classes;
    HWND found;
};

BOOL CALLBACK visitDescendant(HWND child, LPARAM data) {
    auto& search = *reinterpret_cast<DocumentWindowSearch*>(data);
    if (hasClassOf(child, *search.classes)) {
        search.found = child;
        return FALSE;
    }
    return TRUE;
}

// The window itself when it is a document window, else its first descendant that is one.
HWND documentWindowOf(HWND window, const std::vector<std::wstring_view>& classes) {
    if (hasClassOf(window, classes)) {
        return window;
    }
    DocumentWindowSearch search{&classes, nullptr};
    EnumChildWindows(window, visitDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The source of the program's errors.
const char* officeSourceOf(OfficeProgram program) {
    switch (program) {
        case OfficeProgram::Word:
            return kWordSource;
        case OfficeProgram::Excel:
            return "Excel.Application";
        case OfficeProgram::PowerPoint:
            return "PowerPoint.Application";
        case OfficeProgram::None:
            break;
    }
    return "Office";
}

// The member that leads from the program's window object to its document.
const wchar_t* documentMemberOf(OfficeProgram program) {
    switch (program) {
        case OfficeProgram::Word:
            return L"Document";
        case OfficeProgram::Excel:
            return L"Parent";  // the workbook
        case OfficeProgram::PowerPoint:
            return L"Presentation";
        case OfficeProgram::None:
            break;
    }
    return nullptr;
}

std::optional<std::string> readOfficeFullName(HWND window, OfficeProgram program) {
    const wchar_t* member = documentMemberOf(program);
    const HWND document =
        member == nullptr ? nullptr : documentWindowOf(window, documentClassesOf(program));
    if (document == nullptr) {
        return std::nullopt;
    }
    win32::unique_com<IDispatch> windowObject;
    const HRESULT hr = AccessibleObjectFromWindow(document, static_cast<DWORD>(OBJID_NATIVEOM),
                                                  IID_IDispatch, windowObject.putVoid());
    if (FAILED(hr) || !windowObject) {
        return std::nullopt;
    }
    const char* source = officeSourceOf(program);
    const win32::unique_com<IDispatch> documentObject =
        requireObject(get(windowObject.get(), member, source), member, source);
    return toText(get(documentObject.get(), L"FullName", source), source);
}

// ---- The browser ----

// The browser's pointer lives on one thread of the multithreaded apartment for the object's
// whole life, so it never needs marshalling between apartments. Calls are queued to that
// thread and awaited with the same bound as the walks; a call that times out leaves the thread
// stuck with the server, and later calls time out behind it.
struct BrowserChannel {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void(IDispatch*)>> tasks;
    bool closing = false;
};

void browserThread(const std::shared_ptr<BrowserChannel>& channel,
                   const std::shared_ptr<Outcome<bool>>& created) {
    const MultithreadedApartment apartment;
    win32::unique_com<IDispatch> browser;
    auto create = [&]() -> bool {
        if (FAILED(apartment.result())) {
            fail(apartment.result(), {}, kBrowserSource);
        }
        CLSID browserClass{};
        HRESULT hr = CLSIDFromProgID(kBrowserProgId, &browserClass);
        if (SUCCEEDED(hr)) {
            hr = CoCreateInstance(browserClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                  browser.putVoid());
        }
        if (FAILED(hr) || !browser) {
            fail(FAILED(hr) ? hr : E_NOINTERFACE, {}, kBrowserSource);
        }
        return true;
    };
    complete(*created, create);
    if (!browser) {
        return;
    }
    for (;;) {
        std::function<void(IDispatch*)> task;
        {
            std::unique_lock lock(channel->mutex);
            channel->wake.wait(lock, [&] { return channel->closing || !channel->tasks.empty(); });
            // Calls still queued behind a stuck one were given up by their callers.
            if (channel->closing) {
                break;
            }
            task = std::move(channel->tasks.front());
            channel->tasks.pop_front();
        }
        task(browser.get());
    }
}

class Win32Browser : public BrowserObject {
  public:
    Win32Browser(Ui& ui, unsigned timeoutMs, std::shared_ptr<BrowserChannel> channel)
        : ui_(ui), timeoutMs_(timeoutMs), channel_(std::move(channel)) {}
    ~Win32Browser() override { close(channel_); }
    Win32Browser(const Win32Browser&) = delete;
    Win32Browser& operator=(const Win32Browser&) = delete;

    void navigate(const std::string& address) override {
        run([address](IDispatch* browser) {
            std::vector<Variant> args;
            args.push_back(Variant::fromText(address));
            call(browser, L"Navigate", std::move(args), kBrowserSource);
            return true;
        });
    }
    void setVisible(bool visible) override {
        run([visible](IDispatch* browser) {
            put(browser, L"Visible", Variant::fromBool(visible), kBrowserSource);
            return true;
        });
    }

    // The thread releases the browser at once, or when a stuck call returns.
    static void close(const std::shared_ptr<BrowserChannel>& channel) {
        {
            const std::lock_guard lock(channel->mutex);
            channel->closing = true;
        }
        channel->wake.notify_all();
    }

  private:
    template <class Work>
    void run(Work work) {
        auto outcome = newOutcome<bool>(kBrowserSource);
        {
            const std::lock_guard lock(channel_->mutex);
            channel_->tasks.push_back([outcome, work = std::move(work)](IDispatch* browser) {
                auto bound = [&] { return work(browser); };
                complete(*outcome, bound);
            });
        }
        channel_->wake.notify_all();
        waitPumping(ui_, outcome->done.get(), timeoutMs_, kBrowserSource);
        if (outcome->error) {
            std::rethrow_exception(outcome->error);
        }
    }

    Ui& ui_;
    unsigned timeoutMs_;
    std::shared_ptr<BrowserChannel> channel_;
};

}  // namespace

Win32Automation::Win32Automation(Ui& ui, unsigned timeoutMs, const CLSID& shellWindowsClass)
    : ui_(ui), timeoutMs_(timeoutMs), shellWindowsClass_(shellWindowsClass) {}

std::optional<std::vector<WordDocument>> Win32Automation::wordDocuments() {
    return runBounded<std::optional<std::vector<WordDocument>>>(ui_, timeoutMs_, kWordSource,
                                                                walkWordDocuments);
}

std::optional<std::vector<ShellWindowLocation>> Win32Automation::shellWindows() {
    const CLSID windowsClass = shellWindowsClass_;
    return runBounded<std::optional<std::vector<ShellWindowLocation>>>(
        ui_, timeoutMs_, kShellWindowsSource,
        [windowsClass] { return walkShellWindows(windowsClass); });
}

std::optional<std::string> Win32Automation::officeDocumentFullName(WindowHandle window,
                                                                   OfficeProgram program) {
    const HWND frame = win32::toHwnd(window);
    return runBounded<std::optional<std::string>>(
        ui_, timeoutMs_, officeSourceOf(program),
        [frame, program] { return readOfficeFullName(frame, program); });
}

std::unique_ptr<BrowserObject> Win32Automation::createBrowser() {
    auto channel = std::make_shared<BrowserChannel>();
    auto created = newOutcome<bool>(kBrowserSource);
    startThread([channel, created] { browserThread(channel, created); }, kBrowserSource);
    try {
        waitPumping(ui_, created->done.get(), timeoutMs_, kBrowserSource);
    } catch (...) {
        // A browser that appears after all is released by its thread.
        Win32Browser::close(channel);
        throw;
    }
    if (created->error) {
        std::rethrow_exception(created->error);
    }
    return std::make_unique<Win32Browser>(ui_, timeoutMs_, std::move(channel));
}

}  // namespace snapdesk
