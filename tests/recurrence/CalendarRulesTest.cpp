// The date functions under the rules: month lengths, weekday bits, the n-th weekday, moving a
// time by seconds, and dates that do not exist.
#include <gtest/gtest.h>

#include "tests/common/CivilInstants.h"
#include "core/model/Recurrence.h"

namespace {

TEST(CalendarRules, DatesThatDoNotExistAreRefusedOnEveryPlatform) {
    struct Case {
        SYSTEMTIME time;
        bool exists;
    };
    const Case cases[] = {
        {SystemTimeOf(2026, 2, 29), false}, {SystemTimeOf(2100, 2, 29), false},
        {SystemTimeOf(1900, 2, 29), false}, {SystemTimeOf(2026, 4, 31), false},
        {SystemTimeOf(2026, 1, 0), false},  {SystemTimeOf(2026, 13, 1), false},
        {SystemTimeOf(2026, 0, 1), false},  {SystemTimeOf(2000, 2, 29), true},
        {SystemTimeOf(2024, 2, 29), true},  {SystemTimeOf(2400, 2, 29), true},
        {SystemTimeOf(2026, 12, 31), true}, {SystemTimeOf(2026, 2, 28), true},
    };
    for (const Case& c : cases) {
        FILETIME f{};
        EXPECT_EQ(CivilToInstant(c.time, &f), c.exists)
            << c.time.wYear << "-" << c.time.wMonth << "-" << c.time.wDay;
    }
}

TEST(CalendarRules, MonthLengthFollowsLeapYears) {
    struct Case {
        int year, month, days;
    };
    const Case cases[] = {
        {1900, 2, 28}, {2000, 2, 29},  {2024, 2, 29}, {2026, 2, 28}, {2100, 2, 28}, {2400, 2, 29},
        {2026, 4, 30}, {2026, 12, 31}, {2026, 1, 31}, {2026, 13, 0}, {2026, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MonthLength(c.year, c.month), c.days) << c.year << "-" << c.month;
}

// The platform's own conversion is the witness: the ticks between the 1st of a month and the
// 1st of the next are the month's length in days.
TEST(CalendarRules, MonthLengthAgreesWithThePlatformFrom1601To3000) {
    for (int year = 1601; year <= 3000; ++year)
        for (int month = 1; month <= 12; ++month) {
            const uint64_t from = ToTicks(At(year, month, 1));
            const uint64_t to = ToTicks(month == 12 ? At(year + 1, 1, 1) : At(year, month + 1, 1));
            ASSERT_EQ((to - from) / kTicksPerDay, static_cast<uint64_t>(MonthLength(year, month)))
                << year << "-" << month;
        }
}

TEST(CalendarRules, WeekdayBitsCountFromMondayAsIndexAndFromSundayAsDayOfWeek) {
    // bit, Monday-first index, Sunday-first day of week
    const int expected[][3] = {{1, 0, 1},  {2, 1, 2},    {4, 2, 3},   {8, 3, 4},
                               {16, 4, 5}, {32, 5, 6},   {64, 6, 0},  {0, -1, 0},
                               {3, -1, 0}, {128, -1, 0}, {-1, -1, 0}, {127, -1, 0}};
    for (const auto& c : expected) {
        EXPECT_EQ(MondayFirstIndex(c[0]), c[1]) << c[0];
        EXPECT_EQ(SundayFirstDayOfWeek(c[0]), c[2]) << c[0];
    }
}

TEST(CalendarRules, NthWeekdayOfMonth) {
    // December 2026 starts on a Tuesday (five Tuesdays, four Mondays); February 2026 on a
    // Sunday (exactly four of each weekday).
    struct Case {
        int year, month, weekIndex, weekdayBit, day;
    };
    const Case cases[] = {
        {2026, 12, 0, 1, 7}, {2026, 12, 3, 1, 28}, {2026, 12, 4, 1, 28},  {2026, 12, -1, 1, 28},
        {2026, 12, 0, 2, 1}, {2026, 12, 3, 2, 22}, {2026, 12, 4, 2, 29},  {2026, 12, 9, 2, 29},
        {2026, 2, 0, 64, 1}, {2026, 2, 3, 64, 22}, {2026, 2, -1, 64, 22}, {2026, 2, 0, 32, 7},
        {2026, 12, 0, 0, 6}, {2026, 12, 1, 3, 13}, {2024, 2, -1, 8, 29},  {2026, 13, 0, 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NthWeekdayOfMonth(SystemTimeOf(c.year, 5, 20, 8, 30), c.month, c.weekIndex,
                                    c.weekdayBit),
                  c.day)
            << c.year << "-" << c.month << " index " << c.weekIndex << " bit " << c.weekdayBit;
}

TEST(CalendarRules, NthWeekdayFallsOnItsWeekdayAndTheFourthAlwaysExists) {
    for (int year = 1999; year <= 2030; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int bit = 1; bit <= 64; bit <<= 1)
                for (int index = -1; index <= 4; ++index) {
                    const int day = NthWeekdayOfMonth(SystemTimeOf(year, 1, 1), month, index, bit);
                    ASSERT_NE(day, 0) << year << "-" << month << " " << index << " " << bit;
                    SYSTEMTIME named{};
                    const FILETIME f = At(year, month, day);
                    ASSERT_TRUE(FileTimeToSystemTime(&f, &named));
                    ASSERT_EQ(named.wDayOfWeek, SundayFirstDayOfWeek(bit));
                    if (index >= 0 && index <= 3)
                        ASSERT_EQ((day - 1) / 7, index);
                    else
                        ASSERT_GT(day + 7, MonthLength(year, month));
                }
}

TEST(CalendarRules, AddSecondsMovesAcrossDaysAndYearsAndRecomputesTheWeekday) {
    struct Case {
        SYSTEMTIME from;
        int32_t seconds;
        SYSTEMTIME to;
        int weekday;
    };
    const Case cases[] = {
        {SystemTimeOf(2026, 12, 31, 23, 59, 59, 500), 1, SystemTimeOf(2027, 1, 1, 0, 0, 0, 500), 5},
        {SystemTimeOf(2024, 3, 1, 12), -86400, SystemTimeOf(2024, 2, 29, 12), 4},
        {SystemTimeOf(2026, 12, 7, 8), 604800, SystemTimeOf(2026, 12, 14, 8), 1},
        {SystemTimeOf(2026, 12, 7, 8), 0x7FFFFFFF, SystemTimeOf(2094, 12, 25, 11, 14, 7), 6},
    };
    for (const Case& c : cases) {
        SYSTEMTIME t = c.from;
        t.wDayOfWeek = 6; // never read
        ASSERT_EQ(AddSeconds(&t, c.seconds), S_OK);
        EXPECT_EQ(t.wYear, c.to.wYear);
        EXPECT_EQ(t.wMonth, c.to.wMonth);
        EXPECT_EQ(t.wDay, c.to.wDay);
        EXPECT_EQ(t.wHour, c.to.wHour);
        EXPECT_EQ(t.wMinute, c.to.wMinute);
        EXPECT_EQ(t.wSecond, c.to.wSecond);
        EXPECT_EQ(t.wMilliseconds, c.to.wMilliseconds);
        EXPECT_EQ(t.wDayOfWeek, c.weekday);
    }
}

TEST(CalendarRules, AddSecondsFailsAndKeepsTheTimeForDatesThatDoNotConvert) {
    const struct {
        SYSTEMTIME time;
        int32_t seconds;
    } cases[] = {{SystemTimeOf(2026, 2, 29), 60},
                 {SystemTimeOf(2026, 4, 31), 0},
                 {SystemTimeOf(1601, 1, 1), -1}};
    for (const auto& c : cases) {
        SYSTEMTIME t = c.time;
        EXPECT_EQ(AddSeconds(&t, c.seconds), E_FAIL);
        EXPECT_EQ(t.wDay, c.time.wDay);
        EXPECT_EQ(t.wYear, c.time.wYear);
    }
}

} // namespace
