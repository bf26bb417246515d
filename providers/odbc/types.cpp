#include "providers/odbc/types.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>

#include "calendar/ole_date.h"

namespace orvanta::providers::odbc {
namespace {

template <class T>
T Load(const void* data) {
    T value;
    std::memcpy(&value, data, sizeof(T));
    return value;
}

// A value that the date type cannot hold keeps its driver's fields, as text.
void AddAsText(const char* text, int length, ResultSet& result) {
    char16_t wide[64];
    const int units = length < 0 ? 0 : length < 64 ? length : 63;
    for (int i = 0; i < units; ++i) wide[i] = static_cast<unsigned char>(text[i]);
    result.AddUtf16(std::u16string_view(wide, static_cast<std::size_t>(units)));
}

void AddDate(const SQL_DATE_STRUCT& date, ResultSet& result) {
    if (const auto value = calendar::OleDateFromCivil(date.year, date.month, date.day, 0, 0, 0)) {
        result.AddDate(*value);
        return;
    }
    char text[64];
    AddAsText(text, std::snprintf(text, sizeof text, "%04d-%02u-%02u", date.year, date.month, date.day), result);
}

// A time alone is a date of day 0, 30 December 1899.
void AddTime(const SQL_TIME_STRUCT& time, ResultSet& result) {
    if (const auto value = calendar::OleDateFromCivil(1899, 12, 30, time.hour, time.minute, time.second)) {
        result.AddDate(*value);
        return;
    }
    char text[64];
    AddAsText(text, std::snprintf(text, sizeof text, "%02u:%02u:%02u", time.hour, time.minute, time.second), result);
}

void AddTimestamp(const SQL_TIMESTAMP_STRUCT& stamp, ResultSet& result) {
    if (const auto value = calendar::OleDateFromCivil(stamp.year, stamp.month, stamp.day, stamp.hour, stamp.minute,
                                                      stamp.second, stamp.fraction / 1e9)) {
        result.AddDate(*value);
        return;
    }
    char text[64];
    AddAsText(text,
              std::snprintf(text, sizeof text, "%04d-%02u-%02u %02u:%02u:%02u.%09u", stamp.year, stamp.month, stamp.day,
                            stamp.hour, stamp.minute, stamp.second, static_cast<unsigned>(stamp.fraction)),
              result);
}

// The column's own cell kind when the value fits it, else the narrowest that holds it whole.
void AddInteger(Fetch fetch, std::int64_t value, ResultSet& result) {
    switch (fetch) {
        case Fetch::Int16:
            if (value >= INT16_MIN && value <= INT16_MAX) return result.AddInt16(static_cast<std::int16_t>(value));
            break;
        case Fetch::UInt8:
            if (value >= 0 && value <= UINT8_MAX) return result.AddUInt8(static_cast<std::uint8_t>(value));
            break;
        case Fetch::UInt32:
            if (value >= 0 && value <= UINT32_MAX) return result.AddUInt32(static_cast<std::uint32_t>(value));
            break;
        case Fetch::Int64: return result.AddInt64(value);
        default: break;
    }
    result.AddInteger(value);
}

}  // namespace

Fetch FetchOf(SQLSMALLINT sqlType, bool isUnsigned) {
    switch (sqlType) {
        case SQL_SMALLINT: return isUnsigned ? Fetch::Int32 : Fetch::Int16;
        case SQL_INTEGER: return isUnsigned ? Fetch::UInt32 : Fetch::Int32;
        case SQL_BIGINT: return isUnsigned ? Fetch::DecimalText : Fetch::Int64;
        // A signed TINYINT would lose its sign in an unsigned byte.
        case SQL_TINYINT: return isUnsigned ? Fetch::UInt8 : Fetch::Int16;
        case SQL_REAL: return Fetch::Float;
        case SQL_FLOAT:
        case SQL_DOUBLE: return Fetch::Double;
        case SQL_DECIMAL:
        case SQL_NUMERIC: return Fetch::DecimalText;
        case SQL_BIT: return Fetch::Boolean;
        case SQL_TYPE_DATE:
        case SQL_DATE: return Fetch::Date;
        case SQL_TYPE_TIME:
        case SQL_TIME: return Fetch::Time;
        case SQL_TYPE_TIMESTAMP:
        case SQL_TIMESTAMP: return Fetch::Timestamp;
        case SQL_BINARY:
        case SQL_VARBINARY:
        case SQL_LONGVARBINARY: return Fetch::Binary;
        default: return Fetch::Text;
    }
}

ColumnType ColumnTypeOf(Fetch fetch) {
    switch (fetch) {
        case Fetch::Int16: return ColumnType::Int16;
        case Fetch::Int32: return ColumnType::Int32;
        case Fetch::Int64: return ColumnType::Int64;
        case Fetch::UInt8: return ColumnType::UInt8;
        case Fetch::UInt32: return ColumnType::UInt32;
        case Fetch::Float: return ColumnType::Float;
        case Fetch::Double: return ColumnType::Double;
        case Fetch::Boolean: return ColumnType::Boolean;
        case Fetch::Date: return ColumnType::Date;
        case Fetch::Time: return ColumnType::Time;
        case Fetch::Timestamp: return ColumnType::DateTime;
        case Fetch::DecimalText: return ColumnType::Decimal;
        case Fetch::Text: return ColumnType::Text;
        case Fetch::Binary: return ColumnType::Binary;
    }
    return ColumnType::Unknown;
}

// Integers of every size are read as 64 bits: a driver for an engine that keeps any integer in any
// integer column (SQLite) cuts a value that does not fit the narrower C type without a word.
SQLSMALLINT CTypeOf(Fetch fetch) {
    switch (fetch) {
        case Fetch::Int16:
        case Fetch::Int32:
        case Fetch::Int64:
        case Fetch::UInt8:
        case Fetch::UInt32: return SQL_C_SBIGINT;
        case Fetch::Float: return SQL_C_FLOAT;
        case Fetch::Double: return SQL_C_DOUBLE;
        case Fetch::Boolean: return SQL_C_BIT;
        case Fetch::Date: return SQL_C_TYPE_DATE;
        case Fetch::Time: return SQL_C_TYPE_TIME;
        case Fetch::Timestamp: return SQL_C_TYPE_TIMESTAMP;
        case Fetch::DecimalText:
        case Fetch::Text: return SQL_C_WCHAR;
        case Fetch::Binary: return SQL_C_BINARY;
    }
    return SQL_C_WCHAR;
}

bool IsVariable(Fetch fetch) { return fetch == Fetch::DecimalText || fetch == Fetch::Text || fetch == Fetch::Binary; }

std::size_t FixedSize(Fetch fetch) {
    switch (fetch) {
        case Fetch::Int16:
        case Fetch::Int32:
        case Fetch::Int64:
        case Fetch::UInt8:
        case Fetch::UInt32: return sizeof(SQLBIGINT);
        case Fetch::Float: return sizeof(SQLREAL);
        case Fetch::Double: return sizeof(SQLDOUBLE);
        case Fetch::Boolean: return sizeof(SQLCHAR);
        case Fetch::Date: return sizeof(SQL_DATE_STRUCT);
        case Fetch::Time: return sizeof(SQL_TIME_STRUCT);
        case Fetch::Timestamp: return sizeof(SQL_TIMESTAMP_STRUCT);
        case Fetch::DecimalText:
        case Fetch::Text:
        case Fetch::Binary: return 0;
    }
    return 0;
}

void AddFixed(Fetch fetch, const void* data, ResultSet& result) {
    switch (fetch) {
        case Fetch::Int16:
        case Fetch::Int32:
        case Fetch::Int64:
        case Fetch::UInt8:
        case Fetch::UInt32: AddInteger(fetch, Load<SQLBIGINT>(data), result); break;
        case Fetch::Float: result.AddFloat(Load<SQLREAL>(data)); break;
        case Fetch::Double: result.AddDouble(Load<SQLDOUBLE>(data)); break;
        case Fetch::Boolean: result.AddBoolean(Load<SQLCHAR>(data) != 0); break;
        case Fetch::Date: AddDate(Load<SQL_DATE_STRUCT>(data), result); break;
        case Fetch::Time: AddTime(Load<SQL_TIME_STRUCT>(data), result); break;
        case Fetch::Timestamp: AddTimestamp(Load<SQL_TIMESTAMP_STRUCT>(data), result); break;
        case Fetch::DecimalText:
        case Fetch::Text:
        case Fetch::Binary: result.AddNull(); break;  // not fixed; never asked for
    }
}

}  // namespace orvanta::providers::odbc
