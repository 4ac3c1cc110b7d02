#pragma once

#include <windows.h>

#include <string>

namespace snapdesk::win32 {

// A system DLL by its full path in the system folder, so a file of that name beside the
// program is never loaded instead; stays loaded for the process.
inline HMODULE systemLibrary(const wchar_t* name) {
    if (const HMODULE loaded = GetModuleHandleW(name)) {
        return loaded;
    }
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    return LoadLibraryW((std::wstring(folder, length) + L"\\" + name).c_str());
}

// A function newer than the oldest Windows the program runs on, looked up at run time;
// nullptr where this Windows (or Wine) lacks it.
template <typename Function>
Function systemFunction(const wchar_t* library, const char* name) {
    const HMODULE module = systemLibrary(library);
    const FARPROC address = module != nullptr ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

}  // namespace snapdesk::win32
