#include "support/cell_text.h"

#include <charconv>
#include <cstdint>
#include <cstdio>

#include "support/text.h"

namespace orvanta::testing {
namespace {

using providers::CellKind;

template <class T>
std::string Shortest(T value) {
    char text[64];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string Hex(const providers::CellView& cell) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    const auto* bytes = static_cast<const unsigned char*>(cell.data);
    for (std::size_t i = 0; i < cell.length; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 15];
    }
    return text;
}

}  // namespace

std::string DecimalText(const providers::DecimalValue& value) {
    std::uint32_t limbs[3] = {static_cast<std::uint32_t>(value.low), static_cast<std::uint32_t>(value.low >> 32),
                              value.high};
    std::string digits;
    do {
        std::uint64_t remainder = 0;
        for (int i = 2; i >= 0; --i) {
            const std::uint64_t part = remainder << 32 | limbs[i];
            limbs[i] = static_cast<std::uint32_t>(part / 10);
            remainder = part % 10;
        }
        digits.insert(digits.begin(), static_cast<char>('0' + remainder));
    } while (limbs[0] || limbs[1] || limbs[2]);
    if (digits.size() <= value.scale) digits.insert(0, value.scale + 1 - digits.size(), '0');
    if (value.scale) digits.insert(digits.size() - value.scale, 1, '.');
    return (value.negative ? "-" : "") + digits;
}

std::string CellText(const providers::CellView& cell) {
    switch (cell.kind) {
        case CellKind::Null: return "Null";
        case CellKind::Boolean: return cell.integer ? "Boolean:true" : "Boolean:false";
        case CellKind::Int16: return "Int16:" + std::to_string(cell.integer);
        case CellKind::Int32: return "Int32:" + std::to_string(cell.integer);
        case CellKind::Int64: return "Int64:" + std::to_string(cell.integer);
        case CellKind::UInt8: return "UInt8:" + std::to_string(cell.integer);
        case CellKind::UInt32: return "UInt32:" + std::to_string(cell.integer);
        case CellKind::Currency: return "Currency:" + std::to_string(cell.integer);
        case CellKind::Float: return "Float:" + Shortest(static_cast<float>(cell.real));
        case CellKind::Double: return "Double:" + Shortest(cell.real);
        case CellKind::Date: {
            char text[64];
            std::snprintf(text, sizeof text, "Date:%.8f", cell.real);
            return text;
        }
        case CellKind::Decimal: return "Decimal:" + DecimalText(cell.decimal);
        case CellKind::Utf8: return "Utf8:" + std::string(cell.Utf8Text());
        case CellKind::Utf16: return "Utf16:" + U8(cell.Utf16Text());
        case CellKind::Bytes: return "Bytes:" + Hex(cell);
    }
    return "?";
}

std::vector<std::string> RowText(const providers::ResultSet& rows, std::size_t row) {
    std::vector<std::uint32_t> offsets;
    rows.LocateCells(row, offsets);
    std::vector<std::string> cells;
    for (std::uint32_t offset : offsets) cells.push_back(CellText(rows.Cell(row, offset)));
    return cells;
}

std::vector<std::vector<std::string>> RowTexts(const providers::ResultSet& rows) {
    std::vector<std::vector<std::string>> texts;
    for (std::size_t row = 0; row < rows.RowCount(); ++row) texts.push_back(RowText(rows, row));
    return texts;
}

}  // namespace orvanta::testing
