// Text between us and the driver. Unicode drivers take UTF-16 through the wide calls. For a driver
// that has only the narrow calls, unixODBC turns UTF-16 into Latin-1 and drops or garbles all
// else; such drivers here read and write UTF-8, so they get UTF-8 through the narrow calls
// instead. Values are read as SQL_C_WCHAR either way: the drivers convert those themselves.
#pragma once

#include <string>
#include <string_view>

#include "providers/odbc/handle.h"

namespace orvanta::providers::odbc {

// Whether text passes the wide calls of this connection unchanged; asks the driver to echo a
// sample through SQLNativeSql, which stays on the client.
bool NeedsNarrowText(const Handle& connection);

SQLRETURN ExecuteDirect(const Handle& statement, std::u16string_view sql);

SQLRETURN DescribeColumn(const Handle& statement, SQLUSMALLINT number, std::u16string& name, SQLSMALLINT& sqlType,
                         SQLULEN& size, SQLSMALLINT& nullable);

// One diagnostic record; false when there is none of that number.
bool DiagnosticRecord(const Handle& handle, SQLSMALLINT number, std::string& state, long long& native,
                      std::u16string& message);

}  // namespace orvanta::providers::odbc
