#include "database/date_text.h"

#include <array>
#include <ctime>
#include <string_view>

namespace {

constexpr std::u16string_view kInvalidDate = u"Invalid DateTime";
constexpr std::u16string_view kDefaultDatePattern = u"%Y-%m-%d %H:%M:%S";
constexpr std::size_t kMaxDateCharacters = 255;

// Day and month names of the "C" locale.
constexpr std::array<std::u16string_view, 7> kDays = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday",
                                                      u"Thursday", u"Friday", u"Saturday"};
constexpr std::array<std::u16string_view, 12> kMonths = {u"January", u"February", u"March",     u"April",
                                                         u"May",     u"June",     u"July",      u"August",
                                                         u"September", u"October", u"November", u"December"};

void Number(std::u16string& out, int value, int width, char16_t pad = u'0') {
    char16_t digits[12];
    int count = 0;
    const bool negative = value < 0;
    unsigned magnitude = negative ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (negative) out += u'-';
    for (int i = count; i < width; ++i) out += pad;
    while (count) out += digits[--count];
}

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// ISO 8601 week number and its year (%V, %G).
void IsoWeek(const tm& time, int& week, int& year) {
    year = time.tm_year + 1900;
    const int weekday = (time.tm_wday + 6) % 7;  // Monday = 0
    week = (time.tm_yday - weekday + 10) / 7;
    if (week < 1) {
        --year;
        const int daysInPrevious = IsLeap(year) ? 366 : 365;
        week = (time.tm_yday + daysInPrevious - weekday + 10) / 7;
    } else if (week == 53) {
        const int daysInYear = IsLeap(year) ? 366 : 365;
        if (time.tm_yday - weekday + 3 >= daysInYear) {  // its Thursday lies in the next year
            week = 1;
            ++year;
        }
    }
}

// The conversions of strftime in the POSIX locale, on UTF-16. The year always has four digits.
// Anything that is not a known conversion is copied as it stands.
void FormatTime(const std::u16string& pattern, const tm& t, std::u16string& out) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i];
        if (c != u'%' || i + 1 == pattern.size()) {
            out += c;
            continue;
        }
        std::size_t k = i + 1;
        if (pattern[k] == u'E' || pattern[k] == u'O') {  // alternative forms: the same in this locale
            if (k + 1 == pattern.size()) {
                out.append(pattern, i, std::u16string::npos);
                break;
            }
            ++k;
        }
        const int hour12 = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
        int isoWeek = 0;
        int isoYear = 0;
        switch (pattern[k]) {
            case u'a': out += kDays[t.tm_wday].substr(0, 3); break;
            case u'A': out += kDays[t.tm_wday]; break;
            case u'b': case u'h': out += kMonths[t.tm_mon].substr(0, 3); break;
            case u'B': out += kMonths[t.tm_mon]; break;
            case u'c':
                FormatTime(u"%a %b %e %H:%M:%S %Y", t, out);
                break;
            case u'C': Number(out, (t.tm_year + 1900) / 100, 2); break;
            case u'd': Number(out, t.tm_mday, 2); break;
            case u'D': FormatTime(u"%m/%d/%y", t, out); break;
            case u'e': Number(out, t.tm_mday, 2, u' '); break;
            case u'F': FormatTime(u"%Y-%m-%d", t, out); break;
            case u'g': IsoWeek(t, isoWeek, isoYear); Number(out, isoYear % 100, 2); break;
            case u'G': IsoWeek(t, isoWeek, isoYear); Number(out, isoYear, 4); break;
            case u'H': Number(out, t.tm_hour, 2); break;
            case u'I': Number(out, hour12, 2); break;
            case u'j': Number(out, t.tm_yday + 1, 3); break;
            case u'm': Number(out, t.tm_mon + 1, 2); break;
            case u'M': Number(out, t.tm_min, 2); break;
            case u'n': out += u'\n'; break;
            case u'p': out += t.tm_hour < 12 ? u"AM" : u"PM"; break;
            case u'r': FormatTime(u"%I:%M:%S %p", t, out); break;
            case u'R': FormatTime(u"%H:%M", t, out); break;
            case u'S': Number(out, t.tm_sec, 2); break;
            case u't': out += u'\t'; break;
            case u'T': case u'X': FormatTime(u"%H:%M:%S", t, out); break;
            case u'u': Number(out, t.tm_wday == 0 ? 7 : t.tm_wday, 1); break;
            case u'U': Number(out, (t.tm_yday + 7 - t.tm_wday) / 7, 2); break;
            case u'V': IsoWeek(t, isoWeek, isoYear); Number(out, isoWeek, 2); break;
            case u'w': Number(out, t.tm_wday, 1); break;
            case u'W': Number(out, (t.tm_yday + 7 - (t.tm_wday + 6) % 7) / 7, 2); break;
            case u'x': FormatTime(u"%m/%d/%y", t, out); break;
            case u'y': Number(out, (t.tm_year + 1900) % 100, 2); break;
            case u'Y': Number(out, t.tm_year + 1900, 4); break;
            case u'z': out += u"+0000"; break;  // dates carry no zone
            case u'Z': break;
            case u'%': out += u'%'; break;
            default: out.append(pattern, i, k - i + 1); break;
        }
        i = k;
    }
}

}  // namespace

void DateText(DATE date, const std::u16string& pattern, std::u16string& text) {
    UDATE calendar;
    if (FAILED(VarUdateFromDate(date, 0, &calendar))) {
        text = kInvalidDate;
        return;
    }
    const SYSTEMTIME& st = calendar.st;
    if (pattern == kDefaultDatePattern) {  // most dates take this one: the fields need no lookup
        const auto two = [](char16_t* at, int value) {
            at[0] = static_cast<char16_t>(u'0' + value / 10);
            at[1] = static_cast<char16_t>(u'0' + value % 10);
        };
        text.resize(19);
        char16_t* at = text.data();
        two(at, st.wYear / 100);
        two(at + 2, st.wYear % 100);
        at[4] = u'-';
        two(at + 5, st.wMonth);
        at[7] = u'-';
        two(at + 8, st.wDay);
        at[10] = u' ';
        two(at + 11, st.wHour);
        at[13] = u':';
        two(at + 14, st.wMinute);
        at[16] = u':';
        two(at + 17, st.wSecond);
        return;
    }
    tm t{};
    t.tm_sec = st.wSecond;
    t.tm_min = st.wMinute;
    t.tm_hour = st.wHour;
    t.tm_mday = st.wDay;
    t.tm_mon = st.wMonth - 1;
    t.tm_year = st.wYear - 1900;
    t.tm_wday = st.wDayOfWeek;
    t.tm_yday = calendar.wDayOfYear - 1;
    t.tm_isdst = 0;
    text.clear();
    FormatTime(pattern, t, text);
    if (text.size() > kMaxDateCharacters) text.clear();
}

std::u16string DateText(DATE date, const std::u16string& pattern) {
    std::u16string text;
    DateText(date, pattern, text);
    return text;
}
