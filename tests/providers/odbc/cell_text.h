// Cells written as "Kind:value" text, so that a table of cases can state kind and value at once.
#pragma once

#include <string>
#include <vector>

#include "providers/result_set.h"

namespace orvanta::testing::odbc {

// "Null", "Int32:42", "Double:2.5", "Decimal:-12.50", "Date:45293.127841" (six decimals of a day),
// "Utf16:text", "Bytes:00ff".
std::string CellText(const providers::CellView& cell);

// Every row of `rows`, each as its cells' texts.
std::vector<std::vector<std::string>> RowTexts(const providers::ResultSet& rows);

}  // namespace orvanta::testing::odbc
