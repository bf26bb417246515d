// OLE Automation dates: days since 30 December 1899 as a double, the fraction being the time of
// day. Before that day the fraction still counts forward from midnight: -1.25 is 29 December 1899,
// 06:00. Calendar fields are proleptic Gregorian, years 100 to 9999.
#pragma once

#include <optional>

namespace orvanta::calendar {

struct CivilTime {
    int year = 0;
    int month = 0;       // 1..12
    int day = 0;         // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int dayOfWeek = 0;   // 0 = Sunday
    int dayOfYear = 0;   // 1..366
};

// Splits a date into whole seconds, rounding to the nearest second. Empty outside the years 100
// to 9999 and for values that are not finite.
std::optional<CivilTime> CivilFromOleDate(double date);

// The date of the calendar fields plus `fraction` of a second; empty for fields out of range.
std::optional<double> OleDateFromCivil(int year, int month, int day, int hour, int minute, int second,
                                       double fraction = 0.0);

}  // namespace orvanta::calendar
