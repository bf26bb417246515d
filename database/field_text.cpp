#include "database/field_text.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <ctime>

#include "database/com_error.h"

namespace {

constexpr std::u16string_view kInvalidDate = u"Invalid DateTime";
constexpr std::size_t kMaxDateCharacters = 255;
constexpr int kCurrencyCharacters = 64;

// Number texts are ASCII; they reach UTF-16 through the thread's ANSI code page.
void Widen(const char* narrow, std::size_t length, std::u16string& text) {
    text.resize(length);
    if (length == 0) return;
    const int written = MultiByteToWideChar(CP_THREAD_ACP, 0, narrow, static_cast<int>(length), text.data(),
                                            static_cast<int>(length));
    text.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
}

void Widen(const std::string& narrow, std::u16string& text) { Widen(narrow.data(), narrow.size(), text); }

template <class Integer>
void IntegerText(Integer value, std::u16string& text) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    Widen(buffer, static_cast<std::size_t>(result.ptr - buffer), text);
}

// Rounds the kept digits up by one unit in the last place; true when the carry ran out of the
// first digit, which then became "1" followed by zeros.
bool RoundUp(char* digits, int count) {
    for (int i = count - 1; i >= 0; --i) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    return true;
}

void StripFractionZeros(std::string& text, std::size_t point) {
    std::size_t end = text.size();
    while (end > point + 1 && text[end - 1] == '0') --end;
    text.resize(end);
}

void AppendExponent(std::string& text, int exponent) {
    text += 'e';
    text += exponent < 0 ? '-' : '+';
    const int magnitude = std::abs(exponent);
    text += static_cast<char>('0' + magnitude / 100 % 10);
    text += static_cast<char>('0' + magnitude / 10 % 10);
    text += static_cast<char>('0' + magnitude % 10);
}

// The 96-bit magnitude of a DECIMAL, rounded once to the nearest double (ties to even).
double Magnitude(std::uint32_t high, std::uint64_t low) {
    if (high == 0) return static_cast<double>(low);
    const int top = 64 + 31 - std::countl_zero(high);  // index of the highest set bit
    const int shift = top - 52;                        // 12 to 43: keeps 53 bits
    std::uint64_t mantissa = (static_cast<std::uint64_t>(high) << (64 - shift)) | (low >> shift);
    const std::uint64_t rest = low & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (rest > half || (rest == half && (mantissa & 1))) ++mantissa;
    return std::ldexp(static_cast<double>(mantissa), shift);
}

// Day and month names of the "C" locale.
constexpr std::array<std::u16string_view, 7> kDays = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday",
                                                      u"Thursday", u"Friday", u"Saturday"};
constexpr std::array<std::u16string_view, 12> kMonths = {u"January", u"February", u"March",     u"April",
                                                         u"May",     u"June",     u"July",      u"August",
                                                         u"September", u"October", u"November", u"December"};

void Number(std::u16string& out, int value, int width, char16_t pad = u'0') {
    char16_t digits[12];
    int count = 0;
    const bool negative = value < 0;
    unsigned magnitude = negative ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (negative) out += u'-';
    for (int i = count; i < width; ++i) out += pad;
    while (count) out += digits[--count];
}

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// ISO 8601 week number and its year (%V, %G).
void IsoWeek(const tm& time, int& week, int& year) {
    year = time.tm_year + 1900;
    const int weekday = (time.tm_wday + 6) % 7;  // Monday = 0
    week = (time.tm_yday - weekday + 10) / 7;
    if (week < 1) {
        --year;
        const int daysInPrevious = IsLeap(year) ? 366 : 365;
        week = (time.tm_yday + daysInPrevious - weekday + 10) / 7;
    } else if (week == 53) {
        const int daysInYear = IsLeap(year) ? 366 : 365;
        if (time.tm_yday - weekday + 3 >= daysInYear) {  // its Thursday lies in the next year
            week = 1;
            ++year;
        }
    }
}

