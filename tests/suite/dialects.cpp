#include "suite/dialects.h"

#include <cstdlib>
#include <iterator>

#if ORVANTA_SUITE_ODBC
#include "odbc/test_drivers.h"
#endif
#include "support/temp_dir.h"
#include "support/text.h"

namespace orvanta::testing {
namespace {

std::u16string SqliteFile(const char* name) {
    static const TempDir folder;
    return U16(folder.File(name));
}

std::optional<std::u16string> Sqlite() { return u"Provider=SQLite;Data Source=" + SqliteFile("suite.db"); }

std::optional<std::u16string> Postgres() {
    const char* text = std::getenv("ORVANTA_TEST_POSTGRESQL");
    if (!text || !*text) return std::nullopt;
    return U16(text);
}

#if ORVANTA_SUITE_ODBC
std::optional<std::u16string> OdbcSqlite() {
    const auto& drivers = odbc::TestDrivers::Get();
    if (drivers.SqliteLibrary().empty()) return std::nullopt;
    // No Provider key: the ODBC provider, as on the platform.
    return U16(std::string("Driver={") + odbc::kSqliteDriver + "};Database=") + SqliteFile("odbc.db") +
           u"";
}

std::optional<std::u16string> OdbcPostgres() {
    const auto& drivers = odbc::TestDrivers::Get();
    if (drivers.PostgresLibrary().empty() || !drivers.Postgres()) return std::nullopt;
    const auto& server = *drivers.Postgres();
    return U16("Provider=MSDASQL;DSN=" + std::string(odbc::kPostgresDsn) + ";UID=" + server.user +
               ";PWD=" + server.password);
}
#else
std::optional<std::u16string> OdbcSqlite() { return std::nullopt; }
std::optional<std::u16string> OdbcPostgres() { return std::nullopt; }
#endif

#define SERIES_SQLITE "WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < %d) SELECT i FROM s"
#define SERIES_POSTGRES "SELECT i FROM generate_series(1, %d) AS s(i)"

}  // namespace

const Dialect kDialects[] = {
    {"sqlite",
     Sqlite,
     {{"INTEGER", "42", "42", VT_I4},
      {"BIGINT", "5000000000", "5000000000", VT_I8},
      {"REAL", "2.5", "2.5", VT_R8},
      {"TEXT", "'a,b' || char(13, 10) || 'c \U0001F600'", "a\uFF0CbKRAVENLIXc \U0001F600", VT_BSTR},
      {"DATETIME", "'2024-02-29 13:45:10'", "2024-02-29 13:45:10", VT_DATE},
      {"BOOLEAN", "1", "T", VT_BOOL},
      {"NUMERIC(12,2)", "12.34", "12.34", VT_DECIMAL},
      {"TEXT", "NULL", "", VT_NULL}},
     SERIES_SQLITE,
     nullptr,
     -1},
    {"postgresql",
     Postgres,
     {{"INTEGER", "42", "42", VT_I4},
      {"BIGINT", "5000000000", "5000000000", VT_I8},
      {"DOUBLE PRECISION", "2.5", "2.5", VT_R8},
      {"TEXT", "'a,b' || chr(13) || chr(10) || 'c \U0001F600'", "a\uFF0CbKRAVENLIXc \U0001F600", VT_BSTR},
      {"TIMESTAMP", "'2024-02-29 13:45:10'", "2024-02-29 13:45:10", VT_DATE},
      {"BOOLEAN", "TRUE", "T", VT_BOOL},
      {"NUMERIC(12,2)", "12.34", "12.34", VT_DECIMAL},
      {"TEXT", "NULL", "", VT_NULL}},
     SERIES_POSTGRES,
     "SELECT pg_terminate_backend(pg_backend_pid())",
     -1},
    {"odbc_sqlite",
     OdbcSqlite,
     {{"INTEGER", "42", "42", VT_I4},
      {"BIGINT", "5000000000", "5000000000", VT_I8},
      {"DOUBLE", "2.5", "2.5", VT_R8},
      {"VARCHAR(100)", "'a,b' || char(13, 10) || 'c \U0001F600'", "a\uFF0CbKRAVENLIXc \U0001F600", VT_BSTR},
      {"TIMESTAMP", "'2024-02-29 13:45:10'", "2024-02-29 13:45:10", VT_DATE},
      {"BIT", "1", "T", VT_BOOL},
      {"NUMERIC(12,2)", "12.34", "12.34", VT_R8},
      {"VARCHAR(100)", "NULL", "", VT_NULL}},
     SERIES_SQLITE,
     nullptr,
     0},
    {"odbc_postgresql",
     OdbcPostgres,
     {{"INTEGER", "42", "42", VT_I4},
      {"BIGINT", "5000000000", "5000000000", VT_I8},
      {"DOUBLE PRECISION", "2.5", "2.5", VT_R8},
      {"TEXT", "'a,b' || chr(13) || chr(10) || 'c \U0001F600'", "a\uFF0CbKRAVENLIXc \U0001F600", VT_BSTR},
      {"TIMESTAMP", "'2024-02-29 13:45:10'", "2024-02-29 13:45:10", VT_DATE},
      {"BOOLEAN", "TRUE", "T", VT_BOOL},
      {"NUMERIC(12,2)", "12.34", "12.34", VT_DECIMAL},
      {"TEXT", "NULL", "", VT_NULL}},
     SERIES_POSTGRES,
     "SELECT pg_terminate_backend(pg_backend_pid())",
     0},
};

const std::size_t kDialectCount = std::size(kDialects);

bool RequireAllProviders() {
    const char* value = std::getenv("ORVANTA_REQUIRE_ALL_PROVIDERS");
    return value && std::string(value) == "1";
}

}  // namespace orvanta::testing
