#include "providers/postgresql/types.h"

#include <charconv>
#include <cstdint>
#include <optional>

#include "providers/postgresql/values.h"
#include "providers/value_text.h"

namespace orvanta::providers::postgresql {
namespace {

// from_chars reads the "C" form whatever locale the host has set.
template <class T>
std::optional<T> ParseNumber(std::string_view text) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end) return std::nullopt;
    return value;
}

}  // namespace

ColumnType ColumnTypeOf(TypeOid type) {
    switch (type) {
        case oid::kBool: return ColumnType::Boolean;
        case oid::kInt2: return ColumnType::Int16;
        case oid::kInt4: return ColumnType::Int32;
        case oid::kInt8: return ColumnType::Int64;
        case oid::kOid: return ColumnType::UInt32;
        case oid::kFloat4: return ColumnType::Float;
        case oid::kFloat8: return ColumnType::Double;
        case oid::kNumeric: return ColumnType::Decimal;
        case oid::kMoney: return ColumnType::Currency;
        case oid::kDate: return ColumnType::Date;
        case oid::kTime: return ColumnType::Time;
        case oid::kTimestamp: case oid::kTimestampTz: return ColumnType::DateTime;
        case oid::kBytea: return ColumnType::Binary;
        default: return ColumnType::Text;
    }
}

void AddValue(TypeOid type, std::string_view text, ValueContext& context, ResultSet& result) {
    switch (type) {
        case oid::kBool:
            if (text == "t" || text == "f") return result.AddBoolean(text == "t");
            break;
        case oid::kInt2:
            if (auto value = ParseNumber<std::int16_t>(text)) return result.AddInt16(*value);
            break;
        case oid::kInt4:
            if (auto value = ParseNumber<std::int32_t>(text)) return result.AddInt32(*value);
            break;
        case oid::kInt8:
            if (auto value = ParseNumber<std::int64_t>(text)) return result.AddInt64(*value);
            break;
        case oid::kOid:
            if (auto value = ParseNumber<std::uint32_t>(text)) return result.AddUInt32(*value);
            break;
        case oid::kFloat4:
            if (auto value = ParseNumber<float>(text)) return result.AddFloat(*value);
            break;
        case oid::kFloat8:
            if (auto value = ParseNumber<double>(text)) return result.AddDouble(*value);
            break;
        case oid::kNumeric:
            if (auto value = ParseDecimal(text, DecimalSyntax::Plain)) return result.AddDecimal(*value);
            break;
        case oid::kMoney:
            if (auto value = ParseMoney(text, context.moneyFractionDigits)) return result.AddCurrency(*value);
            break;
        case oid::kDate:
            if (auto value = ParseDate(text)) return result.AddDate(*value);
            break;
        case oid::kTime:
            if (auto value = ParseTime(text)) return result.AddDate(*value);
            break;
        case oid::kTimestamp:
        case oid::kTimestampTz:
            if (auto value = ParseTimestamp(text)) return result.AddDate(*value);
            break;
        case oid::kBytea:
            if (DecodeBytea(text, context.bytes)) return result.AddBytes(context.bytes.data(), context.bytes.size());
            break;
        default:
            break;
    }
    result.AddUtf8(text);
}

}  // namespace orvanta::providers::postgresql