// The conversions of strftime in the POSIX locale, on UTF-16. The year always has four digits.
// Anything that is not a known conversion is copied as it stands.
void FormatTime(const std::u16string& pattern, const tm& t, std::u16string& out) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i];
        if (c != u'%' || i + 1 == pattern.size()) {
            out += c;
            continue;
        }
        std::size_t k = i + 1;
        if (pattern[k] == u'E' || pattern[k] == u'O') {  // alternative forms: the same in this locale
            if (k + 1 == pattern.size()) {
                out.append(pattern, i, std::u16string::npos);
                break;
            }
            ++k;
        }
        const int hour12 = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
        int isoWeek = 0;
        int isoYear = 0;
        switch (pattern[k]) {
            case u'a': out += kDays[t.tm_wday].substr(0, 3); break;
            case u'A': out += kDays[t.tm_wday]; break;
            case u'b': case u'h': out += kMonths[t.tm_mon].substr(0, 3); break;
            case u'B': out += kMonths[t.tm_mon]; break;
            case u'c':
                FormatTime(u"%a %b %e %H:%M:%S %Y", t, out);
                break;
            case u'C': Number(out, (t.tm_year + 1900) / 100, 2); break;
            case u'd': Number(out, t.tm_mday, 2); break;
            case u'D': FormatTime(u"%m/%d/%y", t, out); break;
            case u'e': Number(out, t.tm_mday, 2, u' '); break;
            case u'F': FormatTime(u"%Y-%m-%d", t, out); break;
            case u'g': IsoWeek(t, isoWeek, isoYear); Number(out, isoYear % 100, 2); break;
            case u'G': IsoWeek(t, isoWeek, isoYear); Number(out, isoYear, 4); break;
            case u'H': Number(out, t.tm_hour, 2); break;
            case u'I': Number(out, hour12, 2); break;
            case u'j': Number(out, t.tm_yday + 1, 3); break;
            case u'm': Number(out, t.tm_mon + 1, 2); break;
            case u'M': Number(out, t.tm_min, 2); break;
            case u'n': out += u'\n'; break;
            case u'p': out += t.tm_hour < 12 ? u"AM" : u"PM"; break;
            case u'r': FormatTime(u"%I:%M:%S %p", t, out); break;
            case u'R': FormatTime(u"%H:%M", t, out); break;
            case u'S': Number(out, t.tm_sec, 2); break;
            case u't': out += u'\t'; break;
            case u'T': case u'X': FormatTime(u"%H:%M:%S", t, out); break;
            case u'u': Number(out, t.tm_wday == 0 ? 7 : t.tm_wday, 1); break;
            case u'U': Number(out, (t.tm_yday + 7 - t.tm_wday) / 7, 2); break;
            case u'V': IsoWeek(t, isoWeek, isoYear); Number(out, isoWeek, 2); break;
            case u'w': Number(out, t.tm_wday, 1); break;
            case u'W': Number(out, (t.tm_yday + 7 - (t.tm_wday + 6) % 7) / 7, 2); break;
            case u'x': FormatTime(u"%m/%d/%y", t, out); break;
            case u'y': Number(out, (t.tm_year + 1900) % 100, 2); break;
            case u'Y': Number(out, t.tm_year + 1900, 4); break;
            case u'z': out += u"+0000"; break;  // dates carry no zone
            case u'Z': break;
            case u'%': out += u'%'; break;
            default: out.append(pattern, i, k - i + 1); break;
        }
        i = k;
    }
}

std::u16string CurrencyText(VARIANT& value) {
    if (HRESULT hr = VariantChangeType(&value, &value, 0, VT_R8); FAILED(hr)) throw ComError(hr, nullptr);
    char fixed[64];
    const auto result = std::to_chars(fixed, fixed + sizeof fixed, value.dblVal, std::chars_format::fixed, 6);
    *result.ptr = 0;
    std::u16string plain;
    Widen(fixed, static_cast<std::size_t>(result.ptr - fixed), plain);

    WCHAR formatted[kCurrencyCharacters];
    if (GetCurrencyFormatW(LOCALE_USER_DEFAULT, 0, plain.c_str(), nullptr, formatted, kCurrencyCharacters - 1) > 0) {
        return formatted;
    }
    return plain;
}

}  // namespace

