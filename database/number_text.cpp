#include "database/number_text.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

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
