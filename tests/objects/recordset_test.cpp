#include <cstring>

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
using testing::RefCount;
using testing::U16;
using testing::U8;
using testing::Variant;

class RecordsetObject : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, IID__Connection,
                                   m_connection.ReleaseAndGetVoidAddress()),
                  S_OK);
        ASSERT_EQ(m_connection->Open(Bstr(U16("Provider=SQLite;Data Source=" + m_dir.File("r.db"))), nullptr, nullptr, 0),
                  S_OK);
        Run(u"CREATE TABLE t(id INTEGER, big INTEGER, real REAL, text TEXT, blob BLOB, empty)");
        Run(u"INSERT INTO t VALUES (1, 5000000000, 2.5, 'one', x'00ff', NULL),"
            u"(2, -1, -0.125, '\U0001F600', x'', NULL), (3, 0, 0, '', NULL, NULL)");
        ASSERT_EQ(CoCreateInstance(CLSID_Recordset, nullptr, CLSCTX_ALL, IID__Recordset,
                                   m_recordset.ReleaseAndGetVoidAddress()),
                  S_OK);
    }

    void Run(std::u16string_view sql) {
        ComPtr<_Recordset> none;
        ASSERT_EQ(m_connection->Execute(Bstr(sql), nullptr, adExecuteNoRecords, none.GetAddressOf()), S_OK);
    }

    HRESULT Open(std::u16string_view query, IDispatch* connection = nullptr) {
        VARIANT source;
        source.vt = VT_BSTR;
        source.bstrVal = SysAllocStringLen(query.data(), static_cast<UINT>(query.size()));
        VARIANT active;
        active.vt = VT_DISPATCH;
        active.pdispVal = connection ? connection : m_connection.Get();
        const HRESULT hr = m_recordset->Open(source, active, adOpenStatic, adLockOptimistic, adCmdUnknown);
        SysFreeString(source.bstrVal);
        return hr;
    }

    LONG State() {
        LONG state = -1;
        EXPECT_EQ(m_recordset->get_State(&state), S_OK);
        return state;
    }

    ComPtr<Field> Item(SHORT index) {
        ComPtr<Fields> fields;
        EXPECT_EQ(m_recordset->get_Fields(fields.GetAddressOf()), S_OK);
        VARIANT position;
        position.vt = VT_I2;
        position.iVal = index;
        ComPtr<Field> field;
        EXPECT_EQ(fields->get_Item(position, field.GetAddressOf()), S_OK);
        return field;
    }

    testing::TempDir m_dir;
    ComPtr<_Connection> m_connection;
    ComPtr<_Recordset> m_recordset;
};

TEST_F(RecordsetObject, OpensCountsAndWalksEveryRecord) {
    ASSERT_EQ(Open(u"SELECT id FROM t ORDER BY id"), S_OK);
    EXPECT_EQ(State(), adStateOpen);
    ADO_LONGPTR count = 0;
    ASSERT_EQ(m_recordset->get_RecordCount(&count), S_OK);
    EXPECT_EQ(count, 3);

    std::vector<LONG> seen;
    for (;;) {
        VARIANT_BOOL eof = 7;
        ASSERT_EQ(m_recordset->get_EOF(&eof), S_OK);
        if (eof == VARIANT_TRUE) break;
        EXPECT_EQ(eof, VARIANT_FALSE);
        Variant value;
        ASSERT_EQ(Item(0)->get_Value(&value), S_OK);
        seen.push_back(value.lVal);
        ASSERT_EQ(m_recordset->MoveNext(), S_OK);
    }
    EXPECT_EQ(seen, (std::vector<LONG>{1, 2, 3}));
    EXPECT_EQ(m_recordset->MoveNext(), AdoError(adErrNoCurrentRecord));
    ASSERT_EQ(m_recordset->MoveFirst(), S_OK);
    Variant first;
    ASSERT_EQ(Item(0)->get_Value(&first), S_OK);
    EXPECT_EQ(first.lVal, 1);
}

