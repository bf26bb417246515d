#include "objects/cell_variant.h"

#include <cstring>
#include <new>

#include "unicode/utf.h"

namespace orvanta::objects {
namespace {

using providers::CellKind;

BSTR TextToBstr(const providers::CellView& cell) {
    BSTR text;
    if (cell.kind == CellKind::Utf16) {
        text = SysAllocStringLen(static_cast<const OLECHAR*>(cell.data), static_cast<UINT>(cell.length));
    } else {
        const std::string_view utf8 = cell.Utf8Text();
        text = SysAllocStringLen(nullptr, static_cast<UINT>(unicode::Utf16Length(utf8)));
        if (text) unicode::DecodeUtf8(utf8, text);
    }
    if (!text) throw std::bad_alloc();
    return text;
}

SAFEARRAY* BytesToArray(const providers::CellView& cell) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(cell.length));
    if (!array) throw std::bad_alloc();
    if (cell.length) std::memcpy(array->pvData, cell.data, cell.length);
    return array;
}

}  // namespace

void CellToVariant(const providers::CellView& cell, VARIANT& value) {
    switch (cell.kind) {
        case CellKind::Null:
            value.vt = VT_NULL;
            return;
        case CellKind::Boolean:
            value.boolVal = cell.integer ? VARIANT_TRUE : VARIANT_FALSE;
            value.vt = VT_BOOL;
            return;
        case CellKind::Int16:
            value.iVal = static_cast<SHORT>(cell.integer);
            value.vt = VT_I2;
            return;
        case CellKind::Int32:
            value.lVal = static_cast<LONG>(cell.integer);
            value.vt = VT_I4;
            return;
        case CellKind::Int64:
            value.llVal = cell.integer;
            value.vt = VT_I8;
            return;
        case CellKind::UInt8:
            value.bVal = static_cast<BYTE>(cell.integer);
            value.vt = VT_UI1;
            return;
        case CellKind::UInt32:
            value.ulVal = static_cast<ULONG>(cell.integer);
            value.vt = VT_UI4;
            return;
        case CellKind::Float:
            value.fltVal = static_cast<FLOAT>(cell.real);
            value.vt = VT_R4;
            return;
        case CellKind::Double:
            value.dblVal = cell.real;
            value.vt = VT_R8;
            return;
        case CellKind::Date:
            value.date = cell.real;
            value.vt = VT_DATE;
            return;
        case CellKind::Currency:
            value.cyVal.int64 = cell.integer;
            value.vt = VT_CY;
            return;
        case CellKind::Decimal:
            // The DECIMAL overlays the type field, so the type goes last.
            value.decVal.wReserved = 0;
            value.decVal.scale = cell.decimal.scale;
            value.decVal.sign = cell.decimal.negative ? DECIMAL_NEG : 0;
            value.decVal.Hi32 = cell.decimal.high;
            value.decVal.Lo64 = cell.decimal.low;
            value.vt = VT_DECIMAL;
            return;
        case CellKind::Utf8:
        case CellKind::Utf16:
            value.bstrVal = TextToBstr(cell);
            value.vt = VT_BSTR;
            return;
        case CellKind::Bytes:
            value.parray = BytesToArray(cell);
            value.vt = VT_ARRAY | VT_UI1;
            return;
    }
    value.vt = VT_EMPTY;
}

DataTypeEnum DataTypeOf(providers::ColumnType type) {
    using providers::ColumnType;
    switch (type) {
        case ColumnType::Boolean: return adBoolean;
        case ColumnType::Int16: return adSmallInt;
        case ColumnType::Int32: return adInteger;
        case ColumnType::Int64: return adBigInt;
        case ColumnType::UInt8: return adUnsignedTinyInt;
        case ColumnType::UInt32: return adUnsignedInt;
        case ColumnType::Float: return adSingle;
        case ColumnType::Double: return adDouble;
        case ColumnType::Decimal: return adNumeric;
        case ColumnType::Currency: return adCurrency;
        case ColumnType::Date: return adDBDate;
        case ColumnType::Time: return adDBTime;
        case ColumnType::DateTime: return adDBTimeStamp;
        case ColumnType::Text: return adVarWChar;
        case ColumnType::Binary: return adLongVarBinary;
        case ColumnType::Unknown: return adVariant;
    }
    return adVariant;
}

}  // namespace orvanta::objects
