// The PostgreSQL provider against a real server: ORVANTA_TEST_POSTGRESQL holds its connection
// string (scripts/postgres-server.sh starts a throw-away one). Without it these tests skip, unless
// ORVANTA_REQUIRE_ALL_PROVIDERS=1 makes that a failure.
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "fake_postgres_server.h"
#include "providers/postgresql/session.h"
#include "support/cell_text.h"
#include "support/loopback_listener.h"
#include "support/text.h"

namespace orvanta::providers {
namespace {

using orvanta::testing::RowText;
using orvanta::testing::U16;
using orvanta::testing::U8;
using Clock = std::chrono::steady_clock;

ProviderError ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const ProviderError& error) {
        return error;
    }
    ADD_FAILURE() << "no error";
    return ProviderError(ErrorKind::General, u"");
}

class PostgresSession : public ::testing::Test {
protected:
    void SetUp() override {
        const char* text = std::getenv("ORVANTA_TEST_POSTGRESQL");
        if (!text || !*text) {
            const char* require = std::getenv("ORVANTA_REQUIRE_ALL_PROVIDERS");
            if (require && std::string(require) == "1") {
                FAIL() << "ORVANTA_TEST_POSTGRESQL is not set and ORVANTA_REQUIRE_ALL_PROVIDERS=1";
            }
            GTEST_SKIP() << "no PostgreSQL server: set ORVANTA_TEST_POSTGRESQL (scripts/postgres-server.sh start)";
        }
        m_properties = ConnectionString::Parse(U16(text));
    }

    std::unique_ptr<Session> Open(SessionOptions options = {}) const { return postgresql::Open(m_properties, options); }

    // The first row of `sql`, described cell by cell.
    static std::vector<std::string> FirstRow(Session& session, const std::string& sql) {
        ResultSet rows;
        if (!session.Query(U16(sql), rows) || rows.RowCount() == 0) return {};
        return RowText(rows, 0);
    }

    ConnectionString m_properties;
};

