// The exported functions, called as a host calls them: the library loaded by path into this process.
#include <sqlite3.h>

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "exports/library.h"
#include "support/temp_dir.h"
#include "support/text.h"

namespace orvanta {
namespace {

using testing::Library;
using testing::TempDir;
using testing::U16;

class Host : public ::testing::Test {
protected:
    std::u16string Sqlite(const std::string& file, const std::string& extra = {}) {
        return U16("Provider=SQLite;Data Source=" + m_dir.File(file) + extra);
    }
    int Execute(const char* sql) { return m_library.execute(U16(sql).c_str()); }

    // Reads one integer straight from the file, past the library.
    long long Scalar(const std::string& file, const char* sql) {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(m_dir.File(file).c_str(), &db), SQLITE_OK);
        sqlite3_stmt* statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), SQLITE_OK);
        long long value = -999;
        if (sqlite3_step(statement) == SQLITE_ROW) value = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return value;
    }

    TempDir m_dir;
    Library m_library;
};

TEST_F(Host, OpenReopenAndEmptyStringReusesTheLastOne) {
    ASSERT_EQ(m_library.open(nullptr, Sqlite("a.db").c_str()), 1);
    ASSERT_EQ(Execute("CREATE TABLE t(a)"), -1);
    EXPECT_EQ(m_library.open(u"ignored", Sqlite("a.db").c_str()), 1) << "reopening an open connection";
    EXPECT_EQ(Execute("INSERT INTO t VALUES (1)"), 1);
    EXPECT_EQ(m_library.open(nullptr, u""), 1);
    EXPECT_EQ(Execute("INSERT INTO t VALUES (2)"), 1) << "the empty string opened a.db again";
    m_library.close();
    EXPECT_EQ(m_library.open(nullptr, nullptr), 1) << "null is taken as empty";
    EXPECT_EQ(Execute("DELETE FROM t"), 2);
}

TEST_F(Host, FailedOpenLeavesTheLibraryClosedAndRemembersTheNewString) {
    ASSERT_EQ(m_library.open(nullptr, Sqlite("a.db").c_str()), 1);
    ASSERT_EQ(Execute("CREATE TABLE t(a)"), -1);
    EXPECT_EQ(m_library.open(nullptr, u"Provider=NoSuchEngine;Data Source=x"), 0);
    EXPECT_EQ(Execute("INSERT INTO t VALUES (1)"), 0) << "closed";
    EXPECT_EQ(m_library.open(nullptr, u""), 0) << "the failing string is the one remembered";
}

TEST_F(Host, CloseTwiceAndExecuteWithoutAConnection) {
    m_library.close();
    EXPECT_EQ(Execute("CREATE TABLE t(a)"), 0);
    ASSERT_EQ(m_library.open(nullptr, Sqlite("a.db").c_str()), 1);
    m_library.close();
    m_library.close();
    EXPECT_EQ(Execute("CREATE TABLE t(a)"), 0);
}

TEST_F(Host, ReturnsRowsAffectedRejectedSqlGivesZero) {
    ASSERT_EQ(m_library.open(nullptr, Sqlite("a.db").c_str()), 1);
    EXPECT_EQ(Execute("CREATE TABLE t(a)"), -1);
    EXPECT_EQ(Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 70000) "
                      "INSERT INTO t SELECT i FROM n"),
              70000);
    EXPECT_EQ(Execute("UPDATE t SET a = a + 1"), 70000);
    EXPECT_EQ(Execute("DELETE FROM t WHERE a > 100"), 69901);
    EXPECT_EQ(Execute("SELEC nonsense"), 0);
    EXPECT_EQ(Execute("INSERT INTO missing VALUES (1)"), 0);
    EXPECT_EQ(Execute("DELETE FROM t WHERE a = -1"), 0);
}

TEST_F(Host, UnloadClosesAnOpenConnection) {
    ASSERT_EQ(m_library.open(nullptr, Sqlite("a.db").c_str()), 1);
    ASSERT_EQ(Execute("CREATE TABLE t(a); BEGIN EXCLUSIVE; INSERT INTO t VALUES (1)"), 1);
    m_library.Unload();
    ASSERT_FALSE(Library::IsLoaded()) << "dlclose unloaded the library";

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(m_dir.File("a.db").c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
    EXPECT_EQ(Scalar("a.db", "SELECT count(*) FROM t"), 0) << "the open transaction was rolled back";
}

TEST_F(Host, BadInputNeverCrossesTheBoundary) {
    std::filesystem::create_directory(m_dir.File("dir"));
    const std::u16string lone(1, char16_t(0xD800));
    const std::u16string badStrings[] = {
        u"no equals sign at all",
        u"Provider=SQLite;Data Source='unterminated",
        Sqlite("dir"),
        U16("Provider=SQLite;Data Source=/nonexistent/dir/x.db"),
        u"Provider=SQLite;Data Source=" + lone,
        u"Provider=SQLite",
        u"=",
        lone,
    };
    for (const std::u16string& text : badStrings) {
        EXPECT_EQ(m_library.open(nullptr, text.c_str()), 0);
    }

    ASSERT_EQ(m_library.open(nullptr, Sqlite("a.db").c_str()), 1);
    ASSERT_EQ(Execute("CREATE TABLE t(s TEXT)"), -1);
    EXPECT_EQ(m_library.execute(nullptr), 0);
    EXPECT_EQ(m_library.execute(u""), 0);
    EXPECT_EQ(m_library.execute((u"INSERT INTO t VALUES ('" + lone + u"')").c_str()), 0);
    EXPECT_EQ(m_library.execute(u"INSERT INTO t VALUES ('\U0001F600')"), 1);
    m_library.close();
    EXPECT_EQ(Scalar("a.db", "SELECT count(*) FROM t"), 1) << "nothing of the broken statement was stored";
    EXPECT_EQ(Scalar("a.db", "SELECT s = char(128512) FROM t"), 1) << "the surrogate pair arrived as one character";
}

TEST_F(Host, OverlappingCallsFromSeveralThreadsAreSerialised) {
    ASSERT_EQ(m_library.open(nullptr, Sqlite("a.db").c_str()), 1);
    ASSERT_EQ(Execute("CREATE TABLE t(a)"), -1);
    constexpr int kThreads = 4;
    constexpr int kInserts = 200;
    std::atomic<int> counted = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < kInserts; ++i) counted += m_library.execute(u"INSERT INTO t VALUES (1)");
        });
    }
    threads.emplace_back([&] {
        for (int i = 0; i < 50; ++i) m_library.open(nullptr, u"");
    });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(counted, kThreads * kInserts);
    m_library.close();
    EXPECT_EQ(Scalar("a.db", "SELECT count(*) FROM t"), kThreads * kInserts);
}

}  // namespace
}  // namespace orvanta
