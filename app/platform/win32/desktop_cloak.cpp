#include "platform/win32/desktop_cloak.h"

#include <objbase.h>

#include "base/system_function.h"

namespace snapdesk::win32 {

namespace {

constexpr DWORD kCloakedAttribute = 14;  // DWMWA_CLOAKED, Windows 8 and later

using GetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);

// The shell's virtual desktop manager (Windows 10), declared here: the SDK hides it from a
// program built for Windows 7. COM objects are released, never deleted, so no destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
struct IVirtualDesktopManager : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE IsWindowOnCurrentVirtualDesktop(HWND window,
                                                                      BOOL* onCurrent) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetWindowDesktopId(HWND window, GUID* desktop) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveWindowToDesktop(HWND window, REFGUID desktop) = 0;
};
#pragma GCC diagnostic pop

constexpr CLSID kVirtualDesktopManagerClass = {
    0xaa509086, 0x5ca9, 0x4c25, {0x8f, 0x95, 0x58, 0x9d, 0x3c, 0x07, 0xb4, 0x8a}};
constexpr IID kVirtualDesktopManagerInterface = {
    0xa5cd92ff, 0x29be, 0x454c, {0x8d, 0x04, 0xd8, 0x28, 0x79, 0xfb, 0x3f, 0x1b}};

// Made once on the thread that walks the windows; nullptr where the class is not registered.
IVirtualDesktopManager* desktopManager() {
    static IVirtualDesktopManager* const manager = [] {
        void* object = nullptr;
        if (FAILED(CoCreateInstance(kVirtualDesktopManagerClass, nullptr, CLSCTX_INPROC_SERVER,
                                    kVirtualDesktopManagerInterface, &object))) {
            return static_cast<IVirtualDesktopManager*>(nullptr);
        }
        return static_cast<IVirtualDesktopManager*>(object);
    }();
    return manager;
}

}  // namespace

std::uint32_t dwmCloak(HWND window) {
    static const auto getAttribute =
        systemFunction<GetWindowAttribute>(L"dwmapi.dll", "DwmGetWindowAttribute");
    DWORD cloak = 0;
    if (getAttribute == nullptr ||
        FAILED(getAttribute(window, kCloakedAttribute, &cloak, sizeof(cloak)))) {
        return 0;
    }
    return cloak;
}

DesktopPlace virtualDesktopPlace(HWND window) {
    IVirtualDesktopManager* manager = desktopManager();
    if (manager == nullptr) {
        return DesktopPlace::Unknown;
    }
    GUID desktop{};
    if (FAILED(manager->GetWindowDesktopId(window, &desktop)) || desktop == GUID_NULL) {
        return DesktopPlace::Unknown;
    }
    BOOL onCurrent = TRUE;
    if (FAILED(manager->IsWindowOnCurrentVirtualDesktop(window, &onCurrent))) {
        return DesktopPlace::Unknown;
    }
    return onCurrent ? DesktopPlace::Current : DesktopPlace::Other;
}

}  // namespace snapdesk::win32