TEST_F(RecordsetObject, ValuesTakeTheVariantTypeOfTheirStorage) {
    ASSERT_EQ(Open(u"SELECT id, big, real, text, blob, empty FROM t ORDER BY id"), S_OK);
    Variant id, big, real, text, blob, nothing;
    ASSERT_EQ(Item(0)->get_Value(&id), S_OK);
    ASSERT_EQ(Item(1)->get_Value(&big), S_OK);
    ASSERT_EQ(Item(2)->get_Value(&real), S_OK);
    ASSERT_EQ(Item(3)->get_Value(&text), S_OK);
    ASSERT_EQ(Item(4)->get_Value(&blob), S_OK);
    ASSERT_EQ(Item(5)->get_Value(&nothing), S_OK);
    EXPECT_EQ(id.vt, VT_I4);
    EXPECT_EQ(big.vt, VT_I8);
    EXPECT_EQ(big.llVal, 5000000000LL);
    EXPECT_EQ(real.vt, VT_R8);
    EXPECT_EQ(real.dblVal, 2.5);
    ASSERT_EQ(text.vt, VT_BSTR);
    EXPECT_EQ(U8(text.bstrVal), "one");
    ASSERT_EQ(blob.vt, VT_ARRAY | VT_UI1);
    ASSERT_EQ(blob.parray->rgsabound[0].cElements, 2u);
    EXPECT_EQ(std::memcmp(blob.parray->pvData, "\x00\xff", 2), 0);
    EXPECT_EQ(nothing.vt, VT_NULL);

    ASSERT_EQ(m_recordset->MoveNext(), S_OK);
    Variant emoji, small;
    ASSERT_EQ(Item(3)->get_Value(&emoji), S_OK);
    EXPECT_EQ(std::u16string(emoji.bstrVal, SysStringLen(emoji.bstrVal)), u"\U0001F600");
    ASSERT_EQ(Item(1)->get_Value(&small), S_OK);
    EXPECT_EQ(small.vt, VT_I4) << "integers that fit take 32 bits";

    BSTR name = nullptr;
    ASSERT_EQ(Item(3)->get_Name(&name), S_OK);
    EXPECT_EQ(U8(name), "text");
    SysFreeString(name);
    DataTypeEnum type = adEmpty;
    ASSERT_EQ(Item(1)->get_Type(&type), S_OK);
    EXPECT_EQ(type, adBigInt);
}

TEST_F(RecordsetObject, FieldsByPositionAndByName) {
    ASSERT_EQ(Open(u"SELECT id, text FROM t"), S_OK);
    ComPtr<Fields> fields;
    ASSERT_EQ(m_recordset->get_Fields(fields.GetAddressOf()), S_OK);
    LONG count = 0;
    ASSERT_EQ(fields->get_Count(&count), S_OK);
    EXPECT_EQ(count, 2);

    ComPtr<Fields> again;
    ASSERT_EQ(m_recordset->get_Fields(again.GetAddressOf()), S_OK);
    EXPECT_EQ(again.Get(), fields.Get()) << "one collection per open Recordset";

    VARIANT byName;
    byName.vt = VT_BSTR;
    byName.bstrVal = SysAllocString(u"TEXT");
    ComPtr<Field> named;
    EXPECT_EQ(fields->get_Item(byName, named.GetAddressOf()), S_OK);
    EXPECT_EQ(named.Get(), Item(1).Get()) << "the same Field for the same column";
    SysFreeString(byName.bstrVal);

    for (SHORT bad : {SHORT{2}, SHORT{-1}}) {
        VARIANT position;
        position.vt = VT_I2;
        position.iVal = bad;
        Field* field = reinterpret_cast<Field*>(0x1);
        EXPECT_EQ(fields->get_Item(position, &field), AdoError(adErrItemNotFound));
        EXPECT_EQ(field, nullptr);
    }
}

TEST_F(RecordsetObject, ASourceWithoutRowsRunsAndLeavesTheRecordsetClosed) {
    ASSERT_EQ(Open(u"INSERT INTO t(id) VALUES (4)"), S_OK);
    EXPECT_EQ(State(), adStateClosed);
    ASSERT_EQ(Open(u"SELECT count(*) FROM t"), S_OK);
    Variant count;
    ASSERT_EQ(Item(0)->get_Value(&count), S_OK);
    EXPECT_EQ(count.lVal, 4);
}

