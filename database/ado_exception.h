// What the result set raises in place of a COM error it caught: the error's description and code.
#pragma once

#include <string>

#include <windows.h>

class CADOException {
public:
    CADOException(HRESULT code, std::u16string description) : m_description(std::move(description)), m_code(code) {}
    virtual ~CADOException() = default;

    const std::u16string& GetDescription() const { return m_description; }
    HRESULT GetCode() const { return m_code; }

private:
    std::u16string m_description;
    HRESULT m_code;
};
