// Date texts.
#pragma once

#include <string>

#include <windows.h>

// A date in `pattern` (strftime conversions, "C" locale); "Invalid DateTime" outside the years
// 100 to 9999; the empty text when the result would not fit 255 characters.
void DateText(DATE date, const std::u16string& pattern, std::u16string& text);
std::u16string DateText(DATE date, const std::u16string& pattern);