TEST_F(RecordsetObject, EmptyResultIsOpenWithNoRecords) {
    ASSERT_EQ(Open(u"SELECT id FROM t WHERE id > 100"), S_OK);
    EXPECT_EQ(State(), adStateOpen);
    ADO_LONGPTR count = -1;
    ASSERT_EQ(m_recordset->get_RecordCount(&count), S_OK);
    EXPECT_EQ(count, 0);
    VARIANT_BOOL eof = 0, bof = 0;
    ASSERT_EQ(m_recordset->get_EOF(&eof), S_OK);
    ASSERT_EQ(m_recordset->get_BOF(&bof), S_OK);
    EXPECT_EQ(eof, VARIANT_TRUE);
    EXPECT_EQ(bof, VARIANT_TRUE);
    EXPECT_EQ(m_recordset->MoveFirst(), AdoError(adErrNoCurrentRecord));
    Variant value;
    EXPECT_EQ(Item(0)->get_Value(&value), AdoError(adErrNoCurrentRecord));
}

TEST_F(RecordsetObject, FailuresCarryTheirCodes) {
    ComPtr<_Connection> closed;
    ASSERT_EQ(CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, IID__Connection, closed.ReleaseAndGetVoidAddress()),
              S_OK);
    ADO_LONGPTR count = 0;
    EXPECT_EQ(m_recordset->get_RecordCount(&count), AdoError(adErrObjectClosed));
    EXPECT_EQ(m_recordset->Close(), AdoError(adErrObjectClosed));
    EXPECT_EQ(m_recordset->MoveFirst(), AdoError(adErrObjectClosed));
    EXPECT_EQ(Open(u"SELECT 1", closed.Get()), AdoError(adErrInvalidConnection));
    EXPECT_EQ(Open(u"SELEC 1"), objects::DB_E_ERRORSINCOMMAND);
    EXPECT_EQ(Open(u""), objects::DB_E_NOCOMMAND);
    EXPECT_EQ(State(), adStateClosed);
    ASSERT_EQ(Open(u"SELECT 1"), S_OK);
    EXPECT_EQ(Open(u"SELECT 1"), AdoError(adErrObjectOpen));
    EXPECT_EQ(m_recordset->put_CursorType(adOpenDynamic), AdoError(adErrObjectOpen));
    EXPECT_EQ(m_recordset->put_Sort(Bstr(u"id DESC")), AdoError(adErrFeatureNotAvailable));
    EXPECT_EQ(m_recordset->put_Sort(Bstr(u"")), S_OK);
    EXPECT_EQ(m_recordset->Close(), S_OK);

    IErrorInfo* info = nullptr;
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(Open(u"SELECT * FROM missing"), objects::DB_E_ERRORSINCOMMAND);
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    BSTR description = nullptr;
    info->GetDescription(&description);
    EXPECT_EQ(U8(description), "no such table: missing");
    SysFreeString(description);
    info->Release();
}

// A Field held past Close and past the Recordset itself stays safe: it reports a closed object.
TEST_F(RecordsetObject, FieldsOutliveTheirRecordsetSafely) {
    ASSERT_EQ(Open(u"SELECT id FROM t"), S_OK);
    ComPtr<Field> field = Item(0);
    ASSERT_EQ(m_recordset->Close(), S_OK);
    Variant value;
    EXPECT_EQ(field->get_Value(&value), AdoError(adErrObjectClosed));

    ASSERT_EQ(Open(u"SELECT text FROM t"), S_OK);
    EXPECT_EQ(field->get_Value(&value), AdoError(adErrObjectClosed)) << "not bound to the new result";
    EXPECT_EQ(m_recordset.Reset(), 0u);
    EXPECT_EQ(field->get_Value(&value), AdoError(adErrObjectClosed));
    EXPECT_EQ(field.Reset(), 0u);
}

TEST_F(RecordsetObject, EveryObjectEndsAtReferenceCountZeroAfterAWalk) {
    ASSERT_EQ(Open(u"SELECT id, text FROM t"), S_OK);
    ComPtr<Fields> fields;
    ASSERT_EQ(m_recordset->get_Fields(fields.GetAddressOf()), S_OK);
    ComPtr<Field> field = Item(1);
    EXPECT_EQ(RefCount(m_recordset.Get()), 1u) << "children hold no reference to their Recordset";
    EXPECT_EQ(RefCount(fields.Get()), 2u);  // ours and the Recordset's
    EXPECT_EQ(m_recordset->Close(), S_OK);
    EXPECT_EQ(m_recordset.Reset(), 0u);
    EXPECT_EQ(field.Reset(), 1u) << "the collection keeps its Field";
    EXPECT_EQ(fields.Reset(), 0u);
    EXPECT_EQ(RefCount(m_connection.Get()), 1u) << "the Recordset gave back its ActiveConnection";
}

