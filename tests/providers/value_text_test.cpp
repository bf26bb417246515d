#include <gtest/gtest.h>

#include "providers/value_text.h"

namespace orvanta::providers {
namespace {

TEST(ParseDecimal, KeepsDigitsAndScaleExactly) {
    struct Case {
        const char* text;
        bool fits;
        std::uint64_t low = 0;
        std::uint32_t high = 0;
        int scale = 0;
        bool negative = false;
    };
    const Case cases[] = {
        {"0", true, 0, 0, 0, false},
        {"-0.0", true, 0, 0, 1, false},
        {"12.50", true, 1250, 0, 2, false},
        {"-123.45", true, 12345, 0, 2, true},
        {"+7", true, 7, 0, 0, false},
        {".5", true, 5, 0, 1, false},
        {"1e3", true, 1000, 0, 0, false},
        {"1.5E-2", true, 15, 0, 3, false},
        {" 42 ", true, 42, 0, 0, false},
        {"79228162514264337593543950335", true, ~0ULL, 0xFFFFFFFFu, 0, false},  // the largest mantissa
        {"79228162514264337593543950336", false},
        {"0.0000000000000000000000000001", true, 1, 0, 28, false},
        {"0.00000000000000000000000000010", true, 1, 0, 28, false},  // a zero past the largest scale goes
        {"0.00000000000000000000000000001", false},
        {"1e-29", false},
        {"", false},
        {"-", false},
        {"1.2.3", false},
        {"12a", false},
        {"NaN", false},
        {"1e", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto value = ParseDecimal(c.text);
        ASSERT_EQ(value.has_value(), c.fits);
        if (!value) continue;
        EXPECT_EQ(value->low, c.low);
        EXPECT_EQ(value->high, c.high);
        EXPECT_EQ(value->scale, c.scale);
        EXPECT_EQ(value->negative, c.negative);
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
