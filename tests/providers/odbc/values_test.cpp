#include <gtest/gtest.h>

#include "providers/odbc/types.h"
#include "support/cell_text.h"

namespace orvanta::providers::odbc {
namespace {

// Timestamps count days from 30 December 1899, the time of day as the fraction.
TEST(OdbcValues, TimestampsCountDaysFrom30December1899) {
    struct Case {
        SQL_TIMESTAMP_STRUCT stamp;
        double date;
    };
    const Case cases[] = {
        {{1899, 12, 30, 0, 0, 0, 0}, 0.0},
        {{2024, 1, 2, 0, 0, 0, 0}, 45293.0},
        {{2024, 1, 2, 3, 4, 5, 500000000}, 45293.127841435184},
        {{2000, 2, 29, 12, 0, 0, 0}, 36585.5},
        {{1899, 12, 29, 6, 0, 0, 0}, -1.25},  // the time of day counts away from zero
        {{1800, 1, 1, 0, 0, 0, 0}, -36522.0},
        {{100, 1, 1, 0, 0, 0, 0}, -657434.0},
        {{9999, 12, 31, 23, 59, 59, 0}, 2958465.999988426},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.stamp.year) + "-" + ::testing::PrintToString(c.stamp.month) + "-" +
                     ::testing::PrintToString(c.stamp.day));
        ResultSet cells;
        cells.BeginRow();
        AddFixed(Fetch::Timestamp, &c.stamp, cells);
        cells.EndRow();
        const CellView cell = cells.Cell(0, 0);
        ASSERT_EQ(cell.kind, CellKind::Date);
        EXPECT_NEAR(cell.real, c.date, 1e-9);
    }
}

// What a driver can put in a date structure that the date type cannot hold keeps its fields as text.
TEST(OdbcValues, DateFieldsOutsideTheDateRangeStayText) {
    const SQL_DATE_STRUCT early{0, 0, 0};
    const SQL_TIMESTAMP_STRUCT late{10000, 1, 1, 0, 0, 0, 0};
    const SQL_TIME_STRUCT wrong{25, 0, 0};
    const SQL_TIMESTAMP_STRUCT fine{2024, 1, 2, 3, 4, 5, 500000000};
    const SQL_DATE_STRUCT noSuchDay{2023, 2, 29};
    const SQL_TIME_STRUCT leapSecond{23, 59, 60};
    const SQL_TIME_STRUCT noon{12, 0, 0};
    ResultSet cells;
    cells.BeginRow();
    AddFixed(Fetch::Date, &early, cells);
    AddFixed(Fetch::Timestamp, &late, cells);
    AddFixed(Fetch::Time, &wrong, cells);
    AddFixed(Fetch::Timestamp, &fine, cells);
    AddFixed(Fetch::Date, &noSuchDay, cells);
    AddFixed(Fetch::Time, &leapSecond, cells);
    AddFixed(Fetch::Time, &noon, cells);
    cells.EndRow();
    cells.Columns().resize(7);
    const std::vector<std::string> expected = {"Utf16:0000-00-00", "Utf16:10000-01-01 00:00:00.000000000",
                                               "Utf16:25:00:00", "Date:45293.12784144",
                                               "Utf16:2023-02-29", "Utf16:23:59:60",
                                               "Date:0.50000000"};
    EXPECT_EQ(testing::RowTexts(cells).at(0), expected);
}

}  // namespace
}  // namespace orvanta::providers::odbc
