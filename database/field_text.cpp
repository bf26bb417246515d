#include "database/field_text.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <ctime>

#include "database/com_error.h"

namespace {

constexpr std::u16string_view kInvalidDate = u"Invalid DateTime";
constexpr std::u16string_view kDefaultDatePattern = u"%Y-%m-%d %H:%M:%S";
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

void NumberText(double value, int digits, std::u16string& text) {
    char buffer[32];
    Widen(buffer, GeneralNumberText(value, digits, buffer), text);
}

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

// The seventeen significant digits of a positive finite value, correctly rounded (ties to even),
// and its decimal exponent.
void SeventeenDigitsByLibrary(double magnitude, char* digits, int& exponent) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 16);
    digits[0] = buffer[0];
    std::memcpy(digits + 1, buffer + 2, 16);
    const char* e = buffer + 19;  // the exponent's sign, after "d.dddddddddddddddde"
    std::from_chars(e + 1, result.ptr, exponent);
    if (*e == '-') exponent = -exponent;
}

#if defined(__SIZEOF_INT128__)
// The same digits by exact integer arithmetic, for the usual magnitudes (about 1e-11 to 1e17):
// value * 10^(16 - exponent) = m * 5^p * 2^(q + p) needs only 128 bits there.
constexpr std::uint64_t kPowersOfFive[] = {
    1ULL, 5ULL, 25ULL, 125ULL, 625ULL, 3125ULL, 15625ULL, 78125ULL, 390625ULL, 1953125ULL, 9765625ULL,
    48828125ULL, 244140625ULL, 1220703125ULL, 6103515625ULL, 30517578125ULL, 152587890625ULL,
    762939453125ULL, 3814697265625ULL, 19073486328125ULL, 95367431640625ULL, 476837158203125ULL,
    2384185791015625ULL, 11920928955078125ULL, 59604644775390625ULL, 298023223876953125ULL,
    1490116119384765625ULL, 7450580596923828125ULL};
constexpr std::uint64_t kLowest17 = 10000000000000000ULL;  // 10^16
constexpr std::uint64_t kPast17 = 100000000000000000ULL;   // 10^17

// The value times 10^p, rounded to the nearest integer (ties to even); false when out of reach.
bool ScaledByPowerOfTen(std::uint64_t mantissa, int binaryExponent, int p, std::uint64_t& scaled) {
    if (p < 0 || p >= static_cast<int>(std::size(kPowersOfFive))) return false;
    const unsigned __int128 product = static_cast<unsigned __int128>(mantissa) * kPowersOfFive[p];
    const int shift = binaryExponent + p;
    if (shift >= 0) {
        if (shift > 10 || (product >> (64 - shift)) != 0) return false;
        scaled = static_cast<std::uint64_t>(product << shift);
        return true;
    }
    const int right = -shift;
    if (right >= 127) return false;
    const unsigned __int128 quotient = product >> right;
    const unsigned __int128 remainder = product - (quotient << right);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (right - 1);
    unsigned __int128 rounded = quotient;
    if (remainder > half || (remainder == half && (quotient & 1))) ++rounded;
    if (rounded >> 64) return false;
    scaled = static_cast<std::uint64_t>(rounded);
    return true;
}

bool SeventeenDigitsExact(double magnitude, char* digits, int& exponent) {
    std::uint64_t bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int biased = static_cast<int>(bits >> 52);
    if (biased == 0) return false;  // subnormal
    const std::uint64_t mantissa = (bits & ((1ULL << 52) - 1)) | (1ULL << 52);
    const int binaryExponent = biased - 1075;
    // log10(2) * the position of the leading bit (78913 / 2^18 is log10(2) to the precision this
    // range needs); the true exponent is this or one more.
    int e = ((binaryExponent + 52) * 78913) >> 18;
    std::uint64_t scaled = 0;
    if (!ScaledByPowerOfTen(mantissa, binaryExponent, 16 - e, scaled)) return false;
    if (scaled >= kPast17) {
        ++e;
        if (!ScaledByPowerOfTen(mantissa, binaryExponent, 16 - e, scaled)) return false;
    } else if (scaled < kLowest17) {
        --e;
        if (!ScaledByPowerOfTen(mantissa, binaryExponent, 16 - e, scaled)) return false;
    }
    if (scaled == kPast17) {  // rounding carried into an eighteenth digit
        scaled = kLowest17;
        ++e;
    }
    if (scaled < kLowest17 || scaled >= kPast17) return false;
    // Nine digits and eight, two at a time.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    auto high = static_cast<std::uint32_t>(scaled / 100000000);
    auto low = static_cast<std::uint32_t>(scaled % 100000000);
    for (int i = 15; i >= 9; i -= 2, low /= 100) std::memcpy(digits + i, kPairs + 2 * (low % 100), 2);
    for (int i = 7; i >= 1; i -= 2, high /= 100) std::memcpy(digits + i, kPairs + 2 * (high % 100), 2);
    digits[0] = static_cast<char>('0' + high);
    exponent = e;
    return true;
}
#endif

