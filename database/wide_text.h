// Text helpers of the wrappers, on UTF-16 strings.
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

// Removes every white-space character from the start: U+0009 to U+000D, U+0020, U+00A0, and the
// characters above U+00FF that the platform classifies as spaces.
void TrimLeadingWhiteSpace(std::u16string& text);

// Replaces every occurrence of `from`, left to right, never searching inserted text again.
void ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to);

// "%08lx": eight lower-case hexadecimal digits.
std::u16string Hex8(DWORD value);
