// Values that engines hand over as text, read into the exact forms the object model keeps.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "providers/result_set.h"

namespace orvanta::providers {

// A decimal number ("-12.50", "1e3") as a 96-bit magnitude and a scale of at most 28; empty when
// the text is no number or the value does not fit. Trailing zeros keep their scale.
std::optional<DecimalValue> ParseDecimal(std::string_view text);

// A decimal number as currency: scaled by 10000, rounded half away from zero past four places.
std::optional<std::int64_t> ParseCurrency(std::string_view text);

// An ISO 8601 date ("2024-02-29") or date and time ("2024-02-29 13:45", "...T13:45:10.250",
// with an optional "Z"), as an OLE Automation date; empty for any other text, a time zone offset
// included, since the date could not keep it.
std::optional<double> ParseIsoDateTime(std::string_view text);

}  // namespace orvanta::providers
