#include "support/text.h"

#include <stdexcept>

#include "unicode/utf.h"

namespace orvanta::testing {

std::u16string U16(std::string_view utf8) {
    std::u16string out;
    unicode::AppendUtf16(utf8, out);
    return out;
}

std::string U8(std::u16string_view utf16) {
    std::string out;
    if (!unicode::AppendUtf8(utf16, out)) throw std::invalid_argument("not UTF-16");
    return out;
}

}  // namespace orvanta::testing