TEST_F(RecordsetObject, ConnectionExecuteWithoutNoRecordsReturnsTheRows) {
    ComPtr<_Recordset> rows;
    Variant affected;
    ASSERT_EQ(m_connection->Execute(Bstr(u"SELECT id FROM t"), &affected, adCmdText, rows.GetAddressOf()), S_OK);
    ASSERT_TRUE(rows);
    ADO_LONGPTR count = 0;
    ASSERT_EQ(rows->get_RecordCount(&count), S_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(affected.lVal, -1);
}

}  // namespace
}  // namespace orvanta

namespace orvanta {
namespace {

// Declared types give SQLite values the types that drivers on the platform give them.
TEST_F(RecordsetObject, DeclaredTypesChooseTheVariantType) {
    Run(u"CREATE TABLE typed(flag BOOLEAN, day DATE, stamp DATETIME, ts TIMESTAMP, amount DECIMAL(10,2), "
        u"n NUMERIC, price MONEY, cash CURRENCY, plain INTEGER)");
    Run(u"INSERT INTO typed VALUES (1, '2024-02-29', '2024-02-29 13:45:10.5', '2024-02-29T13:45:10Z', "
        u"'12.50', 3, 19.99, '1234.56789', 7)");
    // A number beyond 64 bits becomes a real in the engine, and one beyond the DECIMAL range stays one.
    Run(u"INSERT INTO typed VALUES ('yes', 'soon', '2024-13-01 00:00:00', 12, 'n/a', "
        u"'123456789012345678901234567890', 'free', x'00', NULL)");
    ASSERT_EQ(Open(u"SELECT * FROM typed"), S_OK);

    struct Expected {
        VARTYPE first;
        VARTYPE second;  // a value the declared meaning does not fit keeps its storage type
    };
    const Expected expected[] = {
        {VT_BOOL, VT_BSTR}, {VT_DATE, VT_BSTR},    {VT_DATE, VT_BSTR},       {VT_DATE, VT_I4},
        {VT_DECIMAL, VT_BSTR}, {VT_DECIMAL, VT_R8}, {VT_CY, VT_BSTR}, {VT_CY, VT_ARRAY | VT_UI1},
        {VT_I4, VT_NULL},
    };
    for (SHORT column = 0; column < 9; ++column) {
        SCOPED_TRACE(column);
        ASSERT_EQ(m_recordset->MoveFirst(), S_OK);
        Variant first;
        ASSERT_EQ(Item(column)->get_Value(&first), S_OK);
        EXPECT_EQ(first.vt, expected[column].first);
        ASSERT_EQ(m_recordset->MoveNext(), S_OK);
        Variant second;
        ASSERT_EQ(Item(column)->get_Value(&second), S_OK);
        EXPECT_EQ(second.vt, expected[column].second);
    }

    ASSERT_EQ(m_recordset->MoveFirst(), S_OK);
    Variant flag, stamp, amount, price, cash;
    ASSERT_EQ(Item(0)->get_Value(&flag), S_OK);
    ASSERT_EQ(Item(2)->get_Value(&stamp), S_OK);
    ASSERT_EQ(Item(4)->get_Value(&amount), S_OK);
    ASSERT_EQ(Item(6)->get_Value(&price), S_OK);
    ASSERT_EQ(Item(7)->get_Value(&cash), S_OK);
    EXPECT_EQ(flag.boolVal, VARIANT_TRUE);
    EXPECT_DOUBLE_EQ(stamp.date, 45351 + (13 * 3600 + 45 * 60 + 10.5) / 86400);
    // The engine keeps the text 12.50 of a DECIMAL column as the real 12.5.
    EXPECT_EQ(amount.decVal.Lo64, 125u);
    EXPECT_EQ(amount.decVal.scale, 1);
    EXPECT_EQ(price.cyVal.int64, 199900);
    EXPECT_EQ(cash.cyVal.int64, 12345679) << "rounded half away from zero at four places";

    DataTypeEnum type = adEmpty;
    ASSERT_EQ(Item(1)->get_Type(&type), S_OK);
    EXPECT_EQ(type, adDBDate);
    ASSERT_EQ(Item(6)->get_Type(&type), S_OK);
    EXPECT_EQ(type, adCurrency);
}

}  // namespace
}  // namespace orvanta
