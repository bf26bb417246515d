#include "providers/value_text.h"

#include <array>

#include "calendar/ole_date.h"

namespace orvanta::providers {
namespace {

constexpr int kMaxScale = 28;

// A 96-bit unsigned integer in three 32-bit limbs, least significant first.
struct Wide96 {
    std::array<std::uint32_t, 3> limbs{};

    // this = this * 10 + digit; false on overflow past 96 bits.
    bool MultiplyAdd(std::uint32_t factor, std::uint32_t addend) {
        std::uint64_t carry = addend;
        for (std::uint32_t& limb : limbs) {
            const std::uint64_t product = static_cast<std::uint64_t>(limb) * factor + carry;
            limb = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        return carry == 0;
    }
    // this /= 10, returning the remainder.
    std::uint32_t DivideByTen() {
        std::uint64_t remainder = 0;
        for (int i = 2; i >= 0; --i) {
            const std::uint64_t value = (remainder << 32) | limbs[i];
            limbs[i] = static_cast<std::uint32_t>(value / 10);
            remainder = value % 10;
        }
        return static_cast<std::uint32_t>(remainder);
    }
    bool IsZero() const { return (limbs[0] | limbs[1] | limbs[2]) == 0; }
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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

}  // namespace

std::optional<DecimalValue> ParseDecimal(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';

    Wide96 mantissa;
    int scale = 0;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            digits = true;
            if (!mantissa.MultiplyAdd(10, static_cast<std::uint32_t>(c - '0'))) return std::nullopt;
            if (point) ++scale;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) negativeExponent = text[i++] == '-';
        if (i == text.size()) return std::nullopt;
        int exponent = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            exponent = exponent * 10 + (text[i] - '0');
            if (exponent > 1000) return std::nullopt;
        }
        scale += negativeExponent ? exponent : -exponent;
    }
    if (i != text.size()) return std::nullopt;

    for (; scale < 0; ++scale) {
        if (!mantissa.MultiplyAdd(10, 0)) return std::nullopt;
    }
    // Zeros past the largest scale carry no value; anything else would be lost.
    for (; scale > kMaxScale; --scale) {
        if (mantissa.DivideByTen() != 0) return std::nullopt;
    }
    DecimalValue value;
    value.low = mantissa.limbs[0] | (static_cast<std::uint64_t>(mantissa.limbs[1]) << 32);
    value.high = mantissa.limbs[2];
    value.scale = static_cast<std::uint8_t>(scale);
    value.negative = negative && !mantissa.IsZero();
    return value;
}

std::optional<std::int64_t> ParseCurrency(std::string_view text) {
    const std::optional<DecimalValue> decimal = ParseDecimal(text);
    if (!decimal) return std::nullopt;
    Wide96 mantissa;
    mantissa.limbs = {static_cast<std::uint32_t>(decimal->low), static_cast<std::uint32_t>(decimal->low >> 32),
                      decimal->high};
    int scale = decimal->scale;
    for (; scale < 4; ++scale) {
        if (!mantissa.MultiplyAdd(10, 0)) return std::nullopt;
    }
    // Half away from zero: only the first digit dropped decides, and it is the last one divided out.
    std::uint32_t dropped = 0;
    for (; scale > 4; --scale) dropped = mantissa.DivideByTen();
    if (dropped >= 5 && !mantissa.MultiplyAdd(1, 1)) return std::nullopt;
    if (mantissa.limbs[2] != 0) return std::nullopt;
    const std::uint64_t magnitude = mantissa.limbs[0] | (static_cast<std::uint64_t>(mantissa.limbs[1]) << 32);
    if (magnitude > static_cast<std::uint64_t>(INT64_MAX) + (decimal->negative ? 1 : 0)) return std::nullopt;
    return decimal->negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
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
