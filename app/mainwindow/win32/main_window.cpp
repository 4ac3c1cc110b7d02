// The main window's frame: its window class, menu bar, toolbar and panel, and a window
// procedure that hands every message to the main form.

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "mainwindow/win32/main_window.h"

#include <memory>
#include <optional>
#include <string>

#include "base/unique_handle.h"
#include "location/win32/splash_window.h"
#include "location/win32/win32_project_dialogs.h"
#include "mainwindow/main_form.h"
#include "mainwindow/menu_ids.h"
#include "mainwindow/program_services.h"
#include "mainwindow/win32/button_bar.h"
#include "mainwindow/win32/main_window_view.h"
#include "mainwindow/win32/panel_window.h"
#include "platform/win32/link_path_binder.h"
#include "platform/win32/win32_automation.h"
#include "platform/win32/win32_convert.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_shell.h"
#include "projects/open_dialog.h"
#include "projects/save_dialog.h"
#include "projects/win32/open_dialog_window.h"
#include "projects/win32/recovery_dialog_window.h"
#include "projects/win32/save_dialog_window.h"
#include "snapshots/graphics_code.h"

namespace snapdesk {

namespace {

constexpr wchar_t kMainWindowClass[] = L"SnapdeskMainWindow";
// Posted by a second start to the running Snapdesk of the session.
constexpr wchar_t kBringToFrontMessage[] = L"Snapdesk-BringToFront";
// Sent to a per-monitor aware window whose scale changed (Windows 8.1 on).
constexpr UINT kDpiChanged = 0x02E0;

// Everything that lives as long as the main window.
struct MainWindowParts {
    Win32Platform system;
    Win32Shell shell{system.platform().ui};
    Win32Automation automation{system.platform().ui};
    Win32LinkPathBinder links;
    std::unique_ptr<ButtonBar> buttonBar;
    std::unique_ptr<Win32MainWindowView> view;
    std::unique_ptr<PanelView> panel;
    std::unique_ptr<SplashDirTreeBuildWindow> splash;
    std::unique_ptr<ProgramServices> services;
    std::unique_ptr<MainForm> form;
    bool loaded = false;
};

// The dialogs of a save and of an open, over the main window.
ProjectDialogsFactory projectDialogs(HWND window, MainWindowParts& parts) {
    return [window, &parts](const ProjectDialogParts& p) -> std::unique_ptr<ProjectDialogs> {
        Platform& platform = parts.system.platform();
        auto showSave = [window, &parts, p] {
            Platform& ports = parts.system.platform();
            const Timer1Pause pause(p.timer);
            const bool cancelled = p.saveCancelled();
            SaveDialog presenter(
                p.list, p.store, ports.ui, parts.shell, ports.files,
                [&search = p.search](bool force) { search.updatePaths(force); }, cancelled);
            showSaveDialog(window, presenter);
        };
        auto showOpenProject = [window, &parts, p]() -> std::optional<std::string> {
            const Timer1Pause pause(p.timer);
            OpenDialog presenter(p.store, parts.system.platform().ui);
            showOpenDialog(window, presenter);
            return presenter.projectToOpen();
        };
        return std::make_unique<Win32ProjectDialogs>(
            window, p.timer,
            Win32ProjectDialogs::Ports{platform.ui, parts.shell, platform.files, p.list,
                                       parts.links},
            [&search = p.search] { return search.browseForFolder(); }, showSave, showOpenProject);
    };
}

MainWindowParts* partsOf(HWND window) {
    return reinterpret_cast<MainWindowParts*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

std::string programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    return win32::toUtf8(slash == std::wstring::npos ? L"." : path.substr(0, slash));
}

void onMinMaxInfo(MainWindowParts& parts, MINMAXINFO& info) {
    const ResizeResult minimum = parts.form->minimumSize();
    if (minimum.minimumWidth > 0 && minimum.minimumHeight > 0) {
        const TwipsScale& scale = parts.view->scale();
        info.ptMinTrackSize.x = scale.pixelsX(minimum.minimumWidth);
        info.ptMinTrackSize.y = scale.pixelsY(minimum.minimumHeight);
    }
}

// The window's scale as the panel takes it: screen width in pixels of 96 dpi, twips per pixel.
ScreenMetrics screenMetrics(Display& display) {
    return {screenPixelWidth(display), display.twipsPerPixelX(), display.twipsPerPixelY()};
}

// Moved to a monitor of another scale, or the scale of its monitor changed: the suggested
// rectangle, then everything laid out, drawn and measured anew at the new scale.
void onDpiChanged(HWND window, MainWindowParts& parts, int dpi, const RECT& suggested) {
    parts.system.display().setReferenceDpi(dpi);
    const TwipsScale scale{dpi, dpi};
    parts.view->setScale(scale);
    setPanelScale(*parts.panel, scale);
    parts.buttonBar->setDpi(dpi);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    parts.form->scaleChanged(screenMetrics(parts.system.platform().display));
    InvalidateRect(window, nullptr, TRUE);
}

void onTrayEvent(HWND window, LPARAM mouseEvent) {
    MainWindowParts* parts = partsOf(window);
    if (parts != nullptr && parts->form) {
        parts->form->trayIconEvent(static_cast<std::uintptr_t>(mouseEvent));
    }
}

bool onNotify(const NMHDR& header) {
    if (header.code == TTN_GETDISPINFOW) {
        auto& tip = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
        if (const wchar_t* text = ButtonBar::toolTip(static_cast<int>(header.idFrom))) {
            tip.lpszText = const_cast<wchar_t*>(text);
            return true;
        }
    }
    return false;
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Broadcast by a shell that has (re)started, its notification area empty.
    static const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    static const UINT bringToFront = RegisterWindowMessageW(kBringToFrontMessage);
    MainWindowParts* parts = partsOf(window);
    if (parts == nullptr || !parts->form) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    MainForm& form = *parts->form;
    if (message == taskbarCreated && taskbarCreated != 0) {
        parts->view->addTrayIconAgain();
        return 0;
    }
    if (message == bringToFront && bringToFront != 0) {
        form.bringToFront();
        return 0;
    }
    switch (message) {
        case WM_COMMAND:
            if (lParam == 0) {
                form.command(LOWORD(wParam));
                return 0;
            }
            if (reinterpret_cast<HWND>(lParam) == parts->buttonBar->hwnd()) {
                form.buttonCommand(LOWORD(wParam));
                return 0;
            }
            if (SearchBox* box = parts->buttonBar->searchBox();
                box != nullptr && reinterpret_cast<HWND>(lParam) == box->hwnd()) {
                if (HIWORD(wParam) == EN_CHANGE) {
                    form.searchChanged(box->text());
                }
                return 0;
            }
            break;
        case WM_NOTIFY:
            if (onNotify(*reinterpret_cast<const NMHDR*>(lParam))) {
                return 0;
            }
            break;
        case WM_HOTKEY:
            form.hotKeyPressed();
            return 0;
        case WM_TIMER:
            form.timerTick(static_cast<MainTimer>(wParam));
            return 0;
        case WM_SIZE:
            parts->buttonBar->autoSize();
            if (parts->loaded) {
                form.resized();
            }
            return 0;
        case WM_GETMINMAXINFO:
            if (parts->loaded) {
                onMinMaxInfo(*parts, *reinterpret_cast<MINMAXINFO*>(lParam));
                return 0;
            }
            break;
        case kDpiChanged:
            if (parts->loaded) {
                onDpiChanged(window, *parts, HIWORD(wParam),
                             *reinterpret_cast<const RECT*>(lParam));
                return 0;
            }
            break;
        case WM_CLOSE:
            if (form.queryUnload()) {
                DestroyWindow(window);
            }
            return 0;
        case WM_QUERYENDSESSION:
            // Never a question now: Windows would close it unanswered.
            form.queryEndSession();
            return TRUE;
        case WM_ENDSESSION:
            if (wParam != 0) {
                // The process may not run on after this returns.
                form.endSession();
                DestroyWindow(window);
            }
            return 0;
        case WM_DESTROY:
            // A close can arrive while a tick or an activation pumps messages: the form stays
            // alive until the message loop has ended, and does nothing more meanwhile.
            form.unload();
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = mainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SNAPDESK));
    wc.hIconSm = wc.hIcon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    wc.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&wc) != 0;
}

