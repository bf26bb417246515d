#include <optional>

#include <gtest/gtest.h>

#include "database/ado_exception.h"
#include "database/ado_recordset.h"
#include "support/connection_double.h"
#include "support/recordset_double.h"
#include "support/temp_dir.h"
#include "support/text.h"

namespace orvanta {
namespace {

using testing::RecordsetScript;
using testing::ScopedRecordsetDouble;
using testing::U16;
using testing::U8;

std::string Text(CADORecordset& recordset, int index) {
    std::u16string text = u"<untouched>";
    recordset.GetFieldText(index, text, u"");
    return U8(text);
}

class RecordsetOnSqlite : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_database.Open(U16("Provider=SQLite;Data Source=" + m_dir.File("w.db")).c_str()), 1);
        ASSERT_EQ(m_database.Execute(u"CREATE TABLE t(id INTEGER, name TEXT); "
                                     u"INSERT INTO t VALUES (1, 'one'), (2, 'two'), (3, 'three')"),
                  1);
    }

    testing::TempDir m_dir;
    CADODatabase m_database;
};

TEST_F(RecordsetOnSqlite, OpensCountsWalksClosesAndReopens) {
    CADORecordset recordset(m_database);
    ASSERT_TRUE(recordset.Open(u"SELECT id, name FROM t ORDER BY id"));
    EXPECT_TRUE(recordset.IsOpen());
    EXPECT_EQ(recordset.GetRecordCount(), 3);
    EXPECT_EQ(recordset.GetFieldCount(), 2);
    recordset.MoveFirst();
    std::vector<std::string> names;
    for (LONG i = 0; i < recordset.GetRecordCount(); ++i) {
        names.push_back(Text(recordset, 1));
        recordset.MoveNext();
    }
    EXPECT_EQ(names, (std::vector<std::string>{"one", "two", "three"}));
    recordset.Close();
    EXPECT_FALSE(recordset.IsOpen());

    ASSERT_TRUE(recordset.Open(u"SELECT count(*) FROM t"));
    EXPECT_EQ(Text(recordset, 0), "3");
    ASSERT_TRUE(recordset.Open(u"SELECT name FROM t WHERE id = 2")) << "a second Open closes the first result";
    EXPECT_EQ(Text(recordset, 0), "two");
    EXPECT_EQ(recordset.GetLastErrorCode(), 0);
}

TEST_F(RecordsetOnSqlite, TrimsLeadingWhiteSpaceOfTheQuery) {
    CADORecordset recordset(m_database);
    ASSERT_TRUE(recordset.Open(u" \t\r\n\u00A0\u3000\u2003SELECT '  kept  '"));
    EXPECT_EQ(Text(recordset, 0), "  kept  ");
    // The trimmed text is what a failure report quotes.
    EXPECT_THROW(recordset.Open(u"\u3000 SELEC 1"), CADOException);
    EXPECT_EQ(U8(recordset.GetLastError()).substr(0, 17), "Query = SELEC 1\nC");
}

TEST_F(RecordsetOnSqlite, SourceWithoutRowsRunsAndGivesFalse) {
    CADORecordset recordset(m_database);
    EXPECT_FALSE(recordset.Open(u"INSERT INTO t VALUES (4, 'four')"));
    ASSERT_TRUE(recordset.Open(u"SELECT count(*) FROM t"));
    EXPECT_EQ(Text(recordset, 0), "4");
}

