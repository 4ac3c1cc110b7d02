#include <new>
#include <string>
#include <utility>
#include <vector>

#include "zim_display_widget.h"

namespace {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class Bag final : public zim::OrderedPropertyBag {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyBag)) {
            *object = static_cast<IPropertyBag*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
        if (name == nullptr || value == nullptr) {
            return E_POINTER;
        }
        for (auto& entry : entries_) {
            if (entry.first == name) {
                const VARTYPE wanted = V_VT(value);
                VariantInit(value);
                if (wanted == VT_EMPTY) {
                    return VariantCopy(value, &entry.second);
                }
                return VariantChangeType(value, &entry.second, 0, wanted);
            }
        }
        return E_INVALIDARG;
    }

    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override {
        if (name == nullptr || value == nullptr) {
            return E_POINTER;
        }
        for (auto& entry : entries_) {
            if (entry.first == name) {
                return VariantCopy(&entry.second, value);
            }
        }
        VARIANT copy;
        VariantInit(&copy);
        const HRESULT hr = VariantCopy(&copy, value);
        if (FAILED(hr)) {
            return hr;
        }
        entries_.emplace_back(std::wstring(name), copy);
        return S_OK;
    }

    int Count() override { return static_cast<int>(entries_.size()); }
    const wchar_t* NameAt(int index) override {
        if (index < 0 || index >= Count()) {
            return nullptr;
        }
        return entries_[static_cast<std::size_t>(index)].first.c_str();
    }

    ~Bag() {
        for (auto& entry : entries_) {
            VariantClear(&entry.second);
        }
    }

  private:
    ULONG references_ = 1;
    std::vector<std::pair<std::wstring, VARIANT>> entries_;
};
#pragma GCC diagnostic pop

}  // namespace

ZIM_DISPLAY_WIDGET_API int zimCreatePropertyBag(zim::OrderedPropertyBag** bag) {
    if (bag == nullptr) {
        return 5;  // invalid procedure call
    }
    *bag = new (std::nothrow) Bag();
    return *bag == nullptr ? zim::kErrorOutOfMemory : 0;
}
