#include "support/recordset_double.h"

#include "com/error_info.h"

namespace orvanta::testing {
namespace {

HRESULT Fail(REFIID iid, HRESULT code, const char16_t* what) {
    com::SetThreadErrorInfo(iid, u"Scripted", what);
    return code;
}

class FieldDouble final : public com::ComObject<FieldDouble, objects::UnimplementedField, ISupportErrorInfo> {
public:
    FieldDouble(RecordsetScript& script, LONG index) : m_script(script), m_index(index) {}

    HRESULT get_Value(VARIANT* value) override {
        m_script.calls.push_back("Value");
        if (m_script.value) {
            const HRESULT hr = m_script.value(m_script.position, m_index, value);
            if (FAILED(hr)) return Fail(IID_Field20, hr, u"scripted failure of Value");
            return hr;
        }
        const std::u16string text = u"r" + std::u16string(1, char16_t(u'0' + m_script.position)) + u"c" +
                                    std::u16string(1, char16_t(u'0' + m_index));
        value->bstrVal = SysAllocString(text.c_str());
        value->vt = VT_BSTR;
        return S_OK;
    }
    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override { return iid == IID_Field20 ? S_OK : S_FALSE; }

private:
    RecordsetScript& m_script;
    LONG m_index;
};

class FieldsDouble final : public com::ComObject<FieldsDouble, objects::UnimplementedFields, ISupportErrorInfo> {
public:
    explicit FieldsDouble(RecordsetScript& script) : m_script(script) {}

    HRESULT get_Count(LONG* count) override {
        m_script.calls.push_back("Count");
        *count = m_script.fieldCount;
        return S_OK;
    }
    HRESULT get_Item(VARIANT index, Field** field) override {
        m_script.calls.push_back("Item");
        if (index.vt != VT_I2 || index.iVal < 0 || index.iVal >= m_script.fieldCount) {
            *field = nullptr;
            return Fail(IID_Fields15, AdoError(adErrItemNotFound), u"no such item");
        }
        *field = com::MakeCom<FieldDouble>(m_script, index.iVal).Detach();
        return S_OK;
    }
    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override {
        return iid == IID_Fields15 || iid == IID__Collection ? S_OK : S_FALSE;
    }

private:
    RecordsetScript& m_script;
};

}  // namespace

HRESULT RecordsetDouble::put_CursorType(CursorTypeEnum type) {
    m_script.calls.push_back("CursorType");
    m_script.cursorTypeProperty = type;
    return S_OK;
}

HRESULT RecordsetDouble::put_CursorLocation(CursorLocationEnum location) {
    m_script.calls.push_back("CursorLocation");
    m_script.cursorLocation = location;
    return S_OK;
}

HRESULT RecordsetDouble::Open(VARIANT source, VARIANT connection, CursorTypeEnum cursorType, LockTypeEnum lockType,
                              LONG options) {
    m_script.calls.push_back("Open");
    m_script.sourceType = source.vt;
    if (source.vt == VT_BSTR) m_script.source.assign(source.bstrVal, SysStringLen(source.bstrVal));
    m_script.connectionType = connection.vt;
    m_script.connection = connection.vt == VT_DISPATCH ? connection.pdispVal : nullptr;
    m_script.cursorType = cursorType;
    m_script.lockType = lockType;
    m_script.options = options;
    if (FAILED(m_script.openResult)) return Fail(IID_Recordset15, m_script.openResult, u"scripted failure of Open");
    m_script.state = m_script.openLeavesClosed ? adStateClosed : adStateOpen;
    m_script.position = 0;
    return S_OK;
}

HRESULT RecordsetDouble::get_State(LONG* state) {
    m_script.calls.push_back("State");
    *state = m_script.state;
    return S_OK;
}

HRESULT RecordsetDouble::get_RecordCount(ADO_LONGPTR* count) {
    m_script.calls.push_back("RecordCount");
    *count = m_script.recordCount;
    return S_OK;
}

HRESULT RecordsetDouble::get_EOF(VARIANT_BOOL* eof) {
    m_script.calls.push_back("EOF");
    *eof = m_script.position >= m_script.records ? VARIANT_TRUE : m_script.notAtEnd;
    return S_OK;
}

HRESULT RecordsetDouble::MoveFirst() {
    m_script.calls.push_back("MoveFirst");
    m_script.position = 0;
    return S_OK;
}

HRESULT RecordsetDouble::MoveNext() {
    m_script.calls.push_back("MoveNext");
    if (FAILED(m_script.moveNextResult)) return Fail(IID_Recordset15, m_script.moveNextResult, u"scripted MoveNext");
    ++m_script.position;
    return S_OK;
}

HRESULT RecordsetDouble::put_Sort(BSTR criteria) {
    m_script.calls.push_back("Sort");
    m_script.sort.assign(criteria ? criteria : u"", SysStringLen(criteria));
    return S_OK;
}

HRESULT RecordsetDouble::Close() {
    m_script.calls.push_back("Close");
    m_script.state = adStateClosed;
    return S_OK;
}

HRESULT RecordsetDouble::get_Fields(Fields** fields) {
    m_script.calls.push_back("Fields");
    *fields = com::MakeCom<FieldsDouble>(m_script).Detach();
    return S_OK;
}

HRESULT RecordsetDouble::InterfaceSupportsErrorInfo(REFIID iid) { return iid == IID_Recordset15 ? S_OK : S_FALSE; }

ScopedRecordsetDouble::ScopedRecordsetDouble(RecordsetScript& script)
    : m_override(CLSID_Recordset, [&script](IUnknown** object) {
          *object = static_cast<_Recordset*>(com::MakeCom<RecordsetDouble>(script).Detach());
          return S_OK;
      }) {}

}  // namespace orvanta::testing
