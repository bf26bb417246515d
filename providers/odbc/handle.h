#pragma once

#include <utility>

#include "providers/odbc/api.h"

namespace orvanta::providers::odbc {

// Owns one ODBC handle of any type and frees it last thing. It also knows how its driver takes
// text (see text.h); handles allocated under it inherit that.
class Handle {
public:
    Handle() = default;
    Handle(SQLSMALLINT type, SQLHANDLE handle, bool narrowText = false)
        : m_type(type), m_handle(handle), m_narrowText(narrowText) {}
    ~Handle() {
        if (m_handle) SQLFreeHandle(m_type, m_handle);
    }
    Handle(Handle&& other) noexcept
        : m_type(other.m_type), m_handle(std::exchange(other.m_handle, SQLHANDLE{})), m_narrowText(other.m_narrowText) {}
    Handle& operator=(Handle&& other) noexcept {
        std::swap(m_type, other.m_type);
        std::swap(m_handle, other.m_handle);
        std::swap(m_narrowText, other.m_narrowText);
        return *this;
    }

    SQLSMALLINT Type() const { return m_type; }
    SQLHANDLE Get() const { return m_handle; }
    // True when text goes to and comes from the driver as UTF-8 through the narrow calls.
    bool NarrowText() const { return m_narrowText; }
    void SetNarrowText(bool narrow) { m_narrowText = narrow; }

private:
    SQLSMALLINT m_type = 0;
    SQLHANDLE m_handle = SQLHANDLE{};
    bool m_narrowText = false;
};

// Allocates a handle of `type` under `parent` (none for an environment); throws on failure.
Handle Allocate(SQLSMALLINT type, const Handle* parent);

}  // namespace orvanta::providers::odbc
