// The exported functions linked with a scripted Connection double, registered before the
// module's shared connection is built, for the closing failures no engine shows.
#include <gtest/gtest.h>

#include "exports/module.h"
#include "support/connection_double.h"
#include "support/recordset_double.h"
#include "support/stderr_capture.h"

extern "C" int fnDBOpen(const char16_t*, const char16_t*);
extern "C" int fnDBExecute(const char16_t*);
extern "C" void fnDBClose();

namespace orvanta {
namespace {

using testing::ConnectionScript;
using testing::ScopedConnectionDouble;

// Built before g_database, which is initialised at the default priority.
__attribute__((init_priority(101))) ConnectionScript g_script;
__attribute__((init_priority(101))) ScopedConnectionDouble g_double(g_script);

class ExportPaths : public ::testing::Test {
protected:
    void SetUp() override {
        g_script.stateResult = g_script.closeResult = g_script.openResult = g_script.executeResult = S_OK;
        fnDBClose();
        ASSERT_EQ(fnDBOpen(nullptr, u"DSN=x"), 1);
    }
    void TearDown() override {
        g_script.stateResult = g_script.closeResult = S_OK;
        fnDBClose();
    }
};

TEST_F(ExportPaths, TheSharedConnectionIsTheDouble) { EXPECT_EQ(g_script.liveObjects, 1); }

TEST_F(ExportPaths, CloseFailuresAreContainedByCloseAndOpen) {
    for (HRESULT ConnectionScript::*failing : {&ConnectionScript::stateResult, &ConnectionScript::closeResult}) {
        g_script.*failing = E_FAIL;
        EXPECT_NO_FATAL_FAILURE(fnDBClose());
        EXPECT_EQ(fnDBOpen(nullptr, u"DSN=y"), 0);
        g_script.*failing = S_OK;
        EXPECT_EQ(fnDBOpen(nullptr, u""), 1) << "the library stays usable";
    }
}

TEST_F(ExportPaths, ExecuteReturnsTheCountWholeOrZeroOnFailure) {
    g_script.recordsAffected = -7;
    EXPECT_EQ(fnDBExecute(u"x"), -7);
    g_script.executeResult = E_FAIL;
    EXPECT_EQ(fnDBExecute(u"x"), 0);
    EXPECT_EQ(g_database.GetRecordsAffected(), 0);
}

}  // namespace
}  // namespace orvanta

namespace orvanta {
namespace {

using testing::RecordsetScript;
using testing::ScopedRecordsetDouble;

extern "C" int fnDBExecuteQuery(const char16_t*, char16_t*);

// Queries through a scripted Recordset, for walks that no engine produces.
class QueryWithDouble : public ExportPaths {
protected:
    std::u16string Run(int& count, std::string& debugger) {
        std::vector<char16_t> buffer(256, u'#');
        testing::StderrCapture capture;
        count = fnDBExecuteQuery(u"SELECT x", buffer.data());
        debugger = capture.Finish();
        if (buffer[0] == u'#') return u"<untouched>";
        return std::u16string(buffer.data());
    }

    RecordsetScript m_script;
    ScopedRecordsetDouble m_double{m_script};
};

TEST_F(QueryWithDouble, AFailureInTheMiddleOfTheWalkReturnsZeroAndWritesNothing) {
    m_script.records = 5;
    m_script.recordCount = 5;
    m_script.fieldCount = 2;
    m_script.value = [](std::size_t record, LONG field, VARIANT* value) {
        if (record == 2 && field == 1) return MakeHresult(0x80004005);
        value->vt = VT_I4;
        value->lVal = static_cast<LONG>(record);
        return S_OK;
    };
    int count = -1;
    std::string debugger;
    EXPECT_EQ(Run(count, debugger), u"<untouched>");
    EXPECT_EQ(count, 0) << "not the record count read before the failure";
    EXPECT_EQ(debugger, "xxxxxxxx ! fnDBExecuteQuery error xxxxx\n");
    EXPECT_EQ(m_script.liveObjects, 0) << "the result set was released";
}

TEST_F(QueryWithDouble, ANegativeCountWithoutFailureIsReturnedWithAnEmptyBlock) {
    m_script.records = 3;
    m_script.recordCount = -2;
    int count = 0;
    std::string debugger;
    EXPECT_EQ(Run(count, debugger), u"");
    EXPECT_EQ(count, -2);
    EXPECT_EQ(debugger, "");
}

TEST_F(QueryWithDouble, RecordsWithoutFieldsGiveEmptyLines) {
    m_script.records = 3;
    m_script.recordCount = 3;
    m_script.fieldCount = 0;
    int count = 0;
    std::string debugger;
    EXPECT_EQ(Run(count, debugger), u"\r\n\r\n\r\n");
    EXPECT_EQ(count, 3);
}

TEST_F(QueryWithDouble, TheWalkIsDrivenByTheCountAlone) {
    m_script.records = 2;
    m_script.recordCount = 2;
    m_script.fieldCount = 1;
    int count = 0;
    std::string debugger;
    EXPECT_EQ(Run(count, debugger), u"r0c0\r\nr1c0\r\n");
    EXPECT_EQ(std::count(m_script.calls.begin(), m_script.calls.end(), "EOF"), 0);
    EXPECT_EQ(std::count(m_script.calls.begin(), m_script.calls.end(), "RecordCount"), 4) << "once, then before each record and once to stop";
    EXPECT_EQ(std::count(m_script.calls.begin(), m_script.calls.end(), "MoveNext"), 2);
}

}  // namespace
}  // namespace orvanta