TEST_F(RecordsetOnSqlite, ARejectedQueryIsRecordedWithItsLayoutAndRaised) {
    CADORecordset recordset(m_database);
    try {
        recordset.Open(u"SELECT * FROM missing");
        FAIL() << "nothing raised";
    } catch (const CADOException& error) {
        EXPECT_EQ(error.GetCode(), MakeHresult(0x80040E14));
        EXPECT_EQ(U8(error.GetDescription()), "no such table: missing");
    }
    EXPECT_EQ(U8(recordset.GetLastError()),
              "Query = SELECT * FROM missing\n"
              "CADORecordset Error\n"
              "\tCode = 80040e14\n"
              "\tCode meaning = IDispatch error #3092\n"
              "\tSource = ADODB.Recordset\n"
              "\tDescription = no such table: missing\n");
    EXPECT_EQ(recordset.GetLastErrorCode(), MakeHresult(0x80040E14));

    // An empty query on a fresh result set asks for an empty source, and that fails too.
    CADORecordset fresh(m_database);
    EXPECT_THROW(fresh.Open(u""), CADOException);
    EXPECT_EQ(fresh.GetLastErrorCode(), MakeHresult(0x80040E0C));
    EXPECT_THROW(fresh.Open(nullptr), CADOException) << "a null query is taken as empty";

    // The record stays after a later success.
    ASSERT_TRUE(recordset.Open(u"SELECT 1"));
    EXPECT_EQ(recordset.GetLastErrorCode(), MakeHresult(0x80040E14));
}

TEST_F(RecordsetOnSqlite, FieldPastTheLastIsNotFound) {
    CADORecordset recordset(m_database);
    ASSERT_TRUE(recordset.Open(u"SELECT id FROM t"));
    std::u16string text = u"kept";
    EXPECT_THROW(recordset.GetFieldText(1, text, u""), CADOException);
    EXPECT_EQ(U8(text), "kept");
    EXPECT_EQ(recordset.GetLastErrorCode(), AdoError(adErrItemNotFound));
}

TEST_F(RecordsetOnSqlite, IsClosedWhileTheSharedConnectionIsClosed) {
    CADORecordset recordset(m_database);
    ASSERT_TRUE(recordset.Open(u"SELECT id FROM t"));
    m_database.Close();
    EXPECT_FALSE(recordset.IsConnectionOpen());
    EXPECT_FALSE(recordset.IsOpen());
    EXPECT_NO_THROW(recordset.Close()) << "Close leaves a result set it does not see as open";
    EXPECT_EQ(recordset.GetRecordCount(), 3) << "the Recordset itself is still open";

    EXPECT_THROW(recordset.Open(u"SELECT 1"), CADOException) << "no query on a closed connection";
}

class RecordsetWithDouble : public ::testing::Test {
protected:
    RecordsetScript m_script;
    ScopedRecordsetDouble m_double{m_script};
    testing::TempDir m_dir;
    CADODatabase m_database;
};

TEST_F(RecordsetWithDouble, OpenPassesAStaticClientCursorAndTheSharedConnection) {
    std::optional<CADORecordset> recordset(std::in_place, m_database);
    EXPECT_TRUE(recordset->Open(u"  SELECT x"));
    EXPECT_EQ(m_script.cursorTypeProperty, adOpenStatic);
    EXPECT_EQ(m_script.cursorLocation, adUseClient);
    EXPECT_EQ(m_script.sourceType, VT_BSTR);
    EXPECT_EQ(U8(m_script.source), "SELECT x");
    EXPECT_EQ(m_script.connectionType, VT_DISPATCH);
    EXPECT_EQ(m_script.connection, static_cast<IDispatch*>(m_database.GetConnection().Get()));
    EXPECT_EQ(m_script.cursorType, adOpenStatic);
    EXPECT_EQ(m_script.lockType, adLockOptimistic);
    EXPECT_EQ(m_script.options, adCmdUnknown);
    recordset.reset();
    EXPECT_EQ(m_script.liveObjects, 0);
}

TEST_F(RecordsetWithDouble, CloseSetsAnEmptySortThenCloses) {
    ASSERT_EQ(m_database.Open(U16("Provider=SQLite;Data Source=" + m_dir.File("d.db")).c_str()), 1);
    CADORecordset recordset(m_database);
    recordset.Close();
    EXPECT_EQ(std::count(m_script.calls.begin(), m_script.calls.end(), "Close"), 0) << "never opened";
    ASSERT_TRUE(recordset.Open(u"SELECT x"));
    m_script.calls.clear();
    recordset.Close();
    EXPECT_EQ(m_script.calls, (std::vector<std::string>{"State", "Sort", "Close"}));
    EXPECT_EQ(U8(m_script.sort), "");
}

