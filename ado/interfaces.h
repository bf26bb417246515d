// The ADO interfaces that the library calls, each with its methods in the platform's order.
#pragma once

#include <oleauto.h>

#include "ado/constants.h"
#include "ado/identifiers.h"

struct Properties;
struct Errors;
struct Field;
struct Fields;
struct _Recordset;

struct _ADO : IDispatch {
    static constexpr IID Iid = IID__ADO;
    using Base = IDispatch;

    virtual HRESULT get_Properties(Properties** properties) = 0;
};

struct Connection15 : _ADO {
    static constexpr IID Iid = IID_Connection15;
    using Base = _ADO;

    virtual HRESULT get_ConnectionString(BSTR* text) = 0;
    virtual HRESULT put_ConnectionString(BSTR text) = 0;
    virtual HRESULT get_CommandTimeout(LONG* seconds) = 0;
    virtual HRESULT put_CommandTimeout(LONG seconds) = 0;
    virtual HRESULT get_ConnectionTimeout(LONG* seconds) = 0;
    virtual HRESULT put_ConnectionTimeout(LONG seconds) = 0;
    virtual HRESULT get_Version(BSTR* version) = 0;
    virtual HRESULT Close() = 0;
    virtual HRESULT Execute(BSTR commandText, VARIANT* recordsAffected, LONG options, _Recordset** recordset) = 0;
    virtual HRESULT BeginTrans(LONG* level) = 0;
    virtual HRESULT CommitTrans() = 0;
    virtual HRESULT RollbackTrans() = 0;
    virtual HRESULT Open(BSTR connectionString, BSTR userId, BSTR password, LONG options) = 0;
    virtual HRESULT get_Errors(Errors** errors) = 0;
    virtual HRESULT get_DefaultDatabase(BSTR* database) = 0;
    virtual HRESULT put_DefaultDatabase(BSTR database) = 0;
    virtual HRESULT get_IsolationLevel(IsolationLevelEnum* level) = 0;
    virtual HRESULT put_IsolationLevel(IsolationLevelEnum level) = 0;
    virtual HRESULT get_Attributes(LONG* attributes) = 0;
    virtual HRESULT put_Attributes(LONG attributes) = 0;
    virtual HRESULT get_CursorLocation(CursorLocationEnum* location) = 0;
    virtual HRESULT put_CursorLocation(CursorLocationEnum location) = 0;
    virtual HRESULT get_Mode(ConnectModeEnum* mode) = 0;
    virtual HRESULT put_Mode(ConnectModeEnum mode) = 0;
    virtual HRESULT get_Provider(BSTR* provider) = 0;
    virtual HRESULT put_Provider(BSTR provider) = 0;
    virtual HRESULT get_State(LONG* state) = 0;
    virtual HRESULT OpenSchema(SchemaEnum schema, VARIANT restrictions, VARIANT schemaId, _Recordset** recordset) = 0;
};

struct _Connection : Connection15 {
    static constexpr IID Iid = IID__Connection;
    using Base = Connection15;

    virtual HRESULT Cancel() = 0;
};

struct Recordset15 : _ADO {
    static constexpr IID Iid = IID_Recordset15;
    using Base = _ADO;

