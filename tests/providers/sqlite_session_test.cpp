#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "providers/sqlite/session.h"
#include "support/temp_dir.h"
#include "support/text.h"

namespace orvanta::providers {
namespace {

using testing::TempDir;
using testing::U16;

class SqliteSession : public ::testing::Test {
protected:
    std::unique_ptr<Session> Open(const std::string& extra = {}, SessionOptions options = {}) {
        return sqlite::Open(ConnectionString::Parse(U16("Data Source=" + m_dir.File("test.db") + ";" + extra)), options);
    }

    TempDir m_dir;
};

TEST_F(SqliteSession, CountsRowsThatStatementsChangeDirectly) {
    auto session = Open();
    struct Case {
        const char* sql;
        std::int64_t affected;
    };
    const Case cases[] = {
        {"CREATE TABLE t(a INTEGER, b TEXT)", -1},
        {"INSERT INTO t VALUES (1,'a'),(2,'b'),(3,'c')", 3},
        {"UPDATE t SET b = 'x' WHERE a > 1", 2},
        {"UPDATE t SET b = 'x' WHERE a > 100", 0},
        {"SELECT * FROM t", -1},
        {"CREATE INDEX i ON t(a)", -1},  // no stale count from the UPDATE before
        {"PRAGMA user_version = 3", -1},
        {"INSERT INTO t VALUES (4,'d'); DELETE FROM t WHERE a = 1; CREATE TABLE u(x)", 2},
        {"WITH n(v) AS (SELECT 10) INSERT INTO t SELECT v, 'w' FROM n", 1},
        {"WITH n(v) AS (SELECT 1) SELECT v FROM n", -1},
        {"REPLACE INTO u VALUES (1)", 1},
        {"  -- comment\n /* block */ delete FROM u", 1},
        {"CREATE TRIGGER tr AFTER INSERT ON u BEGIN INSERT INTO t VALUES (99, 'z'); END", -1},
        {"INSERT INTO u VALUES (5)", 1},  // the trigger's row is not counted
        {"   ", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(session->Execute(U16(c.sql)), c.affected);
    }
}

TEST_F(SqliteSession, RejectedStatementsCarryTheEngineMessage) {
    auto session = Open();
    try {
        session->Execute(u"SELEC 1");
        FAIL() << "no error";
    } catch (const ProviderError& error) {
        EXPECT_EQ(error.Kind(), ErrorKind::CommandRejected);
        EXPECT_EQ(testing::U8(error.Message()), "near \"SELEC\": syntax error");
    }
    session->Execute(u"CREATE TABLE t(a PRIMARY KEY)");
    session->Execute(u"INSERT INTO t VALUES (1)");
    EXPECT_THROW(session->Execute(u"INSERT INTO t VALUES (1)"), ProviderError);
    // Statements before the failing one have run, as in any script.
    EXPECT_THROW(session->Execute(u"INSERT INTO t VALUES (2); INSERT INTO missing VALUES (1)"), ProviderError);
    EXPECT_EQ(session->Execute(u"DELETE FROM t"), 2);
}

TEST_F(SqliteSession, KeepsNonBmpTextIntactAndRefusesLoneSurrogates) {
    auto session = Open();
    session->Execute(u"CREATE TABLE t(s TEXT)");
    EXPECT_EQ(session->Execute(u"INSERT INTO t VALUES ('\U0001F600\u00e9')"), 1);
    std::u16string broken = u"INSERT INTO t VALUES ('";
    broken += char16_t(0xD83D);
    broken += u"')";
    EXPECT_THROW(session->Execute(broken), ProviderError);

    ResultSet rows;
    ASSERT_TRUE(session->Query(u"SELECT s, hex(s) FROM t", rows));
    ASSERT_EQ(rows.RowCount(), 1u);
    std::vector<std::uint32_t> offsets;
    rows.LocateCells(0, offsets);
    EXPECT_EQ(rows.Cell(0, offsets[1]).Utf8Text(), "F09F9880C3A9");
}

TEST_F(SqliteSession, OpenRefusesWhatIsNotADatabaseFile) {
    std::ofstream(m_dir.File("garbage.db")) << "this is not a database file, just text that is long enough......";
    std::filesystem::create_directory(m_dir.File("directory"));
    const std::string sources[] = {m_dir.File("garbage.db"), m_dir.File("directory"), "/nonexistent/dir/x.db", ""};
    for (const std::string& source : sources) {
        SCOPED_TRACE(source);
        EXPECT_THROW(sqlite::Open(ConnectionString::Parse(U16("Data Source='" + source + "'")), {}), ProviderError);
    }
    EXPECT_THROW(sqlite::Open(ConnectionString::Parse(u"Provider=SQLite"), {}), ProviderError);
    EXPECT_NO_THROW(sqlite::Open(ConnectionString::Parse(u"Database=:memory:"), {}));
}

// A write lock held by another connection: a statement waits for it up to the command timeout.
TEST_F(SqliteSession, WaitsForLocksUpToTheCommandTimeout) {
    auto session = Open({}, {15, 1});
    session->Execute(u"CREATE TABLE t(a)");

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(m_dir.File("test.db").c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(session->Execute(u"INSERT INTO t VALUES (1)"), ProviderError);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900)) << "it did not fail at once";

    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    });
    session->SetCommandTimeout(30);
    EXPECT_EQ(session->Execute(u"INSERT INTO t VALUES (1)"), 1) << "it waited for the lock";
    release.join();
    sqlite3_close(other);
}

}  // namespace
}  // namespace orvanta::providers
