// The Fields collection of a Recordset and its Field objects, reading the Recordset's cursor.
#pragma once

#include <memory>
#include <vector>

#include "com/object.h"
#include "objects/cursor.h"
#include "objects/unimplemented.h"

namespace orvanta::objects {

class FieldObject final : public com::ApartmentObject<FieldObject, UnimplementedField, ISupportErrorInfo> {
public:
    FieldObject(std::shared_ptr<Cursor> cursor, std::size_t column);

    HRESULT get_ActualSize(ADO_LONGPTR* size) override;
    HRESULT get_Attributes(LONG* attributes) override;
    HRESULT get_Name(BSTR* name) override;
    HRESULT get_Type(DataTypeEnum* type) override;
    HRESULT get_Value(VARIANT* value) override;

    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

private:
    template <class Body>
    HRESULT Guard(Body&& body);
    const providers::Column& Describe();

    std::shared_ptr<Cursor> m_cursor;
    std::size_t m_column;
};

class FieldsObject final : public com::ApartmentObject<FieldsObject, UnimplementedFields, ISupportErrorInfo> {
public:
    explicit FieldsObject(std::shared_ptr<Cursor> cursor);

    HRESULT get_Count(LONG* count) override;
    HRESULT get_Item(VARIANT index, Field** field) override;
    HRESULT Refresh() override { return S_OK; }

    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

private:
    std::size_t FindColumn(const VARIANT& index) const;

    std::shared_ptr<Cursor> m_cursor;
    // Asking twice for a field gives the same object.
    std::vector<ComPtr<FieldObject>> m_fields;
};

}  // namespace orvanta::objects