TEST_F(PostgresSession, ReadsEachTypeIntoItsCellKind) {
    auto session = Open();
    session->Execute(u"SET TimeZone TO 'UTC'");
    struct Case {
        const char* expression;
        ColumnType type;
        const char* cell;
    };
    const Case cases[] = {
        {"true", ColumnType::Boolean, "Boolean:true"},
        {"false", ColumnType::Boolean, "Boolean:false"},
        {"(-32768)::int2", ColumnType::Int16, "Int16:-32768"},
        {"2147483647::int4", ColumnType::Int32, "Int32:2147483647"},
        {"(-9223372036854775808)::int8", ColumnType::Int64, "Int64:-9223372036854775808"},
        {"4294967295::oid", ColumnType::UInt32, "UInt32:4294967295"},
        {"1.5::float4", ColumnType::Float, "Float:1.5"},
        {"0.1::float8", ColumnType::Double, "Double:0.1"},
        {"'-Infinity'::float8", ColumnType::Double, "Double:-inf"},
        {"'NaN'::float4", ColumnType::Float, "Float:nan"},
        {"123.4500::numeric", ColumnType::Decimal, "Decimal:123.4500"},
        {"'-0.0000000000000000000000000001'::numeric", ColumnType::Decimal, "Decimal:-0.0000000000000000000000000001"},
        {"79228162514264337593543950335::numeric", ColumnType::Decimal, "Decimal:79228162514264337593543950335"},
        // Past the 96-bit magnitude or the 28 digits of scale, the exact text.
        {"79228162514264337593543950336::numeric", ColumnType::Decimal, "Utf8:79228162514264337593543950336"},
        {"1e-40::numeric", ColumnType::Decimal, "Utf8:0.0000000000000000000000000000000000000001"},
        {"1.000000000000000000000000000000::numeric", ColumnType::Decimal, "Decimal:1.0000000000000000000000000000"},
        {"'NaN'::numeric", ColumnType::Decimal, "Utf8:NaN"},
        {"'-Infinity'::numeric", ColumnType::Decimal, "Utf8:-Infinity"},
        {"'-1234.56'::money", ColumnType::Currency, "Currency:-12345600"},
        {"(-92233720368547758.08)::numeric::money", ColumnType::Currency, "Utf8:-$92,233,720,368,547,758.08"},
        {"'1899-12-30'::date", ColumnType::Date, "Date:0.00000000"},
        {"'2023-11-17'::date", ColumnType::Date, "Date:45247.00000000"},
        {"'0044-03-15 BC'::date", ColumnType::Date, "Utf8:0044-03-15 BC"},  // before the date type's range
        {"'infinity'::date", ColumnType::Date, "Utf8:infinity"},
        {"'2023-11-17 12:00:00'::timestamp", ColumnType::DateTime, "Date:45247.50000000"},
        {"'1899-12-29 06:00'::timestamp", ColumnType::DateTime, "Date:-1.25000000"},
        {"'2023-11-17 12:00:00+02'::timestamptz", ColumnType::DateTime, "Date:45247.41666667"},
        {"'06:00:00.5'::time", ColumnType::Time, "Date:0.25000579"},
        {"'\\x00ff41'::bytea", ColumnType::Binary, "Bytes:00ff41"},
        {"''::bytea", ColumnType::Binary, "Bytes:"},
        {"'h\u00e9llo \U0001F600'::text", ColumnType::Text, "Utf8:h\u00e9llo \U0001F600"},
        {"'ab'::char(4)", ColumnType::Text, "Utf8:ab  "},
        {"'x'::varchar(3)", ColumnType::Text, "Utf8:x"},
        {"'pg_class'::name", ColumnType::Text, "Utf8:pg_class"},
        {"'{\"a\": 1}'::json", ColumnType::Text, "Utf8:{\"a\": 1}"},
        {"'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11'::uuid", ColumnType::Text, "Utf8:a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11"},
        {"'1 day 02:00'::interval", ColumnType::Text, "Utf8:1 day 02:00:00"},
        {"ARRAY[1, NULL]", ColumnType::Text, "Utf8:{1,NULL}"},
        {"NULL::int4", ColumnType::Int32, "Null"},
        {"NULL::text", ColumnType::Text, "Null"},
        {"NULL::numeric", ColumnType::Decimal, "Null"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        ResultSet rows;
        ASSERT_TRUE(session->Query(U16(std::string("SELECT ") + c.expression + " AS value"), rows));
        ASSERT_EQ(rows.Columns().size(), 1u);
        EXPECT_EQ(rows.Columns()[0].name, u"value");
        EXPECT_EQ(rows.Columns()[0].type, c.type);
        ASSERT_EQ(rows.RowCount(), 1u);
        EXPECT_EQ(RowText(rows, 0)[0], c.cell);
    }
}

// The text forms that session settings change still read as the same values, and a date style
// the provider cannot read gives the server's text rather than a wrong date.
TEST_F(PostgresSession, ReadsValuesWhateverTheSessionSettings) {
    auto session = Open();
    struct Case {
        const char* setting;
        const char* expression;
        const char* cell;
    };
    const Case cases[] = {
        {"SET bytea_output TO escape", "'\\x5c00ff41'::bytea", "Bytes:5c00ff41"},
        {"SET lc_monetary TO 'de_DE.UTF-8'", "(-1234567.89)::numeric::money", "Currency:-12345678900"},
        {"SET lc_monetary TO 'ja_JP.UTF-8'", "1234567::numeric::money", "Currency:12345670000"},
        {"RESET lc_monetary", "(-12.34)::numeric::money", "Currency:-123400"},
        {"SET extra_float_digits TO 0", "0.1::float8", "Double:0.1"},
        {"SET TimeZone TO 'Asia/Kolkata'", "'2023-11-17 06:30:00+00'::timestamptz", "Date:45247.50000000"},
        {"SET DateStyle TO 'German'", "'2023-11-17'::date", "Utf8:17.11.2023"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        ASSERT_NO_THROW(session->Execute(U16(c.setting))) << "scripts/install-deps.sh generates the locales";
        EXPECT_EQ(FirstRow(*session, std::string("SELECT ") + c.expression), std::vector<std::string>{c.cell});
    }

    // Where the money format may have changed and was not read again yet, the text is kept.
    EXPECT_EQ(FirstRow(*session, "SET lc_monetary TO 'ja_JP.UTF-8'; SELECT 5::numeric::money"),
              std::vector<std::string>{"Utf8:\uFFE55"});
    EXPECT_EQ(FirstRow(*session, "SELECT 5::numeric::money"), std::vector<std::string>{"Currency:50000"});
    session->Execute(u"BEGIN; SET LOCAL lc_monetary TO 'de_DE.UTF-8'");
    EXPECT_EQ(FirstRow(*session, "SELECT 5::numeric::money"), std::vector<std::string>{"Utf8:5,00 \u20AC"});
    session->Execute(u"COMMIT");
    EXPECT_EQ(FirstRow(*session, "SELECT 5::numeric::money"), std::vector<std::string>{"Currency:50000"});
}

TEST_F(PostgresSession, CountsRowsThatStatementsChange) {
    auto session = Open();
    struct Case {
        const char* sql;
        std::int64_t affected;
    };
    const Case cases[] = {
        {"CREATE TEMP TABLE t(a int PRIMARY KEY, b text)", -1},
        {"INSERT INTO t VALUES (1, 'a'), (2, 'b'), (3, 'c')", 3},
        {"UPDATE t SET b = 'x' WHERE a > 1", 2},
        {"UPDATE t SET b = 'x' WHERE a > 100", 0},
        {"SELECT * FROM t", -1},
        {"INSERT INTO t VALUES (4, 'd') RETURNING a", 1},
        {"INSERT INTO t VALUES (5, 'e'); DELETE FROM t WHERE a = 1; CREATE TEMP TABLE u(x int)", 2},
        {"WITH n(v) AS (SELECT 10) INSERT INTO t SELECT v, 'w' FROM n", 1},
        {"MERGE INTO t USING (VALUES (2), (11)) AS s(a) ON t.a = s.a "
         "WHEN MATCHED THEN UPDATE SET b = 'm' WHEN NOT MATCHED THEN INSERT VALUES (s.a, 'n')",
         2},
        {"COPY t TO STDOUT", 6},
        {"CREATE TEMP TABLE c AS SELECT * FROM t", -1},  // its tag carries a count, as SELECT's does
        {"DO $$ BEGIN INSERT INTO u VALUES (1); END $$", -1},
        {"BEGIN; DELETE FROM t WHERE a > 10; UPDATE u SET x = 2; COMMIT", 2},
        {"   ", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(session->Execute(U16(c.sql)), c.affected);
    }
}

TEST_F(PostgresSession, QueryTakesTheFirstRowSetOfAText) {
    auto session = Open();
    ResultSet rows;
    ASSERT_TRUE(session->Query(u"CREATE TEMP TABLE e(a int); SELECT g AS n, 'r' || g FROM generate_series(1, 5000) g; "
                               u"SELECT 'later'",
                               rows));
    ASSERT_EQ(rows.Columns().size(), 2u);
    EXPECT_EQ(rows.Columns()[0].name, u"n");
    EXPECT_EQ(rows.Columns()[1].name, u"?column?");
    ASSERT_EQ(rows.RowCount(), 5000u);
    EXPECT_EQ(RowText(rows, 4999), (std::vector<std::string>{"Int32:5000", "Utf8:r5000"}));

    ResultSet empty;
    ASSERT_TRUE(session->Query(u"SELECT a FROM e", empty)) << "an empty row set is still a row set";
    EXPECT_EQ(empty.RowCount(), 0u);
    ASSERT_EQ(empty.Columns().size(), 1u);
    EXPECT_EQ(empty.Columns()[0].type, ColumnType::Int32);

    ResultSet none;
    EXPECT_FALSE(session->Query(u"INSERT INTO e VALUES (1)", none));
    ResultSet returned;
    EXPECT_TRUE(session->Query(u"INSERT INTO e VALUES (2) RETURNING a", returned));
    EXPECT_EQ(returned.RowCount(), 1u);
    EXPECT_EQ(session->Execute(u"DELETE FROM e"), 2) << "both inserts ran";
}

TEST_F(PostgresSession, ErrorsCarryTheServerMessageAndSqlState) {
    auto session = Open();
    session->Execute(u"CREATE TEMP TABLE t(a int PRIMARY KEY); INSERT INTO t VALUES (1)");
    struct Case {
        const char* sql;
        ErrorKind kind;
        const char* sqlState;
        const char* message;
    };
    const Case cases[] = {
        {"SELECT * FROM missing", ErrorKind::CommandRejected, "42P01",
         "ERROR: relation \"missing\" does not exist (SQLSTATE 42P01)"},
        {"SELEC 1", ErrorKind::CommandRejected, "42601", "ERROR: syntax error at or near \"SELEC\" (SQLSTATE 42601)"},
        {"SELECT 1/0", ErrorKind::CommandRejected, "22012", "ERROR: division by zero (SQLSTATE 22012)"},
        {"INSERT INTO t VALUES (1)", ErrorKind::CommandRejected, "23505",
         "ERROR: duplicate key value violates unique constraint \"t_pkey\" (SQLSTATE 23505)\n"
         "DETAIL: Key (a)=(1) already exists."},
        {"DO $$ BEGIN RAISE EXCEPTION 'mine' USING ERRCODE = 'XX001'; END $$", ErrorKind::General, "XX001",
         "ERROR: mine (SQLSTATE XX001)"},
        {"COPY t FROM STDIN", ErrorKind::CommandRejected, "0A000",
         "COPY FROM STDIN needs data from the client, which this provider has no way to send."},
        // The statements of one text run in one transaction: the INSERT before the error is undone.
        {"INSERT INTO t VALUES (2); SELECT * FROM missing", ErrorKind::CommandRejected, "42P01",
         "ERROR: relation \"missing\" does not exist (SQLSTATE 42P01)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        for (bool query : {false, true}) {
            const ProviderError error = ErrorOf([&] {
                ResultSet rows;
                query ? (void)session->Query(U16(c.sql), rows) : (void)session->Execute(U16(c.sql));
            });
            EXPECT_EQ(error.Kind(), c.kind);
            EXPECT_EQ(error.SqlState(), c.sqlState);
            EXPECT_EQ(U8(error.Message()), c.message);
            EXPECT_EQ(FirstRow(*session, "SELECT count(*) FROM t"), std::vector<std::string>{"Int64:1"})
                << "the session is ready for the next statement";
        }
    }
}

TEST_F(PostgresSession, RefusesCommandTextThatCannotBeSentWhole) {
    auto session = Open();
    std::u16string withNul = u"SELECT 1; DROP TABLE x";
    withNul[9] = u'\0';
    std::u16string loneSurrogate = u"SELECT 'x'";
    loneSurrogate[8] = char16_t(0xD800);
    for (const std::u16string& sql : {withNul, loneSurrogate}) {
        EXPECT_EQ(ErrorOf([&] { session->Execute(sql); }).Kind(), ErrorKind::InvalidArgument);
    }
    EXPECT_EQ(FirstRow(*session, "SELECT 1"), std::vector<std::string>{"Int32:1"});
}

TEST_F(PostgresSession, AcceptsTheHostAndPortForms) {
    const std::u16string host = *m_properties.FindAny({u"Server", u"Data Source", u"Host", u"Address"});
    const std::u16string port = *m_properties.Find(u"Port");
    const std::u16string forms[][2] = {
        {u"Server", host + u"," + port}, {u"Data Source", host + u":" + port}, {u"Address", u"[" + host + u"]:" + port},
        {u"host", host}};
    for (const auto& [key, value] : forms) {
        SCOPED_TRACE(U8(key + u"=" + value));
        ConnectionString properties = m_properties;
        properties.Remove(u"Server");
        if (key != u"host") properties.Remove(u"Port");
        properties.Set(key, value);
        EXPECT_NO_THROW(postgresql::Open(properties, {}));
    }
}

TEST_F(PostgresSession, RefusedLoginsNameNoPassword) {
    const std::u16string password = *m_properties.FindAny({u"Password", u"PWD"});
    struct Case {
        const char* label;
        const char16_t* key;
        std::u16string value;
        ErrorKind kind;
    };
    const Case cases[] = {
        {"wrong password", u"Password", u"Wr0ng-s3cret-9f2c", ErrorKind::ConnectionFailed},
        {"unknown user", u"User ID", u"nobody_here", ErrorKind::ConnectionFailed},
        // A database name is never read as a conninfo text that could carry other keywords.
        {"keywords in a value", u"Database", u"dbname=postgres", ErrorKind::ConnectionFailed},
        {"unknown key", u"Colour", u"blue", ErrorKind::InvalidArgument},
        {"NUL in a value", u"Application_Name", std::u16string(u"a\0b", 3), ErrorKind::InvalidArgument},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ConnectionString properties = m_properties;
        properties.Set(c.key, c.value);
        const ProviderError error = ErrorOf([&] { postgresql::Open(properties, {}); });
        EXPECT_EQ(error.Kind(), c.kind) << U8(error.Message());
        EXPECT_EQ(error.Message().find(password), std::u16string::npos) << U8(error.Message());
        EXPECT_EQ(error.Message().find(u"Wr0ng-s3cret-9f2c"), std::u16string::npos) << U8(error.Message());
    }
}

TEST_F(PostgresSession, CommandTimeoutCancelsTheStatement) {
    auto session = Open({15, 1});
    const auto start = Clock::now();
    const ProviderError error = ErrorOf([&] { session->Execute(u"SELECT pg_sleep(30)"); });
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10)) << "it did not hang";
    EXPECT_EQ(error.Kind(), ErrorKind::Timeout);
    EXPECT_EQ(error.SqlState(), "57014");
    EXPECT_NE(U8(error.Message()).find("canceling statement"), std::string::npos) << U8(error.Message());
    EXPECT_EQ(FirstRow(*session, "SELECT 1"), std::vector<std::string>{"Int32:1"}) << "the session goes on";

    session->SetCommandTimeout(0);
    EXPECT_EQ(FirstRow(*session, "SELECT 1 FROM pg_sleep(1.5)"), std::vector<std::string>{"Int32:1"}) << "no limit";
}

TEST_F(PostgresSession, SessionEndedByTheServerFailsAndANewOneWorks) {
    auto victim = Open();
    const std::vector<std::string> pid = FirstRow(*victim, "SELECT pg_backend_pid()");
    ASSERT_EQ(pid.size(), 1u);
    auto other = Open();
    EXPECT_EQ(FirstRow(*other, "SELECT pg_terminate_backend(" + pid[0].substr(6) + ", 10000)"),
              std::vector<std::string>{"Boolean:true"});

    for (int call = 0; call < 2; ++call) {
        SCOPED_TRACE(call);
        const ProviderError error = ErrorOf([&] { victim->Execute(u"SELECT 1"); });
        EXPECT_EQ(error.Kind(), ErrorKind::ConnectionFailed) << U8(error.Message());
    }
    auto again = Open();
    EXPECT_EQ(FirstRow(*again, "SELECT 2"), std::vector<std::string>{"Int32:2"});
}

// The two tests below need no real server.

// A listener that never accepts: the kernel completes the handshake, and then nothing answers.
TEST(PostgresConnect, GivesUpAtTheConnectTimeout) {
    const orvanta::testing::LoopbackListener listener;
    const ConnectionString properties =
        ConnectionString::Parse(U16("Server=127.0.0.1;User ID=u;Port=" + std::to_string(listener.Port())));
    const auto start = Clock::now();
    const ProviderError error = ErrorOf([&] { postgresql::Open(properties, {1, 30}); });
    const auto elapsed = Clock::now() - start;
    EXPECT_EQ(error.Kind(), ErrorKind::Timeout) << U8(error.Message());
    EXPECT_LT(elapsed, std::chrono::seconds(10)) << "it did not hang";
}

// A server that stops answering: the call ends at the timeout plus a grace period for the cancel
// request, the connection is given up, and a new session opens once the server answers again.
// The cancel request itself may go unanswered too, which must not hold the call either.
TEST(PostgresConnect, ServerThatStopsAnsweringFailsTheCallInTime) {
    for (bool holdCancels : {false, true}) {
        SCOPED_TRACE(holdCancels ? "cancel request held open" : "cancel request taken");
        orvanta::testing::FakePostgresServer server;
        server.SetHoldingCancelRequests(holdCancels);
        const ConnectionString properties = ConnectionString::Parse(U16(
            "Server=127.0.0.1;Port=" + std::to_string(server.Port()) + ";User ID=u;sslmode=disable;gssencmode=disable"));
        auto session = postgresql::Open(properties, {5, 1});
        EXPECT_EQ(session->Execute(u"SELECT 1"), -1);

        server.SetStalled(true);
        const auto start = Clock::now();
        EXPECT_EQ(ErrorOf([&] { session->Execute(u"SELECT 1"); }).Kind(), ErrorKind::Timeout);
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(12)) << "timeout, grace for the cancel, and no more";
        EXPECT_EQ(ErrorOf([&] { session->Execute(u"SELECT 1"); }).Kind(), ErrorKind::ConnectionFailed);

        server.SetStalled(false);
        EXPECT_EQ(postgresql::Open(properties, {5, 1})->Execute(u"SELECT 1"), -1);
    }
}

}  // namespace
}  // namespace orvanta::providers
