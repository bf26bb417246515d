#include "providers/value_text.h"

#include <cstddef>

#include "calendar/ole_date.h"

namespace orvanta::providers {
namespace {

constexpr std::int64_t kMaxScale = 28;

// A 96-bit magnitude in the halves DecimalValue keeps.
class Magnitude {
public:
    Magnitude() = default;
    explicit Magnitude(const DecimalValue& value) : m_low(value.low), m_high(value.high) {}

    // this = this * 10 + digit; false, with the value unchanged, when that passes 96 bits.
    bool Append(unsigned digit) {
        if (m_high == 0 && m_low <= (UINT64_MAX - 9) / 10) {  // the first nineteen digits
            m_low = m_low * 10 + digit;
            return true;
        }
        const std::uint64_t low = (m_low & 0xFFFFFFFFu) * 10 + digit;
        const std::uint64_t middle = (m_low >> 32) * 10 + (low >> 32);
        const std::uint64_t high = std::uint64_t{m_high} * 10 + (middle >> 32);
        if (high >> 32) return false;
        m_low = middle << 32 | (low & 0xFFFFFFFFu);
        m_high = static_cast<std::uint32_t>(high);
        return true;
    }
    bool Increment() {
        if (++m_low != 0) return true;
        return ++m_high != 0;
    }
    // this /= 10, returning the remainder.
    unsigned DivideByTen() {
        const std::uint64_t high = m_high;
        const std::uint64_t middle = (high % 10) << 32 | m_low >> 32;
        const std::uint64_t low = (middle % 10) << 32 | (m_low & 0xFFFFFFFFu);
        m_high = static_cast<std::uint32_t>(high / 10);
        m_low = (middle / 10) << 32 | low / 10;
        return static_cast<unsigned>(low % 10);
    }
    bool IsZero() const { return (m_low | m_high) == 0; }
    std::uint64_t Low() const { return m_low; }
    std::uint32_t High() const { return m_high; }

private:
    std::uint64_t m_low = 0;
    std::uint32_t m_high = 0;
};

template <class Char>
bool IsDigit(Char c) {
    return c >= '0' && c <= '9';
}

// Reads exactly `count` digits at `at`.
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!IsDigit(text[at + i])) return std::nullopt;
        value = value * 10 + (text[at + i] - '0');
    }
    return value;
}

template <class Char>
std::optional<DecimalValue> ParseDecimalText(std::basic_string_view<Char> text, DecimalSyntax syntax) {
    const bool loose = syntax == DecimalSyntax::Loose;
    if (loose) {
        while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
        while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';

    // First the shape: how many digits, how many of them zeros at the end, where the point is.
    const std::size_t first = i;
    std::size_t digits = 0;
    std::size_t trailingZeros = 0;
    std::size_t point = std::basic_string_view<Char>::npos;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            ++digits;
            trailingZeros = text[i] == '0' ? trailingZeros + 1 : 0;
        } else if (text[i] == '.' && point == std::basic_string_view<Char>::npos) {
            point = i;
        } else {
            break;
        }
    }
    if (digits == 0) return std::nullopt;
    std::int64_t scale = point == std::basic_string_view<Char>::npos ? 0 : static_cast<std::int64_t>(i - point - 1);
    if (loose && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) negativeExponent = text[i++] == '-';
        if (i == text.size()) return std::nullopt;
        std::int64_t exponent = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            exponent = exponent * 10 + (text[i] - '0');
            if (exponent > 1000) return std::nullopt;
        }
        scale += negativeExponent ? exponent : -exponent;
    }
    if (i != text.size()) return std::nullopt;

    // Zeros at the end of the fraction go first where the scale is too large, then where the
    // magnitude would pass 96 bits; the digits before them all fit or the value does not.
    std::int64_t dropped = scale > kMaxScale ? scale - kMaxScale : 0;
    if (dropped > static_cast<std::int64_t>(trailingZeros)) return std::nullopt;
    const std::size_t keep = digits - static_cast<std::size_t>(dropped);
    Magnitude magnitude;
    std::size_t kept = 0;
    for (std::size_t at = first; kept < keep; ++at) {
        if (text[at] == '.') continue;
        if (!magnitude.Append(static_cast<unsigned>(text[at] - '0'))) break;
        ++kept;
    }
    if (kept < keep) {
        dropped += static_cast<std::int64_t>(keep - kept);
        if (dropped > static_cast<std::int64_t>(trailingZeros) || dropped > scale) return std::nullopt;
    }
    scale -= dropped;
    for (; scale < 0; ++scale) {
        if (!magnitude.Append(0)) return std::nullopt;
    }
    DecimalValue value;
    value.low = magnitude.Low();
    value.high = magnitude.High();
    value.scale = static_cast<std::uint8_t>(scale);
    value.negative = negative && !magnitude.IsZero();
    return value;
}

}  // namespace

