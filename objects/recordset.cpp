#include "objects/recordset.h"

#include "objects/bstr_view.h"
#include "objects/connection.h"
#include "objects/method_guard.h"

namespace orvanta::objects {
namespace {

constexpr std::u16string_view kSource = u"ADODB.Recordset";

const VARIANT& Dereference(const VARIANT& value) {
    if (value.vt == (VT_VARIANT | VT_BYREF) && value.byref) return *static_cast<const VARIANT*>(value.byref);
    return value;
}

// An optional argument left out: VT_ERROR with DISP_E_PARAMNOTFOUND, or nothing at all.
bool IsMissing(const VARIANT& value) { return value.vt == VT_EMPTY || value.vt == VT_ERROR; }

std::u16string SourceText(const VARIANT& source, LONG options) {
    const VARIANT& value = Dereference(source);
    if (value.vt != VT_BSTR) Fail(adErrInvalidArgument);
    std::u16string text(View(value.bstrVal));
    if (text.empty()) Fail(DB_E_NOCOMMAND, u"Command text was not set for the command object.");
    if (options != adOptionUnspecified && (options & (adCmdTable | adCmdTableDirect))) {
        text = u"SELECT * FROM " + text;
    }
    return text;
}

providers::Session& SessionOf(IUnknown* connection) {
    ComPtr<ISessionSource> source;
    if (!connection || FAILED(connection->QueryInterface(ISessionSource::Iid, source.ReleaseAndGetVoidAddress()))) {
        Fail(adErrInvalidConnection);
    }
    providers::Session* session = source->ActiveSession();
    if (!session) Fail(adErrInvalidConnection);
    return *session;
}

}  // namespace

template <class Body>
HRESULT Recordset::Guard(Body&& body) {
    return Guarded(IID_Recordset15, kSource, std::forward<Body>(body));
}

Cursor& Recordset::OpenCursor() {
    if (!m_cursor) Fail(adErrObjectClosed);
    return *m_cursor;
}

void Recordset::OpenOn(providers::Session& session, std::u16string_view source) {
    auto cursor = std::make_shared<Cursor>();
    if (!session.Query(source, cursor->Rows())) return;  // it ran; it returned no rows
    cursor->Open();
    m_cursor = std::move(cursor);
    m_fields = com::MakeCom<FieldsObject>(m_cursor);
    // Whatever was asked for, the rows are now a static set held here.
    m_cursorType = adOpenStatic;
}

HRESULT Recordset::Open(VARIANT source, VARIANT activeConnection, CursorTypeEnum cursorType, LockTypeEnum lockType,
                        LONG options) {
    return Guard([&] {
        if (m_cursor) Fail(adErrObjectOpen);
        const VARIANT& connection = Dereference(activeConnection);
        if (!IsMissing(connection)) {
            if (HRESULT hr = put_ActiveConnection(connection); FAILED(hr)) return hr;
        }
        if (cursorType != adOpenUnspecified) m_cursorType = cursorType;
        if (lockType != adLockUnspecified) m_lockType = lockType;
        const std::u16string text = SourceText(source, options);
        OpenOn(SessionOf(m_activeConnection.Get()), text);
        return S_OK;
    });
}

HRESULT Recordset::Close() {
    return Guard([&] {
        OpenCursor().Close();
        m_cursor.reset();
        m_fields.Reset();
        m_sort.clear();
        return S_OK;
    });
}

HRESULT Recordset::putref_ActiveConnection(IDispatch* connection) {
    return Guard([&] {
        if (m_cursor) Fail(adErrObjectOpen);
        m_activeConnection = ComPtr<IDispatch>(connection);
        return S_OK;
    });
}

HRESULT Recordset::put_ActiveConnection(VARIANT connection) {
    const VARIANT& value = Dereference(connection);
    if (value.vt == VT_DISPATCH) return putref_ActiveConnection(value.pdispVal);
    return Guard([&] {
        if (value.vt == VT_UNKNOWN && value.punkVal) {
            ComPtr<IDispatch> dispatch;
            if (FAILED(value.punkVal->QueryInterface(IID_IDispatch, dispatch.ReleaseAndGetVoidAddress()))) {
                Fail(adErrInvalidConnection);
            }
            return putref_ActiveConnection(dispatch.Get());
        }
        if (value.vt == VT_NULL || IsMissing(value)) return putref_ActiveConnection(nullptr);
        // A connection string here would need a connection of the Recordset's own.
        Fail(adErrInvalidConnection);
    });
}

HRESULT Recordset::get_ActiveConnection(VARIANT* connection) {
    return Guard([&] {
        RequireOut(connection);
        VariantInit(connection);
        if (m_activeConnection) {
            connection->pdispVal = ComPtr<IDispatch>(m_activeConnection).Detach();
            connection->vt = VT_DISPATCH;
        }
        return S_OK;
    });
}

HRESULT Recordset::get_State(LONG* state) {
    return Guard([&] {
        RequireOut(state);
        *state = m_cursor ? adStateOpen : adStateClosed;
        return S_OK;
    });
}

HRESULT Recordset::get_RecordCount(ADO_LONGPTR* count) {
    return Guard([&] {
        RequireOut(count);
        *count = static_cast<ADO_LONGPTR>(OpenCursor().RowCount());
        return S_OK;
    });
}

HRESULT Recordset::get_EOF(VARIANT_BOOL* eof) {
    return Guard([&] {
        RequireOut(eof);
        *eof = OpenCursor().IsEof() ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT Recordset::get_BOF(VARIANT_BOOL* bof) {
    return Guard([&] {
        RequireOut(bof);
        *bof = OpenCursor().IsBof() ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

void Recordset::Move(std::ptrdiff_t position) { OpenCursor().MoveTo(position); }

HRESULT Recordset::MoveFirst() {
    return Guard([&] {
        if (OpenCursor().RowCount() == 0) Fail(adErrNoCurrentRecord);
        Move(0);
        return S_OK;
    });
}

HRESULT Recordset::MoveLast() {
    return Guard([&] {
        const std::size_t rows = OpenCursor().RowCount();
        if (rows == 0) Fail(adErrNoCurrentRecord);
        Move(static_cast<std::ptrdiff_t>(rows) - 1);
        return S_OK;
    });
}

HRESULT Recordset::MoveNext() {
    return Guard([&] {
        Cursor& cursor = OpenCursor();
        if (cursor.IsEof()) Fail(adErrNoCurrentRecord);
        Move(cursor.Position() + 1);
        return S_OK;
    });
}

HRESULT Recordset::MovePrevious() {
    return Guard([&] {
        Cursor& cursor = OpenCursor();
        if (cursor.Position() < 0 || cursor.RowCount() == 0) Fail(adErrNoCurrentRecord);
        Move(cursor.Position() - 1);
        return S_OK;
    });
}

HRESULT Recordset::get_Fields(Fields** fields) {
    return Guard([&] {
        RequireOut(fields);
        // A closed Recordset has an empty collection.
        if (!m_fields) m_fields = com::MakeCom<FieldsObject>(std::make_shared<Cursor>());
        ComPtr<FieldsObject> result = m_fields;
        *fields = result.Detach();
        return S_OK;
    });
}

HRESULT Recordset::get_Sort(BSTR* criteria) {
    return Guard([&] {
        RequireOut(criteria);
        *criteria = SysAllocStringLen(m_sort.data(), static_cast<UINT>(m_sort.size()));
        if (!*criteria) throw std::bad_alloc();
        return S_OK;
    });
}

HRESULT Recordset::put_Sort(BSTR criteria) {
    return Guard([&] {
        OpenCursor();
        // The empty text removes any order; ordering by field names is not offered.
        if (SysStringLen(criteria) != 0) {
            Fail(AdoError(adErrFeatureNotAvailable), u"Sort orders other than the empty one are not supported.");
        }
        m_sort.clear();
        return S_OK;
    });
}

HRESULT Recordset::get_CursorType(CursorTypeEnum* type) {
    return Guard([&] {
        RequireOut(type);
        *type = m_cursorType;
        return S_OK;
    });
}

HRESULT Recordset::put_CursorType(CursorTypeEnum type) {
    return Guard([&] {
        if (m_cursor) Fail(adErrObjectOpen);
        if (type < adOpenForwardOnly || type > adOpenStatic) Fail(adErrInvalidArgument);
        m_cursorType = type;
        return S_OK;
    });
}

HRESULT Recordset::get_LockType(LockTypeEnum* type) {
    return Guard([&] {
        RequireOut(type);
        *type = m_lockType;
        return S_OK;
    });
}

HRESULT Recordset::put_LockType(LockTypeEnum type) {
    return Guard([&] {
        if (m_cursor) Fail(adErrObjectOpen);
        if (type < adLockReadOnly || type > adLockBatchOptimistic) Fail(adErrInvalidArgument);
        m_lockType = type;
        return S_OK;
    });
}

HRESULT Recordset::get_CursorLocation(CursorLocationEnum* location) {
    return Guard([&] {
        RequireOut(location);
        *location = m_cursorLocation;
        return S_OK;
    });
}

HRESULT Recordset::put_CursorLocation(CursorLocationEnum location) {
    return Guard([&] {
        if (m_cursor) Fail(adErrObjectOpen);
        if (location != adUseServer && location != adUseClient && location != adUseNone) Fail(adErrInvalidArgument);
        m_cursorLocation = location;
        return S_OK;
    });
}

HRESULT Recordset::InterfaceSupportsErrorInfo(REFIID iid) {
    return iid == IID_Recordset15 || iid == IID_Recordset20 || iid == IID_Recordset21 || iid == IID__Recordset
               ? S_OK
               : S_FALSE;
}

}  // namespace orvanta::objects
