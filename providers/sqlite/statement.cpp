#include "providers/sqlite/statement.h"

#include <cctype>
#include <string_view>

namespace orvanta::providers::sqlite {
namespace {

// The statement's first keyword, after blanks and comments.
std::string_view FirstKeyword(std::string_view sql) {
    std::size_t i = 0;
    while (i < sql.size()) {
        if (std::isspace(static_cast<unsigned char>(sql[i]))) {
            ++i;
        } else if (sql.compare(i, 2, "--") == 0) {
            const std::size_t end = sql.find('\n', i);
            i = end == std::string_view::npos ? sql.size() : end + 1;
        } else if (sql.compare(i, 2, "/*") == 0) {
            const std::size_t end = sql.find("*/", i + 2);
            i = end == std::string_view::npos ? sql.size() : end + 2;
        } else {
            break;
        }
    }
    std::size_t end = i;
    while (end < sql.size() && std::isalpha(static_cast<unsigned char>(sql[end]))) ++end;
    return sql.substr(i, end - i);
}

bool IsKeyword(std::string_view word, std::string_view keyword) {
    if (word.size() != keyword.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(word[i])) != keyword[i]) return false;
    }
    return true;
}

}  // namespace

bool ChangesRows(sqlite3_stmt* statement) {
    const char* sql = sqlite3_sql(statement);
    if (!sql) return false;
    const std::string_view keyword = FirstKeyword(sql);
    if (IsKeyword(keyword, "INSERT") || IsKeyword(keyword, "UPDATE") || IsKeyword(keyword, "DELETE") ||
        IsKeyword(keyword, "REPLACE")) {
        return true;
    }
    return IsKeyword(keyword, "WITH") && !sqlite3_stmt_readonly(statement);
}

}  // namespace orvanta::providers::sqlite
