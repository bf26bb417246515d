// The ODBC drivers and data sources of the tests, registered for this process only: odbcinst.ini
// and odbc.ini go into a folder of their own, and ODBCSYSINI, ODBCINSTINI and ODBCINI point the
// driver manager at them before its first call. Nothing is registered system-wide.
#pragma once

#include <optional>
#include <string>

namespace orvanta::testing::odbc {

inline constexpr char kSqliteDriver[] = "Orvanta Test SQLite3";
inline constexpr char kPostgresDriver[] = "Orvanta Test PostgreSQL";
inline constexpr char kSqliteDsn[] = "orvanta_test_sqlite";
inline constexpr char kPostgresDsn[] = "orvanta_test_postgresql";

// The throw-away server of scripts/postgres-server.sh, from ORVANTA_TEST_POSTGRESQL.
struct PostgresServer {
    std::string server;
    std::string port;
    std::string database;
    std::string user;
    std::string password;
};

class TestDrivers {
public:
    // Writes the files and sets the environment on first use.
    static const TestDrivers& Get();

    // The driver libraries of this build's bitness; empty when one is not installed.
    const std::string& SqliteLibrary() const { return m_sqliteLibrary; }
    const std::string& PostgresLibrary() const { return m_postgresLibrary; }
    const std::optional<PostgresServer>& Postgres() const { return m_postgres; }
    // Where the SQLite data sources keep their database files.
    std::string File(const std::string& name) const;

private:
    TestDrivers();

    std::string m_folder;
    std::string m_sqliteLibrary;
    std::string m_postgresLibrary;
    std::optional<PostgresServer> m_postgres;
};

// ORVANTA_REQUIRE_ALL_PROVIDERS=1: a missing driver or server fails instead of skipping.
bool RequireAllProviders();

}  // namespace orvanta::testing::odbc
