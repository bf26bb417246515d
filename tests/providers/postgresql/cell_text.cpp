#include "cell_text.h"

#include <charconv>
#include <cstdio>

#include "support/text.h"

namespace orvanta::testing {
namespace {

template <class T>
std::string Shortest(T value) {
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

}  // namespace

std::string DecimalText(const providers::DecimalValue& value) {
    std::uint32_t limbs[3] = {value.high, static_cast<std::uint32_t>(value.low >> 32),
                              static_cast<std::uint32_t>(value.low)};
    std::string digits;
    while (limbs[0] | limbs[1] | limbs[2]) {
        std::uint64_t rest = 0;
        for (std::uint32_t& limb : limbs) {
            const std::uint64_t current = (rest << 32) | limb;
            limb = static_cast<std::uint32_t>(current / 10);
            rest = current % 10;
        }
        digits.insert(digits.begin(), static_cast<char>('0' + rest));
    }
    if (digits.size() <= value.scale) digits.insert(0, value.scale + 1 - digits.size(), '0');
    if (value.scale) digits.insert(digits.size() - value.scale, ".");
    return (value.negative ? "-" : "") + digits;
}

std::string DescribeCell(const providers::CellView& cell) {
    using providers::CellKind;
    switch (cell.kind) {
        case CellKind::Null: return "Null";
        case CellKind::Boolean: return "Boolean " + std::to_string(cell.integer);
        case CellKind::Int16: return "Int16 " + std::to_string(cell.integer);
        case CellKind::Int32: return "Int32 " + std::to_string(cell.integer);
        case CellKind::Int64: return "Int64 " + std::to_string(cell.integer);
        case CellKind::UInt8: return "UInt8 " + std::to_string(cell.integer);
        case CellKind::UInt32: return "UInt32 " + std::to_string(cell.integer);
        case CellKind::Currency: return "Currency " + std::to_string(cell.integer);
        case CellKind::Float: return "Float " + Shortest(static_cast<float>(cell.real));
        case CellKind::Double: return "Double " + Shortest(cell.real);
        case CellKind::Date: {
            char text[64];
            std::snprintf(text, sizeof text, "Date %.8f", cell.real);
            return text;
        }
        case CellKind::Decimal: return "Decimal " + DecimalText(cell.decimal);
        case CellKind::Utf8: return "Utf8 " + std::string(cell.Utf8Text());
        case CellKind::Utf16: return "Utf16 " + U8(cell.Utf16Text());
        case CellKind::Bytes: {
            std::string hex = "Bytes ";
            const auto* bytes = static_cast<const unsigned char*>(cell.data);
            for (std::size_t i = 0; i < cell.length; ++i) {
                char pair[3];
                std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned>(bytes[i]));
                hex += pair;
            }
            return hex;
        }
    }
    return "?";
}

std::vector<std::string> DescribeRow(const providers::ResultSet& rows, std::size_t row) {
    std::vector<std::uint32_t> offsets;
    rows.LocateCells(row, offsets);
    std::vector<std::string> cells;
    for (std::uint32_t offset : offsets) cells.push_back(DescribeCell(rows.Cell(row, offset)));
    return cells;
}

}  // namespace orvanta::testing
