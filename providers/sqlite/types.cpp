#include "providers/sqlite/types.h"

#include <string_view>

#include "providers/value_text.h"

namespace orvanta::providers::sqlite {
namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool Contains(std::string_view text, std::string_view word) {
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        bool match = true;
        for (std::size_t k = 0; k < word.size() && match; ++k) match = Upper(text[i + k]) == word[k];
        if (match) return true;
    }
    return false;
}

// The first word of a declaration: "DECIMAL" of "decimal(10, 2)".
bool FirstWordIs(std::string_view text, std::string_view word) {
    std::size_t start = 0;
    while (start < text.size() && text[start] == ' ') ++start;
    std::size_t end = start;
    while (end < text.size() && ((Upper(text[end]) >= 'A' && Upper(text[end]) <= 'Z') || text[end] == '_')) ++end;
    if (end - start != word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (Upper(text[start + i]) != word[i]) return false;
    }
    return true;
}

std::string_view Text(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    const int bytes = sqlite3_column_bytes(statement, column);
    return {text ? text : "", static_cast<std::size_t>(bytes)};
}

void AddByStorage(sqlite3_stmt* statement, int column, int storage, ResultSet& result) {
    switch (storage) {
        case SQLITE_INTEGER:
            result.AddInteger(sqlite3_column_int64(statement, column));
            break;
        case SQLITE_FLOAT:
            result.AddDouble(sqlite3_column_double(statement, column));
            break;
        case SQLITE_TEXT:
            result.AddUtf8(Text(statement, column));
            break;
        case SQLITE_BLOB: {
            const void* data = sqlite3_column_blob(statement, column);
            result.AddBytes(data, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
            break;
        }
        default:
            result.AddNull();
            break;
    }
}

// The declared meaning, when the stored value carries it; false leaves the value to its storage.
bool AddByDeclaration(sqlite3_stmt* statement, int column, int storage, DeclaredType declared, ResultSet& result) {
    switch (declared) {
        case DeclaredType::Boolean:
            if (storage != SQLITE_INTEGER) return false;
            result.AddBoolean(sqlite3_column_int64(statement, column) != 0);
            return true;
        case DeclaredType::Date:
        case DeclaredType::DateTime: {
            if (storage != SQLITE_TEXT) return false;
            const auto date = ParseIsoDateTime(Text(statement, column));
            if (!date) return false;
            result.AddDate(*date);
            return true;
        }
        case DeclaredType::Decimal: {
            if (storage != SQLITE_INTEGER && storage != SQLITE_FLOAT && storage != SQLITE_TEXT) return false;
            // The engine's text of a real has the fifteen digits a double holds reliably.
            const auto decimal = ParseDecimal(Text(statement, column), DecimalSyntax::Loose);
            if (!decimal) return false;
            result.AddDecimal(*decimal);
            return true;
        }
        case DeclaredType::Currency: {
            if (storage != SQLITE_INTEGER && storage != SQLITE_FLOAT && storage != SQLITE_TEXT) return false;
            const auto currency = ParseCurrency(Text(statement, column));
            if (!currency) return false;
            result.AddCurrency(*currency);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

DeclaredType ClassifyDeclaration(const char* declaration) {
    if (!declaration || !*declaration) return DeclaredType::None;
    const std::string_view text(declaration);
    if (FirstWordIs(text, "BOOLEAN") || FirstWordIs(text, "BOOL")) return DeclaredType::Boolean;
    if (FirstWordIs(text, "DATE")) return DeclaredType::Date;
    if (FirstWordIs(text, "DATETIME") || FirstWordIs(text, "TIMESTAMP")) return DeclaredType::DateTime;
    if (FirstWordIs(text, "DECIMAL") || FirstWordIs(text, "NUMERIC")) return DeclaredType::Decimal;
    if (FirstWordIs(text, "MONEY") || FirstWordIs(text, "CURRENCY")) return DeclaredType::Currency;
    // The engine's own affinity rules, in its order.
    if (Contains(text, "INT")) return DeclaredType::Integer;
    if (Contains(text, "CHAR") || Contains(text, "CLOB") || Contains(text, "TEXT")) return DeclaredType::Text;
    if (Contains(text, "BLOB")) return DeclaredType::Blob;
    if (Contains(text, "REAL") || Contains(text, "FLOA") || Contains(text, "DOUB")) return DeclaredType::Real;
    return DeclaredType::None;
}

ColumnType ColumnTypeOf(DeclaredType declared) {
    switch (declared) {
        case DeclaredType::Integer: return ColumnType::Int64;
        case DeclaredType::Real: return ColumnType::Double;
        case DeclaredType::Text: return ColumnType::Text;
        case DeclaredType::Blob: return ColumnType::Binary;
        case DeclaredType::Boolean: return ColumnType::Boolean;
        case DeclaredType::Date: return ColumnType::Date;
        case DeclaredType::DateTime: return ColumnType::DateTime;
        case DeclaredType::Decimal: return ColumnType::Decimal;
        case DeclaredType::Currency: return ColumnType::Currency;
        case DeclaredType::None: return ColumnType::Unknown;
    }
    return ColumnType::Unknown;
}

void AddValue(sqlite3_stmt* statement, int column, int storage, DeclaredType declared, ResultSet& result) {
    if (declared != DeclaredType::None && AddByDeclaration(statement, column, storage, declared, result)) return;
    AddByStorage(statement, column, storage, result);
}

}  // namespace orvanta::providers::sqlite
