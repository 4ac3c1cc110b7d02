// A resolver library built without the definition file: the function is there, but not under
// the decorated name the main program binds.
#include <windows.h>

extern "C" __declspec(dllexport) LONG WINAPI GetLinkPath(HWND, const char*, char* target) {
    target[0] = '\0';
    return E_FAIL;
}
