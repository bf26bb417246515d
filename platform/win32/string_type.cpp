// GetStringTypeW: character classes of UTF-16 code units.

#include <windows.h>

namespace {

// Unicode's White_Space property.
bool IsSpace(WCHAR c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

bool IsBlank(WCHAR c) { return c == 0x09 || c == 0x20 || c == 0xA0 || c == 0x3000 || (c >= 0x2000 && c <= 0x200A); }

WORD ClassOf(WCHAR c) {
    WORD type = C1_DEFINED;
    if (IsSpace(c)) type |= C1_SPACE;
    if (IsBlank(c)) type |= C1_BLANK;
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) type |= C1_CNTRL;
    if (c < 0x80) {
        if (c >= '0' && c <= '9') type |= C1_DIGIT | C1_XDIGIT;
        if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) type |= C1_XDIGIT;
        if (c >= 'a' && c <= 'z') type |= C1_LOWER | C1_ALPHA;
        if (c >= 'A' && c <= 'Z') type |= C1_UPPER | C1_ALPHA;
        if (c > 0x20 && c < 0x7F && !(type & (C1_ALPHA | C1_DIGIT))) type |= C1_PUNCT;
    }
    return type;
}

}  // namespace

BOOL GetStringTypeW(DWORD infoType, LPCWSTR text, int chars, WORD* types) {
    if (infoType != CT_CTYPE1 || !text || !types || chars == 0 || chars < -1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (chars == -1) {
        chars = 0;
        while (text[chars] != 0) ++chars;
        ++chars;  // the null is classified too
    }
    for (int i = 0; i < chars; ++i) types[i] = ClassOf(text[i]);
    return TRUE;
}
