#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "odbc/test_drivers.h"
#include "providers/odbc/errors.h"
#include "providers/odbc/rows.h"
#include "providers/odbc/session.h"
#include "providers/odbc/text.h"
#include "support/cell_text.h"
#include "support/loopback_listener.h"
#include "support/text.h"

namespace orvanta::providers {
namespace {

using testing::RowTexts;
using testing::U16;
using testing::U8;
using testing::odbc::TestDrivers;
using Rows = std::vector<std::vector<std::string>>;

constexpr std::int64_t kRefused = -2;  // in a table of row counts: the driver refuses the text

struct TypeCase {
    const char* declaration;
    const char* literal;
    ColumnType column;
    const char* cell;  // as CellText writes it
};

struct AffectedCase {
    const char* sql;
    std::int64_t affected;
};

// What differs between drivers, as data.
struct DriverCase {
    const char* name;
    std::function<std::string()> missing;  // why the driver cannot be tested here, or empty
    std::function<std::string()> connection;
    std::function<std::vector<std::string>()> otherConnections;  // further ways in that must work
    std::function<std::vector<std::string>()> refusedConnections;
    std::vector<TypeCase> types;
    const char* textType;
    const char* binaryType;
    std::function<std::string(const std::string& hex)> binaryLiteral;
    std::function<std::string(const std::string& column)> utf8Hex;  // the stored bytes, as upper-case hex
    std::vector<AffectedCase> affected;  // run in order on the table `t(a INTEGER)`
    ErrorKind syntaxErrorKind;
    bool severalStatements;   // one command text may hold several statements
    const char* sleepTwoSeconds;  // null when the driver has no command timeout
};

std::string SqliteMissing() {
    return TestDrivers::Get().SqliteLibrary().empty() ? "the SQLite ODBC driver (libsqliteodbc) is not installed" : "";
}

std::string PostgresMissing() {
    if (TestDrivers::Get().PostgresLibrary().empty()) return "the PostgreSQL ODBC driver (odbc-postgresql) is not installed";
    if (!TestDrivers::Get().Postgres()) return "no PostgreSQL server: start one with scripts/postgres-server.sh";
    return "";
}

std::string PostgresLogin() {
    const auto& server = *TestDrivers::Get().Postgres();
    return "UID=" + server.user + ";PWD={" + server.password + "}";
}

std::string PostgresDriverString() {
    const auto& server = *TestDrivers::Get().Postgres();
    return std::string("Driver={") + testing::odbc::kPostgresDriver + "};Server=" + server.server + ";Port=" + server.port +
           ";Database=" + server.database + ";BoolsAsChar=0;" + PostgresLogin();
}

const std::vector<DriverCase>& Drivers() {
    static const std::vector<DriverCase> drivers = {
        {
            "SQLite",
            SqliteMissing,
            [] { return std::string("DSN=") + testing::odbc::kSqliteDsn; },
            [] {
                const TestDrivers& registered = TestDrivers::Get();
                return std::vector<std::string>{
                    std::string("Driver={") + testing::odbc::kSqliteDriver + "};Database=" + registered.File("named.db"),
                    "Driver=" + registered.SqliteLibrary() + ";Database=" + registered.File("path.db") + ";StepAPI=1",
                    std::string("Provider=MSDASQL;DSN=") + testing::odbc::kSqliteDsn + ";Connect Timeout=3;Command Timeout=4",
                };
            },
            [] {
                return std::vector<std::string>{std::string("Driver={") + testing::odbc::kSqliteDriver +
                                                "};Database=/nonexistent/folder/x.db"};
            },
            {
                {"INTEGER", "-42", ColumnType::Int32, "Int32:-42"},
                {"INTEGER UNSIGNED", "4000000000", ColumnType::UInt32, "UInt32:4000000000"},
                {"SMALLINT", "-7", ColumnType::Int16, "Int16:-7"},
                {"BIGINT", "9000000000", ColumnType::Int64, "Int64:9000000000"},
                {"TINYINT", "-3", ColumnType::Int16, "Int16:-3"},  // signed here: an unsigned byte would lose the sign
                {"TINYINT UNSIGNED", "200", ColumnType::UInt8, "UInt8:200"},
                // SQLite keeps any integer in any integer column: it comes whole, in a wider cell.
                {"INTEGER", "9000000000", ColumnType::Int32, "Int64:9000000000"},
                {"SMALLINT", "70000", ColumnType::Int16, "Int32:70000"},
                {"TINYINT UNSIGNED", "300", ColumnType::UInt8, "Int32:300"},
                {"INTEGER UNSIGNED", "-5", ColumnType::UInt32, "Int32:-5"},
                {"REAL", "1.5", ColumnType::Double, "Double:1.5"},  // the driver widens REAL to DOUBLE
                {"DOUBLE", "2.25", ColumnType::Double, "Double:2.25"},
                {"NUMERIC(10,2)", "12.5", ColumnType::Double, "Double:12.5"},
                {"BIT", "1", ColumnType::Boolean, "Boolean:true"},
                {"DATE", "'2024-01-02'", ColumnType::Date, "Date:45293.00000000"},
                {"TIME", "'12:34:56'", ColumnType::Time, "Date:0.52425926"},
                {"TIMESTAMP", "'2024-01-02 03:04:05.5'", ColumnType::DateTime, "Date:45293.12784144"},
                {"TIMESTAMP", "'1899-12-29 06:00:00'", ColumnType::DateTime, "Date:-1.25000000"},
                {"BLOB", "x'00ff10'", ColumnType::Binary, "Bytes:00ff10"},
                {"TEXT", "'h\xC3\xA9llo'", ColumnType::Text, "Utf16:h\xC3\xA9llo"},
                // Longer than declared: the bound buffer is too short, the value comes whole all the same.
                {"VARCHAR(5)", "'longer than five'", ColumnType::Text, "Utf16:longer than five"},
            },
            "TEXT",
            "BLOB",
            [](const std::string& hex) { return "x'" + hex + "'"; },
            [](const std::string& column) { return "hex(" + column + ")"; },
            {
                {"CREATE TEMP TABLE t(a INTEGER)", 0},  // the driver counts DDL as 0 rows
                {"INSERT INTO t VALUES (1),(2),(3)", 3},
                {"UPDATE t SET a = a + 10 WHERE a > 1", 2},
                {"UPDATE t SET a = 0 WHERE a > 100", 0},
                {"SELECT a FROM t", -1},
                {"DELETE FROM t WHERE a = 1", 1},
                {"INSERT INTO t VALUES (4); DELETE FROM t", kRefused},
            },
            ErrorKind::General,  // the driver reports every engine error as HY000
            false,
            nullptr,
        },
        {
            "PostgreSQL",
            PostgresMissing,
            [] { return std::string("DSN=") + testing::odbc::kPostgresDsn + ";" + PostgresLogin(); },
            [] {
                const auto& server = *TestDrivers::Get().Postgres();
                return std::vector<std::string>{
                    PostgresDriverString(),
                    "Driver=" + TestDrivers::Get().PostgresLibrary() + ";Server=" + server.server + ";Port=" + server.port +
                        ";Database=" + server.database + ";" + PostgresLogin(),
                    // ADO's names for the login; the driver knows only UID and PWD.
                    std::string("Provider=MSDASQL;DSN=") + testing::odbc::kPostgresDsn + ";User ID=" + server.user +
                        ";Password='" + server.password + "';Connect Timeout=3",
                };
            },
            [] {
                const auto& server = *TestDrivers::Get().Postgres();
                return std::vector<std::string>{std::string("DSN=") + testing::odbc::kPostgresDsn + ";UID=" + server.user +
                                                ";PWD={Wr0ng;secret}"};
            },
            {
                {"INTEGER", "-42", ColumnType::Int32, "Int32:-42"},
                {"SMALLINT", "-7", ColumnType::Int16, "Int16:-7"},
                {"BIGINT", "9000000000", ColumnType::Int64, "Int64:9000000000"},
                {"REAL", "1.5", ColumnType::Float, "Float:1.5"},
                {"DOUBLE PRECISION", "2.25", ColumnType::Double, "Double:2.25"},
                {"NUMERIC(10,2)", "-12.5", ColumnType::Decimal, "Decimal:-12.50"},
                {"NUMERIC", "79228162514264337593543950335", ColumnType::Decimal, "Decimal:79228162514264337593543950335"},
                {"NUMERIC", "79228162514264337593543950336", ColumnType::Decimal, "Utf16:79228162514264337593543950336"},
                {"NUMERIC", "1.123456789012345678901234567890123", ColumnType::Decimal,
                 "Utf16:1.123456789012345678901234567890123"},
                {"NUMERIC", "'NaN'", ColumnType::Decimal, "Utf16:NaN"},
                {"BOOLEAN", "true", ColumnType::Boolean, "Boolean:true"},
                {"DATE", "'2024-01-02'", ColumnType::Date, "Date:45293.00000000"},
                {"TIME", "'12:34:56'", ColumnType::Time, "Date:0.52425926"},
                {"TIMESTAMP", "'2024-01-02 03:04:05.5'", ColumnType::DateTime, "Date:45293.12784144"},
                {"TIMESTAMP", "'1899-12-29 06:00:00'", ColumnType::DateTime, "Date:-1.25000000"},
                {"BYTEA", "'\\x00ff10'", ColumnType::Binary, "Bytes:00ff10"},
                {"TEXT", "'h\xC3\xA9llo'", ColumnType::Text, "Utf16:h\xC3\xA9llo"},
                {"CHAR(3)", "'ab'", ColumnType::Text, "Utf16:ab "},
                {"UUID", "'a6400d4a-ecd9-4b0a-ac23-395ddafb075b'", ColumnType::Text, "Utf16:A6400D4A-ECD9-4B0A-AC23-395DDAFB075B"},
                {"INTERVAL", "'1 day'", ColumnType::Text, "Utf16:1 day"},
            },
            "TEXT",
            "BYTEA",
            [](const std::string& hex) { return "'\\x" + hex + "'::bytea"; },
            [](const std::string& column) { return "upper(encode(convert_to(" + column + ", 'UTF8'), 'hex'))"; },
            {
                {"CREATE TEMP TABLE t(a INTEGER)", 0},
                {"INSERT INTO t VALUES (1),(2),(3)", 3},
                {"UPDATE t SET a = a + 10 WHERE a > 1", 2},
                {"UPDATE t SET a = 0 WHERE a > 100", 0},
                {"SELECT a FROM t", -1},
                {"INSERT INTO t VALUES (4); DELETE FROM t WHERE a = 1", 2},
                {"UPDATE t SET a = 0 WHERE a > 100; INSERT INTO t VALUES (5)", 1},
                {"SELECT 1; SELECT 2", -1},
                {"CREATE TEMP TABLE u(b INTEGER); SELECT 1", 0},
            },
            ErrorKind::CommandRejected,
            true,
            "SELECT pg_sleep(2)",
        },
    };
    return drivers;
}

void PrintTo(const DriverCase& driver, std::ostream* out) { *out << driver.name; }

class OdbcDriver : public ::testing::TestWithParam<DriverCase> {
protected:
    void SetUp() override {
        const std::string missing = GetParam().missing();
        if (missing.empty()) return;
        if (testing::odbc::RequireAllProviders()) {
            FAIL() << GetParam().name << ": " << missing;
        } else {
            GTEST_SKIP() << GetParam().name << ": " << missing;
        }
    }

