#pragma once

#include <sqlite3.h>

namespace orvanta::providers::sqlite {

// Owns one prepared statement.
class Statement {
public:
    explicit Statement(sqlite3_stmt* statement) : m_statement(statement) {}
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    sqlite3_stmt* Get() const { return m_statement; }

private:
    sqlite3_stmt* m_statement;
};

// True for statements whose nature is to change rows (INSERT, UPDATE, DELETE, REPLACE, and a WITH
// clause leading into one of them); their count is what a caller asks for as rows affected.
bool ChangesRows(sqlite3_stmt* statement);

}  // namespace orvanta::providers::sqlite