std::string GeneralNumberText(double value, int digits) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";

    // Seventeen significant digits, correctly rounded; every later digit counts as 0.
    std::array<char, 64> significant;
    significant.fill('0');
    int exponent = -1;
    const double magnitude = std::fabs(value);
    if (magnitude != 0) {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 16);
        significant[0] = buffer[0];
        for (int i = 0; i < 16; ++i) significant[1 + i] = buffer[2 + i];
        const char* e = buffer + 19;  // after "d.dddddddddddddddde"
        const bool negativeExponent = *e == '-';
        std::from_chars(e + 1, result.ptr, exponent);
        if (negativeExponent) exponent = -exponent;
    }

    std::string text;
    text.reserve(32);
    if (std::signbit(value)) text += '-';
    char* kept = significant.data();
    const bool carried = significant[digits] >= '5' && RoundUp(kept, digits);

    if (exponent < -1 || exponent > digits - 1) {
        if (carried) {
            kept[0] = '1';
            ++exponent;
        }
        text += kept[0];
        const std::size_t point = text.size();
        text += '.';
        text.append(kept + 1, kept + digits);
        StripFractionZeros(text, point);
        AppendExponent(text, exponent);
        return text;
    }

    const int integerDigits = exponent + 1;  // 0 when the value is below 1
    if (carried) text += '1';
    if (integerDigits == 0) {
        if (!carried) text += '0';
    } else {
        text.append(kept, kept + integerDigits);
    }
    const std::size_t point = text.size();
    text += '.';
    text.append(kept + integerDigits, kept + digits);
    StripFractionZeros(text, point);
    return text;
}

double DecimalToDouble(const DECIMAL& value) {
    const double sign = value.sign == DECIMAL_NEG ? -1.0 : 1.0;
    double divisor = 1.0;
    double factor = 10.0;
    for (unsigned scale = value.scale; scale != 0; scale >>= 1) {
        if (scale & 1) divisor *= factor;
        factor *= factor;
    }
    return sign * Magnitude(value.Hi32, value.Lo64) / divisor;
}

std::u16string DateText(DATE date, const std::u16string& pattern) {
    UDATE calendar;
    if (FAILED(VarUdateFromDate(date, 0, &calendar))) return std::u16string(kInvalidDate);
    tm t{};
    t.tm_sec = calendar.st.wSecond;
    t.tm_min = calendar.st.wMinute;
    t.tm_hour = calendar.st.wHour;
    t.tm_mday = calendar.st.wDay;
    t.tm_mon = calendar.st.wMonth - 1;
    t.tm_year = calendar.st.wYear - 1900;
    t.tm_wday = calendar.st.wDayOfWeek;
    t.tm_yday = calendar.wDayOfYear - 1;
    t.tm_isdst = 0;
    std::u16string text;
    FormatTime(pattern, t, text);
    if (text.size() > kMaxDateCharacters) text.clear();
    return text;
}

bool VariantToFieldText(VARIANT& value, std::u16string& text, const std::u16string& dateFormat) {
    switch (value.vt) {
        case VT_EMPTY:
        case VT_NULL: text.clear(); return true;
        case VT_I1: IntegerText(static_cast<int>(value.cVal), text); return true;
        case VT_I2: IntegerText(value.iVal, text); return true;
        case VT_I4: IntegerText(value.lVal, text); return true;
        case VT_INT: IntegerText(value.intVal, text); return true;
        case VT_I8: IntegerText(value.llVal, text); return true;
        case VT_UI1: IntegerText(static_cast<unsigned>(value.bVal), text); return true;
        case VT_UI2: IntegerText(static_cast<unsigned>(value.uiVal), text); return true;
        case VT_UI4: IntegerText(value.ulVal, text); return true;
        case VT_UINT: IntegerText(value.uintVal, text); return true;
        case VT_UI8: IntegerText(value.ullVal, text); return true;
        case VT_R4: Widen(GeneralNumberText(static_cast<double>(value.fltVal), 10), text); return true;
        case VT_R8: Widen(GeneralNumberText(value.dblVal, 20), text); return true;
        case VT_DECIMAL: Widen(GeneralNumberText(DecimalToDouble(value.decVal), 20), text); return true;
        case VT_CY: text = CurrencyText(value); return true;
        case VT_DATE: text = DateText(value.date, dateFormat); return true;
        case VT_BOOL: text = value.boolVal == VARIANT_TRUE ? u"T" : u"F"; return true;
        case VT_BSTR:
            if (value.bstrVal) {
                text.assign(value.bstrVal, std::char_traits<char16_t>::length(value.bstrVal));
            } else {
                text.clear();
            }
            return true;
        default: return false;
    }
}
