// Number texts: ASCII, in the "C" locale, exact.
#pragma once

#include <cstddef>
#include <string>

#include <windows.h>

// The general number text: `digits` significant digits, fixed or exponent form, trailing zeros of
// the fraction removed, the decimal point always kept. Narrow ASCII, at most 32 characters written
// to `out`; returns the length.
std::size_t GeneralNumberText(double value, int digits, char* out);
std::string GeneralNumberText(double value, int digits);

// The value of a DECIMAL as the nearest double, then divided by its power of ten.
double DecimalToDouble(const DECIMAL& value);
