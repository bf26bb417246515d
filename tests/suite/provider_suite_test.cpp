// One suite for every provider: the same cases through the exported functions and through the
// object model, against each engine that this machine can reach.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include <comptr.h>

#include "ado/interfaces.h"
#include "exports/library.h"
#include "suite/dialects.h"
#include "support/bstr.h"
#include "support/stderr_capture.h"
#include "support/text.h"

namespace orvanta::testing {
namespace {

constexpr char kFailureLine[] = "xxxxxxxx ! fnDBExecuteQuery error xxxxx\n";

class ProviderSuite : public ::testing::TestWithParam<const Dialect*> {
protected:
    void SetUp() override {
        m_connection = Dialect().connection();
        if (!m_connection) {
            if (RequireAllProviders()) FAIL() << Dialect().name << " cannot run here";
            GTEST_SKIP() << Dialect().name << ": no engine or server here";
        }
        ASSERT_EQ(m_library.open(nullptr, m_connection->c_str()), 1) << U8(*m_connection);
    }
    void TearDown() override {
        if (m_connection) m_library.close();
    }

    const testing::Dialect& Dialect() const { return *GetParam(); }
    // Tables of their own, as engines may share one server.
    std::string Table(const char* what) const { return std::string("suite_") + Dialect().name + "_" + what; }

    int Execute(const std::string& sql) { return m_library.execute(U16(sql).c_str()); }
    void Recreate(const std::string& table, const std::string& columns) {
        Execute("DROP TABLE IF EXISTS " + table);
        ASSERT_EQ(Execute("CREATE TABLE " + table + " (" + columns + ")"), Dialect().ddlAffected);
    }

    struct Block {
        int count;
        std::string text;  // "<untouched>" when the buffer was not written
        std::string debugger;
    };
    Block Query(const std::string& sql, std::size_t capacity = 1 << 16) {
        std::vector<char16_t> buffer(capacity, u'#');
        StderrCapture capture;
        const int count = m_library.executeQuery(U16(sql).c_str(), buffer.data());
        Block block{count, buffer[0] == u'#' ? "<untouched>" : U8(buffer.data()), capture.Finish()};
        return block;
    }

    // The typed table of the dialect, with one row of its literals.
    std::string TypedTable() {
        const std::string table = Table("typed");
        std::string columns;
        std::string values;
        for (int i = 0; i < 8; ++i) {
            columns += (i ? ", c" : "c") + std::to_string(i) + " " + Dialect().columns[i].type;
            values += (i ? ", " : "") + std::string(Dialect().columns[i].literal);
        }
        Recreate(table, columns);
        EXPECT_EQ(Execute("INSERT INTO " + table + " VALUES (" + values + ")"), 1);
        return table;
    }

    Library m_library;
    std::optional<std::u16string> m_connection;
};

TEST_P(ProviderSuite, StatementsReportTheRowsTheyChanged) {
    const std::string table = Table("counted");
    Recreate(table, "id INTEGER, name VARCHAR(20)");
    EXPECT_EQ(Execute("INSERT INTO " + table + " VALUES (1, 'a'), (2, 'b'), (3, 'c')"), 3);
    EXPECT_EQ(Execute("UPDATE " + table + " SET name = 'x' WHERE id > 1"), 2);
    EXPECT_EQ(Execute("UPDATE " + table + " SET name = 'x' WHERE id > 100"), 0);
    EXPECT_EQ(Execute("DELETE FROM " + table), 3);
    EXPECT_EQ(Execute("INSERT INTO missing_table VALUES (1)"), 0);
    EXPECT_EQ(Execute("SELEC nonsense"), 0);
}

TEST_P(ProviderSuite, TheQueryBlockGivesEveryTypeItsText) {
    const std::string table = TypedTable();
    std::string expected;
    for (int i = 0; i < 8; ++i) expected += (i ? "," : "") + std::string(Dialect().columns[i].text);
    const Block block = Query("SELECT * FROM " + table);
    EXPECT_EQ(block.count, 1);
    EXPECT_EQ(block.text, expected + "\r\n");
    EXPECT_EQ(block.debugger, "");
}

TEST_P(ProviderSuite, FieldValuesCarryTheirVariantTypes) {
    const std::string table = TypedTable();
    ComPtr<_Connection> connection;
    ASSERT_EQ(CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, IID__Connection, connection.ReleaseAndGetVoidAddress()),
              S_OK);
    ASSERT_EQ(connection->Open(Bstr(*m_connection), nullptr, nullptr, 0), S_OK);
    ComPtr<_Recordset> recordset;
    ASSERT_EQ(CoCreateInstance(CLSID_Recordset, nullptr, CLSCTX_ALL, IID__Recordset, recordset.ReleaseAndGetVoidAddress()),
              S_OK);
    VARIANT source;
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(U16("SELECT * FROM " + table).c_str());
    VARIANT active;
    active.vt = VT_DISPATCH;
    active.pdispVal = connection.Get();
    ASSERT_EQ(recordset->Open(source, active, adOpenStatic, adLockOptimistic, adCmdUnknown), S_OK);
    SysFreeString(source.bstrVal);

