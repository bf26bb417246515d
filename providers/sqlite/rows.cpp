#include "providers/sqlite/rows.h"

#include <vector>

#include "providers/sqlite/types.h"

namespace orvanta::providers::sqlite {
namespace {

// Columns without a declared type (expressions) take the type of their first value.
ColumnType TypeOfStorage(int storage) {
    switch (storage) {
        case SQLITE_INTEGER: return ColumnType::Int64;
        case SQLITE_FLOAT: return ColumnType::Double;
        case SQLITE_TEXT: return ColumnType::Text;
        case SQLITE_BLOB: return ColumnType::Binary;
        default: return ColumnType::Unknown;
    }
}

}  // namespace

int FetchRows(sqlite3_stmt* statement, ResultSet& result) {
    const int count = sqlite3_column_count(statement);
    std::vector<Column>& columns = result.Columns();
    std::vector<DeclaredType> declared(static_cast<std::size_t>(count));
    columns.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        declared[i] = ClassifyDeclaration(sqlite3_column_decltype(statement, i));
        const auto* name = static_cast<const char16_t*>(sqlite3_column_name16(statement, i));
        columns[i].name = name ? name : u"";
        columns[i].type = ColumnTypeOf(declared[i]);
    }

    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        result.BeginRow();
        for (int i = 0; i < count; ++i) {
            const int storage = sqlite3_column_type(statement, i);
            if (columns[i].type == ColumnType::Unknown) columns[i].type = TypeOfStorage(storage);
            AddValue(statement, i, storage, declared[i], result);
        }
        result.EndRow();
    }
    return rc;
}

}  // namespace orvanta::providers::sqlite
