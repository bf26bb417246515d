#include "unicode/utf.h"

#include <cstdint>
#include <cstring>

namespace orvanta::unicode {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Decodes the sequence at `in[i]`; returns the code point and advances `i`, or U+FFFD and one byte.
char32_t NextCodePoint(std::string_view in, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(in[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    std::size_t length;
    char32_t code;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        ++i;
        return kReplacement;
    }
    if (i + length > in.size()) {
        ++i;
        return kReplacement;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += length;
    return code;
}

template <class Emit>
void Decode(std::string_view utf8, Emit&& emit) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        // ASCII runs dominate real data; take them a byte at a time without the full decoder.
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            emit(static_cast<char16_t>(c));
            ++i;
            continue;
        }
        const char32_t code = NextCodePoint(utf8, i);
        if (code >= 0x10000) {
            emit(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            emit(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            emit(static_cast<char16_t>(code));
        }
    }
}

}  // namespace

bool IsWellFormed(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsHighSurrogate(text[i])) {
            if (i + 1 == text.size() || !IsLowSurrogate(text[i + 1])) return false;
            ++i;
        } else if (IsLowSurrogate(text[i])) {
            return false;
        }
    }
    return true;
}

bool AppendUtf8(std::u16string_view text, std::string& out) {
    out.reserve(out.size() + text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
            continue;
        }
        if (IsHighSurrogate(text[i])) {
            if (i + 1 == text.size() || !IsLowSurrogate(text[i + 1])) return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (IsLowSurrogate(text[i])) {
            return false;
        }
        if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        }
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    return true;
}

// True when no byte has its high bit set, eight bytes at a time.
bool IsAscii(std::string_view text) {
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        if (word & 0x8080808080808080ULL) return false;
    }
    for (; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
    }
    return true;
}

std::size_t Utf16Length(std::string_view utf8) {
    if (IsAscii(utf8)) return utf8.size();
    std::size_t length = 0;
    Decode(utf8, [&](char16_t) { ++length; });
    return length;
}

void DecodeUtf8(std::string_view utf8, char16_t* out) {
    if (IsAscii(utf8)) {
        for (std::size_t i = 0; i < utf8.size(); ++i) out[i] = static_cast<unsigned char>(utf8[i]);
        return;
    }
    Decode(utf8, [&](char16_t c) { *out++ = c; });
}

void AppendUtf16(std::string_view utf8, std::u16string& out) {
    out.reserve(out.size() + utf8.size());
    Decode(utf8, [&](char16_t c) { out.push_back(c); });
}

}  // namespace orvanta::unicode
