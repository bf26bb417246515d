// The Recordset object with a static cursor on the client: Open runs the query and takes every
// row into the cursor's own store; moving and reading never go back to the engine.
#pragma once

#include <memory>
#include <string>

#include "com/object.h"
#include "objects/cursor.h"
#include "objects/fields.h"
#include "objects/unimplemented.h"
#include "providers/provider.h"

namespace orvanta::objects {

class Recordset final : public com::ApartmentObject<Recordset, UnimplementedRecordset, ISupportErrorInfo> {
public:
    // Runs `source` on `session`; the Recordset stays closed when the source returns no rows.
    void OpenOn(providers::Session& session, std::u16string_view source);

    HRESULT putref_ActiveConnection(IDispatch* connection) override;
    HRESULT put_ActiveConnection(VARIANT connection) override;
    HRESULT get_ActiveConnection(VARIANT* connection) override;
    HRESULT get_BOF(VARIANT_BOOL* bof) override;
    HRESULT get_CursorType(CursorTypeEnum* type) override;
    HRESULT put_CursorType(CursorTypeEnum type) override;
    HRESULT get_EOF(VARIANT_BOOL* eof) override;
    HRESULT get_Fields(Fields** fields) override;
    HRESULT get_LockType(LockTypeEnum* type) override;
    HRESULT put_LockType(LockTypeEnum type) override;
    HRESULT get_RecordCount(ADO_LONGPTR* count) override;
    HRESULT Close() override;
    HRESULT MoveNext() override;
    HRESULT MovePrevious() override;
    HRESULT MoveFirst() override;
    HRESULT MoveLast() override;
    HRESULT Open(VARIANT source, VARIANT activeConnection, CursorTypeEnum cursorType, LockTypeEnum lockType,
                 LONG options) override;
    HRESULT get_Sort(BSTR* criteria) override;
    HRESULT put_Sort(BSTR criteria) override;
    HRESULT get_State(LONG* state) override;
    HRESULT get_CursorLocation(CursorLocationEnum* location) override;
    HRESULT put_CursorLocation(CursorLocationEnum location) override;

    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

private:
    template <class Body>
    HRESULT Guard(Body&& body);
    Cursor& OpenCursor();
    void Move(std::ptrdiff_t position);

    std::shared_ptr<Cursor> m_cursor;  // null while closed
    ComPtr<FieldsObject> m_fields;
    ComPtr<IDispatch> m_activeConnection;
    std::u16string m_sort;
    CursorTypeEnum m_cursorType = adOpenForwardOnly;
    LockTypeEnum m_lockType = adLockReadOnly;
    CursorLocationEnum m_cursorLocation = adUseServer;
};

}  // namespace orvanta::objects