    ComPtr<Fields> fields;
    ASSERT_EQ(recordset->get_Fields(fields.GetAddressOf()), S_OK);
    for (SHORT i = 0; i < 8; ++i) {
        SCOPED_TRACE(Dialect().columns[i].type);
        VARIANT index;
        index.vt = VT_I2;
        index.iVal = i;
        ComPtr<Field> field;
        ASSERT_EQ(fields->get_Item(index, field.GetAddressOf()), S_OK);
        Variant value;
        ASSERT_EQ(field->get_Value(&value), S_OK);
        EXPECT_EQ(value.vt, Dialect().columns[i].variantType);
    }
    EXPECT_EQ(recordset->Close(), S_OK);
    EXPECT_EQ(connection->Close(), S_OK);
}

TEST_P(ProviderSuite, FailuresReturnZeroAndLeaveTheBufferAlone) {
    const Block rejected = Query("SELECT * FROM missing_table");
    EXPECT_EQ(rejected.count, 0);
    EXPECT_EQ(rejected.text, "<untouched>");
    EXPECT_EQ(rejected.debugger, kFailureLine);

    const std::string table = Table("empty");
    Recreate(table, "id INTEGER");
    const Block empty = Query("SELECT id FROM " + table);
    EXPECT_EQ(empty.count, 0);
    EXPECT_EQ(empty.text, "");
    EXPECT_EQ(empty.debugger, "");
}

TEST_P(ProviderSuite, LargeResultsArriveWhole) {
    constexpr int kRows = 20000;
    char sql[256];
    std::snprintf(sql, sizeof sql, Dialect().series, kRows);
    const Block block = Query(sql, 8 * kRows);
    ASSERT_EQ(block.count, kRows);
    std::string expected;
    for (int i = 1; i <= kRows; ++i) expected += std::to_string(i) + "\r\n";
    EXPECT_EQ(block.text, expected);
}

// An empty connection string opens the last one again, also after the server ended the session.
TEST_P(ProviderSuite, TheEmptyStringReconnects) {
    m_library.close();
    ASSERT_EQ(m_library.open(nullptr, u""), 1);
    EXPECT_EQ(Query("SELECT 1").text, "1\r\n");
    if (!Dialect().endSession) return;

    Execute(Dialect().endSession);
    EXPECT_EQ(Query("SELECT 1").count, 0) << "the session is gone";
    ASSERT_EQ(m_library.open(nullptr, u""), 1);
    EXPECT_EQ(Query("SELECT 2").text, "2\r\n");
}

std::vector<const Dialect*> AllDialects() {
    std::vector<const Dialect*> all;
    for (std::size_t i = 0; i < kDialectCount; ++i) all.push_back(&kDialects[i]);
    return all;
}

INSTANTIATE_TEST_SUITE_P(Providers, ProviderSuite, ::testing::ValuesIn(AllDialects()),
                         [](const ::testing::TestParamInfo<const Dialect*>& param) { return std::string(param.param->name); });

}  // namespace
}  // namespace orvanta::testing
