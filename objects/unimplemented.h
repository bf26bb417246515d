// Every method of the ADO interfaces answering E_NOTIMPL. Our objects and the test doubles derive
// from these and override only what they implement.
#pragma once

#include "ado/interfaces.h"

namespace orvanta::objects {

template <class I>
class NoDispatch : public I {
public:
    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
};

template <class I>
class NoProperties : public NoDispatch<I> {
public:
    HRESULT get_Properties(Properties**) override { return E_NOTIMPL; }
};

class UnimplementedConnection : public NoProperties<_Connection> {
public:
    using Interface = _Connection;

    HRESULT get_ConnectionString(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_ConnectionString(BSTR) override { return E_NOTIMPL; }
    HRESULT get_CommandTimeout(LONG*) override { return E_NOTIMPL; }
    HRESULT put_CommandTimeout(LONG) override { return E_NOTIMPL; }
    HRESULT get_ConnectionTimeout(LONG*) override { return E_NOTIMPL; }
    HRESULT put_ConnectionTimeout(LONG) override { return E_NOTIMPL; }
    HRESULT get_Version(BSTR*) override { return E_NOTIMPL; }
    HRESULT Close() override { return E_NOTIMPL; }
    HRESULT Execute(BSTR, VARIANT*, LONG, _Recordset**) override { return E_NOTIMPL; }
    HRESULT BeginTrans(LONG*) override { return E_NOTIMPL; }
    HRESULT CommitTrans() override { return E_NOTIMPL; }
    HRESULT RollbackTrans() override { return E_NOTIMPL; }
    HRESULT Open(BSTR, BSTR, BSTR, LONG) override { return E_NOTIMPL; }
    HRESULT get_Errors(Errors**) override { return E_NOTIMPL; }
    HRESULT get_DefaultDatabase(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_DefaultDatabase(BSTR) override { return E_NOTIMPL; }
    HRESULT get_IsolationLevel(IsolationLevelEnum*) override { return E_NOTIMPL; }
    HRESULT put_IsolationLevel(IsolationLevelEnum) override { return E_NOTIMPL; }
    HRESULT get_Attributes(LONG*) override { return E_NOTIMPL; }
    HRESULT put_Attributes(LONG) override { return E_NOTIMPL; }
    HRESULT get_CursorLocation(CursorLocationEnum*) override { return E_NOTIMPL; }
    HRESULT put_CursorLocation(CursorLocationEnum) override { return E_NOTIMPL; }
    HRESULT get_Mode(ConnectModeEnum*) override { return E_NOTIMPL; }
    HRESULT put_Mode(ConnectModeEnum) override { return E_NOTIMPL; }
    HRESULT get_Provider(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_Provider(BSTR) override { return E_NOTIMPL; }
    HRESULT get_State(LONG*) override { return E_NOTIMPL; }
    HRESULT OpenSchema(SchemaEnum, VARIANT, VARIANT, _Recordset**) override { return E_NOTIMPL; }
    HRESULT Cancel() override { return E_NOTIMPL; }
};

class UnimplementedRecordset : public NoProperties<_Recordset> {
public:
    using Interface = _Recordset;

    HRESULT get_AbsolutePosition(PositionEnum_Param*) override { return E_NOTIMPL; }
    HRESULT put_AbsolutePosition(PositionEnum_Param) override { return E_NOTIMPL; }
    HRESULT putref_ActiveConnection(IDispatch*) override { return E_NOTIMPL; }
    HRESULT put_ActiveConnection(VARIANT) override { return E_NOTIMPL; }
    HRESULT get_ActiveConnection(VARIANT*) override { return E_NOTIMPL; }
    HRESULT get_BOF(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT get_Bookmark(VARIANT*) override { return E_NOTIMPL; }
    HRESULT put_Bookmark(VARIANT) override { return E_NOTIMPL; }
    HRESULT get_CacheSize(LONG*) override { return E_NOTIMPL; }
    HRESULT put_CacheSize(LONG) override { return E_NOTIMPL; }
    HRESULT get_CursorType(CursorTypeEnum*) override { return E_NOTIMPL; }
    HRESULT put_CursorType(CursorTypeEnum) override { return E_NOTIMPL; }
    HRESULT get_EOF(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT get_Fields(Fields**) override { return E_NOTIMPL; }
    HRESULT get_LockType(LockTypeEnum*) override { return E_NOTIMPL; }
    HRESULT put_LockType(LockTypeEnum) override { return E_NOTIMPL; }
    HRESULT get_MaxRecords(ADO_LONGPTR*) override { return E_NOTIMPL; }
    HRESULT put_MaxRecords(ADO_LONGPTR) override { return E_NOTIMPL; }
    HRESULT get_RecordCount(ADO_LONGPTR*) override { return E_NOTIMPL; }
    HRESULT putref_Source(IDispatch*) override { return E_NOTIMPL; }
    HRESULT put_Source(BSTR) override { return E_NOTIMPL; }
    HRESULT get_Source(VARIANT*) override { return E_NOTIMPL; }
    HRESULT AddNew(VARIANT, VARIANT) override { return E_NOTIMPL; }
    HRESULT CancelUpdate() override { return E_NOTIMPL; }
    HRESULT Close() override { return E_NOTIMPL; }
    HRESULT Delete(AffectEnum) override { return E_NOTIMPL; }
    HRESULT GetRows(LONG, VARIANT, VARIANT, VARIANT*) override { return E_NOTIMPL; }
    HRESULT Move(ADO_LONGPTR, VARIANT) override { return E_NOTIMPL; }
    HRESULT MoveNext() override { return E_NOTIMPL; }
    HRESULT MovePrevious() override { return E_NOTIMPL; }
    HRESULT MoveFirst() override { return E_NOTIMPL; }
    HRESULT MoveLast() override { return E_NOTIMPL; }
    HRESULT Open(VARIANT, VARIANT, CursorTypeEnum, LockTypeEnum, LONG) override { return E_NOTIMPL; }
    HRESULT Requery(LONG) override { return E_NOTIMPL; }
    HRESULT _xResync(AffectEnum) override { return E_NOTIMPL; }
    HRESULT Update(VARIANT, VARIANT) override { return E_NOTIMPL; }
    HRESULT get_AbsolutePage(PositionEnum_Param*) override { return E_NOTIMPL; }
    HRESULT put_AbsolutePage(PositionEnum_Param) override { return E_NOTIMPL; }
    HRESULT get_EditMode(EditModeEnum*) override { return E_NOTIMPL; }
    HRESULT get_Filter(VARIANT*) override { return E_NOTIMPL; }
    HRESULT put_Filter(VARIANT) override { return E_NOTIMPL; }
    HRESULT get_PageCount(ADO_LONGPTR*) override { return E_NOTIMPL; }
    HRESULT get_PageSize(LONG*) override { return E_NOTIMPL; }
    HRESULT put_PageSize(LONG) override { return E_NOTIMPL; }
    HRESULT get_Sort(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_Sort(BSTR) override { return E_NOTIMPL; }
    HRESULT get_Status(LONG*) override { return E_NOTIMPL; }
    HRESULT get_State(LONG*) override { return E_NOTIMPL; }
    HRESULT _xClone(_Recordset**) override { return E_NOTIMPL; }
    HRESULT UpdateBatch(AffectEnum) override { return E_NOTIMPL; }
    HRESULT CancelBatch(AffectEnum) override { return E_NOTIMPL; }
    HRESULT get_CursorLocation(CursorLocationEnum*) override { return E_NOTIMPL; }
    HRESULT put_CursorLocation(CursorLocationEnum) override { return E_NOTIMPL; }
    HRESULT NextRecordset(VARIANT*, _Recordset**) override { return E_NOTIMPL; }
    HRESULT Supports(CursorOptionEnum, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT get_Collect(VARIANT, VARIANT*) override { return E_NOTIMPL; }
    HRESULT put_Collect(VARIANT, VARIANT) override { return E_NOTIMPL; }
    HRESULT get_MarshalOptions(MarshalOptionsEnum*) override { return E_NOTIMPL; }
    HRESULT put_MarshalOptions(MarshalOptionsEnum) override { return E_NOTIMPL; }
    HRESULT Find(BSTR, ADO_LONGPTR, SearchDirectionEnum, VARIANT) override { return E_NOTIMPL; }
    HRESULT Cancel() override { return E_NOTIMPL; }
    HRESULT get_DataSource(IUnknown**) override { return E_NOTIMPL; }
    HRESULT putref_DataSource(IUnknown*) override { return E_NOTIMPL; }
    HRESULT _xSave(BSTR, PersistFormatEnum) override { return E_NOTIMPL; }
    HRESULT get_ActiveCommand(IDispatch**) override { return E_NOTIMPL; }
    HRESULT put_StayInSync(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT get_StayInSync(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT GetString(StringFormatEnum, LONG, BSTR, BSTR, BSTR, BSTR*) override { return E_NOTIMPL; }
    HRESULT get_DataMember(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_DataMember(BSTR) override { return E_NOTIMPL; }
    HRESULT CompareBookmarks(VARIANT, VARIANT, CompareEnum*) override { return E_NOTIMPL; }
    HRESULT Clone(LockTypeEnum, _Recordset**) override { return E_NOTIMPL; }
    HRESULT Resync(AffectEnum, ResyncEnum) override { return E_NOTIMPL; }
    HRESULT Seek(VARIANT, SeekEnum) override { return E_NOTIMPL; }
    HRESULT put_Index(BSTR) override { return E_NOTIMPL; }
    HRESULT get_Index(BSTR*) override { return E_NOTIMPL; }
    HRESULT Save(VARIANT, PersistFormatEnum) override { return E_NOTIMPL; }
};

class UnimplementedFields : public NoDispatch<Fields> {
public:
    using Interface = Fields;

    HRESULT get_Count(LONG*) override { return E_NOTIMPL; }
    HRESULT _NewEnum(IUnknown**) override { return E_NOTIMPL; }
    HRESULT Refresh() override { return E_NOTIMPL; }
    HRESULT get_Item(VARIANT, Field**) override { return E_NOTIMPL; }
    HRESULT _Append(BSTR, DataTypeEnum, ADO_LONGPTR, FieldAttributeEnum) override { return E_NOTIMPL; }
    HRESULT Delete(VARIANT) override { return E_NOTIMPL; }
    HRESULT Append(BSTR, DataTypeEnum, ADO_LONGPTR, FieldAttributeEnum, VARIANT) override { return E_NOTIMPL; }
    HRESULT Update() override { return E_NOTIMPL; }
    HRESULT Resync(ResyncEnum) override { return E_NOTIMPL; }
    HRESULT CancelUpdate() override { return E_NOTIMPL; }
};

class UnimplementedField : public NoProperties<Field> {
public:
    using Interface = Field;

    HRESULT get_ActualSize(ADO_LONGPTR*) override { return E_NOTIMPL; }
    HRESULT get_Attributes(LONG*) override { return E_NOTIMPL; }
    HRESULT get_DefinedSize(ADO_LONGPTR*) override { return E_NOTIMPL; }
    HRESULT get_Name(BSTR*) override { return E_NOTIMPL; }
    HRESULT get_Type(DataTypeEnum*) override { return E_NOTIMPL; }
    HRESULT get_Value(VARIANT*) override { return E_NOTIMPL; }
    HRESULT put_Value(VARIANT) override { return E_NOTIMPL; }
    HRESULT get_Precision(BYTE*) override { return E_NOTIMPL; }
    HRESULT get_NumericScale(BYTE*) override { return E_NOTIMPL; }
    HRESULT AppendChunk(VARIANT) override { return E_NOTIMPL; }
    HRESULT GetChunk(LONG, VARIANT*) override { return E_NOTIMPL; }
    HRESULT get_OriginalValue(VARIANT*) override { return E_NOTIMPL; }
    HRESULT get_UnderlyingValue(VARIANT*) override { return E_NOTIMPL; }
    HRESULT get_DataFormat(IUnknown**) override { return E_NOTIMPL; }
    HRESULT putref_DataFormat(IUnknown*) override { return E_NOTIMPL; }
    HRESULT put_Precision(BYTE) override { return E_NOTIMPL; }
    HRESULT put_NumericScale(BYTE) override { return E_NOTIMPL; }
    HRESULT put_Type(DataTypeEnum) override { return E_NOTIMPL; }
    HRESULT put_DefinedSize(ADO_LONGPTR) override { return E_NOTIMPL; }
    HRESULT put_Attributes(LONG) override { return E_NOTIMPL; }
    HRESULT get_Status(LONG*) override { return E_NOTIMPL; }
};

}  // namespace orvanta::objects
