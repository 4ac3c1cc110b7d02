// manywindows.exe N [TITLE-PREFIX]
// Opens N visible top-level windows titled "<prefix> k.txt - Many" (k = 1..N) with an icon,
// for benchmarks that need many real windows of another process. Closes with any of them.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cwchar>
#include <string>

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int countArgument(const wchar_t* text) {
    const long n = std::wcstol(text, nullptr, 10);
    return n > 0 && n <= 2000 ? static_cast<int>(n) : 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const int count = argc > 1 ? countArgument(argv[1]) : 0;
    const std::wstring prefix = argc > 2 ? argv[2] : L"file";
    if (count == 0) {
        return 2;
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32516));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"ManyWindowsTest";
    RegisterClassW(&windowClass);
    for (int k = 1; k <= count; ++k) {
        const std::wstring title = prefix + L" " + std::to_wstring(k) + L".txt - Many";
        CreateWindowExW(0, windowClass.lpszClassName, title.c_str(),
                        WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20 + (k % 20) * 10, 20 + (k % 20) * 10,
                        400, 300, nullptr, nullptr, instance, nullptr);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    LocalFree(argv);
    return 0;
}
