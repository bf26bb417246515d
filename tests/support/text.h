// UTF-16 helpers for test code.
#pragma once

#include <string>
#include <string_view>

namespace orvanta::testing {

std::u16string U16(std::string_view utf8);
std::string U8(std::u16string_view utf16);

}  // namespace orvanta::testing
