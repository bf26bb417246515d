#include "database/com_error.h"

#include <cstdio>

namespace {

std::u16string TakeText(HRESULT (IErrorInfo::*get)(BSTR*), IErrorInfo* info) {
    if (!info) return {};
    BSTR text = nullptr;
    if (FAILED((info->*get)(&text)) || !text) return {};
    std::u16string result(text, SysStringLen(text));
    SysFreeString(text);
    return result;
}

constexpr DWORD kFirstDispatchError = 0x80040200;
constexpr DWORD kLastDispatchError = 0x8004FFFF;
constexpr std::size_t kFallbackCharacters = 32;

}  // namespace

ComError::ComError(const ComError& other) noexcept : m_code(other.m_code), m_info(other.m_info) {
    if (m_info) m_info->AddRef();
}

ComError::~ComError() {
    if (m_info) m_info->Release();
    if (!m_message) return;
    if (m_messageOnHeap) {
        HeapFree(GetProcessHeap(), 0, m_message);
    } else {
        LocalFree(m_message);
    }
}

std::u16string ComError::Source() const { return TakeText(&IErrorInfo::GetSource, m_info); }

std::u16string ComError::Description() const { return TakeText(&IErrorInfo::GetDescription, m_info); }

LPCWSTR ComError::ResultCodeText() const noexcept {
    if (m_message) return m_message;

    LPWSTR text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
        static_cast<DWORD>(m_code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&text), 0,
        nullptr);
    if (length > 0 && text) {
        // Exactly one line end goes: the LF, then a CR before it.
        DWORD end = length;
        if (end > 1 && text[end - 1] == u'\n') {
            text[--end] = 0;
            if (end > 0 && text[end - 1] == u'\r') text[--end] = 0;
        }
        m_message = text;
        m_messageOnHeap = false;
        return m_message;
    }

    auto* fallback = static_cast<LPWSTR>(HeapAlloc(GetProcessHeap(), 0, kFallbackCharacters * sizeof(WCHAR)));
    if (!fallback) return nullptr;
    const auto code = static_cast<DWORD>(m_code);
    char narrow[kFallbackCharacters];
    if (code >= kFirstDispatchError && code <= kLastDispatchError && code != kFirstDispatchError) {
        std::snprintf(narrow, sizeof narrow, "IDispatch error #%d", static_cast<int>(code - kFirstDispatchError));
    } else {
        std::snprintf(narrow, sizeof narrow, "Unknown error 0x%0lX", static_cast<unsigned long>(code));
    }
    std::size_t i = 0;
    for (; narrow[i] != 0; ++i) fallback[i] = static_cast<WCHAR>(narrow[i]);
    fallback[i] = 0;
    m_message = fallback;
    m_messageOnHeap = true;
    return m_message;
}

void RaiseComError(HRESULT code, IUnknown* object, REFIID iid) {
    IErrorInfo* info = nullptr;
    if (object) {
        ComPtr<ISupportErrorInfo> support;
        if (SUCCEEDED(object->QueryInterface(IID_ISupportErrorInfo, support.ReleaseAndGetVoidAddress())) &&
            support) {
            const HRESULT supported = support->InterfaceSupportsErrorInfo(iid);
            support.Reset();
            if (supported == S_OK && GetErrorInfo(0, &info) != S_OK) info = nullptr;
        }
    }
    throw ComError(code, info);
}