    static std::unique_ptr<Session> Open(const std::string& connection, SessionOptions options = {}) {
        return odbc::Open(ConnectionString::Parse(U16(connection)), options);
    }
    std::unique_ptr<Session> Open() const { return Open(GetParam().connection()); }

    // Runs a statement that must succeed; a refusal fails the test with the driver's message.
    static std::int64_t Exec(Session& session, std::u16string_view sql) {
        try {
            return session.Execute(sql);
        } catch (const ProviderError& error) {
            ADD_FAILURE() << U8(sql.substr(0, sql.find_first_of(u"\n'"))) << "...: " << U8(error.Message());
            throw;
        }
    }

    static Rows Select(Session& session, const std::string& sql) {
        ResultSet rows;
        try {
            EXPECT_TRUE(session.Query(U16(sql), rows)) << sql;
        } catch (const ProviderError& error) {
            ADD_FAILURE() << sql << ": " << U8(error.Message());
            throw;
        }
        return RowTexts(rows);
    }
};

TEST_P(OdbcDriver, ConnectsThroughADsnAndThroughDriverStrings) {
    std::vector<std::string> connections = GetParam().otherConnections();
    connections.insert(connections.begin(), GetParam().connection());
    for (const std::string& connection : connections) {
        SCOPED_TRACE(connection);
        try {
            auto session = Open(connection);
            const Rows rows = Select(*session, "SELECT 1");
            ASSERT_EQ(rows.size(), 1u);
            // An integer, or with StepAPI=1 text: that driver types expressions before it has stepped.
            EXPECT_TRUE(rows[0] == std::vector<std::string>{"Int32:1"} || rows[0] == std::vector<std::string>{"Utf16:1"}) << rows[0][0];
        } catch (const ProviderError& error) {
            ADD_FAILURE() << U8(error.Message());
        }
    }
}

// The driver's own reason is kept, and no password shows in it.
TEST_P(OdbcDriver, RefusedConnectionsCarryTheDriversMessage) {
    for (const std::string& connection : GetParam().refusedConnections()) {
        SCOPED_TRACE(connection);
        try {
            Open(connection);
            ADD_FAILURE() << "connected";
        } catch (const ProviderError& error) {
            const std::string message = U8(error.Message());
            EXPECT_EQ(error.Kind(), ErrorKind::ConnectionFailed) << message;
            EXPECT_FALSE(error.SqlState().empty());
            EXPECT_NE(message.find("(SQLSTATE " + error.SqlState()), std::string::npos) << message;
            EXPECT_EQ(message.find("Wr0ng"), std::string::npos) << message;
        }
    }
}

TEST_P(OdbcDriver, StoresEachSqlTypeAsItsCell) {
    auto session = Open();
    for (const TypeCase& c : GetParam().types) {
        SCOPED_TRACE(std::string(c.declaration) + " " + c.literal);
        Exec(*session, U16(std::string("CREATE TEMP TABLE types(v ") + c.declaration + ")"));
        Exec(*session, U16(std::string("INSERT INTO types VALUES (") + c.literal + ")"));
        Exec(*session, u"INSERT INTO types VALUES (NULL)");
        ResultSet rows;
        ASSERT_TRUE(session->Query(u"SELECT v FROM types", rows));
        ASSERT_EQ(rows.Columns().size(), 1u);
        EXPECT_EQ(rows.Columns()[0].name, u"v");
        EXPECT_EQ(static_cast<int>(rows.Columns()[0].type), static_cast<int>(c.column));
        EXPECT_EQ(RowTexts(rows), (Rows{{c.cell}, {"Null"}}));
        Exec(*session, u"DROP TABLE types");
    }
}

TEST_P(OdbcDriver, CountsAffectedRows) {
    auto session = Open();
    for (const AffectedCase& c : GetParam().affected) {
        SCOPED_TRACE(c.sql);
        if (c.affected == kRefused) {
            EXPECT_THROW(session->Execute(U16(c.sql)), ProviderError);
        } else {
            EXPECT_EQ(Exec(*session, U16(c.sql)), c.affected);
        }
    }
    EXPECT_EQ(session->Execute(u""), -1) << "no statement at all";
}

// Several statements in one text all run, and the first row set is the result; a driver that
// takes one statement only refuses the text rather than running part of it.
TEST_P(OdbcDriver, RunsEveryStatementOfAQueryOrNone) {
    auto session = Open();
    Exec(*session, u"CREATE TEMP TABLE t(a INTEGER)");
    ResultSet rows;
    const std::u16string batch = u"INSERT INTO t VALUES (1); SELECT a FROM t; INSERT INTO t VALUES (2)";
    if (GetParam().severalStatements) {
        ASSERT_TRUE(session->Query(batch, rows));
        EXPECT_EQ(RowTexts(rows), (Rows{{"Int32:1"}}));
        EXPECT_EQ(Select(*session, "SELECT a FROM t ORDER BY a"), (Rows{{"Int32:1"}, {"Int32:2"}}));
    } else {
        EXPECT_THROW(session->Query(batch, rows), ProviderError);
        EXPECT_EQ(Select(*session, "SELECT a FROM t"), Rows{});
    }
    ResultSet none;
    EXPECT_FALSE(session->Query(u"INSERT INTO t VALUES (3)", none));
    EXPECT_TRUE(none.Columns().empty());
}

TEST_P(OdbcDriver, RejectedStatementsCarryTheDiagnostics) {
    auto session = Open();
    const char* statements[] = {"SELEC 1", "SELECT * FROM orvanta_missing_table"};
    for (const char* sql : statements) {
        SCOPED_TRACE(sql);
        try {
            session->Execute(U16(sql));
            ADD_FAILURE() << "no error";
        } catch (const ProviderError& error) {
            const std::string message = U8(error.Message());
            EXPECT_FALSE(error.SqlState().empty());
            EXPECT_NE(message.find("(SQLSTATE " + error.SqlState() + ", native error "), std::string::npos) << message;
            if (std::string(sql) == "SELEC 1") {
                EXPECT_EQ(error.Kind(), GetParam().syntaxErrorKind) << message;
                EXPECT_NE(message.find("syntax error"), std::string::npos) << message;
            }
        }
    }
    // The session stays usable.
    EXPECT_EQ(Select(*session, "SELECT 1"), (Rows{{"Int32:1"}}));
}

TEST_P(OdbcDriver, KeepsTextOutsideTheBasicPlaneAndRefusesLoneSurrogates) {
    auto session = Open();
    const std::string text = "\xF0\x9F\x98\x80\xF0\x9D\x84\x9E\xC3\xA9";  // 😀𝄞é
    Exec(*session, U16("CREATE TEMP TABLE t(\"n" + text + "\" " + GetParam().textType + ")"));
    Exec(*session, U16("INSERT INTO t VALUES ('" + text + "')"));
    ResultSet rows;
    ASSERT_TRUE(session->Query(U16("SELECT t.*, " + GetParam().utf8Hex("\"n" + text + "\"") + " FROM t"), rows));
    EXPECT_EQ(U8(rows.Columns().at(0).name), "n" + text);
    // Stored as UTF-8: no conversion on the way lost or replaced a character.
    EXPECT_EQ(RowTexts(rows), (Rows{{"Utf16:" + text, "Utf16:F09F9880F09D849EC3A9"}}));

    std::u16string broken = u"SELECT '";
    broken += char16_t(0xD83D);
    broken += u"'";
    try {
        session->Execute(broken);
        ADD_FAILURE() << "accepted a lone surrogate";
    } catch (const ProviderError& error) {
        EXPECT_EQ(error.Kind(), ErrorKind::InvalidArgument);
    }
}

// About 1 MB each, with characters of every UTF-16 length at every offset.
std::u16string LongText() {
    std::u16string text;
    const std::u16string pattern = u"ab\u20AC\U0001F600x\U0001D11E";
    while (text.size() < (1u << 20)) text += pattern;
    return text;
}

std::string LongBinaryHex() {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < (1u << 20) + 3; ++i) {
        const auto byte = static_cast<unsigned char>(i * 7 + i / 251);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

TEST_P(OdbcDriver, ReadsLongTextAndBinaryWhole) {
    auto session = Open();
    Exec(*session, U16(std::string("CREATE TEMP TABLE big(id INTEGER, t ") + GetParam().textType + ", b " +
                         GetParam().binaryType + ")"));
    const std::u16string text = LongText();
    const std::string hex = LongBinaryHex();
    Exec(*session, u"INSERT INTO big VALUES (1, '" + text + u"', " + U16(GetParam().binaryLiteral(hex)) + u")");
    Exec(*session, U16("INSERT INTO big VALUES (2, 'short', " + GetParam().binaryLiteral("01") + ")"));

    ResultSet rows;
    ASSERT_TRUE(session->Query(u"SELECT id, t, b FROM big ORDER BY id", rows));
    const Rows expected = {{"Int32:1", "Utf16:" + U8(text), "Bytes:" + hex}, {"Int32:2", "Utf16:short", "Bytes:01"}};
    const Rows actual = RowTexts(rows);
    ASSERT_EQ(actual.size(), 2u);
    for (std::size_t row = 0; row < 2; ++row) {
        for (std::size_t column = 0; column < 3; ++column) {
            SCOPED_TRACE(::testing::PrintToString(row) + "/" + ::testing::PrintToString(column));
            EXPECT_EQ(actual[row][column].size(), expected[row][column].size());
            EXPECT_TRUE(actual[row][column] == expected[row][column]);
        }
    }
}

TEST_P(OdbcDriver, StopsACommandAtItsTimeout) {
    if (!GetParam().sleepTwoSeconds) GTEST_SKIP() << GetParam().name << ": the driver has no command timeout";
    auto session = Open(GetParam().connection(), {15, 0});
    EXPECT_NO_THROW(Exec(*session, U16(GetParam().sleepTwoSeconds))) << "0 is no limit";
    session->SetCommandTimeout(1);
    try {
        session->Execute(U16(GetParam().sleepTwoSeconds));
        ADD_FAILURE() << "no timeout";
    } catch (const ProviderError& error) {
        EXPECT_EQ(error.Kind(), ErrorKind::Timeout) << U8(error.Message());
    }
    EXPECT_EQ(Select(*session, "SELECT 1"), (Rows{{"Int32:1"}}));
}

// The same rows, whichever way the driver lets us read them: bound columns (read again whole when
// too long), SQLGetData for the variable ones, SQLGetData only after the bound ones, and blocks of
// rows. Each way is what a driver with fewer abilities gets.
TEST_P(OdbcDriver, ReadsTheSameRowsWhicheverWayColumnsAreFetched) {
    odbc::Handle environment = odbc::Allocate(SQL_HANDLE_ENV, nullptr);
    SQLSetEnvAttr(environment.Get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQLULEN{SQL_OV_ODBC3}), 0);
    odbc::Handle connection = odbc::Allocate(SQL_HANDLE_DBC, &environment);
    const std::u16string text = U16(GetParam().connection());
    const SQLRETURN rc = SQLDriverConnectW(connection.Get(), nullptr, odbc::Wide(text.c_str()),
                                           static_cast<SQLSMALLINT>(text.size()), nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    ASSERT_TRUE(SQL_SUCCEEDED(rc)) << U8(odbc::DiagnosticError(connection, rc, odbc::Stage::Connect).Message());
    connection.SetNarrowText(odbc::NeedsNarrowText(connection));
    const auto run = [&](const std::string& sql, const odbc::FetchOptions* options) {
        odbc::Handle statement = odbc::Allocate(SQL_HANDLE_STMT, &connection);
        const std::u16string wide = U16(sql);
        odbc::Check(odbc::ExecuteDirect(statement, wide), statement);
        ResultSet rows;
        if (options) odbc::FetchRows(statement, *options, rows);
        return RowTexts(rows);
    };

    run(std::string("CREATE TEMP TABLE m(id INTEGER, t ") + GetParam().textType + ", r DOUBLE PRECISION, b " +
            GetParam().binaryType + ", n INTEGER)",
        nullptr);
    const std::string longText(3000, 'x');
    Rows mixed;
    for (int id = 1; id <= 7; ++id) {
        const std::string value = id == 3 ? longText : "text " + std::to_string(id);
        const std::string bytes = id == 5 ? std::string(1500, 'a') : "0" + std::to_string(id);
        const bool nulls = id % 4 == 0;
        run("INSERT INTO m VALUES (" + std::to_string(id) + ", " + (nulls ? "NULL" : "'" + value + "'") + ", " +
                std::to_string(id) + ".5, " + (nulls ? "NULL" : GetParam().binaryLiteral(bytes)) + ", " +
                (nulls ? "NULL" : std::to_string(id * 10)) + ")",
            nullptr);
        mixed.push_back({"Int32:" + std::to_string(id), nulls ? "Null" : "Utf16:" + value, "Double:" + std::to_string(id) + ".5",
                         nulls ? "Null" : "Bytes:" + bytes, nulls ? "Null" : "Int32:" + std::to_string(id * 10)});
    }
    Rows numbers;
    for (const auto& row : mixed) numbers.push_back({row[0], row[2], row[4]});

    const odbc::DriverCapabilities own = odbc::QueryCapabilities(connection);
    struct Way {
        const char* label;
        odbc::DriverCapabilities capabilities;
    };
    const Way ways[] = {
        {"the driver's own", own},
        {"SQLGetData on any column", {own.getDataAnyColumn, false}},
        {"SQLGetData after the bound columns only", {false, false}},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.label);
        const odbc::FetchOptions options{way.capabilities, 3};  // blocks of 3 rows: the last one is short
        EXPECT_EQ(run("SELECT id, t, r, b, n FROM m ORDER BY id", &options), mixed);
        EXPECT_EQ(run("SELECT id, r, n FROM m ORDER BY id", &options), numbers);
        EXPECT_EQ(run("SELECT id FROM m WHERE id < 0", &options), Rows{});
    }
    SQLDisconnect(connection.Get());
}

INSTANTIATE_TEST_SUITE_P(Drivers, OdbcDriver, ::testing::ValuesIn(Drivers()),
                         [](const ::testing::TestParamInfo<DriverCase>& driver) { return std::string(driver.param.name); });

// Failures of the driver manager itself, before any driver runs.
TEST(OdbcDriverManager, NamesAMissingDataSourceOrDriver) {
    TestDrivers::Get();
    struct Case {
        const char* connection;
        const char* message;
    };
    const Case cases[] = {
        {"DSN=orvanta_no_such_source", "Data source name not found"},
        {"Driver={Orvanta No Such Driver};Database=x", "Can't open lib"},
        {"", "Data source name not found"},
        // The driver manager repeats the driver's name; the password is masked wherever it shows.
        {"Driver={orvanta-s3cret};PWD=orvanta-s3cret", "Can't open lib '****'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.connection);
        try {
            odbc::Open(ConnectionString::Parse(U16(c.connection)), {});
            ADD_FAILURE() << "connected";
        } catch (const ProviderError& error) {
            EXPECT_EQ(error.Kind(), ErrorKind::ConnectionFailed);
            EXPECT_NE(U8(error.Message()).find(c.message), std::string::npos) << U8(error.Message());
            EXPECT_EQ(U8(error.Message()).find("s3cret"), std::string::npos) << U8(error.Message());
        }
    }
}

// A server that accepts the connection and then says nothing: the login timeout ends the wait.
TEST(OdbcDriverManager, GivesUpAtTheLoginTimeout) {
    if (TestDrivers::Get().PostgresLibrary().empty()) {
        if (testing::odbc::RequireAllProviders()) FAIL() << "the PostgreSQL ODBC driver is not installed";
        GTEST_SKIP() << "the PostgreSQL ODBC driver (odbc-postgresql) is not installed";
    }
    const testing::LoopbackListener listener;
    const std::string connection = std::string("Driver={") + testing::odbc::kPostgresDriver +
                                   "};Server=127.0.0.1;Port=" + std::to_string(listener.Port()) +
                                   ";Database=x;UID=x;PWD=x;SSLMode=disable";
    const auto start = std::chrono::steady_clock::now();
    try {
        odbc::Open(ConnectionString::Parse(U16(connection)), {1, 30});
        ADD_FAILURE() << "connected";
    } catch (const ProviderError& error) {
        EXPECT_EQ(error.Kind(), ErrorKind::ConnectionFailed) << U8(error.Message());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << "the 1 s login timeout was not applied";
}

TEST(OdbcDriverManager, IsTheProviderWhenNoneIsNamed) {
    for (const char16_t* text : {u"DSN=x", u"Provider=MSDASQL;DSN=x", u"provider=msdasql"}) {
        SCOPED_TRACE(U8(text));
        const ProviderEntry* entry = FindProvider(ConnectionString::Parse(text));
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->open, &odbc::Open);
    }
}

}  // namespace
}  // namespace orvanta::providers
