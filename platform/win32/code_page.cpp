// MultiByteToWideChar and WideCharToMultiByte. The ANSI code page of a thread is the character
// set of its locale: UTF-8 when the locale says so, otherwise Latin-1, which maps every byte.
#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <string>

#include <windows.h>

#include "unicode/utf.h"

namespace {

constexpr DWORD MB_ERR_INVALID_CHARS = 0x8;

bool ThreadCodePageIsUtf8() {
    const char* codeset = nl_langinfo(CODESET);
    return codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

bool IsUtf8(UINT codePage) {
    if (codePage == CP_UTF8) return true;
    return (codePage == CP_ACP || codePage == CP_THREAD_ACP) && ThreadCodePageIsUtf8();
}

bool IsAscii(const char* text, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
    }
    return true;
}

int Deliver(const std::u16string& converted, LPWSTR out, int outSize) {
    const auto length = static_cast<int>(converted.size());
    if (outSize == 0) return length;
    if (outSize < length) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(out, converted.data(), converted.size() * sizeof(WCHAR));
    return length;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int bytes, LPWSTR out, int outSize) {
    if (!text || bytes == 0 || bytes < -1 || outSize < 0 || (outSize > 0 && !out)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::size_t length = bytes == -1 ? std::strlen(text) + 1 : static_cast<std::size_t>(bytes);

    // Every code page agrees on ASCII, which is all that number texts hold: widen while checking.
    if (outSize == 0 ? IsAscii(text, length) : static_cast<std::size_t>(outSize) >= length) {
        if (outSize == 0) return static_cast<int>(length);
        std::size_t i = 0;
        for (; i < length && static_cast<unsigned char>(text[i]) < 0x80; ++i) out[i] = static_cast<WCHAR>(text[i]);
        if (i == length) return static_cast<int>(length);
    }

    std::u16string converted;
    if (IsUtf8(codePage)) {
        const std::string_view utf8(text, length);
        if (flags & MB_ERR_INVALID_CHARS) {
            std::u16string check;
            orvanta::unicode::AppendUtf16(utf8, check);
            std::string back;
            if (!orvanta::unicode::AppendUtf8(check, back) || back != utf8) {
                SetLastError(1113);  // no mapping for the Unicode character
                return 0;
            }
            converted = std::move(check);
        } else {
            orvanta::unicode::AppendUtf16(utf8, converted);
        }
    } else {
        converted.reserve(length);
        for (std::size_t i = 0; i < length; ++i) converted.push_back(static_cast<unsigned char>(text[i]));
    }
    return Deliver(converted, out, outSize);
}

int WideCharToMultiByte(UINT codePage, DWORD /*flags*/, LPCWSTR text, int chars, LPSTR out, int outSize,
                        LPCSTR defaultChar, BOOL* usedDefaultChar) {
    if (!text || chars == 0 || chars < -1 || outSize < 0 || (outSize > 0 && !out)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::size_t length = 0;
    if (chars == -1) {
        while (text[length] != 0) ++length;
        ++length;
    } else {
        length = static_cast<std::size_t>(chars);
    }
    if (usedDefaultChar) *usedDefaultChar = FALSE;

    std::string converted;
    if (IsUtf8(codePage)) {
        const std::u16string_view wide(text, length);
        if (!orvanta::unicode::AppendUtf8(wide, converted)) {
            // Lone surrogates become U+FFFD, as the platform writes them.
            converted.clear();
            for (std::size_t i = 0; i < length; ++i) {
                std::string piece;
                const bool pair = i + 1 < length && wide[i] >= 0xD800 && wide[i] <= 0xDBFF && wide[i + 1] >= 0xDC00 &&
                                  wide[i + 1] <= 0xDFFF;
                if (orvanta::unicode::AppendUtf8(wide.substr(i, pair ? 2 : 1), piece)) {
                    converted += piece;
                } else {
                    converted += "\xEF\xBF\xBD";
                }
                if (pair) ++i;
            }
        }
    } else {
        const char fallback = defaultChar ? *defaultChar : '?';
        for (std::size_t i = 0; i < length; ++i) {
            if (text[i] <= 0xFF) {
                converted.push_back(static_cast<char>(text[i]));
            } else {
                converted.push_back(fallback);
                if (usedDefaultChar) *usedDefaultChar = TRUE;
            }
        }
    }
    if (outSize == 0) return static_cast<int>(converted.size());
    if (static_cast<std::size_t>(outSize) < converted.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(out, converted.data(), converted.size());
    return static_cast<int>(converted.size());
}
