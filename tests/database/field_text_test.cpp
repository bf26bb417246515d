#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "database/date_text.h"
#include "database/field_text.h"
#include "database/number_text.h"
#include "support/temp_dir.h"
#include "support/text.h"

namespace orvanta {
namespace {

using testing::U8;

VARIANT Make(VARTYPE vt) {
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    return v;
}
template <class Field, class Value>
VARIANT Make(VARTYPE vt, Field VARIANT::*field, Value value) {
    VARIANT v = Make(vt);
    v.*field = static_cast<Field>(value);
    return v;
}
VARIANT Decimal(ULONG high, ULONGLONG low, BYTE scale, BYTE sign) {
    VARIANT v = Make(VT_EMPTY);
    v.decVal.Hi32 = high;
    v.decVal.Lo64 = low;
    v.decVal.scale = scale;
    v.decVal.sign = sign;
    v.vt = VT_DECIMAL;
    return v;
}
DATE At(double day, int hour, int minute, int second) { return day + (hour * 3600 + minute * 60 + second) / 86400.0; }

struct TextCase {
    const char* label;
    VARIANT value;
    const char* text;  // null: no rule, the text stays as it was
};

TEST(FieldText, EveryTypeCodeHasItsText) {
    static const char16_t kEmbeddedNull[] = u"a\0b";
    const TextCase cases[] = {
        {"empty", Make(VT_EMPTY), ""},
        {"null", Make(VT_NULL), ""},
        {"I2 minimum", Make(VT_I2, &VARIANT::iVal, -32768), "-32768"},
        {"I4 -1", Make(VT_I4, &VARIANT::lVal, -1), "-1"},
        {"I4 zero", Make(VT_I4, &VARIANT::lVal, 0), "0"},
        {"INT", Make(VT_INT, &VARIANT::intVal, -2147483647 - 1), "-2147483648"},
        {"UI1 200", Make(VT_UI1, &VARIANT::bVal, 200), "200"},
        {"UI1 255", Make(VT_UI1, &VARIANT::bVal, 255), "255"},
        {"UI4 maximum", Make(VT_UI4, &VARIANT::ulVal, 4294967295u), "4294967295"},
        // Integers of every width have their decimal text.
        {"I1", Make(VT_I1, &VARIANT::cVal, -128), "-128"},
        {"UI2", Make(VT_UI2, &VARIANT::uiVal, 65535), "65535"},
        {"I8 minimum", Make(VT_I8, &VARIANT::llVal, std::numeric_limits<LONGLONG>::min()), "-9223372036854775808"},
        {"I8 COUNT(*)", Make(VT_I8, &VARIANT::llVal, 5000000000LL), "5000000000"},
        {"UI8 maximum", Make(VT_UI8, &VARIANT::ullVal, ~0ULL), "18446744073709551615"},
        {"UINT", Make(VT_UINT, &VARIANT::uintVal, 4000000000u), "4000000000"},
        // The worked values of the general number text.
        {"R8 0", Make(VT_R8, &VARIANT::dblVal, 0.0), "0."},
        {"R8 -0", Make(VT_R8, &VARIANT::dblVal, -0.0), "-0."},
        {"R8 1", Make(VT_R8, &VARIANT::dblVal, 1.0), "1."},
        {"R8 -2.5", Make(VT_R8, &VARIANT::dblVal, -2.5), "-2.5"},
        {"R8 0.1", Make(VT_R8, &VARIANT::dblVal, 0.1), "0.10000000000000001"},
        {"R8 1/3", Make(VT_R8, &VARIANT::dblVal, 1.0 / 3), "0.33333333333333331"},
        {"R8 0.05", Make(VT_R8, &VARIANT::dblVal, 0.05), "5.0000000000000003e-002"},
        {"R8 1e19", Make(VT_R8, &VARIANT::dblVal, 1e19), "10000000000000000000."},
        {"R8 1e20", Make(VT_R8, &VARIANT::dblVal, 1e20), "1.e+020"},
        {"R8 12345.678901", Make(VT_R8, &VARIANT::dblVal, 12345.678901), "12345.678900999999"},
        {"R8 smallest normal", Make(VT_R8, &VARIANT::dblVal, 2.2250738585072014e-308), "2.2250738585072014e-308"},
        {"R8 largest", Make(VT_R8, &VARIANT::dblVal, 1.7976931348623157e308), "1.7976931348623157e+308"},
        {"R8 infinity", Make(VT_R8, &VARIANT::dblVal, -INFINITY), "-Infinity"},
        {"R8 NaN", Make(VT_R8, &VARIANT::dblVal, NAN), "NaN"},
        {"R4 0.1", Make(VT_R4, &VARIANT::fltVal, 0.1f), "0.1000000015"},
        {"R4 16777216", Make(VT_R4, &VARIANT::fltVal, 16777216.0f), "16777216."},
        {"R4 1e10", Make(VT_R4, &VARIANT::fltVal, 1e10f), "1.e+010"},
        {"R4 rounds up into a new digit", Make(VT_R4, &VARIANT::fltVal, 9999999999.0f), "1.e+010"},
        {"R4 carry in the fraction", Make(VT_R4, &VARIANT::fltVal, 0.99999999999f), "1."},
        {"BOOL true", Make(VT_BOOL, &VARIANT::boolVal, VARIANT_TRUE), "T"},
        {"BOOL 1 is not true", Make(VT_BOOL, &VARIANT::boolVal, 1), "F"},
        {"BOOL false", Make(VT_BOOL, &VARIANT::boolVal, VARIANT_FALSE), "F"},
        {"BSTR stops at a null", Make(VT_BSTR, &VARIANT::bstrVal, const_cast<BSTR>(kEmbeddedNull)), "a"},
        {"null BSTR", Make(VT_BSTR, &VARIANT::bstrVal, nullptr), ""},
        {"DECIMAL integer", Decimal(0, 5000000000ULL, 0, 0), "5000000000."},
        {"DECIMAL below 0.1", Decimal(0, 5, 2, 0), "5.0000000000000003e-002"},
        {"DECIMAL 123.45", Decimal(0, 12345, 2, 0), "123.45"},
        {"DECIMAL negative", Decimal(0, 12345, 2, DECIMAL_NEG), "-123.45"},
        {"DECIMAL other sign bytes are positive", Decimal(0, 12345, 2, 0x01), "123.45"},
        {"DECIMAL 96-bit maximum", Decimal(0xFFFFFFFF, ~0ULL, 0, 0), "7.9228162514264338e+028"},
        {"DECIMAL scale 28", Decimal(0, 1, 28, 0), "1.0000000000000001e-028"},
        {"DATE 1 January 100", Make(VT_DATE, &VARIANT::date, -657434.0), "0100-01-01 00:00:00"},
        {"DATE 31 December 1999", Make(VT_DATE, &VARIANT::date, At(36525, 23, 59, 58)), "1999-12-31 23:59:58"},
        {"DATE last second", Make(VT_DATE, &VARIANT::date, At(2958465, 23, 59, 59)), "9999-12-31 23:59:59"},
        {"DATE beyond 9999", Make(VT_DATE, &VARIANT::date, 2958466.0), "Invalid DateTime"},
        {"DATE before 100", Make(VT_DATE, &VARIANT::date, -657435.0), "Invalid DateTime"},
        {"DATE before 1899 counts time forward", Make(VT_DATE, &VARIANT::date, -1.25), "1899-12-29 06:00:00"},
        {"DATE rounds to the second", Make(VT_DATE, &VARIANT::date, At(45000, 12, 34, 56) - 1e-9), "2023-03-15 12:34:56"},
        {"DISPATCH", Make(VT_DISPATCH), nullptr},
        {"ERROR", Make(VT_ERROR), nullptr},
        {"UNKNOWN", Make(VT_UNKNOWN), nullptr},
        {"array", Make(VT_ARRAY | VT_UI1), nullptr},
        {"by reference", Make(VT_BYREF | VT_I4), nullptr},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.label);
        VARIANT value = c.value;
        std::u16string text = u"earlier";
        const bool hasText = VariantToFieldText(value, text, u"%Y-%m-%d %H:%M:%S");
        EXPECT_EQ(hasText, c.text != nullptr);
        EXPECT_EQ(U8(text), c.text ? c.text : "earlier");
        // Nothing in a number text needs the block's separators masked.
        if (hasText && (c.value.vt == VT_R8 || c.value.vt == VT_R4 || c.value.vt == VT_DECIMAL)) {
            EXPECT_EQ(U8(text).find_first_of(",\r\n"), std::string::npos);
        }
    }
}

// An independent reference: the C library's seventeen digits, then the rounding and trimming
// done on the digit string with plain integer arithmetic.
std::string ReferenceNumberText(double value, int n) {
    if (value == 0) return std::signbit(value) ? "-0." : "0.";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.16e", std::fabs(value));
    std::string digits = std::string(1, buffer[0]) + std::string(buffer + 2, 16);
    int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
    digits.resize(40, '0');
    // Round half up at digit n+1, in chunks of at most 9 digits from the right.
    std::string kept = digits.substr(0, n);
    if (digits[n] >= '5') {
        int i = n - 1;
        while (i >= 0 && kept[i] == '9') kept[i--] = '0';
        if (i < 0) {
            kept = "1" + kept.substr(0, n - 1);
            ++exponent;
        } else {
            ++kept[i];
        }
    }
    std::string text = value < 0 ? "-" : "";
    const bool exponentForm = exponent < -1 || exponent > n - 1;
    std::string fraction;
    if (exponentForm) {
        text += kept.substr(0, 1) + ".";
        fraction = kept.substr(1);
    } else if (exponent == -1) {
        text += "0.";
        fraction = kept;
    } else {
        text += kept.substr(0, exponent + 1) + ".";
        fraction = kept.substr(exponent + 1);
    }
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    text += fraction;
    if (exponentForm) {
        char tail[16];
        std::snprintf(tail, sizeof tail, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
        text += tail;
    }
    return text;
}

TEST(FieldText, NumberTextMatchesAnIndependentReference) {
    std::mt19937_64 random(20261211);
    std::uniform_int_distribution<int> scale(-40, 40);
    for (int i = 0; i < 200000; ++i) {
        double value;
        if (i % 2) {
            const std::uint64_t bits = random();
            std::memcpy(&value, &bits, sizeof value);  // anything a double can hold
            if (!std::isfinite(value)) continue;
        } else {
            value = std::ldexp(static_cast<double>(random() >> 11), scale(random)) * (i % 4 ? 1 : -1);
        }
        ASSERT_EQ(GeneralNumberText(value, 20), ReferenceNumberText(value, 20)) << value;
        const double single = static_cast<double>(static_cast<float>(value));
        if (std::isfinite(single)) {
            ASSERT_EQ(GeneralNumberText(single, 10), ReferenceNumberText(single, 10)) << single;
        }
    }
}

TEST(FieldText, DatesFollowThePattern) {
    const DATE date = At(45351, 7, 5, 9);  // Thursday 29 February 2024
    struct Case {
        std::u16string pattern;
        const char* text;
    };
    const Case cases[] = {
        {u"%d/%m/%Y %A %a %B %b %j %%", "29/02/2024 Thursday Thu February Feb 060 %"},
        {u"%I:%M %p|%e|%y|%C|%u|%w", "07:05 AM|29|24|20|4|4"},
        {u"%U %W %V %G", "08 09 09 2024"},
        {u"%D %F %T %R", "02/29/24 2024-02-29 07:05:09 07:05"},
        {u"%c", "Thu Feb 29 07:05:09 2024"},
        {u"%Ey %Od %q %", "24 29 %q %"},
        {u"\u65e5\u4ed8 %Y\U0001F600", "\u65e5\u4ed8 2024\U0001F600"},
        {std::u16string(255, u'x'), nullptr},
        {std::u16string(256, u'x'), ""},
        {[] {
             std::u16string p;
             for (int i = 0; i < 64; ++i) p += u"%Y";
             return p;
         }(),
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(U8(c.pattern).substr(0, 40));
        const std::string text = U8(DateText(date, c.pattern));
        EXPECT_EQ(text, c.text ? c.text : std::string(255, 'x'));
    }
    // ISO weeks at year ends.
    EXPECT_EQ(U8(DateText(At(44197, 0, 0, 0), u"%G-%V %g")), "2020-53 20");  // Friday 1 January 2021
    EXPECT_EQ(U8(DateText(At(45656, 0, 0, 0), u"%G-%V")), "2025-01");         // Monday 30 December 2024
    EXPECT_EQ(U8(DateText(At(45658, 0, 0, 0), u"[%e]")), "[ 1]");             // day numbers padded with a blank
}

// The currency text follows the locale that the environment selects for money.
class CurrencyText : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* variable : {"LC_ALL", "LC_MONETARY", "LANG", "LOCPATH"}) {
            const char* value = std::getenv(variable);
            m_saved.emplace_back(variable, value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(variable);
        }
    }
    void TearDown() override {
        for (const auto& [variable, value] : m_saved) {
            if (value) {
                setenv(variable, value->c_str(), 1);
            } else {
                unsetenv(variable);
            }
        }
    }
    static std::string Text(LONGLONG scaled) {
        VARIANT value;
        VariantInit(&value);
        value.cyVal.int64 = scaled;
        value.vt = VT_CY;
        std::u16string text;
        EXPECT_TRUE(VariantToFieldText(value, text, u""));
        return U8(text);
    }

    std::vector<std::pair<const char*, std::optional<std::string>>> m_saved;
};

TEST_F(CurrencyText, UsesTheLocaleOfTheEnvironment) {
    setenv("LC_MONETARY", "en_US.UTF-8", 1);
    EXPECT_EQ(Text(12345678), "$1,234.57");
    EXPECT_EQ(Text(-12345678), "-$1,234.57");
    setenv("LC_MONETARY", "de_DE.UTF-8", 1);
    EXPECT_EQ(Text(12345678), "1.234,57 \u20ac");
    setenv("LC_ALL", "en_US.UTF-8", 1);
    EXPECT_EQ(Text(12345678), "$1,234.57") << "LC_ALL wins";
    unsetenv("LC_ALL");
    unsetenv("LC_MONETARY");
    EXPECT_EQ(Text(12345678), "1234.57") << "the POSIX locale";
    setenv("LC_MONETARY", "xx_NOWHERE.UTF-8", 1);
    EXPECT_EQ(Text(12345678), "1234.57") << "a locale that is not installed counts as POSIX";
}

TEST_F(CurrencyText, FallsBackToSixDecimalsWhenTheTextDoesNotFit) {
    testing::TempDir dir;
    const std::string symbol(70, 'W');
    std::ofstream source(dir.File("long"));
    source << "LC_MONETARY\n"
              "int_curr_symbol \"USD \"\ncurrency_symbol \""
           << symbol
           << "\"\nmon_decimal_point \".\"\nmon_thousands_sep \",\"\nmon_grouping 3\npositive_sign \"\"\n"
              "negative_sign \"-\"\nint_frac_digits 2\nfrac_digits 2\np_cs_precedes 1\np_sep_by_space 0\n"
              "n_cs_precedes 1\nn_sep_by_space 0\np_sign_posn 1\nn_sign_posn 1\nEND LC_MONETARY\n";
    for (const char* category : {"LC_CTYPE", "LC_NUMERIC", "LC_COLLATE", "LC_TIME", "LC_MESSAGES", "LC_PAPER",
                                 "LC_NAME", "LC_ADDRESS", "LC_TELEPHONE", "LC_MEASUREMENT", "LC_IDENTIFICATION"}) {
        source << category << "\ncopy \"en_US\"\nEND " << category << "\n";
    }
    source.close();
    const std::string command =
        "localedef -c -i " + dir.File("long") + " -f UTF-8 " + dir.File("xx_LONG.UTF-8") + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    setenv("LOCPATH", dir.Path().c_str(), 1);
    setenv("LC_MONETARY", "xx_LONG.UTF-8", 1);

    EXPECT_EQ(Text(12345678), "1234.567800");
    EXPECT_EQ(Text(-5), "-0.000500");
}

}  // namespace
}  // namespace orvanta
