#pragma once

// The parts the stand-in automation servers share: a hand-written IDispatch whose members are
// found by name in a table (no type library), a class factory, registration of a local server
// under HKLM\Software\Classes (Wine 8 does not merge the current user's classes), and the test
// hooks that make a server die or hang in the middle of a walk.
// clang-format off
#include <windows.h>
#include <oleauto.h>
// clang-format on

#include <cwchar>
#include <functional>
#include <span>
#include <string>

#include "standin_protocol.h"

namespace standin {

// ---- Server lifetime ----

inline DWORD gMainThread = 0;
// A server started by COM ends when its last object is released.
inline bool gEndWhenUnused = false;

inline void serverAddRef() {
    CoAddRefServerProcess();
}
inline void serverRelease() {
    if (CoReleaseServerProcess() == 0 && gEndWhenUnused) {
        PostThreadMessageW(gMainThread, WM_QUIT, 0, 0);
    }
}

// ---- Test hooks on Item ----

struct ItemHooks {
    long dieAt = 0;   // the n-th Item call ends the process at once
    long hangAt = 0;  // the n-th Item call sleeps hangMs first
    DWORD hangMs = 30000;
    long calls = 0;

    void onItem() {
        ++calls;
        if (calls == dieAt) {
            ExitProcess(kDiedOnPurpose);
        }
        if (calls == hangAt) {
            Sleep(hangMs);
        }
    }
};

// ---- IDispatch by name ----

// COM objects end through their own Release, never through a pointer to the interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

struct Member {
    const wchar_t* name;
    DISPID id;
};

class DispatchObject : public IDispatch {
  public:
    explicit DispatchObject(std::span<const Member> members) : members_(members) { serverAddRef(); }
    virtual ~DispatchObject() { serverRelease(); }
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr) {
            *info = nullptr;
        }
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            if (i == 0) {
                for (const Member& member : members_) {
                    if (CompareStringOrdinal(names[0], -1, member.name, -1, TRUE) == CSTR_EQUAL) {
                        ids[0] = member.id;
                    }
                }
            }
            if (ids[i] == DISPID_UNKNOWN) {
                hr = DISP_E_UNKNOWNNAME;
            }
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) {
            return DISP_E_MEMBERNOTFOUND;
        }
        VARIANT ignored;
        VariantInit(&ignored);
        const HRESULT hr = member(id, params, result != nullptr ? result : &ignored);
        VariantClear(&ignored);
        return hr;
    }

  protected:
    // Answers a member read or call; `result` is an initialised VARIANT.
    virtual HRESULT member(DISPID id, DISPPARAMS* params, VARIANT* result) = 0;

  private:
    std::span<const Member> members_;
    LONG references_ = 1;
};

inline HRESULT returnText(VARIANT* result, const std::wstring& text) {
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return result->bstrVal != nullptr ? S_OK : E_OUTOFMEMORY;
}

inline HRESULT returnLong(VARIANT* result, long value) {
    result->vt = VT_I4;
    result->lVal = value;
    return S_OK;
}

// Hands the caller the reference `object` was created with; nullptr is "no object".
inline HRESULT returnObject(VARIANT* result, IDispatch* object) {
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
    return object != nullptr ? S_OK : S_FALSE;
}

// The single argument of Item, as a number.
inline HRESULT indexArgument(const DISPPARAMS* params, long& index) {
    if (params == nullptr || params->cArgs != 1) {
        return DISP_E_BADPARAMCOUNT;
    }
    VARIANT converted;
    VariantInit(&converted);
    const HRESULT hr = VariantChangeType(&converted, &params->rgvarg[0], 0, VT_I4);
    if (FAILED(hr)) {
        return DISP_E_TYPEMISMATCH;
    }
    index = converted.lVal;
    return S_OK;
}

// ---- Class object ----

class ClassFactory : public IClassFactory {
  public:
    explicit ClassFactory(std::function<IDispatch*()> create) : create_(std::move(create)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // One static instance for the process's whole life.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        IDispatch* created = create_();
        const HRESULT hr = created->QueryInterface(iid, object);
        created->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) {
            serverAddRef();
        } else {
            serverRelease();
        }
        return S_OK;
    }

  private:
    std::function<IDispatch*()> create_;
};

#pragma GCC diagnostic pop

// ---- Registration ----

inline std::wstring ownPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

inline bool setDefaultValue(const std::wstring& subKey, const std::wstring& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG status =
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

inline std::wstring defaultValue(const std::wstring& subKey) {
    wchar_t value[256] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, subKey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}

constexpr const wchar_t* kClasses = L"Software\\Classes\\";

// The class runs this executable as a local server; the ProgID (may be null) names the class.
inline bool registerServer(const wchar_t* classId, const wchar_t* progId,
                           const wchar_t* description) {
    const std::wstring classKey = std::wstring(kClasses) + L"CLSID\\" + classId;
    bool done = setDefaultValue(classKey, description) &&
                setDefaultValue(classKey + L"\\LocalServer32", L"\"" + ownPath() + L"\"");
    if (progId != nullptr) {
        done = done && setDefaultValue(classKey + L"\\ProgID", progId) &&
               setDefaultValue(std::wstring(kClasses) + progId, description) &&
               setDefaultValue(std::wstring(kClasses) + progId + L"\\CLSID", classId);
    }
    return done;
}

// Removes the class, and the ProgID when it still names this class.
inline bool unregisterServer(const wchar_t* classId, const wchar_t* progId) {
    const std::wstring classKey = std::wstring(kClasses) + L"CLSID\\" + classId;
    LSTATUS status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, classKey.c_str());
    bool done = status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    if (progId != nullptr) {
        const std::wstring progKey = std::wstring(kClasses) + progId;
        if (CompareStringOrdinal(defaultValue(progKey + L"\\CLSID").c_str(), -1, classId, -1,
                                 TRUE) == CSTR_EQUAL) {
            status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, progKey.c_str());
            done = done && status == ERROR_SUCCESS;
        }
    }
    return done;
}

// "/regserver", "-Embedding" and friends, with either prefix and in any case.
inline bool isSwitch(const wchar_t* argument, const wchar_t* name) {
    return (argument[0] == L'/' || argument[0] == L'-') &&
           CompareStringOrdinal(argument + 1, -1, name, -1, TRUE) == CSTR_EQUAL;
}

inline CLSID classIdOf(const wchar_t* text) {
    CLSID id{};
    CLSIDFromString(text, &id);
    return id;
}

}  // namespace standin
