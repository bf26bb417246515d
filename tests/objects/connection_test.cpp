#include <gtest/gtest.h>

#include "ado/interfaces.h"
#include "objects/failure.h"
#include "support/bstr.h"
#include "support/com_testing.h"
#include "support/temp_dir.h"
#include "support/text.h"

namespace orvanta {
namespace {

using testing::Bstr;
using testing::TempDir;
using testing::U16;
using testing::U8;

struct ThreadError {
    std::string source;
    std::string description;
};

ThreadError TakeThreadError() {
    IErrorInfo* raw = nullptr;
    if (GetErrorInfo(0, &raw) != S_OK) return {"<none>", "<none>"};
    ComPtr<IErrorInfo> info;
    info.Attach(raw);
    BSTR source = nullptr, description = nullptr;
    info->GetSource(&source);
    info->GetDescription(&description);
    ThreadError error{U8(std::u16string(source, SysStringLen(source))),
                      U8(std::u16string(description, SysStringLen(description)))};
    SysFreeString(source);
    SysFreeString(description);
    return error;
}

class ConnectionObject : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, IID__Connection,
                                   m_connection.ReleaseAndGetVoidAddress()),
                  S_OK);
        SetErrorInfo(0, nullptr);
    }

    HRESULT Open(const std::string& connectionString) {
        return m_connection->Open(Bstr(U16(connectionString)), Bstr(u""), Bstr(u""), 0);
    }
    std::string SqliteFile() { return "Provider=SQLite;Data Source=" + m_dir.File("c.db"); }
    LONG State() {
        LONG state = -7;
        EXPECT_EQ(m_connection->get_State(&state), S_OK);
        return state;
    }
    HRESULT Execute(std::u16string_view sql, VARIANT* affected, LONG options = adExecuteNoRecords) {
        ComPtr<_Recordset> recordset;
        return m_connection->Execute(Bstr(sql), affected, options, recordset.GetAddressOf());
    }

    TempDir m_dir;
    ComPtr<_Connection> m_connection;
};

TEST_F(ConnectionObject, OpensExecutesAndCloses) {
    EXPECT_EQ(State(), adStateClosed);
    ASSERT_EQ(Open(SqliteFile()), S_OK);
    EXPECT_EQ(State(), adStateOpen);

    VARIANT affected;
    VariantInit(&affected);
    affected.vt = VT_BSTR;
    affected.bstrVal = SysAllocString(u"junk that must be freed");
    ASSERT_EQ(Execute(u"CREATE TABLE t(a)", &affected), S_OK);
    EXPECT_EQ(affected.vt, VT_I4);
    EXPECT_EQ(affected.lVal, -1);
    ASSERT_EQ(Execute(u"INSERT INTO t VALUES (1),(2)", &affected), S_OK);
    EXPECT_EQ(affected.lVal, 2);
    EXPECT_EQ(Execute(u"DELETE FROM t", nullptr), S_OK) << "the count is optional";

    EXPECT_EQ(m_connection->Close(), S_OK);
    EXPECT_EQ(State(), adStateClosed);
    EXPECT_EQ(Open(""), S_OK) << "the connection string property opens it again";
}

TEST_F(ConnectionObject, FailuresCarryTheirCodeAndErrorInformation) {
    VARIANT affected;
    VariantInit(&affected);
    struct Case {
        const char* label;
        std::function<HRESULT()> call;
        HRESULT code;
        const char* description;  // a part of it
    };
    const Case cases[] = {
        {"close while closed", [&] { return m_connection->Close(); }, AdoError(adErrObjectClosed), "object is closed"},
        {"execute while closed", [&] { return Execute(u"SELECT 1", &affected); }, AdoError(adErrObjectClosed),
         "object is closed"},
        {"unknown provider", [&] { return Open("Provider=NoSuchEngine;Data Source=x"); },
         AdoError(adErrProviderNotFound), "Provider cannot be found"},
        {"malformed string", [&] { return Open("just words"); }, E_FAIL, "malformed"},
        {"bad timeout", [&] { return Open(SqliteFile() + ";Command Timeout=soon"); }, E_FAIL, "whole number"},
        {"open", [&] { return Open(SqliteFile()); }, S_OK, ""},
        {"open twice", [&] { return Open(SqliteFile()); }, AdoError(adErrObjectOpen), "object is open"},
        {"rejected SQL", [&] { return Execute(u"SELEC 1", &affected); }, objects::DB_E_ERRORSINCOMMAND,
         "near \"SELEC\": syntax error"},
        {"empty command", [&] { return Execute(u"", &affected); }, objects::DB_E_NOCOMMAND, "Command text"},
        {"bad cursor location", [&] { return m_connection->put_CursorLocation(static_cast<CursorLocationEnum>(9)); },
         AdoError(adErrInvalidArgument), "wrong type"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.call(), c.code);
        if (c.code == S_OK) continue;
        const ThreadError error = TakeThreadError();
        EXPECT_EQ(error.source, "ADODB.Connection");
        EXPECT_NE(error.description.find(c.description), std::string::npos) << error.description;
    }
    ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(m_connection.As(&support), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_Connection15), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_Recordset15), S_FALSE);
}

TEST_F(ConnectionObject, CursorLocationAndTimeoutsAreProperties) {
    CursorLocationEnum location = adUseNone;
    EXPECT_EQ(m_connection->get_CursorLocation(&location), S_OK);
    EXPECT_EQ(location, adUseServer);
    EXPECT_EQ(m_connection->put_CursorLocation(adUseClient), S_OK);
    EXPECT_EQ(m_connection->get_CursorLocation(&location), S_OK);
    EXPECT_EQ(location, adUseClient);

    LONG seconds = 0;
    EXPECT_EQ(m_connection->get_ConnectionTimeout(&seconds), S_OK);
    EXPECT_EQ(seconds, 15);
    EXPECT_EQ(m_connection->get_CommandTimeout(&seconds), S_OK);
    EXPECT_EQ(seconds, 30);
    EXPECT_EQ(m_connection->get_State(nullptr), E_POINTER);
}

TEST_F(ConnectionObject, ReleasingAnOpenConnectionClosesIt) {
    ASSERT_EQ(Open(SqliteFile()), S_OK);
    ASSERT_EQ(Execute(u"CREATE TABLE t(a); BEGIN EXCLUSIVE", nullptr), S_OK);
    EXPECT_EQ(m_connection.Reset(), 0u);

    ComPtr<_Connection> other;
    ASSERT_EQ(CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, IID__Connection, other.ReleaseAndGetVoidAddress()),
              S_OK);
    ASSERT_EQ(other->Open(Bstr(U16(SqliteFile() + ";Command Timeout=1")), nullptr, nullptr, 0), S_OK);
    ComPtr<_Recordset> none;
    EXPECT_EQ(other->Execute(Bstr(u"BEGIN EXCLUSIVE"), nullptr, adExecuteNoRecords, none.GetAddressOf()), S_OK)
        << "the lock went with the released connection";
}

}  // namespace
}  // namespace orvanta
