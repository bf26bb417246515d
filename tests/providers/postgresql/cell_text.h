// Cells of the row store as text that names their kind, for comparing in tables of cases.
#pragma once

#include <string>
#include <vector>

#include "providers/result_set.h"

namespace orvanta::testing {

// "123.4500", "-0.01": the magnitude with the point placed by the scale.
std::string DecimalText(const providers::DecimalValue& value);

// "Int32 42", "Date 45247.50000000", "Utf8 abc", "Bytes 00ff", "Null".
std::string DescribeCell(const providers::CellView& cell);
std::vector<std::string> DescribeRow(const providers::ResultSet& rows, std::size_t row);

}  // namespace orvanta::testing
