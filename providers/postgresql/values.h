// Readers for the server's text form of typed values. Each returns nothing for text it does not
// recognise or a value the library's types cannot hold exactly; the caller keeps the text then.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace orvanta::providers::postgresql {

// money, as the session's lc_monetary prints it ("$1,234.56", "-1.234,56 €", "($1.00)"), whose
// last `fractionDigits` digits are the fraction: the value scaled by 10000.
std::optional<std::int64_t> ParseMoney(std::string_view text, int fractionDigits);

// How many digits after the point a money text shows, from the text of one unit ("$1.00" -> 2).
std::optional<int> MoneyFractionDigits(std::string_view oneUnit);

// ISO date style: "2023-11-17", "2023-11-17 10:11:12.5", "... 10:11:12+05:30", "10:11:12.123456"
// as OLE Automation dates, a time alone on day 0. Empty for dates outside the years 100 to 9999,
// such as "0044-03-15 BC", which the date type cannot hold.
std::optional<double> ParseDate(std::string_view text);
std::optional<double> ParseTimestamp(std::string_view text);
std::optional<double> ParseTime(std::string_view text);

// bytea in the hex ("\x0a0b") or the escape ("a\\b\001") output form.
bool DecodeBytea(std::string_view text, std::vector<std::byte>& bytes);

}  // namespace orvanta::providers::postgresql
