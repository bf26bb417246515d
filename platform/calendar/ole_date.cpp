#include "calendar/ole_date.h"

#include <cmath>

namespace orvanta::calendar {
namespace {

// Day 0 of the OLE calendar, 30 December 1899, counted from 1 January 1970.
constexpr long long kOleEpochFromUnix = -25569;
constexpr double kFirstDate = -657434.0;    // 1 January 100
constexpr double kPastLastDate = 2958466.0;  // 1 January 10000
constexpr long long kSecondsPerDay = 86400;

// Days since 1970-01-01 of a proleptic Gregorian date, and back (after H. Hinnant's algorithms).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (month <= 2));
}

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<CivilTime> CivilFromOleDate(double date) {
    if (!std::isfinite(date) || date < kFirstDate || date >= kPastLastDate) return std::nullopt;
    const double wholeDays = std::trunc(date);
    long long dayNumber = static_cast<long long>(wholeDays);
    long long seconds = std::llround(std::fabs(date - wholeDays) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {  // rounded up into the next day
        seconds -= kSecondsPerDay;
        ++dayNumber;
    }
    const long long unixDay = dayNumber + kOleEpochFromUnix;

    CivilTime civil;
    CivilFromDays(unixDay, civil.year, civil.month, civil.day);
    if (civil.year < 100 || civil.year > 9999) return std::nullopt;
    civil.hour = static_cast<int>(seconds / 3600);
    civil.minute = static_cast<int>(seconds / 60 % 60);
    civil.second = static_cast<int>(seconds % 60);
    civil.dayOfWeek = static_cast<int>(((unixDay % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
    civil.dayOfYear = static_cast<int>(unixDay - DaysFromCivil(civil.year, 1, 1)) + 1;
    return civil;
}

std::optional<double> OleDateFromCivil(int year, int month, int day, int hour, int minute, int second,
                                       double fraction) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || !(fraction >= 0.0) ||
        fraction >= 1.0) {
        return std::nullopt;
    }
    const long long dayNumber = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                                kOleEpochFromUnix;
    const double time = ((hour * 60 + minute) * 60 + second + fraction) / kSecondsPerDay;
    // Before day 0 the time still counts forward: the value moves away from zero.
    return dayNumber >= 0 ? static_cast<double>(dayNumber) + time : static_cast<double>(dayNumber) - time;
}

}  // namespace orvanta::calendar
