#include "database/wide_text.h"

namespace {

bool IsLeadingWhiteSpace(char16_t c) {
    if (c <= 0xFF) return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0xA0;
    WORD type = 0;
    return GetStringTypeW(CT_CTYPE1, &c, 1, &type) && (type & C1_SPACE);
}

}  // namespace

void TrimLeadingWhiteSpace(std::u16string& text) {
    std::size_t start = 0;
    while (start < text.size() && IsLeadingWhiteSpace(text[start])) ++start;
    text.erase(0, start);
}

void ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to) {
    if (from.empty()) return;
    std::size_t at = text.find(from);
    if (at == std::u16string::npos) return;
    std::u16string result;
    result.reserve(text.size());
    std::size_t done = 0;
    for (; at != std::u16string::npos; at = text.find(from, done)) {
        result.append(text, done, at - done);
        result.append(to);
        done = at + from.size();
    }
    result.append(text, done);
    text = std::move(result);
}

std::u16string Hex8(DWORD value) {
    std::u16string digits(8, u'0');
    for (int i = 7; i >= 0; --i, value >>= 4) digits[i] = u"0123456789abcdef"[value & 0xF];
    return digits;
}
