// The unixODBC headers, and the one cast between our UTF-16 text and the driver manager's.
#pragma once

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <string_view>

namespace orvanta::providers::odbc {

// unixODBC's wide calls take 16-bit units, the same as char16_t; wchar_t (32 bits here) never fits.
static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager must use 16-bit SQLWCHAR");

inline SQLWCHAR* Wide(const char16_t* text) { return reinterpret_cast<SQLWCHAR*>(const_cast<char16_t*>(text)); }
inline const char16_t* Utf16(const SQLWCHAR* text) { return reinterpret_cast<const char16_t*>(text); }

}  // namespace orvanta::providers::odbc
