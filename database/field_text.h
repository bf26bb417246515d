// The text of one field value: how every database value looks in a query's text block.
#pragma once

#include <string>

#include <windows.h>

// Replaces `text` with the text of `value` and returns true, or returns false, leaving `text`
// as it was, for a type that has no text. `value` may be changed (a currency is converted in place).
// A failing OLE Automation call is raised as a COM error.
bool VariantToFieldText(VARIANT& value, std::u16string& text, const std::u16string& dateFormat);

// The general number text: `digits` significant digits, fixed or exponent form, trailing zeros of
// the fraction removed, the decimal point always kept. Narrow ASCII, at most 32 characters written
// to `out`; returns the length.
std::size_t GeneralNumberText(double value, int digits, char* out);
std::string GeneralNumberText(double value, int digits);

// The value of a DECIMAL as the nearest double, then divided by its power of ten.
double DecimalToDouble(const DECIMAL& value);

// A date in `pattern` (strftime conversions, "C" locale); "Invalid DateTime" outside the years
// 100 to 9999; the empty text when the result would not fit 255 characters.
void DateText(DATE date, const std::u16string& pattern, std::u16string& text);
std::u16string DateText(DATE date, const std::u16string& pattern);
