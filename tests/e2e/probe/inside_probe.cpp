// inside_probe.dll: see inside_probe.h.
// clang-format off
#include "inside_probe.h"
#include <commctrl.h>
#include <shellapi.h>
// clang-format on

#include <cstdio>
#include <string>
#include <vector>

#include "dialog_driving.h"
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

struct Found {
    const wchar_t* className;
    std::vector<HWND> windows;
};

BOOL CALLBACK collectOfClass(HWND window, LPARAM found) {
    auto* f = reinterpret_cast<Found*>(found);
    wchar_t kind[64] = {};
    GetClassNameW(window, kind, 64);
    if (std::wstring(kind) == f->className && IsWindowVisible(window)) {
        f->windows.push_back(window);
    }
    return TRUE;
}

HWND firstDescendant(HWND parent, const wchar_t* className) {
    Found found{className, {}};
    EnumChildWindows(parent, collectOfClass, reinterpret_cast<LPARAM>(&found));
    return found.windows.empty() ? nullptr : found.windows.front();
}

// What the scale of the main window shows: see "scale" in inside_probe.h.
std::wstring scaleLines(HWND main) {
    std::wstring lines;
    int width = 0, height = 0;
    const HWND toolbar = firstDescendant(main, TOOLBARCLASSNAMEW);
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    if (images != nullptr && ImageList_GetIconSize(images, &width, &height)) {
        lines += L"images " + std::to_wstring(width) + L"x" + std::to_wstring(height) + L"\n";
    }
    RECT tab{};
    if (SendMessageW(firstDescendant(main, WC_TABCONTROLW), TCM_GETITEMRECT, 0,
                     reinterpret_cast<LPARAM>(&tab))) {
        lines += L"tab " + std::to_wstring(tab.bottom - tab.top) + L"\n";
    }
    Found dialogs{L"#32770", {}};
    EnumThreadWindows(GetCurrentThreadId(), collectOfClass, reinterpret_cast<LPARAM>(&dialogs));
    for (const HWND dialog : dialogs.windows) {
        const std::wstring caption =
            snapdesk::win32::toWide(snapdesk::dialog_driving::textOf(dialog));
        lines += L"dialog " + caption + L"\n";
        for (const std::string& cut : snapdesk::dialog_driving::cutTexts(dialog)) {
            lines += L"cut " + caption + L": " + snapdesk::win32::toWide(cut) + L"\n";
        }
    }
    return lines;
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
            if (message->wParam == kInsideProbeMeasureScale) {
                record(L"scale", scaleLines(message->hwnd));
                return CallNextHookEx(nullptr, code, wParam, lParam);
            }
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