    virtual HRESULT get_AbsolutePosition(PositionEnum_Param* position) = 0;
    virtual HRESULT put_AbsolutePosition(PositionEnum_Param position) = 0;
    virtual HRESULT putref_ActiveConnection(IDispatch* connection) = 0;
    virtual HRESULT put_ActiveConnection(VARIANT connection) = 0;
    virtual HRESULT get_ActiveConnection(VARIANT* connection) = 0;
    virtual HRESULT get_BOF(VARIANT_BOOL* bof) = 0;
    virtual HRESULT get_Bookmark(VARIANT* bookmark) = 0;
    virtual HRESULT put_Bookmark(VARIANT bookmark) = 0;
    virtual HRESULT get_CacheSize(LONG* size) = 0;
    virtual HRESULT put_CacheSize(LONG size) = 0;
    virtual HRESULT get_CursorType(CursorTypeEnum* type) = 0;
    virtual HRESULT put_CursorType(CursorTypeEnum type) = 0;
    virtual HRESULT get_EOF(VARIANT_BOOL* eof) = 0;
    virtual HRESULT get_Fields(Fields** fields) = 0;
    virtual HRESULT get_LockType(LockTypeEnum* type) = 0;
    virtual HRESULT put_LockType(LockTypeEnum type) = 0;
    virtual HRESULT get_MaxRecords(ADO_LONGPTR* records) = 0;
    virtual HRESULT put_MaxRecords(ADO_LONGPTR records) = 0;
    virtual HRESULT get_RecordCount(ADO_LONGPTR* count) = 0;
    virtual HRESULT putref_Source(IDispatch* command) = 0;
    virtual HRESULT put_Source(BSTR source) = 0;
    virtual HRESULT get_Source(VARIANT* source) = 0;
    virtual HRESULT AddNew(VARIANT fieldList, VARIANT values) = 0;
    virtual HRESULT CancelUpdate() = 0;
    virtual HRESULT Close() = 0;
    virtual HRESULT Delete(AffectEnum affect) = 0;
    virtual HRESULT GetRows(LONG rows, VARIANT start, VARIANT fields, VARIANT* result) = 0;
    virtual HRESULT Move(ADO_LONGPTR records, VARIANT start) = 0;
    virtual HRESULT MoveNext() = 0;
    virtual HRESULT MovePrevious() = 0;
    virtual HRESULT MoveFirst() = 0;
    virtual HRESULT MoveLast() = 0;
    virtual HRESULT Open(VARIANT source, VARIANT activeConnection, CursorTypeEnum cursorType, LockTypeEnum lockType,
                         LONG options) = 0;
    virtual HRESULT Requery(LONG options) = 0;
    virtual HRESULT _xResync(AffectEnum affect) = 0;
    virtual HRESULT Update(VARIANT fields, VARIANT values) = 0;
    virtual HRESULT get_AbsolutePage(PositionEnum_Param* page) = 0;
    virtual HRESULT put_AbsolutePage(PositionEnum_Param page) = 0;
    virtual HRESULT get_EditMode(EditModeEnum* mode) = 0;
    virtual HRESULT get_Filter(VARIANT* criteria) = 0;
    virtual HRESULT put_Filter(VARIANT criteria) = 0;
    virtual HRESULT get_PageCount(ADO_LONGPTR* pages) = 0;
    virtual HRESULT get_PageSize(LONG* size) = 0;
    virtual HRESULT put_PageSize(LONG size) = 0;
    virtual HRESULT get_Sort(BSTR* criteria) = 0;
    virtual HRESULT put_Sort(BSTR criteria) = 0;
    virtual HRESULT get_Status(LONG* status) = 0;
    virtual HRESULT get_State(LONG* state) = 0;
    virtual HRESULT _xClone(_Recordset** clone) = 0;
    virtual HRESULT UpdateBatch(AffectEnum affect) = 0;
    virtual HRESULT CancelBatch(AffectEnum affect) = 0;
    virtual HRESULT get_CursorLocation(CursorLocationEnum* location) = 0;
    virtual HRESULT put_CursorLocation(CursorLocationEnum location) = 0;
    virtual HRESULT NextRecordset(VARIANT* recordsAffected, _Recordset** next) = 0;
    virtual HRESULT Supports(CursorOptionEnum options, VARIANT_BOOL* supported) = 0;
    virtual HRESULT get_Collect(VARIANT index, VARIANT* value) = 0;
    virtual HRESULT put_Collect(VARIANT index, VARIANT value) = 0;
    virtual HRESULT get_MarshalOptions(MarshalOptionsEnum* options) = 0;
    virtual HRESULT put_MarshalOptions(MarshalOptionsEnum options) = 0;
    virtual HRESULT Find(BSTR criteria, ADO_LONGPTR skipRecords, SearchDirectionEnum direction, VARIANT start) = 0;
};

struct Recordset20 : Recordset15 {
    static constexpr IID Iid = IID_Recordset20;
    using Base = Recordset15;