int messageLoop(HWND window, HACCEL accelerators) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (accelerators != nullptr && TranslateAcceleratorW(window, accelerators, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

// Windows starts Snapdesk again after a restart for updates (Vista and later).
void registerForRestart() {
    using RegisterRestart = HRESULT(WINAPI*)(PCWSTR, DWORD);
    constexpr DWORD kNoCrash = 1, kNoHang = 2;  // RESTART_NO_CRASH, RESTART_NO_HANG
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (const auto registerRestart = reinterpret_cast<RegisterRestart>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "RegisterApplicationRestart")))) {
        registerRestart(L"/restarted", kNoCrash | kNoHang);
    }
}

// One Snapdesk per user session owns the recovery file, the tray icon and the hot key. Null
// when another one runs: it has been asked to come to the front.
HANDLE claimSession() {
    std::wstring user(256, L'\0');
    DWORD size = static_cast<DWORD>(user.size());
    user.resize(GetUserNameW(user.data(), &size) ? size - 1 : 0);
    const std::wstring name = L"Local\\Snapdesk-" + user;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    if (mutex == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) {
        return mutex != nullptr ? mutex : INVALID_HANDLE_VALUE;  // run even without the mutex
    }
    CloseHandle(mutex);
    // The first one may still be starting: look for its window a little while.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (const HWND running = FindWindowW(kMainWindowClass, nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(running, &process);
            AllowSetForegroundWindow(process);
            PostMessageW(running, RegisterWindowMessageW(kBringToFrontMessage), 0, 0);
            break;
        }
        Sleep(100);
    }
    return nullptr;
}

}  // namespace

