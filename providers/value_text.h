// Values that engines hand over as text, read into the exact forms the object model keeps.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "providers/result_set.h"

namespace orvanta::providers {

// What a decimal text may hold besides a sign, digits and a point ("-12.50", "+7", ".5", "7.").
enum class DecimalSyntax : std::uint8_t {
    Plain,  // nothing else: the form servers and drivers give exact numbers in
    Loose,  // also blanks around the number and an exponent (" 42 ", "1.5E-2"), as stored text may have
};

// A decimal number as a 96-bit magnitude and a scale of at most 28; empty when the text is no
// number of the syntax or the value does not fit. Zeros at the end of the fraction keep their
// scale unless dropping them is what makes the value fit; a digit that carries value is never
// dropped. UTF-16 text is read as it stands: a unit outside ASCII is no digit.
std::optional<DecimalValue> ParseDecimal(std::string_view text, DecimalSyntax syntax);
std::optional<DecimalValue> ParseDecimal(std::u16string_view text, DecimalSyntax syntax);

// A decimal number of the loose syntax as currency: scaled by 10000, rounded half away from zero
// past four places.
std::optional<std::int64_t> ParseCurrency(std::string_view text);

// An ISO 8601 date ("2024-02-29") or date and time ("2024-02-29 13:45", "...T13:45:10.250",
// with an optional "Z"), as an OLE Automation date; empty for any other text, a time zone offset
// included, since the date could not keep it.
std::optional<double> ParseIsoDateTime(std::string_view text);

}  // namespace orvanta::providers