TEST_F(RecordsetWithDouble, UnknownCountsAreCountedByWalking) {
    struct Case {
        const char* label;
        std::size_t records;
        ADO_LONGPTR reported;
        VARIANT_BOOL notAtEnd;
        LONG expected;
        int moveFirstAfterWalk;
    };
    const Case cases[] = {
        {"unknown over three", 3, -1, VARIANT_FALSE, 3, 1},
        {"unknown over none", 0, -1, VARIANT_FALSE, 0, 0},
        {"EOF answers 1 while records remain", 2, -1, 1, 2, 1},
        {"other negative counts pass unchanged", 3, -2, VARIANT_FALSE, -2, 0},
        {"a known count needs no walk", 3, 3, VARIANT_FALSE, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        m_script.records = c.records;
        m_script.recordCount = c.reported;
        m_script.notAtEnd = c.notAtEnd;
        CADORecordset recordset(m_database);
        ASSERT_TRUE(recordset.Open(u"SELECT x"));
        m_script.position = 1;  // somewhere in the middle
        m_script.calls.clear();
        EXPECT_EQ(recordset.GetRecordCount(), c.expected);
        const auto walked = std::find(m_script.calls.begin(), m_script.calls.end(), "MoveNext");
        const auto afterWalk = std::count(walked, m_script.calls.end(), "MoveFirst");
        EXPECT_EQ(afterWalk, c.moveFirstAfterWalk);
        if (c.expected > 0 && c.reported == -1) {
            EXPECT_EQ(m_script.position, 0u) << "back on the first record";
        }
    }
}

TEST_F(RecordsetWithDouble, ASourceThatLeavesTheRecordsetClosedGivesFalse) {
    m_script.openLeavesClosed = true;
    CADORecordset recordset(m_database);
    EXPECT_FALSE(recordset.Open(u"INSERT x"));
}

TEST(RecordsetWithoutObject, OpenRaisesEPointerAndTheRestFailOrDoNothing) {
    testing::ScopedClassOverride failing(CLSID_Recordset, [](IUnknown**) { return REGDB_E_CLASSNOTREG; });
    CADODatabase database;
    CADORecordset recordset(database);
    try {
        recordset.Open(u"SELECT 1");
        FAIL() << "nothing raised";
    } catch (const CADOException& error) {
        EXPECT_EQ(error.GetCode(), E_POINTER);
        EXPECT_EQ(U8(error.GetDescription()), "");
    }
    EXPECT_EQ(U8(recordset.GetLastError()),
              "Query = SELECT 1\n"
              "CADORecordset Error\n"
              "\tCode = 80004003\n"
              "\tCode meaning = Invalid pointer\n"
              "\tSource = \n"
              "\tDescription = \n");
    EXPECT_FALSE(recordset.IsOpen());
    EXPECT_NO_THROW(recordset.Close());
    for (const auto& call : {std::function<void()>([&] { recordset.GetRecordCount(); }),
                             std::function<void()>([&] { recordset.GetFieldCount(); }),
                             std::function<void()>([&] { recordset.MoveFirst(); }),
                             std::function<void()>([&] { recordset.MoveNext(); })}) {
        try {
            call();
            ADD_FAILURE() << "nothing raised";
        } catch (const ComError& error) {
            EXPECT_EQ(error.Error(), E_POINTER);
        }
    }
    std::u16string text = u"kept";
    EXPECT_THROW(recordset.GetFieldText(0, text, u""), CADOException);
    EXPECT_EQ(U8(text), "kept");
}

}  // namespace
}  // namespace orvanta
