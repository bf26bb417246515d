// UTF-16 <-> UTF-8 for the engines, which mostly speak UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvanta::unicode {

// False when the text holds a surrogate that is not part of a pair.
bool IsWellFormed(std::u16string_view text);

// Appends the UTF-8 form of `text`. Returns false, leaving `out` partly written, when `text` holds
// an unpaired surrogate: such text has no UTF-8 form, and replacing it would alter the data.
bool AppendUtf8(std::u16string_view text, std::string& out);

// Decoding UTF-8 never fails: each byte that does not start or continue a valid sequence becomes
// U+FFFD, so that text an engine stored unchecked still arrives readable.
std::size_t Utf16Length(std::string_view utf8);
// Writes exactly Utf16Length(utf8) units.
void DecodeUtf8(std::string_view utf8, char16_t* out);
void AppendUtf16(std::string_view utf8, std::u16string& out);

}  // namespace orvanta::unicode
