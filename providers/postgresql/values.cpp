#include "providers/postgresql/values.h"

#include <cstdlib>
#include <limits>

namespace orvanta::providers::postgresql {
namespace {

constexpr std::size_t kMaxDecimalScale = 28;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A 96-bit magnitude built digit by digit; false once it no longer fits.
class Magnitude {
public:
    bool Append(unsigned digit) {
        std::uint64_t carry = digit;
        for (std::uint32_t& limb : m_limbs) {
            const std::uint64_t value = std::uint64_t{limb} * 10 + carry;
            limb = static_cast<std::uint32_t>(value);
            carry = value >> 32;
        }
        return carry == 0;
    }
    bool IsZero() const { return (m_limbs[0] | m_limbs[1] | m_limbs[2]) == 0; }
    std::uint64_t Low() const { return m_limbs[0] | (std::uint64_t{m_limbs[1]} << 32); }
    std::uint32_t High() const { return m_limbs[2]; }

private:
    std::uint32_t m_limbs[3] = {};
};

std::optional<DecimalValue> BuildDecimal(std::string_view integer, std::string_view fraction, bool negative) {
    if (fraction.size() > kMaxDecimalScale) return std::nullopt;
    Magnitude magnitude;
    for (std::string_view part : {integer, fraction}) {
        for (char c : part) {
            if (!magnitude.Append(static_cast<unsigned>(c - '0'))) return std::nullopt;
        }
    }
    DecimalValue value;
    value.low = magnitude.Low();
    value.high = magnitude.High();
    value.scale = static_cast<std::uint8_t>(fraction.size());
    value.negative = negative && !magnitude.IsZero();
    return value;
}

// Reads the fixed layouts of the ISO date style.
class Reader {
public:
    explicit Reader(std::string_view text) : m_text(text) {}

