#include <gtest/gtest.h>

#include "odbc/cell_text.h"
#include "providers/odbc/types.h"
#include "support/text.h"

namespace orvanta::providers::odbc {
namespace {

using testing::U16;

// Decimal text is stored as the platform's decimal only when nothing is lost.
TEST(OdbcValues, DecimalTextBecomesADecimalWhenItFits) {
    struct Case {
        const char* text;
        const char* decimal;  // null: kept as text
    };
    const Case cases[] = {
        {"12.50", "12.50"},
        {"-0.5", "-0.5"},
        {".5", "0.5"},
        {"7.", "7"},
        {"+3", "3"},
        {"-0.00", "0.00"},
        {"79228162514264337593543950335", "79228162514264337593543950335"},  // 2^96 - 1
        {"79228162514264337593543950336", nullptr},
        {"7922816251426433759354395033.5", "7922816251426433759354395033.5"},
        {"0.1234567890123456789012345678", "0.1234567890123456789012345678"},
        {"0.12345678901234567890123456789", nullptr},  // 29 digits of scale
        {"1.5000000000000000000000000000000", "1.5000000000000000000000000000"},
        {"1.123456789012345678901234567890123", nullptr},
        {"1e5", nullptr},
        {"NaN", nullptr},
        {"", nullptr},
        {"-", nullptr},
        {".", nullptr},
        {"1.2.3", nullptr},
        {" 1", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        DecimalValue value;
        const bool fits = ParseDecimal(U16(c.text), value);
        EXPECT_EQ(fits, c.decimal != nullptr);
        if (!fits || !c.decimal) continue;
        ResultSet cells;
        cells.BeginRow();
        cells.AddDecimal(value);
        cells.EndRow();
        EXPECT_EQ(testing::odbc::CellText(cells.Cell(0, 0)), std::string("Decimal:") + c.decimal);
    }
}

TEST(OdbcValues, DatesCountDaysFrom30December1899) {
    struct Case {
        int year, month, day;
        double seconds;
        double date;
    };
    const Case cases[] = {
        {1899, 12, 30, 0, 0.0},
        {2024, 1, 2, 0, 45293.0},
        {2024, 1, 2, 3 * 3600 + 4 * 60 + 5.5, 45293.127841435184},
        {2000, 2, 29, 12 * 3600, 36585.5},
        {1899, 12, 29, 6 * 3600, -1.25},  // the time of day counts away from zero
        {1800, 1, 1, 0, -36522.0},
        {100, 1, 1, 0, -657434.0},
        {9999, 12, 31, 86399, 2958465.999988426},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.year) + "-" + ::testing::PrintToString(c.month) + "-" + ::testing::PrintToString(c.day));
        EXPECT_NEAR(OleDate(c.year, c.month, c.day, c.seconds), c.date, 1e-9);
    }
}

// What a driver can put in a date structure that the date type cannot hold keeps its fields as text.
TEST(OdbcValues, DateFieldsOutsideTheDateRangeStayText) {
    const SQL_DATE_STRUCT early{0, 0, 0};
    const SQL_TIMESTAMP_STRUCT late{10000, 1, 1, 0, 0, 0, 0};
    const SQL_TIME_STRUCT wrong{25, 0, 0};
    const SQL_TIMESTAMP_STRUCT fine{2024, 1, 2, 3, 4, 5, 500000000};
    ResultSet cells;
    cells.BeginRow();
    AddFixed(Fetch::Date, &early, cells);
    AddFixed(Fetch::Timestamp, &late, cells);
    AddFixed(Fetch::Time, &wrong, cells);
    AddFixed(Fetch::Timestamp, &fine, cells);
    cells.EndRow();
    cells.Columns().resize(4);
    const std::vector<std::string> expected = {"Utf16:0000-00-00", "Utf16:10000-01-01 00:00:00.000000000", "Utf16:25:00:00",
                                               "Date:45293.127841"};
    EXPECT_EQ(testing::odbc::RowTexts(cells).at(0), expected);
}

}  // namespace
}  // namespace orvanta::providers::odbc
