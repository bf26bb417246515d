#include <string>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>

#include "providers/value_text.h"
#include "support/cell_text.h"
#include "support/text.h"

namespace orvanta::providers {
namespace {

// Every text runs through both syntaxes and through the narrow and the UTF-16 form, which must
// agree.
TEST(ParseDecimal, KeepsDigitsAndScaleExactly) {
    struct Case {
        const char* text;
        const char* plain;  // the decimal as DecimalText writes it; null: no decimal
        const char* loose;
    };
    const Case cases[] = {
        {"0", "0", "0"},
        {"-0.0", "0.0", "0.0"},  // no negative zero
        {"-0.00", "0.00", "0.00"},
        {"12.50", "12.50", "12.50"},
        {"-123.4500", "-123.4500", "-123.4500"},
        {"+7", "7", "7"},
        {".5", "0.5", "0.5"},
        {"-0.5", "-0.5", "-0.5"},
        {"7.", "7", "7"},
        {"18446744073709551616", "18446744073709551616", "18446744073709551616"},  // 2^64: into the high part
        {"79228162514264337593543950335", "79228162514264337593543950335",
         "79228162514264337593543950335"},  // 2^96 - 1
        {"79228162514264337593543950336", nullptr, nullptr},
        {"7922816251426433759354395033.5", "7922816251426433759354395033.5", "7922816251426433759354395033.5"},
        {"0.0000000000000000000000000001", "0.0000000000000000000000000001", "0.0000000000000000000000000001"},
        {"0.1234567890123456789012345678", "0.1234567890123456789012345678", "0.1234567890123456789012345678"},
        {"0.00000000000000000000000000001", nullptr, nullptr},  // 29 digits of scale
        {"0.12345678901234567890123456789", nullptr, nullptr},
        {"1.123456789012345678901234567890123", nullptr, nullptr},
        // Zeros at the end of the fraction go only as far as the value needs to fit.
        {"0.00000000000000000000000000010", "0.0000000000000000000000000001", "0.0000000000000000000000000001"},
        {"2.500000000000000000000000000000", "2.5000000000000000000000000000", "2.5000000000000000000000000000"},
        {"1.5000000000000000000000000000000", "1.5000000000000000000000000000", "1.5000000000000000000000000000"},
        {"7922816251426433759354395033.50", "7922816251426433759354395033.5", "7922816251426433759354395033.5"},
        {"7922816251426433759354395033.500", "7922816251426433759354395033.5", "7922816251426433759354395033.5"},
        {"7922816251426433759354395033.51", nullptr, nullptr},
        {"79228162514264337593543950340", nullptr, nullptr},  // a zero before the point carries value
        // Exponents and blanks around the number are loose syntax only.
        {"1e3", nullptr, "1000"},
        {"1.5E-2", nullptr, "0.015"},
        {"1e5", nullptr, "100000"},
        {"100e-30", nullptr, "0.0000000000000000000000000001"},
        {"1e-29", nullptr, nullptr},
        {"1e29", nullptr, nullptr},
        {" 42 ", nullptr, "42"},
        {" 1", nullptr, "1"},
        {"", nullptr, nullptr},
        {"-", nullptr, nullptr},
        {".", nullptr, nullptr},
        {"1.2.3", nullptr, nullptr},
        {"12a", nullptr, nullptr},
        {"NaN", nullptr, nullptr},
        {"Infinity", nullptr, nullptr},
        {"-Infinity", nullptr, nullptr},
        {"1e", nullptr, nullptr},
        {"1\xC4\xB1", nullptr, nullptr},  // U+0131, whose low byte is the digit 1
        {"\xEF\xBC\x91", nullptr, nullptr},  // FULLWIDTH DIGIT ONE
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::pair<DecimalSyntax, const char*> syntaxes[] = {{DecimalSyntax::Plain, c.plain},
                                                                  {DecimalSyntax::Loose, c.loose}};
        for (const auto& [syntax, expected] : syntaxes) {
            SCOPED_TRACE(syntax == DecimalSyntax::Plain ? "plain" : "loose");
            const auto narrow = ParseDecimal(std::string_view(c.text), syntax);
            const auto wide = ParseDecimal(testing::U16(c.text), syntax);
            const std::string none = "no decimal";
            EXPECT_EQ(narrow ? testing::DecimalText(*narrow) : none, expected ? expected : none);
            EXPECT_EQ(wide ? testing::DecimalText(*wide) : none, expected ? expected : none);
        }
    }
}

TEST(ParseCurrency, ScalesByTenThousandAndRoundsHalfAwayFromZero) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> scaled;
    };
    const Case cases[] = {
        {"19.99", 199900},        {"-1.23456", -12346}, {"1.23455", 12346},   {"1.23454", 12345},
        {"0.00005", 1},           {"-0.00004", 0},      {"922337203685477.5807", INT64_MAX},
        {"-922337203685477.5808", INT64_MIN},           {"922337203685477.5808", std::nullopt},
        {"free", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseCurrency(c.text), c.scaled);
    }
}

TEST(ParseIsoDateTime, AcceptsDatesAndDateTimesOnly) {
    const double day = 45351;  // 29 February 2024
    struct Case {
        const char* text;
        std::optional<double> date;
    };
    const Case cases[] = {
        {"2024-02-29", day},
        {"2024-02-29 13:45", day + (13 * 60 + 45) / 1440.0},
        {"2024-02-29T13:45:10", day + (13 * 3600 + 45 * 60 + 10) / 86400.0},
        {"2024-02-29 13:45:10.250", day + (13 * 3600 + 45 * 60 + 10.25) / 86400.0},
        {"2024-02-29 13:45:10Z", day + (13 * 3600 + 45 * 60 + 10) / 86400.0},
        {"1899-12-29 06:00:00", -1.25},
        {"0100-01-01", -657434.0},
        {"2023-02-29", std::nullopt},
        {"2024-02-29 24:00:00", std::nullopt},
        {"2024-02-29 13:45:10+02:00", std::nullopt},
        {"2024-02-29 13:45:10.", std::nullopt},
        {"0099-12-31", std::nullopt},
        {"24-02-29", std::nullopt},
        {"2024/02/29", std::nullopt},
        {"2024-02-29x", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto date = ParseIsoDateTime(c.text);
        ASSERT_EQ(date.has_value(), c.date.has_value());
        if (date) {
            EXPECT_DOUBLE_EQ(*date, *c.date);
        }
    }
}

}  // namespace
}  // namespace orvanta::providers
