// standin_shell_windows.exe: a local automation server with the shell's collection of open
// windows as its members.
//
//   -Embedding     started by COM: serves until its last object is released
//   /regserver     writes its class (LocalServer32 = this file), then exits
//   /unregserver   removes it, then exits
//
// COM passes no arguments of a test's choosing, so each new collection reads what to serve from
// the text file beside the executable with the same name and the extension ".txt" (UTF-8, one
// entry a line, fields separated by tabs):
//
//   class <{clsid}>           the class it registers and serves (default: standin_protocol.h);
//                             a class of its own per test is immune to the entries that a
//                             server ended by TerminateProcess leaves behind in Wine's rpcss
//   window <name> <url>       a window, in collection order
//   missing-item <i>          Item(i) answers no window, as for a window closed meanwhile
//   die-at-item <n>           the n-th Item call ends the process at once
//   hang-at-item <n> <ms>     the n-th Item call sleeps that long first
//
// Automation members: Count, Item(i) with i from 0 (VT_DISPATCH, empty for a missing index);
// each window: LocationName, LocationURL.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "automation_server.h"
#include "standin_protocol.h"

namespace {

struct Window {
    std::wstring name;
    std::wstring url;
};

struct Script {
    std::wstring classId = standin::kShellWindowsClassId;
    std::vector<Window> windows;
    long missingItem = -1;
    standin::ItemHooks hooks;
};

std::wstring widen(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::wstring scriptPath() {
    std::wstring path = standin::ownPath();
    const auto dot = path.find_last_of(L'.');
    return (dot == std::wstring::npos ? path : path.substr(0, dot)) + L".txt";
}

Script readScript() {
    Script script;
    std::ifstream file(std::filesystem::path(scriptPath()), std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::vector<std::string> fields;
        std::stringstream stream(line);
        for (std::string field; std::getline(stream, field, '\t');) {
            fields.push_back(field);
        }
        auto number = [&](std::size_t i) {
            return i < fields.size() ? std::strtol(fields[i].c_str(), nullptr, 10) : 0L;
        };
        if (fields.empty()) {
            continue;
        }
        if (fields[0] == "class" && fields.size() > 1) {
            script.classId = widen(fields[1]);
        } else if (fields[0] == "window") {
            fields.resize(3);
            script.windows.push_back({widen(fields[1]), widen(fields[2])});
        } else if (fields[0] == "missing-item") {
            script.missingItem = number(1);
        } else if (fields[0] == "die-at-item") {
            script.hooks.dieAt = number(1);
        } else if (fields[0] == "hang-at-item") {
            script.hooks.hangAt = number(1);
            script.hooks.hangMs = static_cast<DWORD>(number(2));
        }
    }
    return script;
}

enum : DISPID { kItem = DISPID_VALUE, kCount = 1, kLocationName, kLocationURL };

class WindowObject : public standin::DispatchObject {
  public:
    explicit WindowObject(Window window) : DispatchObject(kMembers), window_(std::move(window)) {}

  protected:
    HRESULT member(DISPID id, DISPPARAMS*, VARIANT* result) override {
        switch (id) {
            case kLocationName:
                return standin::returnText(result, window_.name);
            case kLocationURL:
                return standin::returnText(result, window_.url);
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
    }

  private:
    static constexpr std::array<standin::Member, 2> kMembers{
        {{L"LocationName", kLocationName}, {L"LocationURL", kLocationURL}}};
    Window window_;
};

class WindowsObject : public standin::DispatchObject {
  public:
    WindowsObject() : DispatchObject(kMembers), script_(readScript()) {}

  protected:
    HRESULT member(DISPID id, DISPPARAMS* params, VARIANT* result) override {
        switch (id) {
            case kCount:
                return standin::returnLong(result, static_cast<long>(script_.windows.size()));
            case kItem: {
                long index = 0;
                if (const HRESULT hr = standin::indexArgument(params, index); FAILED(hr)) {
                    return hr;
                }
                script_.hooks.onItem();
                if (index < 0 || index >= static_cast<long>(script_.windows.size()) ||
                    index == script_.missingItem) {
                    return standin::returnObject(result, nullptr);
                }
                return standin::returnObject(result, new WindowObject(script_.windows[index]));
            }
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
    }

  private:
    static constexpr std::array<standin::Member, 2> kMembers{
        {{L"Count", kCount}, {L"Item", kItem}}};
    Script script_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    standin::gMainThread = GetCurrentThreadId();
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    bool registerOnly = false;
    bool unregisterOnly = false;
    for (int i = 1; i < argc; ++i) {
        registerOnly = registerOnly || standin::isSwitch(argv[i], L"regserver");
        unregisterOnly = unregisterOnly || standin::isSwitch(argv[i], L"unregserver");
    }
    LocalFree(argv);
    const std::wstring classId = readScript().classId;
    if (registerOnly) {
        return standin::registerServer(classId.c_str(), nullptr, L"Stand-in shell windows")
                   ? standin::kRegistrationDone
                   : 1;
    }
    if (unregisterOnly) {
        return standin::unregisterServer(classId.c_str(), nullptr) ? standin::kRegistrationDone : 1;
    }

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return 1;
    }
    standin::gEndWhenUnused = true;
    standin::ClassFactory factory([]() -> IDispatch* { return new WindowsObject(); });
    DWORD cookie = 0;
    const HRESULT registered =
        CoRegisterClassObject(standin::classIdOf(classId.c_str()), &factory, CLSCTX_LOCAL_SERVER,
                              REGCLS_MULTIPLEUSE, &cookie);
    if (SUCCEEDED(registered)) {
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        CoRevokeClassObject(cookie);
    }
    CoUninitialize();
    return SUCCEEDED(registered) ? 0 : 1;
}