void SeventeenDigits(double magnitude, char* digits, int& exponent) {
#if defined(__SIZEOF_INT128__)
    if (SeventeenDigitsExact(magnitude, digits, exponent)) return;
#endif
    SeventeenDigitsByLibrary(magnitude, digits, exponent);
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

std::size_t GeneralNumberText(double value, int digits, char* out) {
    char* const start = out;
    const auto put = [&](std::string_view text) {
        std::memcpy(out, text.data(), text.size());
        out += text.size();
        return static_cast<std::size_t>(out - start);
    };
    if (std::isnan(value)) return put("NaN");
    if (std::isinf(value)) return put(value < 0 ? "-Infinity" : "Infinity");

    // Seventeen significant digits, correctly rounded; every later digit counts as 0.
    std::array<char, 24> significant;  // digit `digits` is the one that rounds: at most index 20
    significant.fill('0');
    int exponent = -1;
    const double magnitude = std::fabs(value);
    if (magnitude != 0) SeventeenDigits(magnitude, significant.data(), exponent);

    if (std::signbit(value)) *out++ = '-';
    char* kept = significant.data();
    const bool carried = significant[digits] >= '5' && RoundUp(kept, digits);

    const auto fraction = [&](const char* from, const char* to) {
        while (to > from && to[-1] == '0') --to;  // trailing zeros go; the point stays
        *out++ = '.';
        std::memcpy(out, from, static_cast<std::size_t>(to - from));
        out += to - from;
    };

    if (exponent < -1 || exponent > digits - 1) {
        if (carried) {
            kept[0] = '1';
            ++exponent;
        }
        *out++ = kept[0];
        fraction(kept + 1, kept + digits);
        *out++ = 'e';
        *out++ = exponent < 0 ? '-' : '+';
        const int e = std::abs(exponent);
        *out++ = static_cast<char>('0' + e / 100 % 10);
        *out++ = static_cast<char>('0' + e / 10 % 10);
        *out++ = static_cast<char>('0' + e % 10);
        return static_cast<std::size_t>(out - start);
    }

    const int integerDigits = exponent + 1;  // 0 when the value is below 1
    if (carried) *out++ = '1';
    if (integerDigits == 0) {
        if (!carried) *out++ = '0';
    } else {
        std::memcpy(out, kept, static_cast<std::size_t>(integerDigits));
        out += integerDigits;
    }
    fraction(kept + integerDigits, kept + digits);
    return static_cast<std::size_t>(out - start);
}

std::string GeneralNumberText(double value, int digits) {
    char buffer[32];
    return std::string(buffer, GeneralNumberText(value, digits, buffer));
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

void DateText(DATE date, const std::u16string& pattern, std::u16string& text) {
    UDATE calendar;
    if (FAILED(VarUdateFromDate(date, 0, &calendar))) {
        text = kInvalidDate;
        return;
    }
    const SYSTEMTIME& st = calendar.st;
    if (pattern == kDefaultDatePattern) {  // most dates take this one: the fields need no lookup
        const auto two = [](char16_t* at, int value) {
            at[0] = static_cast<char16_t>(u'0' + value / 10);
            at[1] = static_cast<char16_t>(u'0' + value % 10);
        };
        text.resize(19);
        char16_t* at = text.data();
        two(at, st.wYear / 100);
        two(at + 2, st.wYear % 100);
        at[4] = u'-';
        two(at + 5, st.wMonth);
        at[7] = u'-';
        two(at + 8, st.wDay);
        at[10] = u' ';
        two(at + 11, st.wHour);
        at[13] = u':';
        two(at + 14, st.wMinute);
        at[16] = u':';
        two(at + 17, st.wSecond);
        return;
    }
    tm t{};
    t.tm_sec = st.wSecond;
    t.tm_min = st.wMinute;
    t.tm_hour = st.wHour;
    t.tm_mday = st.wDay;
    t.tm_mon = st.wMonth - 1;
    t.tm_year = st.wYear - 1900;
    t.tm_wday = st.wDayOfWeek;
    t.tm_yday = calendar.wDayOfYear - 1;
    t.tm_isdst = 0;
    text.clear();
    FormatTime(pattern, t, text);
    if (text.size() > kMaxDateCharacters) text.clear();
}

std::u16string DateText(DATE date, const std::u16string& pattern) {
    std::u16string text;
    DateText(date, pattern, text);
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
        case VT_R4: NumberText(static_cast<double>(value.fltVal), 10, text); return true;
        case VT_R8: NumberText(value.dblVal, 20, text); return true;
        case VT_DECIMAL: NumberText(DecimalToDouble(value.decVal), 20, text); return true;
        case VT_CY: text = CurrencyText(value); return true;
        case VT_DATE: DateText(value.date, dateFormat, text); return true;
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