std::optional<DecimalValue> ParseDecimal(std::string_view text, DecimalSyntax syntax) {
    return ParseDecimalText(text, syntax);
}

std::optional<DecimalValue> ParseDecimal(std::u16string_view text, DecimalSyntax syntax) {
    return ParseDecimalText(text, syntax);
}

std::optional<std::int64_t> ParseCurrency(std::string_view text) {
    const std::optional<DecimalValue> decimal = ParseDecimal(text, DecimalSyntax::Loose);
    if (!decimal) return std::nullopt;
    Magnitude magnitude(*decimal);
    int scale = decimal->scale;
    for (; scale < 4; ++scale) {
        if (!magnitude.Append(0)) return std::nullopt;
    }
    // Half away from zero: only the first digit dropped decides, and it is the last one divided out.
    unsigned dropped = 0;
    for (; scale > 4; --scale) dropped = magnitude.DivideByTen();
    if (dropped >= 5 && !magnitude.Increment()) return std::nullopt;
    if (magnitude.High() != 0) return std::nullopt;
    const std::uint64_t units = magnitude.Low();
    if (units > static_cast<std::uint64_t>(INT64_MAX) + (decimal->negative ? 1 : 0)) return std::nullopt;
    return decimal->negative ? static_cast<std::int64_t>(0 - units) : static_cast<std::int64_t>(units);
}

std::optional<double> ParseIsoDateTime(std::string_view text) {
    const auto year = Digits(text, 0, 4);
    const auto month = Digits(text, 5, 2);
    const auto day = Digits(text, 8, 2);
    if (!year || !month || !day || text[4] != '-' || text[7] != '-') return std::nullopt;
    int hour = 0;
    int minute = 0;
    int second = 0;
    double fraction = 0;
    std::size_t i = 10;
    if (i < text.size()) {
        if (text[i] != ' ' && text[i] != 'T') return std::nullopt;
        const auto h = Digits(text, i + 1, 2);
        const auto m = Digits(text, i + 4, 2);
        if (!h || !m || text[i + 3] != ':') return std::nullopt;
        hour = *h;
        minute = *m;
        i += 6;
        if (i < text.size() && text[i] == ':') {
            const auto s = Digits(text, i + 1, 2);
            if (!s) return std::nullopt;
            second = *s;
            i += 3;
            if (i < text.size() && text[i] == '.') {
                double scale = 0.1;
                std::size_t digits = 0;
                for (++i; i < text.size() && IsDigit(text[i]); ++i, ++digits, scale /= 10) {
                    fraction += (text[i] - '0') * scale;
                }
                if (digits == 0) return std::nullopt;
            }
        }
        if (i < text.size() && text[i] == 'Z') ++i;
        if (i != text.size()) return std::nullopt;
    }
    return calendar::OleDateFromCivil(*year, *month, *day, hour, minute, second, fraction);
}

}  // namespace orvanta::providers
