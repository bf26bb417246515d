#include "providers/sqlite/types.h"

#include <string_view>

namespace orvanta::providers::sqlite {
namespace {

bool Contains(std::string_view text, std::string_view word) {
    if (word.size() > text.size()) return false;
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        bool match = true;
        for (std::size_t k = 0; k < word.size() && match; ++k) {
            const char c = text[i + k];
            match = (c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) == word[k];
        }
        if (match) return true;
    }
    return false;
}

}  // namespace

// The engine's own affinity rules, in its order.
DeclaredType ClassifyDeclaration(const char* declaration) {
    if (!declaration || !*declaration) return DeclaredType::None;
    const std::string_view text(declaration);
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
        case DeclaredType::None: return ColumnType::Unknown;
    }
    return ColumnType::Unknown;
}

void AddValue(sqlite3_stmt* statement, int column, int storage, DeclaredType /*declared*/, ResultSet& result) {
    switch (storage) {
        case SQLITE_INTEGER:
            result.AddInteger(sqlite3_column_int64(statement, column));
            break;
        case SQLITE_FLOAT:
            result.AddDouble(sqlite3_column_double(statement, column));
            break;
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            const int bytes = sqlite3_column_bytes(statement, column);
            result.AddUtf8(std::string_view(text ? text : "", static_cast<std::size_t>(bytes)));
            break;
        }
        case SQLITE_BLOB: {
            const void* data = sqlite3_column_blob(statement, column);
            const int bytes = sqlite3_column_bytes(statement, column);
            result.AddBytes(data, static_cast<std::size_t>(bytes));
            break;
        }
        default:
            result.AddNull();
            break;
    }
}

}  // namespace orvanta::providers::sqlite
