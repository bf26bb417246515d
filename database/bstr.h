// A BSTR owned for the length of one ADO call.
#pragma once

#include <string>
#include <utility>

#include <windows.h>

#include "database/com_error.h"

class CBstr {
public:
    // A null text gives a null BSTR; running out of memory raises E_OUTOFMEMORY.
    explicit CBstr(LPCWSTR text) : m_text(SysAllocString(text)) {
        if (text && !m_text) throw ComError(E_OUTOFMEMORY, nullptr);
    }
    explicit CBstr(const std::u16string& text) : m_text(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
        if (!m_text) throw ComError(E_OUTOFMEMORY, nullptr);
    }
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;
    ~CBstr() { SysFreeString(m_text); }

    BSTR Get() const { return m_text; }
    // Hands the BSTR over to a VARIANT or other owner.
    [[nodiscard]] BSTR Detach() { return std::exchange(m_text, nullptr); }

private:
    BSTR m_text;
};
