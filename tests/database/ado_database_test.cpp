#include <optional>

#include <gtest/gtest.h>

#include "database/ado_database.h"
#include "database/com_error.h"
#include "support/connection_double.h"
#include "support/temp_dir.h"
#include "support/text.h"

namespace orvanta {
namespace {

using testing::ConnectionScript;
using testing::ScopedConnectionDouble;
using testing::U16;
using testing::U8;

class DatabaseWithDouble : public ::testing::Test {
protected:
    ConnectionScript m_script;
    ScopedConnectionDouble m_double{m_script};
    std::optional<CADODatabase> m_database{std::in_place};
};

TEST_F(DatabaseWithDouble, OpenPassesTheStringWithEmptyCredentialsAndOptionsZero) {
    EXPECT_EQ(m_database->Open(u"DSN=first"), 1);
    EXPECT_EQ(U8(m_script.connectionString), "DSN=first");
    EXPECT_EQ(U8(m_script.userId), "");
    EXPECT_EQ(U8(m_script.password), "");
    EXPECT_EQ(m_script.openOptions, 0);
}

TEST_F(DatabaseWithDouble, OpenClosesFirstAndReusesTheLastNonEmptyString) {
    ASSERT_EQ(m_database->Open(u"DSN=first"), 1);
    m_script.calls.clear();
    EXPECT_EQ(m_database->Open(u""), 1);
    EXPECT_EQ(U8(m_script.connectionString), "DSN=first");
    EXPECT_EQ(m_script.calls, (std::vector<std::string>{"State", "State", "Close", "Open"}));
    EXPECT_EQ(m_database->Open(nullptr), 1) << "a null string counts as empty";
    EXPECT_EQ(U8(m_script.connectionString), "DSN=first");
}

TEST_F(DatabaseWithDouble, OpenAnsweringAnySuccessButSOkIsNotOpened) {
    m_script.openResult = S_FALSE;
    EXPECT_EQ(m_database->Open(u"DSN=x"), 0);
}

TEST_F(DatabaseWithDouble, FailedOpenLeavesClosedAndKeepsTheNewString) {
    ASSERT_EQ(m_database->Open(u"DSN=good"), 1);
    m_script.openResult = E_FAIL;
    EXPECT_EQ(m_database->Open(u"DSN=bad"), 0);
    EXPECT_EQ(m_script.state, adStateClosed) << "the open connection was closed before the attempt";
    EXPECT_EQ(m_database->Open(u""), 0);
    EXPECT_EQ(U8(m_script.connectionString), "DSN=bad");
}

TEST_F(DatabaseWithDouble, EmptyStringWithNoEarlierOneAsksForAnEmptyOpen) {
    m_script.openResult = E_FAIL;
    EXPECT_EQ(m_database->Open(u""), 0);
    EXPECT_EQ(U8(m_script.connectionString), "");
}

TEST_F(DatabaseWithDouble, ExecuteSetsClientCursorsAndPassesNoRecords) {
    m_script.recordsAffected = 70000;
    m_script.executeReturnsRecordset = true;  // released unread
    ASSERT_EQ(m_database->Execute(u"UPDATE t SET a = 1"), 1);
    EXPECT_EQ(m_database->GetRecordsAffected(), 70000);
    EXPECT_EQ(m_script.cursorLocation, adUseClient);
    EXPECT_EQ(m_script.executeOptions, adExecuteNoRecords);
    EXPECT_EQ(U8(m_script.commandText), "UPDATE t SET a = 1");

    m_script.recordsAffected = -5;
    ASSERT_EQ(m_database->Execute(u"x"), 1);
    EXPECT_EQ(m_database->GetRecordsAffected(), -5) << "negative counts pass unchanged";

    ASSERT_EQ(m_database->Execute(nullptr), 1);
    EXPECT_TRUE(m_script.commandTextWasNull) << "a null statement is a null BSTR";

    m_script.executeLeavesCountEmpty = true;
    ASSERT_EQ(m_database->Execute(u"x"), 1);
    EXPECT_EQ(m_database->GetRecordsAffected(), -1) << "no count given means unknown";
}

TEST_F(DatabaseWithDouble, ExecuteFailuresGiveZeroAndResetTheCount) {
    m_script.recordsAffected = 3;
    ASSERT_EQ(m_database->Execute(u"x"), 1);
    m_script.executeResult = MakeHresult(0x80040E14);
    EXPECT_EQ(m_database->Execute(u"x"), 0);
    EXPECT_EQ(m_database->GetRecordsAffected(), 0);

    m_script.executeResult = S_OK;
    m_script.cursorLocationResult = E_FAIL;
    EXPECT_EQ(m_database->Execute(u"x"), 0);
    EXPECT_EQ(m_database->GetRecordsAffected(), 0);
}

TEST_F(DatabaseWithDouble, StateOrCloseFailuresReachTheCallerOfCloseAndOpen) {
    ASSERT_EQ(m_database->Open(u"DSN=x"), 1);
    struct Case {
        const char* label;
        HRESULT ConnectionScript::*failing;
    };
    for (const Case& c : {Case{"State", &ConnectionScript::stateResult}, Case{"Close", &ConnectionScript::closeResult}}) {
        SCOPED_TRACE(c.label);
        m_script.*c.failing = MakeHresult(0x80004005);
        for (const auto& call : {std::function<void()>([&] { m_database->Close(); }),
                                 std::function<void()>([&] { m_database->Open(u"DSN=y"); })}) {
            try {
                call();
                ADD_FAILURE() << "nothing raised";
            } catch (const ComError& error) {
                EXPECT_EQ(error.Error(), MakeHresult(0x80004005));
                EXPECT_EQ(U8(error.Description()), std::string("scripted failure of ") + c.label);
            }
        }
        m_script.*c.failing = S_OK;
    }
    EXPECT_EQ(U8(m_script.connectionString), "DSN=x") << "the failed close came before the new string";
}

TEST_F(DatabaseWithDouble, DestructionAbsorbsACloseFailureAndReleasesTheObject) {
    ASSERT_EQ(m_database->Open(u"DSN=x"), 1);
    m_script.closeResult = E_FAIL;
    EXPECT_EQ(m_script.liveObjects, 1);
    EXPECT_NO_THROW(m_database.reset());
    EXPECT_EQ(m_script.liveObjects, 0);
}

// Creation can fail at any of its three steps; the wrapper then lives on without the object.
TEST(DatabaseWithoutConnectionObject, ReportsFailureAndNeverRaises) {
    ConnectionScript script;
    struct Case {
        const char* label;
        testing::ScopedClassOverride::Create create;
    };
    struct NotAConnection final : com::ComObject<NotAConnection, ISupportErrorInfo> {
        HRESULT InterfaceSupportsErrorInfo(REFIID) override { return S_FALSE; }
    };
    const Case cases[] = {
        {"creation fails", [](IUnknown**) { return REGDB_E_CLASSNOTREG; }},
        {"running fails", [](IUnknown** object) {
             *object = com::MakeCom<testing::RunnableObject>(E_FAIL).Detach();
             return S_OK;
         }},
        {"no _Connection interface", [](IUnknown** object) {
             *object = com::MakeCom<NotAConnection>().Detach();
             return S_OK;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        testing::ScopedClassOverride replacement(CLSID_Connection, c.create);
        std::optional<CADODatabase> database(std::in_place);
        EXPECT_FALSE(database->GetConnection());
        EXPECT_FALSE(database->IsOpen());
        EXPECT_EQ(database->Open(u"DSN=x"), 0);
        EXPECT_EQ(database->Execute(u"x"), 0);
        EXPECT_EQ(database->GetRecordsAffected(), 0);
        EXPECT_NO_THROW(database->Close());
        EXPECT_NO_THROW(database.reset());
    }
}

TEST(DatabaseOnSqlite, RunsStatementsAndCountsRows) {
    testing::TempDir dir;
    CADODatabase database;
    ASSERT_EQ(database.Open(U16("Provider=SQLite;Data Source=" + dir.File("d.db")).c_str()), 1);
    EXPECT_TRUE(database.IsOpen());
    ASSERT_EQ(database.Execute(u"CREATE TABLE t(a)"), 1);
    EXPECT_EQ(database.GetRecordsAffected(), -1);
    ASSERT_EQ(database.Execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 70000) "
                               u"INSERT INTO t SELECT i FROM n"),
              1);
    EXPECT_EQ(database.GetRecordsAffected(), 70000);
    EXPECT_EQ(database.Execute(u"bogus"), 0);
    EXPECT_EQ(database.GetRecordsAffected(), 0);
    database.Close();
    EXPECT_FALSE(database.IsOpen());
    EXPECT_EQ(database.Execute(u"DELETE FROM t"), 0);
    database.Close();  // twice: nothing happens
}

}  // namespace
}  // namespace orvanta
