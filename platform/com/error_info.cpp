#include "com/error_info.h"

#include <string>

#include "com/object.h"

namespace orvanta::com {
namespace {

BSTR CopyToBstr(const std::u16string& text) {
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

class ErrorInfo final : public ComObject<ErrorInfo, IErrorInfo, ICreateErrorInfo> {
public:
    HRESULT GetGUID(GUID* guid) noexcept override {
        if (!guid) return E_INVALIDARG;
        *guid = m_guid;
        return S_OK;
    }
    HRESULT GetSource(BSTR* source) noexcept override { return Copy(m_source, source); }
    HRESULT GetDescription(BSTR* description) noexcept override { return Copy(m_description, description); }
    HRESULT GetHelpFile(BSTR* helpFile) noexcept override { return Copy(m_helpFile, helpFile); }
    HRESULT GetHelpContext(DWORD* helpContext) noexcept override {
        if (!helpContext) return E_INVALIDARG;
        *helpContext = m_helpContext;
        return S_OK;
    }

    HRESULT SetGUID(REFGUID guid) noexcept override {
        m_guid = guid;
        return S_OK;
    }
    HRESULT SetSource(LPOLESTR source) noexcept override { return Store(source, m_source); }
    HRESULT SetDescription(LPOLESTR description) noexcept override { return Store(description, m_description); }
    HRESULT SetHelpFile(LPOLESTR helpFile) noexcept override { return Store(helpFile, m_helpFile); }
    HRESULT SetHelpContext(DWORD helpContext) noexcept override {
        m_helpContext = helpContext;
        return S_OK;
    }

private:
    static HRESULT Copy(const std::u16string& text, BSTR* out) noexcept {
        if (!out) return E_INVALIDARG;
        *out = CopyToBstr(text);
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    static HRESULT Store(LPCOLESTR text, std::u16string& field) noexcept {
        try {
            field = text ? text : u"";
            return S_OK;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

    GUID m_guid{};
    std::u16string m_source;
    std::u16string m_description;
    std::u16string m_helpFile;
    DWORD m_helpContext = 0;
};

// A plain pointer: a thread_local with a destructor would keep the module from being unloaded.
// CoUninitialize empties the slot when a thread's last initialisation ends.
thread_local IErrorInfo* t_errorInfo = nullptr;

}  // namespace

void SetThreadErrorInfo(REFIID iid, std::u16string_view source, std::u16string_view description) noexcept {
    try {
        ComPtr<ErrorInfo> info = MakeCom<ErrorInfo>();
        info->SetGUID(iid);
        const std::u16string sourceText(source);
        const std::u16string descriptionText(description);
        info->SetSource(const_cast<LPOLESTR>(sourceText.c_str()));
        info->SetDescription(const_cast<LPOLESTR>(descriptionText.c_str()));
        SetErrorInfo(0, info.Get());
    } catch (...) {
        SetErrorInfo(0, nullptr);
    }
}

}  // namespace orvanta::com

using orvanta::com::t_errorInfo;

HRESULT CreateErrorInfo(ICreateErrorInfo** info) {
    if (!info) return E_INVALIDARG;
    *info = nullptr;
    try {
        auto object = orvanta::com::MakeCom<orvanta::com::ErrorInfo>();
        *info = object.Detach();
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT SetErrorInfo(ULONG /*reserved*/, IErrorInfo* info) {
    if (info) info->AddRef();
    IErrorInfo* old = std::exchange(t_errorInfo, info);
    if (old) old->Release();
    return S_OK;
}

HRESULT GetErrorInfo(ULONG /*reserved*/, IErrorInfo** info) {
    if (!info) return E_INVALIDARG;
    *info = std::exchange(t_errorInfo, nullptr);
    return *info ? S_OK : S_FALSE;
}
