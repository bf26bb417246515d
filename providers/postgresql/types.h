// Column types by the server's type OID, and each value's text put into the row store as the
// library's own type.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "providers/result_set.h"

namespace orvanta::providers::postgresql {

using TypeOid = unsigned int;

// The built-in types read into typed cells; every other type arrives as the server's text.
namespace oid {
constexpr TypeOid kBool = 16;
constexpr TypeOid kBytea = 17;
constexpr TypeOid kInt8 = 20;
constexpr TypeOid kInt2 = 21;
constexpr TypeOid kInt4 = 23;
constexpr TypeOid kOid = 26;
constexpr TypeOid kFloat4 = 700;
constexpr TypeOid kFloat8 = 701;
constexpr TypeOid kMoney = 790;
constexpr TypeOid kDate = 1082;
constexpr TypeOid kTime = 1083;
constexpr TypeOid kTimestamp = 1114;
constexpr TypeOid kTimestampTz = 1184;
constexpr TypeOid kNumeric = 1700;
}  // namespace oid

ColumnType ColumnTypeOf(TypeOid type);

// What reading a value needs beyond its text.
struct ValueContext {
    int moneyFractionDigits = -1;  // of the session's lc_monetary; -1 while not known
    std::vector<std::byte> bytes;  // reused for decoding bytea
};

// Appends one non-null value. Text that does not read as its type (a NaN numeric, an infinite
// date, a money amount beyond the currency range or in a format not known) is kept as the server
// wrote it.
void AddValue(TypeOid type, std::string_view text, ValueContext& context, ResultSet& result);

}  // namespace orvanta::providers::postgresql
