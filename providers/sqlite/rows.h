#pragma once

#include <sqlite3.h>

#include "providers/result_set.h"

namespace orvanta::providers::sqlite {

// Describes the statement's columns in `result` and appends every row it returns.
// Returns the result code that ended the walk: SQLITE_DONE, or the error.
int FetchRows(sqlite3_stmt* statement, ResultSet& result);

}  // namespace orvanta::providers::sqlite