    bool AtEnd() const { return m_at == m_text.size(); }
    bool Take(char c) {
        if (m_at < m_text.size() && m_text[m_at] == c) {
            ++m_at;
            return true;
        }
        return false;
    }
    bool Take(std::string_view word) {
        if (m_text.substr(m_at).starts_with(word)) {
            m_at += word.size();
            return true;
        }
        return false;
    }
    bool Peek(char c) const { return m_at < m_text.size() && m_text[m_at] == c; }
    // Between `least` and `most` digits; their count in `count`.
    bool Number(std::size_t least, std::size_t most, std::int64_t& value, std::size_t* count = nullptr) {
        std::size_t digits = 0;
        value = 0;
        while (m_at < m_text.size() && IsDigit(m_text[m_at]) && digits < most) {
            value = value * 10 + (m_text[m_at++] - '0');
            ++digits;
        }
        if (count) *count = digits;
        return digits >= least && (m_at == m_text.size() || !IsDigit(m_text[m_at]));
    }

private:
    std::string_view m_text;
    std::size_t m_at = 0;
};

bool IsLeapYear(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(std::int64_t year, std::int64_t month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1 January 1970 in the proleptic Gregorian calendar; year 0 is 1 BC.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

constexpr std::int64_t kDaysFrom1899To1970 = 25569;

// Year, month and day as days since 30 December 1899; the year is the one written, with BC
// applied later.
struct CivilDate {
    std::int64_t year, month, day;
};

bool ReadDate(Reader& reader, CivilDate& date) {
    if (!reader.Number(4, 9, date.year) || !reader.Take('-') || !reader.Number(2, 2, date.month) || !reader.Take('-') ||
        !reader.Number(2, 2, date.day)) {
        return false;
    }
    return date.month >= 1 && date.month <= 12 && date.day >= 1 && date.year >= 1;
}

// The time of day as a fraction of a day.
bool ReadTime(Reader& reader, double& fraction) {
    std::int64_t hour, minute, second, micros = 0;
    if (!reader.Number(2, 2, hour) || !reader.Take(':') || !reader.Number(2, 2, minute) || !reader.Take(':') ||
        !reader.Number(2, 2, second)) {
        return false;
    }
    if (reader.Take('.')) {
        std::size_t digits;
        if (!reader.Number(1, 6, micros, &digits)) return false;
        for (; digits < 6; ++digits) micros *= 10;
    }
    if (hour > 24 || minute > 59 || second > 60) return false;
    const std::int64_t total = ((hour * 60 + minute) * 60 + second) * 1000000 + micros;
    fraction = static_cast<double>(total) / 86400e6;
    return true;
}

// A zone offset such as +05, -03:30 or +00:53:28: the text already shows the session's local
// time, so the offset is only skipped.
bool SkipOffset(Reader& reader) {
    if (!reader.Take('+') && !reader.Take('-')) return true;
    std::int64_t part;
    if (!reader.Number(2, 2, part)) return false;
    for (int i = 0; i < 2 && reader.Take(':'); ++i) {
        if (!reader.Number(2, 2, part)) return false;
    }
    return true;
}

std::optional<double> ToOleDate(CivilDate date, bool beforeChrist, double fraction) {
    const std::int64_t year = beforeChrist ? 1 - date.year : date.year;
    if (date.day > DaysInMonth(year, date.month)) return std::nullopt;
    const auto days = static_cast<double>(DaysFromCivil(year, date.month, date.day) + kDaysFrom1899To1970);
    // Before 1899-12-30 the integer part counts days back and the fraction still runs forward.
    return days >= 0 ? days + fraction : days - fraction;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

}  // namespace

std::optional<DecimalValue> ParseDecimal(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    const std::size_t point = text.find('.');
    const std::string_view integer = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    if (integer.empty() && fraction.empty()) return std::nullopt;  // NaN, Infinity and the like too
    for (std::string_view part : {integer, fraction}) {
        for (char c : part) {
            if (!IsDigit(c)) return std::nullopt;
        }
    }

    std::size_t keep = fraction.size();
    while (keep > kMaxDecimalScale && fraction[keep - 1] == '0') --keep;
    for (;; --keep) {
        if (auto value = BuildDecimal(integer, fraction.substr(0, keep), negative)) return value;
        if (keep == 0 || fraction[keep - 1] != '0') return std::nullopt;
    }
}

std::optional<std::int64_t> ParseMoney(std::string_view text, int fractionDigits) {
    if (fractionDigits < 0 || fractionDigits > 18) return std::nullopt;
    bool negative = text.find_first_of("-(") != std::string_view::npos ||
                    text.find("\xE2\x88\x92") != std::string_view::npos;  // U+2212 MINUS SIGN
    std::uint64_t units = 0;
    bool any = false;
    for (char c : text) {
        if (!IsDigit(c)) continue;
        const auto digit = static_cast<unsigned>(c - '0');
        if (units > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
        units = units * 10 + digit;
        any = true;
    }
    if (!any) return std::nullopt;

    std::uint64_t scale = 1;
    for (int i = 0; i < std::abs(fractionDigits - 4); ++i) scale *= 10;
    if (fractionDigits <= 4) {
        if (units > std::numeric_limits<std::uint64_t>::max() / scale) return std::nullopt;
        units *= scale;
    } else {
        const std::uint64_t rest = units % scale;
        units = units / scale + (rest >= scale - rest ? 1 : 0);  // half away from zero
    }

    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (units > kMax + (negative ? 1 : 0)) return std::nullopt;
    if (!negative) return static_cast<std::int64_t>(units);
    return units == kMax + 1 ? std::numeric_limits<std::int64_t>::min() : -static_cast<std::int64_t>(units);
}

std::optional<int> MoneyFractionDigits(std::string_view oneUnit) {
    int digits = 0;
    for (char c : oneUnit) digits += IsDigit(c);
    if (digits == 0) return std::nullopt;
    return digits - 1;
}

std::optional<double> ParseDate(std::string_view text) {
    Reader reader(text);
    CivilDate date;
    if (!ReadDate(reader, date)) return std::nullopt;
    const bool beforeChrist = reader.Take(" BC");
    if (!reader.AtEnd()) return std::nullopt;
    return ToOleDate(date, beforeChrist, 0);
}

std::optional<double> ParseTimestamp(std::string_view text) {
    Reader reader(text);
    CivilDate date;
    double fraction;
    if (!ReadDate(reader, date) || !reader.Take(' ') || !ReadTime(reader, fraction) || !SkipOffset(reader)) {
        return std::nullopt;
    }
    const bool beforeChrist = reader.Take(" BC");
    if (!reader.AtEnd() || fraction >= 1) return std::nullopt;
    return ToOleDate(date, beforeChrist, fraction);
}

std::optional<double> ParseTime(std::string_view text) {
    Reader reader(text);
    double fraction;
    if (!ReadTime(reader, fraction) || !reader.AtEnd()) return std::nullopt;
    return fraction;
}

bool DecodeBytea(std::string_view text, std::vector<std::byte>& bytes) {
    bytes.clear();
    if (text.starts_with("\\x")) {
        text.remove_prefix(2);
        if (text.size() % 2) return false;
        bytes.reserve(text.size() / 2);
        for (std::size_t i = 0; i < text.size(); i += 2) {
            const int high = HexValue(text[i]);
            const int low = HexValue(text[i + 1]);
            if (high < 0 || low < 0) return false;
            bytes.push_back(static_cast<std::byte>(high << 4 | low));
        }
        return true;
    }
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes.push_back(static_cast<std::byte>(text[i]));
        } else if (i + 1 < text.size() && text[i + 1] == '\\') {
            bytes.push_back(std::byte{'\\'});
            ++i;
        } else if (i + 3 < text.size() && IsOctal(text[i + 1]) && IsOctal(text[i + 2]) && IsOctal(text[i + 3]) &&
                   text[i + 1] <= '3') {
            bytes.push_back(static_cast<std::byte>((text[i + 1] - '0') << 6 | (text[i + 2] - '0') << 3 | (text[i + 3] - '0')));
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace orvanta::providers::postgresql
