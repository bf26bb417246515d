// What differs between the engines the suite runs against, as data: type names, literals, what
// DDL reports, what each declared type turns into, and what an engine can do at all.
#pragma once

#include <optional>
#include <string>

#include <oleauto.h>

namespace orvanta::testing {

struct ColumnExpectation {
    const char* type;       // the declared type in CREATE TABLE
    const char* literal;    // a value of it in INSERT
    const char* text;       // its text in the query block
    VARTYPE variantType;    // what Field.Value carries
};

struct Dialect {
    const char* name;
    // The connection string; empty when the engine or its server is not available here.
    std::optional<std::u16string> (*connection)();
    ColumnExpectation columns[8];  // integer, bigint, real, text, timestamp, boolean, decimal, null text
    const char* series;            // a query of rows 1..n: "%d" is n, the column is named i
    const char* endSession;        // a statement that ends the session on the server; null: none
    int ddlAffected;               // what a CREATE TABLE reports as rows affected (ODBC drivers say 0)
};

extern const Dialect kDialects[];
extern const std::size_t kDialectCount;

// ORVANTA_REQUIRE_ALL_PROVIDERS=1: an engine that cannot run fails its cases instead of skipping.
bool RequireAllProviders();

}  // namespace orvanta::testing
