#pragma once

// Move-only owners of Win32 handles and COM pointers. Each kind frees its handle the one way
// the API asks for, exactly once: when the owner goes, is reset or is assigned another owner.
// A handle the API reports as "none" (null, or INVALID_HANDLE_VALUE for kernel objects and
// searches) is kept as empty and never freed.

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
// clang-format on

#include <type_traits>
#include <utility>

namespace snapdesk::win32 {

template <typename Handle, typename Deleter>
class unique_any {
  public:
    unique_any() = default;
    explicit unique_any(Handle handle, Deleter deleter = Deleter{}) noexcept
        : handle_(normalised(handle)), deleter_(std::move(deleter)) {}
    ~unique_any() { reset(); }
    unique_any(unique_any&& other) noexcept
        : handle_(other.release()), deleter_(std::move(other.deleter_)) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) {
            reset(other.release());
            deleter_ = std::move(other.deleter_);
        }
        return *this;
    }
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Handle{}; }
    // COM interfaces are called through their owner.
    Handle operator->()
        const noexcept requires std::is_polymorphic_v<std::remove_pointer_t<Handle>> {
        return handle_;
    }
    // Hands the handle over to whoever frees it now (a window, a picture, the caller).
    [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, Handle{}); }
    // The handle is emptied before it is freed, so code run by the freeing sees none.
    void reset(Handle handle = Handle{}) noexcept {
        const Handle old = std::exchange(handle_, normalised(handle));
        if (old != Handle{}) {
            deleter_(old);
        }
    }
    // For functions that return a new handle through an argument; frees the current one.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }
    void** putVoid() noexcept requires std::is_pointer_v<Handle> {
        return reinterpret_cast<void**>(put());
    }

  private:
    static Handle normalised(Handle handle) noexcept {
        if constexpr (requires { Deleter::none(handle); }) {
            return Deleter::none(handle) ? Handle{} : handle;
        } else {
            return handle;
        }
    }

    Handle handle_{};
    [[no_unique_address]] Deleter deleter_{};
};

// A deleter that hands the handle to one freeing function of the API.
template <auto Free>
struct freed_by {
    template <typename Handle>
    void operator()(Handle handle) const noexcept {
        Free(handle);
    }
};
// Searches and kernel objects report "none" as INVALID_HANDLE_VALUE.
template <auto Free>
struct invalid_or_freed_by : freed_by<Free> {
    static bool none(HANDLE handle) noexcept { return handle == INVALID_HANDLE_VALUE; }
};

// Windows, menus and icons.
using unique_window = unique_any<HWND, freed_by<&DestroyWindow>>;
using unique_hmenu = unique_any<HMENU, freed_by<&DestroyMenu>>;
using unique_hicon = unique_any<HICON, freed_by<&DestroyIcon>>;
using unique_image_list = unique_any<HIMAGELIST, freed_by<&ImageList_Destroy>>;

// Drawing. A DC of GetDC or GetWindowDC goes back to the window it came from; one the program
// made is deleted.
struct release_dc {
    HWND window = nullptr;
    void operator()(HDC dc) const noexcept { ReleaseDC(window, dc); }
};
using unique_window_dc = unique_any<HDC, release_dc>;
using unique_hdc = unique_any<HDC, freed_by<&DeleteDC>>;
template <typename GdiObject>
using unique_gdi = unique_any<GdiObject, freed_by<&DeleteObject>>;
using unique_hfont = unique_gdi<HFONT>;
using unique_hbrush = unique_gdi<HBRUSH>;
using unique_hbitmap = unique_gdi<HBITMAP>;
// Puts back the object a SelectObject displaced.
struct restore_selection {
    HDC dc = nullptr;
    void operator()(HGDIOBJ previous) const noexcept { SelectObject(dc, previous); }
};
using unique_selection = unique_any<HGDIOBJ, restore_selection>;

// Kernel objects, searches, registry keys and libraries.
using unique_handle = unique_any<HANDLE, invalid_or_freed_by<&CloseHandle>>;
using unique_find = unique_any<HANDLE, invalid_or_freed_by<&FindClose>>;
using unique_hkey = unique_any<HKEY, freed_by<&RegCloseKey>>;
using unique_hmodule = unique_any<HMODULE, freed_by<&FreeLibrary>>;

// COM objects, and memory that COM and the shell hand out.
struct com_release {
    template <typename Interface>
    void operator()(Interface* object) const noexcept {
        object->Release();
    }
};
template <typename Interface>
using unique_com = unique_any<Interface*, com_release>;
template <typename T>
using unique_cotaskmem = unique_any<T*, freed_by<&CoTaskMemFree>>;
template <typename T>
using unique_hlocal = unique_any<T*, freed_by<&LocalFree>>;

// GetDC(window) (the screen for nullptr), released to that window.
inline unique_window_dc get_dc(HWND window) {
    return unique_window_dc(GetDC(window), release_dc{window});
}
inline unique_window_dc get_window_dc(HWND window) {
    return unique_window_dc(GetWindowDC(window), release_dc{window});
}
// Selects an object into a DC until the owner goes; nothing is put back when the selection
// failed.
inline unique_selection select_object(HDC dc, HGDIOBJ object) {
    return unique_selection(SelectObject(dc, object), restore_selection{dc});
}

}  // namespace snapdesk::win32
