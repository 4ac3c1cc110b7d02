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

using destroy_window = freed_by<&DestroyWindow>;
// A DC of GetDC or GetWindowDC goes back to the window it came from.
struct release_dc {
    HWND window = nullptr;
    void operator()(HDC dc) const noexcept { ReleaseDC(window, dc); }
};
using delete_dc = freed_by<&DeleteDC>;
using delete_object = freed_by<&DeleteObject>;
// Puts back the object a SelectObject displaced.
struct restore_selection {
    HDC dc = nullptr;
    void operator()(HGDIOBJ previous) const noexcept { SelectObject(dc, previous); }
};
using destroy_icon = freed_by<&DestroyIcon>;
using destroy_menu = freed_by<&DestroyMenu>;
using destroy_image_list = freed_by<&ImageList_Destroy>;
struct com_release {
    template <typename Interface>
    void operator()(Interface* object) const noexcept {
        object->Release();
    }
};
using close_handle = invalid_or_freed_by<&CloseHandle>;
using find_close = invalid_or_freed_by<&FindClose>;
using reg_close_key = freed_by<&RegCloseKey>;
using free_library = freed_by<&FreeLibrary>;
using co_task_mem_free = freed_by<&CoTaskMemFree>;
using local_free = freed_by<&LocalFree>;

using unique_window = unique_any<HWND, destroy_window>;
using unique_window_dc = unique_any<HDC, release_dc>;
using unique_hdc = unique_any<HDC, delete_dc>;
template <typename GdiObject>
using unique_gdi = unique_any<GdiObject, delete_object>;
using unique_hfont = unique_gdi<HFONT>;
using unique_hbrush = unique_gdi<HBRUSH>;
using unique_hbitmap = unique_gdi<HBITMAP>;
using unique_selection = unique_any<HGDIOBJ, restore_selection>;
using unique_hicon = unique_any<HICON, destroy_icon>;
using unique_hmenu = unique_any<HMENU, destroy_menu>;
using unique_image_list = unique_any<HIMAGELIST, destroy_image_list>;
template <typename Interface>
using unique_com = unique_any<Interface*, com_release>;
using unique_handle = unique_any<HANDLE, close_handle>;
using unique_find = unique_any<HANDLE, find_close>;
using unique_hkey = unique_any<HKEY, reg_close_key>;
using unique_hmodule = unique_any<HMODULE, free_library>;
template <typename T>
using unique_cotaskmem = unique_any<T*, co_task_mem_free>;
template <typename T>
using unique_hlocal = unique_any<T*, local_free>;

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
