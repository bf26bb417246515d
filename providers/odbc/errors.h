#pragma once

#include <string_view>

#include "providers/error.h"
#include "providers/odbc/api.h"

namespace orvanta::providers::odbc {

class Handle;

// What the provider was doing when a call failed; connecting turns most states into
// ConnectionFailed.
enum class Stage { Connect, Statement };

// The error for a failed call on `handle`: every diagnostic record the driver manager holds
// (message, SQLSTATE, native code), one per line. The first record gives the state, native code and
// kind. `secret`, when given, is masked wherever a record repeats it.
ProviderError DiagnosticError(const Handle& handle, SQLRETURN result, Stage stage, std::u16string_view secret = {});

// SQL_SUCCESS, SQL_SUCCESS_WITH_INFO and SQL_NO_DATA pass; anything else throws.
inline SQLRETURN Check(SQLRETURN result, const Handle& handle, Stage stage = Stage::Statement) {
    if (result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO || result == SQL_NO_DATA) return result;
    throw DiagnosticError(handle, result, stage);
}

ErrorKind KindOfState(std::string_view sqlState, Stage stage);

}  // namespace orvanta::providers::odbc