    virtual HRESULT Cancel() = 0;
    virtual HRESULT get_DataSource(IUnknown** source) = 0;
    virtual HRESULT putref_DataSource(IUnknown* source) = 0;
    virtual HRESULT _xSave(BSTR fileName, PersistFormatEnum format) = 0;
    virtual HRESULT get_ActiveCommand(IDispatch** command) = 0;
    virtual HRESULT put_StayInSync(VARIANT_BOOL stay) = 0;
    virtual HRESULT get_StayInSync(VARIANT_BOOL* stay) = 0;
    virtual HRESULT GetString(StringFormatEnum format, LONG rows, BSTR columnDelimiter, BSTR rowDelimiter,
                              BSTR nullExpression, BSTR* result) = 0;
    virtual HRESULT get_DataMember(BSTR* member) = 0;
    virtual HRESULT put_DataMember(BSTR member) = 0;
    virtual HRESULT CompareBookmarks(VARIANT first, VARIANT second, CompareEnum* result) = 0;
    virtual HRESULT Clone(LockTypeEnum lockType, _Recordset** clone) = 0;
    virtual HRESULT Resync(AffectEnum affect, ResyncEnum values) = 0;
};

struct Recordset21 : Recordset20 {
    static constexpr IID Iid = IID_Recordset21;
    using Base = Recordset20;

    virtual HRESULT Seek(VARIANT key, SeekEnum option) = 0;
    virtual HRESULT put_Index(BSTR index) = 0;
    virtual HRESULT get_Index(BSTR* index) = 0;
};

struct _Recordset : Recordset21 {
    static constexpr IID Iid = IID__Recordset;
    using Base = Recordset21;

    virtual HRESULT Save(VARIANT destination, PersistFormatEnum format) = 0;
};

struct _Collection : IDispatch {
    static constexpr IID Iid = IID__Collection;
    using Base = IDispatch;

    virtual HRESULT get_Count(LONG* count) = 0;
    virtual HRESULT _NewEnum(IUnknown** enumerator) = 0;
    virtual HRESULT Refresh() = 0;
};

struct Fields15 : _Collection {
    static constexpr IID Iid = IID_Fields15;
    using Base = _Collection;

    virtual HRESULT get_Item(VARIANT index, Field** field) = 0;
};

struct Fields20 : Fields15 {
    static constexpr IID Iid = IID_Fields20;
    using Base = Fields15;

    virtual HRESULT _Append(BSTR name, DataTypeEnum type, ADO_LONGPTR definedSize, FieldAttributeEnum attributes) = 0;
    virtual HRESULT Delete(VARIANT index) = 0;
};

struct Fields : Fields20 {
    static constexpr IID Iid = IID_Fields;
    using Base = Fields20;

    virtual HRESULT Append(BSTR name, DataTypeEnum type, ADO_LONGPTR definedSize, FieldAttributeEnum attributes,
                           VARIANT value) = 0;
    virtual HRESULT Update() = 0;
    virtual HRESULT Resync(ResyncEnum values) = 0;
    virtual HRESULT CancelUpdate() = 0;
};

struct Field20 : _ADO {
    static constexpr IID Iid = IID_Field20;
    using Base = _ADO;

    virtual HRESULT get_ActualSize(ADO_LONGPTR* size) = 0;
    virtual HRESULT get_Attributes(LONG* attributes) = 0;
    virtual HRESULT get_DefinedSize(ADO_LONGPTR* size) = 0;
    virtual HRESULT get_Name(BSTR* name) = 0;
    virtual HRESULT get_Type(DataTypeEnum* type) = 0;
    virtual HRESULT get_Value(VARIANT* value) = 0;
    virtual HRESULT put_Value(VARIANT value) = 0;
    virtual HRESULT get_Precision(BYTE* precision) = 0;
    virtual HRESULT get_NumericScale(BYTE* scale) = 0;
    virtual HRESULT AppendChunk(VARIANT data) = 0;
    virtual HRESULT GetChunk(LONG length, VARIANT* data) = 0;
    virtual HRESULT get_OriginalValue(VARIANT* value) = 0;
    virtual HRESULT get_UnderlyingValue(VARIANT* value) = 0;
    virtual HRESULT get_DataFormat(IUnknown** format) = 0;
    virtual HRESULT putref_DataFormat(IUnknown* format) = 0;
    virtual HRESULT put_Precision(BYTE precision) = 0;
    virtual HRESULT put_NumericScale(BYTE scale) = 0;
    virtual HRESULT put_Type(DataTypeEnum type) = 0;
    virtual HRESULT put_DefinedSize(ADO_LONGPTR size) = 0;
    virtual HRESULT put_Attributes(LONG attributes) = 0;
};

struct Field : Field20 {
    static constexpr IID Iid = IID_Field;
    using Base = Field20;

    virtual HRESULT get_Status(LONG* status) = 0;
};
