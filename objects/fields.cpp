#include "objects/fields.h"

#include "objects/bstr_view.h"
#include "objects/cell_variant.h"
#include "objects/method_guard.h"
#include "providers/connection_string.h"

namespace orvanta::objects {
namespace {

constexpr std::u16string_view kFieldSource = u"ADODB.Field";
constexpr std::u16string_view kFieldsSource = u"ADODB.Fields";

// The position an index VARIANT names, or -1 when it is no number.
long long IndexNumber(const VARIANT& index) {
    if (index.vt == (VT_VARIANT | VT_BYREF)) {
        return index.byref ? IndexNumber(*static_cast<const VARIANT*>(index.byref)) : -1;
    }
    const void* data = (index.vt & VT_BYREF) ? index.byref : static_cast<const void*>(&index.llVal);
    if (!data) return -1;
    switch (index.vt & ~VT_BYREF) {
        case VT_I2: return *static_cast<const SHORT*>(data);
        case VT_I4: case VT_INT: return *static_cast<const LONG*>(data);
        case VT_I8: return *static_cast<const LONGLONG*>(data);
        case VT_UI1: return *static_cast<const BYTE*>(data);
        case VT_UI2: return *static_cast<const USHORT*>(data);
        case VT_UI4: case VT_UINT: return *static_cast<const ULONG*>(data);
        default: return -1;
    }
}

}  // namespace

FieldObject::FieldObject(std::shared_ptr<Cursor> cursor, std::size_t column)
    : m_cursor(std::move(cursor)), m_column(column) {}

template <class Body>
HRESULT FieldObject::Guard(Body&& body) {
    return Guarded(IID_Field20, kFieldSource, std::forward<Body>(body));
}

const providers::Column& FieldObject::Describe() {
    if (!m_cursor->IsOpen()) Fail(adErrObjectClosed);
    return m_cursor->Rows().Columns()[m_column];
}

HRESULT FieldObject::get_Name(BSTR* name) {
    return Guard([&] {
        RequireOut(name);
        const std::u16string& text = Describe().name;
        *name = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (!*name) throw std::bad_alloc();
        return S_OK;
    });
}

HRESULT FieldObject::get_Type(DataTypeEnum* type) {
    return Guard([&] {
        RequireOut(type);
        *type = DataTypeOf(Describe().type);
        return S_OK;
    });
}

HRESULT FieldObject::get_Attributes(LONG* attributes) {
    return Guard([&] {
        RequireOut(attributes);
        *attributes = Describe().nullable ? adFldIsNullable | adFldMayBeNull : 0;
        return S_OK;
    });
}

HRESULT FieldObject::get_ActualSize(ADO_LONGPTR* size) {
    return Guard([&] {
        RequireOut(size);
        Describe();
        if (!m_cursor->HasCurrentRecord()) Fail(adErrNoCurrentRecord);
        const providers::CellView cell = m_cursor->CurrentCell(m_column);
        switch (cell.kind) {
            case providers::CellKind::Null: *size = 0; break;
            case providers::CellKind::Utf16: *size = static_cast<ADO_LONGPTR>(cell.length * sizeof(char16_t)); break;
            default: *size = static_cast<ADO_LONGPTR>(cell.length); break;
        }
        return S_OK;
    });
}

HRESULT FieldObject::get_Value(VARIANT* value) {
    return Guard([&] {
        RequireOut(value);
        Describe();
        if (!m_cursor->HasCurrentRecord()) Fail(adErrNoCurrentRecord);
        VARIANT result;
        VariantInit(&result);
        CellToVariant(m_cursor->CurrentCell(m_column), result);
        *value = result;
        return S_OK;
    });
}

HRESULT FieldObject::InterfaceSupportsErrorInfo(REFIID iid) {
    return iid == IID_Field20 || iid == IID_Field ? S_OK : S_FALSE;
}

FieldsObject::FieldsObject(std::shared_ptr<Cursor> cursor) : m_cursor(std::move(cursor)) {}

HRESULT FieldsObject::get_Count(LONG* count) {
    return Guarded(IID__Collection, kFieldsSource, [&] {
        RequireOut(count);
        *count = m_cursor->IsOpen() ? static_cast<LONG>(m_cursor->Rows().Columns().size()) : 0;
        return S_OK;
    });
}

std::size_t FieldsObject::FindColumn(const VARIANT& index) const {
    const auto& columns = m_cursor->Rows().Columns();
    if (index.vt == VT_I2 && index.iVal >= 0 && static_cast<std::size_t>(index.iVal) < columns.size()) {
        return static_cast<std::size_t>(index.iVal);  // what a walk over the fields asks, by far
    }
    if (index.vt == VT_BSTR) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (providers::EqualsIgnoringCase(columns[i].name, View(index.bstrVal))) return i;
        }
        Fail(adErrItemNotFound);
    }
    const long long position = IndexNumber(index);
    if (position < 0 || static_cast<unsigned long long>(position) >= columns.size()) Fail(adErrItemNotFound);
    return static_cast<std::size_t>(position);
}

HRESULT FieldsObject::get_Item(VARIANT index, Field** field) {
    return Guarded(IID_Fields15, kFieldsSource, [&] {
        RequireOut(field);
        *field = nullptr;
        if (!m_cursor->IsOpen()) Fail(adErrItemNotFound);
        const std::size_t column = FindColumn(index);
        if (m_fields.size() <= column) m_fields.resize(m_cursor->Rows().Columns().size());
        if (!m_fields[column]) m_fields[column] = com::MakeCom<FieldObject>(m_cursor, column);
        ComPtr<FieldObject> found = m_fields[column];
        *field = found.Detach();
        return S_OK;
    });
}

HRESULT FieldsObject::InterfaceSupportsErrorInfo(REFIID iid) {
    return iid == IID__Collection || iid == IID_Fields15 || iid == IID_Fields ? S_OK : S_FALSE;
}

}  // namespace orvanta::objects
