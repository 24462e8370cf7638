#pragma once
// The calendar, stated once for both builds: FILETIME ticks of 100 ns from 1 January 1601, the
// Gregorian leap-year rule, the months' lengths, the years a conversion accepts, and the
// conversions between calendar fields and ticks (after Howard Hinnant's days_from_civil and
// civil_from_days). The schedule's rules convert through these, never through the platform, so
// the same tests check the same code on Windows and natively.
#include <cstdint>

#include "platform/core/Win32Core.h"

constexpr uint64_t kTicksPerMs = 10000;
constexpr uint64_t kTicksPerSecond = 1000 * kTicksPerMs;
constexpr uint64_t kTicksPerMinute = 60 * kTicksPerSecond;
constexpr uint64_t kTicksPerDay = 86400 * kTicksPerSecond;

// The years that SystemTimeToFileTime accepts: tick 0 is 1 January 1601, and 30827 is the last
// year whose every instant fits in the 63 bits that FileTimeToSystemTime takes.
constexpr int kFirstValidYear = 1601;
constexpr int kLastValidYear = 30827;

constexpr bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days of the month (1-12) in that year; 0 for a month out of range. 29 February exists only in
// a leap year, 31 April never: a conversion refuses a day beyond this length.
constexpr int MonthLength(int year, int month) {
    constexpr int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kLengths[month - 1];
}

// Serial day numbers counted from 1 January 1601 (day 0, a Monday), for any proleptic
// Gregorian date; the month 1-12 and the day 1-31 are not checked here.
constexpr int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
    const int64_t y = year - (month <= 2);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);                              // [0, 399]
    const unsigned doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1; // [0, 365]
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy; // [0, 146096]
    // 584694 is days_from_civil(1601, 1, 1) counted from 1 March of year 0.
    return era * 146097 + static_cast<int64_t>(doe) - 584694;
}

struct CivilDate {
    int64_t year;
    unsigned month; // [1, 12]
    unsigned day;   // [1, 31]
};

constexpr CivilDate CivilFromDays(int64_t days) {
    const int64_t z = days + 584694;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);                   // [0, 146096]
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365; // [0, 399]
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);               // [0, 365]
    const unsigned mp = (5 * doy + 2) / 153;                                    // [0, 11]
    const unsigned day = doy - (153 * mp + 2) / 5 + 1;                          // [1, 31]
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;                           // [1, 12]
    return {static_cast<int64_t>(yoe) + era * 400 + (month <= 2), month, day};
}

// The day of week of a serial day number, Sunday 0 ... Saturday 6 (day 0 was a Monday).
constexpr int DayOfWeekOfDays(int64_t days) {
    return static_cast<int>(((days % 7) + 7 + 1) % 7);
}

static_assert(DaysFromCivil(1601, 1, 1) == 0, "the epoch is day 0");
static_assert(DaysFromCivil(1970, 1, 1) == 134774, "the Unix epoch");
static_assert(CivilFromDays(134774).year == 1970, "and back");
static_assert(DayOfWeekOfDays(0) == 1, "1 January 1601 was a Monday");

// Calendar fields to ticks. A date that does not exist (31 April, 29 February of a common year,
// day 0, month 13), a year outside the valid range or a time field out of range is refused
// (false, nothing written); the day of week is not read.
inline bool CivilToTicks(const SYSTEMTIME& time, uint64_t* ticks) {
    if (time.wYear < kFirstValidYear || time.wYear > kLastValidYear || time.wDay < 1 ||
        time.wDay > MonthLength(time.wYear, time.wMonth) || time.wHour > 23 || time.wMinute > 59 ||
        time.wSecond > 59 || time.wMilliseconds > 999)
        return false;
    const int64_t days = DaysFromCivil(time.wYear, time.wMonth, time.wDay); // [0, 10594584]
    const uint64_t ms =
        ((static_cast<uint64_t>(time.wHour) * 60 + time.wMinute) * 60 + time.wSecond) * 1000 +
        time.wMilliseconds; // [0, 86399999]
    *ticks = static_cast<uint64_t>(days) * kTicksPerDay + ms * kTicksPerMs;
    return true;
}

// Ticks to calendar fields with the day of week. Ticks of 2^63 and above are refused (false).
inline bool TicksToCivil(uint64_t ticks, SYSTEMTIME* time) {
    if (ticks >= 0x8000000000000000ULL) return false;
    const auto days = static_cast<int64_t>(ticks / kTicksPerDay);                   // [0, 10675199]
    const auto msOfDay = static_cast<unsigned>(ticks % kTicksPerDay / kTicksPerMs); // [0, 86399999]
    const CivilDate date = CivilFromDays(days);
    time->wYear = static_cast<WORD>(date.year);
    time->wMonth = static_cast<WORD>(date.month);
    time->wDay = static_cast<WORD>(date.day);
    time->wDayOfWeek = static_cast<WORD>(DayOfWeekOfDays(days));
    time->wHour = static_cast<WORD>(msOfDay / 3600000);
    time->wMinute = static_cast<WORD>(msOfDay / 60000 % 60);
    time->wSecond = static_cast<WORD>(msOfDay / 1000 % 60);
    time->wMilliseconds = static_cast<WORD>(msOfDay % 1000);
    return true;
}
