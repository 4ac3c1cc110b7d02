// inside_probe.dll: see inside_probe.h.
// clang-format off
#include "inside_probe.h"
#include <shellapi.h>
// clang-format on

#include <cstdio>
#include <string>

#include "menu_items.h"
#include "platform/win32/win32_convert.h"

namespace {

using snapdesk::testing::readMenu;
using snapdesk::testing::writeMenu;

// Set in the test's process only; Snapdesk's copy of the module never installs hooks.
HHOOK g_callHook = nullptr;
HHOOK g_returnHook = nullptr;

void record(const std::wstring& kind, const std::wstring& lines) {
    const std::string utf8 = snapdesk::win32::toUtf8(kind + L"\n" + lines + L"end\n");
    if (FILE* out = _wfopen(insideProbeLogPath().c_str(), L"ab")) {
        std::fwrite(utf8.data(), 1, utf8.size(), out);
        std::fclose(out);
    }
}

std::wstring trayIconLine(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kProbedTrayIconId;
    data.uFlags = 0;  // changes nothing; answers whether the icon is there
    return Shell_NotifyIconW(NIM_MODIFY, &data) ? L"icon present\n" : L"icon absent\n";
}

void dropTrayIcon(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kProbedTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
}

bool isMainWindow(HWND window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) == 0 && GetMenu(window) != nullptr;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    insideProbeCallHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (message->message == WM_INITMENUPOPUP) {
            record(L"popup", writeMenu(readMenu(reinterpret_cast<HMENU>(message->wParam))));
        } else if (message->message == RegisterWindowMessageW(kInsideProbeLookMessage) &&
                   isMainWindow(message->hwnd)) {
            if (message->wParam == kInsideProbeDropTrayIcon) {
                dropTrayIcon(message->hwnd);
            }
            record(L"bar", writeMenu(readMenu(GetMenu(message->hwnd))));
            record(L"tray", trayIconLine(message->hwnd));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    insideProbeReturnHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (message->message == WM_DESTROY && isMainWindow(message->hwnd)) {
            const bool restored =
                GetWindowLongPtrW(message->hwnd, GWLP_WNDPROC) ==
                static_cast<LONG_PTR>(GetClassLongPtrW(message->hwnd, GCLP_WNDPROC));
            record(L"destroyed", (restored ? L"procedure restored\n" : L"procedure replaced\n") +
                                     trayIconLine(message->hwnd));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) BOOL insideProbeAttach(DWORD threadId) {
    HMODULE self = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&insideProbeAttach), &self);
    g_callHook = SetWindowsHookExW(WH_CALLWNDPROC, insideProbeCallHook, self, threadId);
    g_returnHook = SetWindowsHookExW(WH_CALLWNDPROCRET, insideProbeReturnHook, self, threadId);
    return g_callHook != nullptr && g_returnHook != nullptr;
}

extern "C" __declspec(dllexport) void insideProbeDetach() {
    for (HHOOK* hook : {&g_callHook, &g_returnHook}) {
        if (*hook != nullptr) {
            UnhookWindowsHookEx(*hook);
            *hook = nullptr;
        }
    }
}
