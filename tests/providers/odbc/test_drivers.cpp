#include "odbc/test_drivers.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "providers/connection_string.h"
#include "support/temp_dir.h"
#include "support/text.h"

namespace orvanta::testing::odbc {
namespace {

std::string Installed(const char* path) { return std::filesystem::exists(path) ? path : std::string(); }

std::optional<PostgresServer> PostgresFromEnvironment() {
    const char* text = std::getenv("ORVANTA_TEST_POSTGRESQL");
    if (!text || !*text) return std::nullopt;
    const auto properties = providers::ConnectionString::Parse(U16(text));
    const auto value = [&](std::initializer_list<std::u16string_view> keys, const char* fallback) {
        const std::u16string* found = properties.FindAny(keys);
        return found ? U8(*found) : std::string(fallback);
    };
    return PostgresServer{value({u"Server", u"Host"}, "127.0.0.1"), value({u"Port"}, "5432"), value({u"Database"}, "postgres"),
                          value({u"User ID", u"UID"}, ""), value({u"Password", u"PWD"}, "")};
}

void Write(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path);
    file << text;
    if (!file.flush()) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

const TestDrivers& TestDrivers::Get() {
    static const TestDrivers drivers;
    return drivers;
}

TestDrivers::TestDrivers()
    : m_sqliteLibrary(Installed(ORVANTA_TEST_ODBC_SQLITE_DRIVER)),
      m_postgresLibrary(Installed(ORVANTA_TEST_ODBC_POSTGRESQL_DRIVER)),
      m_postgres(PostgresFromEnvironment()) {
    static const TempDir folder;
    m_folder = folder.Path().string();

    std::string drivers;
    if (!m_sqliteLibrary.empty()) drivers += std::string("[") + kSqliteDriver + "]\nDriver = " + m_sqliteLibrary + "\n\n";
    if (!m_postgresLibrary.empty()) drivers += std::string("[") + kPostgresDriver + "]\nDriver = " + m_postgresLibrary + "\n\n";
    Write(folder.Path() / "odbcinst.ini", drivers);

    std::string sources = std::string("[") + kSqliteDsn + "]\nDriver = " + kSqliteDriver + "\nDatabase = " + File("dsn.db") + "\n\n";
    if (m_postgres) {
        // BoolsAsChar=0: booleans arrive as SQL_BIT rather than as the text "1" or "0".
        sources += std::string("[") + kPostgresDsn + "]\nDriver = " + kPostgresDriver + "\nServername = " + m_postgres->server +
                   "\nPort = " + m_postgres->port + "\nDatabase = " + m_postgres->database + "\nBoolsAsChar = 0\n\n";
    }
    Write(folder.Path() / "odbc.ini", sources);

    setenv("ODBCSYSINI", m_folder.c_str(), 1);
    setenv("ODBCINSTINI", "odbcinst.ini", 1);
    setenv("ODBCINI", (folder.Path() / "odbc.ini").c_str(), 1);
}

std::string TestDrivers::File(const std::string& name) const { return (std::filesystem::path(m_folder) / name).string(); }

bool RequireAllProviders() {
    const char* value = std::getenv("ORVANTA_REQUIRE_ALL_PROVIDERS");
    return value && std::string(value) == "1";
}

}  // namespace orvanta::testing::odbc
