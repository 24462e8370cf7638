#pragma once
// The calendar as the platform counts it, stated once: FILETIME ticks of 100 ns from 1 January
// 1601, the Gregorian leap-year rule, the months' lengths and the years a conversion accepts.
#include <cstdint>

constexpr uint64_t kTicksPerMs = 10000;
constexpr uint64_t kTicksPerSecond = 1000 * kTicksPerMs;
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
