// Holds a system-wide hot key, as another program on the user's machine may, until closed.
//   hotkeyholder.exe             Ctrl+Alt+Space
// Its window "Hot Key Holder" stays hidden; it says whether the key is held in its caption
// ("Hot Key Holder - held" or "Hot Key Holder - refused").
#include <windows.h>

namespace {

LRESULT CALLBACK holderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = holderProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"HotKeyHolder";
    RegisterClassW(&wc);
    const HWND window = CreateWindowW(L"HotKeyHolder", L"Hot Key Holder", WS_OVERLAPPEDWINDOW, 0, 0,
                                      200, 100, nullptr, nullptr, instance, nullptr);
    const bool held = RegisterHotKey(window, 1, MOD_CONTROL | MOD_ALT, VK_SPACE) != FALSE;
    SetWindowTextW(window, held ? L"Hot Key Holder - held" : L"Hot Key Holder - refused");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    return 0;
}
