// Cells of the row store written as "Kind:value", so that a table of cases states kind and value at
// once.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "providers/result_set.h"

namespace orvanta::testing {

// "123.4500", "-0.01": the magnitude with the point placed by the scale.
std::string DecimalText(const providers::DecimalValue& value);

// "Null", "Boolean:true", "Int32:42", "Double:2.5", "Decimal:-12.50", "Date:45247.50000000" (eight
// decimals of a day), "Utf8:text", "Utf16:text", "Bytes:00ff".
std::string CellText(const providers::CellView& cell);

// The cells of one row, and of every row.
std::vector<std::string> RowText(const providers::ResultSet& rows, std::size_t row);
std::vector<std::vector<std::string>> RowTexts(const providers::ResultSet& rows);

}  // namespace orvanta::testing
