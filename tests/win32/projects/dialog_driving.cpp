// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "dialog_driving.h"

#include <chrono>
#include <thread>

#include "platform/win32/win32_convert.h"

namespace snapdesk::dialog_driving {

namespace {

BOOL CALLBACK collectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

}  // namespace

std::string textOf(HWND window) {
    wchar_t buffer[1024] = {};
    const int length = GetWindowTextW(window, buffer, 1024);
    return win32::toUtf8(std::wstring(buffer, static_cast<std::size_t>(length)));
}

std::string classOf(HWND window) {
    wchar_t buffer[64] = {};
    const int length = GetClassNameW(window, buffer, 64);
    return win32::toUtf8(std::wstring(buffer, static_cast<std::size_t>(length)));
}

bool waitFor(const std::function<bool()>& condition) {
    for (int i = 0; i < 250; ++i) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
}

std::vector<HWND> childrenOf(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND ownedDialog(HWND owner, const wchar_t* caption) {
    HWND found = nullptr;
    while ((found = FindWindowExW(nullptr, found, L"#32770", caption)) != nullptr) {
        if (owner == nullptr || GetWindow(found, GW_OWNER) == owner) {
            return found;
        }
    }
    return nullptr;
}

void press(HWND control, WPARAM key) {
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

std::vector<std::string> listItems(HWND list) {
    std::vector<std::string> items;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t buffer[512] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
        items.push_back(win32::toUtf8(buffer));
    }
    return items;
}

std::vector<std::string> toolTipsOf(HWND dialog, std::initializer_list<int> controlIds) {
    std::vector<std::string> tips;
    HWND tipsWindow = nullptr;
    while ((tipsWindow = FindWindowExW(nullptr, tipsWindow, TOOLTIPS_CLASSW, nullptr)) != nullptr) {
        if (GetWindow(tipsWindow, GW_OWNER) == dialog) {
            break;
        }
    }
    if (tipsWindow == nullptr) {
        return tips;
    }
    for (const int id : controlIds) {
        wchar_t buffer[128] = {};
        TOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = dialog;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, id));
        tool.lpszText = buffer;
        SendMessageW(tipsWindow, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
        tips.push_back(win32::toUtf8(buffer));
    }
    return tips;
}

HWND waitForMessageBox(HWND dialog) {
    HWND box = nullptr;
    // Shown once its controls are made.
    waitFor([&] {
        return (box = ownedDialog(dialog, L"Snapdesk!")) != nullptr && IsWindowVisible(box);
    });
    return box != nullptr && IsWindowVisible(box) ? box : nullptr;
}

std::string answerMessageBox(HWND dialog, int button) {
    HWND box = waitForMessageBox(dialog);
    if (box == nullptr) {
        return "<no message box>";
    }
    std::string longest;
    for (HWND child : childrenOf(box)) {
        if (classOf(child) == "Static" && textOf(child).size() > longest.size()) {
            longest = textOf(child);
        }
    }
    press(GetDlgItem(box, button), VK_RETURN);
    if (!waitFor([&] { return !IsWindow(box); })) {
        PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
        return "<message box stayed>";
    }
    return longest;
}

std::vector<std::string> cutTexts(HWND dialog) {
    std::vector<std::string> cut;
    for (HWND control : childrenOf(dialog)) {
        const std::string kind = classOf(control);
        if ((kind != "Static" && kind != "Button") || !IsWindowVisible(control)) {
            continue;
        }
        const std::wstring text = win32::toWide(textOf(control));
        RECT client{};
        GetClientRect(control, &client);
        HDC dc = GetDC(control);
        HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
        RECT needed{0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
                  DT_CALCRECT | DT_SINGLELINE);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        // A button's frame and focus rectangle take some pixels on each side.
        const int margin = kind == "Button" ? 8 : 0;
        if (needed.right + margin > client.right || needed.bottom > client.bottom) {
            cut.push_back(textOf(control) + " needs " + std::to_string(needed.right) + "x" +
                          std::to_string(needed.bottom) + ", has " + std::to_string(client.right) +
                          "x" + std::to_string(client.bottom));
        }
    }
    return cut;
}

}  // namespace snapdesk::dialog_driving
