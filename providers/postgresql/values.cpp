#include "providers/postgresql/values.h"

#include <cstdlib>
#include <limits>

#include "calendar/ole_date.h"

namespace orvanta::providers::postgresql {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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

// Year, month and day as written; a BC year is turned into the calendar's year when the date is built.
struct CivilDate {
    std::int64_t year, month, day;
};

struct TimeOfDay {
    std::int64_t hour, minute, second, micros;
};

bool ReadDate(Reader& reader, CivilDate& date) {
    return reader.Number(4, 9, date.year) && reader.Take('-') && reader.Number(2, 2, date.month) && reader.Take('-') &&
           reader.Number(2, 2, date.day) && date.year >= 1;
}

bool ReadTime(Reader& reader, TimeOfDay& time) {
    time.micros = 0;
    if (!reader.Number(2, 2, time.hour) || !reader.Take(':') || !reader.Number(2, 2, time.minute) ||
        !reader.Take(':') || !reader.Number(2, 2, time.second)) {
        return false;
    }
    if (reader.Take('.')) {
        std::size_t digits;
        if (!reader.Number(1, 6, time.micros, &digits)) return false;
        for (; digits < 6; ++digits) time.micros *= 10;
    }
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

// Empty for fields out of range, and for dates the date type cannot hold (before the year 100,
// so every BC date, or after 9999): the caller keeps the server's text of those.
std::optional<double> ToOleDate(const CivilDate& date, bool beforeChrist, const TimeOfDay& time) {
    const std::int64_t year = beforeChrist ? 1 - date.year : date.year;  // 1 BC is year 0
    return calendar::OleDateFromCivil(static_cast<int>(year), static_cast<int>(date.month), static_cast<int>(date.day),
                                      static_cast<int>(time.hour), static_cast<int>(time.minute),
                                      static_cast<int>(time.second), static_cast<double>(time.micros) / 1e6);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

}  // namespace

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
    return ToOleDate(date, beforeChrist, TimeOfDay{});
}

std::optional<double> ParseTimestamp(std::string_view text) {
    Reader reader(text);
    CivilDate date;
    TimeOfDay time;
    if (!ReadDate(reader, date) || !reader.Take(' ') || !ReadTime(reader, time) || !SkipOffset(reader)) {
        return std::nullopt;
    }
    const bool beforeChrist = reader.Take(" BC");
    if (!reader.AtEnd()) return std::nullopt;
    return ToOleDate(date, beforeChrist, time);
}

// A time alone is a date of day 0, 30 December 1899.
std::optional<double> ParseTime(std::string_view text) {
    Reader reader(text);
    TimeOfDay time;
    if (!ReadTime(reader, time) || !reader.AtEnd()) return std::nullopt;
    // The type runs up to 24:00:00, the midnight that ends the day.
    if (time.hour == 24 && time.minute == 0 && time.second == 0 && time.micros == 0) {
        return calendar::OleDateFromCivil(1899, 12, 31, 0, 0, 0);
    }
    return ToOleDate(CivilDate{1899, 12, 30}, false, time);
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
