// zim001.dll: the target path stored in a shortcut file, through the shell's own link objects.
// The calling thread must already be initialised for COM.

#include <objidl.h>
#include <shlobj.h>
#include <windows.h>

#include <cstring>

#include "base/unique_handle.h"
#include "link_path_contract.h"

namespace {

constexpr int kRoomForLongPaths = 32768;

// The path when it fits the caller's room and is one; otherwise a failure code and the target
// stays empty. An empty path (no file-system target) is copied as it is.
HRESULT copyTarget(const char* path, char* target) {
    const std::size_t length = strnlen(path, kRoomForLongPaths);
    if (length >= static_cast<std::size_t>(zim::kLinkPathSize)) {
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    }
    if (length != 0 && !zim::isTargetPath(path, length)) {
        return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    }
    std::memcpy(target, path, length + 1);
    return S_OK;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}

extern "C" HRESULT WINAPI GetLinkPath(HWND window, const char* linkFile, char* target) {
    target[0] = '\0';

    snapdesk::win32::unique_com<IShellLinkA> link;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkA, link.putVoid());
    if (FAILED(result)) {
        return result;
    }
    snapdesk::win32::unique_com<IPersistFile> file;
    result = link->QueryInterface(IID_IPersistFile, file.putVoid());
    if (FAILED(result)) {
        return result;
    }

    WCHAR wideName[zim::kLinkPathSize];
    MultiByteToWideChar(CP_ACP, 0, linkFile, -1, wideName, zim::kLinkPathSize);

    result = file->Load(wideName, STGM_READ);
    if (SUCCEEDED(result)) {
        result = link->Resolve(window, SLR_NO_UI | SLR_ANY_MATCH);
    }
    if (SUCCEEDED(result)) {
        // A larger room first: the shell cuts a longer path to the room and still reports
        // success, which would hand the caller the path of some other file.
        char path[kRoomForLongPaths];
        WIN32_FIND_DATAA found;
        result = link->GetPath(path, kRoomForLongPaths, &found, SLGP_RAWPATH);
        if (SUCCEEDED(result)) {
            const HRESULT copied = copyTarget(path, target);
            result = FAILED(copied) ? copied : result;
        }
    }
    return result;
}