int runMainWindow(HINSTANCE instance, int /*showCommand*/) {
    const HANDLE session = claimSession();
    if (session == nullptr) {
        return 0;
    }
    // Held until the process ends; the system lets it go then.
    static_cast<void>(session);
    registerForRestart();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    if (!registerMainWindowClass(instance)) {
        return 1;
    }
    // Hidden until start-up has placed and filled it (step "r").
    win32::unique_window owned(CreateWindowExW(0, kMainWindowClass, L"",
                                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 640,
                                               480, nullptr, nullptr, instance, nullptr));
    if (!owned) {
        return 1;
    }
    const HWND window = owned.get();
    auto parts = std::make_unique<MainWindowParts>();
    Platform& platform = parts->system.platform();
    parts->buttonBar = std::make_unique<ButtonBar>(window);
    if (SearchBox* box = parts->buttonBar->searchBox()) {
        box->setKeyHandler([&form = parts->form](SearchKey key, int digit) {
            return form && form->searchKey(key, digit);
        });
    }
    parts->view = std::make_unique<Win32MainWindowView>(window, *parts->buttonBar);
    parts->view->setTrayEventHandler(&onTrayEvent);
    parts->panel = createPanelView(window);
    parts->splash = std::make_unique<SplashDirTreeBuildWindow>(platform.ui, window);
    parts->services = std::make_unique<ProgramServices>(
        platform, parts->shell, parts->automation, parts->links, parts->system.historyDatabase(),
        *parts->view, *parts->panel, *parts->splash, projectDialogs(window, *parts));
    // The screen queries answer for the monitor this window is on, at its scale.
    platform.display.setReferenceWindow(win32::toHandle(window));
    parts->form =
        std::make_unique<MainForm>(platform, *parts->view, *parts->panel, *parts->services,
                                   screenMetrics(platform.display), programFolder());
    parts->services->attach(*parts->form);
    parts->services->setRecoveryOfferDialog(std::make_unique<Win32RecoveryOfferDialog>(window));
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(parts.get()));

    if (!parts->form->load()) {
        owned.reset();  // while the parts its WM_DESTROY reaches are still there
        return 1;
    }
    parts->loaded = true;
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    const int code = messageLoop(window, accelerators);
    // The loop ends with the window's WM_DESTROY: it is gone already.
    static_cast<void>(owned.release());
    parts->form.reset();
    parts->panel.reset();
    return code;
}

}  // namespace snapdesk
