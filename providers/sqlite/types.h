// SQLite is typed by value; a column's declared type only suggests what its values mean. These
// rules give values the richer types that drivers on the platform give them.
#pragma once

#include <sqlite3.h>

#include "providers/result_set.h"

namespace orvanta::providers::sqlite {

enum class DeclaredType {
    None,  // no declared type, or one with no special meaning
    Integer,
    Real,
    Text,
    Blob,
    Boolean,   // BOOLEAN, BOOL: integers become booleans
    Date,      // DATE: ISO 8601 text becomes a date
    DateTime,  // DATETIME, TIMESTAMP: likewise
    Decimal,   // DECIMAL, NUMERIC: numbers become exact decimals when they fit
    Currency,  // MONEY, CURRENCY: numbers become currency when they fit
};

DeclaredType ClassifyDeclaration(const char* declaration);
ColumnType ColumnTypeOf(DeclaredType declared);

// Appends column `column` of the current row, whose storage class is `storage`.
void AddValue(sqlite3_stmt* statement, int column, int storage, DeclaredType declared, ResultSet& result);

}  // namespace orvanta::providers::sqlite
