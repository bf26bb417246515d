// A scripted Recordset, with its Fields and Field, for what SQLite will not show: counts the
// provider cannot tell, odd EOF values, records without fields, failures in the middle of a walk.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "com/object.h"
#include "objects/unimplemented.h"
#include "support/com_testing.h"

namespace orvanta::testing {

struct RecordsetScript {
    // What the double answers.
    std::size_t records = 0;             // the records really there, for walking to EOF
    ADO_LONGPTR recordCount = 0;         // what RecordCount reports
    VARIANT_BOOL notAtEnd = VARIANT_FALSE;  // the EOF value while records remain
    LONG fieldCount = 0;
    bool openLeavesClosed = false;
    HRESULT openResult = S_OK;
    HRESULT moveNextResult = S_OK;
    // The value of a field; by default the text "r<record>c<field>".
    std::function<HRESULT(std::size_t record, LONG field, VARIANT* value)> value;

    // What the double saw.
    std::vector<std::string> calls;
    std::u16string source = u"<unset>";
    VARTYPE sourceType = VT_EMPTY;
    VARTYPE connectionType = VT_EMPTY;
    IDispatch* connection = nullptr;
    CursorTypeEnum cursorTypeProperty = adOpenUnspecified;
    CursorLocationEnum cursorLocation = adUseNone;
    CursorTypeEnum cursorType = adOpenUnspecified;
    LockTypeEnum lockType = adLockUnspecified;
    LONG options = -99;
    std::u16string sort = u"<unset>";
    LONG state = adStateClosed;
    std::size_t position = 0;
    std::atomic<int> liveObjects = 0;
};

class RecordsetDouble final : public com::ComObject<RecordsetDouble, objects::UnimplementedRecordset, ISupportErrorInfo> {
public:
    explicit RecordsetDouble(RecordsetScript& script) : m_script(script) { ++m_script.liveObjects; }
    ~RecordsetDouble() { --m_script.liveObjects; }

    HRESULT put_CursorType(CursorTypeEnum type) override;
    HRESULT put_CursorLocation(CursorLocationEnum location) override;
    HRESULT Open(VARIANT source, VARIANT connection, CursorTypeEnum cursorType, LockTypeEnum lockType,
                 LONG options) override;
    HRESULT get_State(LONG* state) override;
    HRESULT get_RecordCount(ADO_LONGPTR* count) override;
    HRESULT get_EOF(VARIANT_BOOL* eof) override;
    HRESULT MoveFirst() override;
    HRESULT MoveNext() override;
    HRESULT put_Sort(BSTR criteria) override;
    HRESULT Close() override;
    HRESULT get_Fields(Fields** fields) override;
    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

private:
    RecordsetScript& m_script;
};

// Makes CoCreateInstance of the Recordset class build doubles that follow `script`.
class ScopedRecordsetDouble {
public:
    explicit ScopedRecordsetDouble(RecordsetScript& script);

private:
    ScopedClassOverride m_override;
};

}  // namespace orvanta::testing
