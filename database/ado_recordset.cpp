#include "database/ado_recordset.h"

#include <new>

#include "database/ado_exception.h"
#include "database/bstr.h"
#include "database/field_text.h"
#include "database/variant.h"
#include "database/wide_text.h"

CADORecordset::CADORecordset(const CADODatabase& database) {
    ComPtr<IUnknown> unknown;
    HRESULT hr = CoCreateInstance(CLSID_Recordset, nullptr, CLSCTX_ALL, IID_IUnknown, unknown.ReleaseAndGetVoidAddress());
    if (SUCCEEDED(hr)) hr = OleRun(unknown.Get());
    if (SUCCEEDED(hr)) hr = unknown->QueryInterface(IID__Recordset, m_recordset.ReleaseAndGetVoidAddress());
    unknown.Reset();
    if (FAILED(hr)) m_recordset.Reset();
    m_connection = database.GetConnection();
}

CADORecordset::~CADORecordset() {
    // Closing has already happened on the normal path; a failure to close here is absorbed.
    try {
        Close();
    } catch (...) {
    }
    m_recordset.Reset();
    m_connection.Reset();
}

bool CADORecordset::Open(LPCWSTR query) {
    Close();
    if (query && query[0] != 0) m_query = query;
    TrimLeadingWhiteSpace(m_query);

    try {
        ComCall(m_recordset, &Recordset15::put_CursorType, adOpenStatic);
        ComCall(m_recordset, &Recordset15::put_CursorLocation, adUseClient);
        CVariant source;
        source.bstrVal = CBstr(m_query).Detach();
        source.vt = VT_BSTR;
        CVariant connection;
        connection.pdispVal = ComPtr<_Connection>(m_connection).Detach();
        connection.vt = VT_DISPATCH;
        ComCall(m_recordset, &Recordset15::Open, source, connection, adOpenStatic, adLockOptimistic, LONG{adCmdUnknown});
    } catch (const ComError& error) {
        ReportComError(error);
    }

    if (!m_recordset) return false;
    LONG state = adStateClosed;
    ComCall(m_recordset, &Recordset15::get_State, &state);
    return state != adStateClosed;
}

bool CADORecordset::IsConnectionOpen() {
    if (!m_connection) return false;
    LONG state = adStateClosed;
    ComCall(m_connection, &Connection15::get_State, &state);
    return state != adStateClosed;
}

bool CADORecordset::IsOpen() {
    if (!m_recordset || !IsConnectionOpen()) return false;
    LONG state = adStateClosed;
    ComCall(m_recordset, &Recordset15::get_State, &state);
    return state != adStateClosed;
}

LONG CADORecordset::GetRecordCount() {
    ADO_LONGPTR count = 0;
    ComCall(m_recordset, &Recordset15::get_RecordCount, &count);
    if (count != -1) return static_cast<LONG>(count);

    // The provider cannot tell: count by walking, then stand on the first record again.
    VARIANT_BOOL eof = VARIANT_FALSE;
    ComCall(m_recordset, &Recordset15::get_EOF, &eof);
    if (eof != VARIANT_TRUE) MoveFirst();
    LONG walked = 0;
    for (;;) {
        ComCall(m_recordset, &Recordset15::get_EOF, &eof);
        if (eof == VARIANT_TRUE) break;
        ++walked;
        MoveNext();
    }
    if (walked == 0) return 0;
    MoveFirst();
    return walked;
}

LONG CADORecordset::GetFieldCount() {
    ComPtr<Fields> fields;
    ComCall(m_recordset, &Recordset15::get_Fields, fields.GetAddressOf());
    LONG count = 0;
    ComCall(fields, &_Collection::get_Count, &count);
    return count;
}

void CADORecordset::MoveFirst() { ComCall(m_recordset, &Recordset15::MoveFirst); }

void CADORecordset::MoveNext() { ComCall(m_recordset, &Recordset15::MoveNext); }

void CADORecordset::Close() {
    if (!IsOpen()) return;
    const CBstr noOrder(u"");
    ComCall(m_recordset, &Recordset15::put_Sort, noOrder.Get());
    ComCall(m_recordset, &Recordset15::Close);
}

bool CADORecordset::GetFieldText(int index, std::u16string& text, std::u16string dateFormat) {
    static const std::u16string kDefaultDateFormat = u"%Y-%m-%d %H:%M:%S";
    try {
        CVariant position;
        position.iVal = static_cast<SHORT>(static_cast<USHORT>(index));  // only the low 16 bits reach ADO
        position.vt = VT_I2;
        CVariant copy;
        {
            ComPtr<Fields> fields;
            ComCall(m_recordset, &Recordset15::get_Fields, fields.GetAddressOf());
            ComPtr<Field> field;
            ComCall(fields, &Fields15::get_Item, position, field.GetAddressOf());
            CVariant value;
            ComCall(field, &Field20::get_Value, &value);
            if (HRESULT hr = VariantCopy(&copy, &value); FAILED(hr)) throw ComError(hr, nullptr);
        }
        return VariantToFieldText(copy, text, dateFormat.empty() ? kDefaultDateFormat : dateFormat);
    } catch (const ComError& error) {
        ReportComError(error);
    }
}

void CADORecordset::ReportComError(const ComError& error) {
    try {
        const std::u16string source = error.Source();
        const std::u16string description = error.Description();
        const LPCWSTR meaning = error.ResultCodeText();
        std::u16string report = u"CADORecordset Error\n\tCode = ";
        report += Hex8(static_cast<DWORD>(error.Error()));
        report += u"\n\tCode meaning = ";
        report += meaning ? meaning : u"";
        report += u"\n\tSource = ";
        report += source;
        report += u"\n\tDescription = ";
        report += description;
        report += u"\n";
        m_lastError = u"Query = " + m_query + u"\n" + report;
        m_lastErrorCode = error.Error();
        throw CADOException(error.Error(), description);
    } catch (const std::bad_alloc&) {
        throw ComError(E_OUTOFMEMORY, nullptr);
    }
}
