// How each SQL type of a result column is fetched and stored.
#pragma once

#include <cstddef>
#include <cstdint>

#include "providers/odbc/api.h"
#include "providers/result_set.h"

namespace orvanta::providers::odbc {

// The C type a column is read as; Text, Binary and DecimalText have variable length.
enum class Fetch : std::uint8_t {
    Int16,
    Int32,
    Int64,
    UInt8,
    UInt32,
    Float,
    Double,
    Boolean,
    Date,
    Time,
    Timestamp,
    DecimalText,  // exact text, stored as a decimal when it fits
    Text,
    Binary,
};

// `isUnsigned` matters for the integer types only.
Fetch FetchOf(SQLSMALLINT sqlType, bool isUnsigned);
ColumnType ColumnTypeOf(Fetch fetch);
SQLSMALLINT CTypeOf(Fetch fetch);
bool IsVariable(Fetch fetch);
// Bytes of one value of a fixed-length fetch.
std::size_t FixedSize(Fetch fetch);

// Appends the fixed-length value at `data`, as read for `fetch`.
void AddFixed(Fetch fetch, const void* data, ResultSet& result);

}  // namespace orvanta::providers::odbc
