// Next occurrence of each recurrence kind after a reference instant.
#include <gtest/gtest.h>

#include "tests/common/CivilInstants.h"
#include "core/model/Recurrence.h"
#include "core/model/StorageItem.h"

namespace {

TEST(NextWeekly, EarliestChosenWeekdayStrictlyAfterTheReference) {
    struct Case {
        FILETIME reference;
        int hour, minute, second;
        int32_t mask;
        FILETIME expected;
    };
    const FILETIME wednesday = At(2026, 12, 9, 10, 0); // Monday is 7 December
    const FILETIME sunday = At(2026, 12, 13, 10, 0);
    const Case cases[] = {
        {wednesday, 9, 0, 0, 4, At(2026, 12, 16, 9, 0)},  // today passed: next week
        {wednesday, 11, 0, 0, 4, At(2026, 12, 9, 11, 0)}, // today still to come
        {wednesday, 10, 0, 0, 4, kNever},                 // equal: neither moved nor chosen
        {wednesday, 10, 0, 0, 4 | 8, At(2026, 12, 10, 10, 0)},
        {wednesday, 9, 0, 0, 0, kNever},                  // no weekday
        {wednesday, 9, 0, 0, 128, kNever},                // bits above Sunday are ignored
        {wednesday, 9, 0, 0, 1, At(2026, 12, 14, 9, 0)},  // Monday: next week
        {wednesday, 9, 0, 0, 64, At(2026, 12, 13, 9, 0)}, // Sunday ends this week
        {wednesday, 9, 0, 0, 127, At(2026, 12, 10, 9, 0)},
        {wednesday, 23, 59, 30, 4, At(2026, 12, 9, 23, 59, 30)},
        {sunday, 9, 0, 0, 64, At(2026, 12, 20, 9, 0)},
        {sunday, 11, 0, 0, 64, At(2026, 12, 13, 11, 0)},
        {sunday, 9, 0, 0, 1, At(2026, 12, 14, 9, 0)},
        {sunday, 9, 0, 0, 32, At(2026, 12, 19, 9, 0)},
        {At(2026, 12, 31, 10, 0), 9, 0, 0, 1, At(2027, 1, 4, 9, 0)},
    };
    for (const Case& c : cases) {
        // Only the time of day of startTime counts; its date lies years back.
        const FILETIME start = At(2019, 3, 5, c.hour, c.minute, c.second);
        EXPECT_INSTANT(c.expected, NextWeekly(start, c.reference, c.mask))
            << Show(c.reference) << " at " << c.hour << ":" << c.minute << " mask " << c.mask;
    }
}

struct MonthlyCase {
    const char* what;
    int startYear;
    int32_t monthMask;
    int16_t mode;
    int32_t dayOfMonth, weekIndex, weekday;
    FILETIME reference;
    FILETIME expected;
};

TEST(NextMonthly, Table) {
    constexpr int32_t all = kAllMonths, february = 1 << 1, march = 1 << 2, december = 1 << 11;
    const MonthlyCase cases[] = {
        {"day 31 skips April", 2026, all, 0, 31, 0, 0, At(2026, 4, 1), At(2026, 5, 31, 8, 30)},
        {"day 31 skips June", 2026, all, 0, 31, 0, 0, At(2026, 6, 1), At(2026, 7, 31, 8, 30)},
        {"day 31 skips February", 2026, all, 0, 31, 0, 0, At(2026, 2, 1), At(2026, 3, 31, 8, 30)},
        {"-3 in a common February", 2026, february, 0, -3, 0, 0, At(2026, 1, 10),
         At(2026, 2, 25, 8, 30)},
        {"-3 in a leap February", 2024, february, 0, -3, 0, 0, At(2024, 1, 10),
         At(2024, 2, 26, 8, 30)},
        {"last day of a leap February", 2024, february, 0, 0, 0, 0, At(2024, 1, 10),
         At(2024, 2, 29, 8, 30)},
        {"passed day of this month", 2026, all, 0, 10, 0, 0, At(2026, 3, 15, 12),
         At(2026, 4, 10, 8, 30)},
        {"passed month moves a year", 2026, march, 0, 10, 0, 0, At(2026, 3, 15, 12),
         At(2027, 3, 10, 8, 30)},
        {"equal to the reference", 2026, march, 0, 15, 0, 0, At(2026, 3, 15, 8, 30), kNever},
        {"year from an earlier startTime", 2025, all, 0, 10, 0, 0, At(2026, 3, 15, 12), kNever},
        {"year from a later startTime", 2027, all, 0, 10, 0, 0, At(2026, 3, 15, 12),
         At(2027, 3, 10, 8, 30)},
        {"no month", 2026, 0, 0, 10, 0, 0, At(2026, 3, 15), kNever},
        {"29 February of a common year", 2026, february, 0, 29, 0, 0, At(2026, 1, 1), kNever},
        {"29 February of a leap year", 2028, february, 0, 29, 0, 0, At(2026, 1, 1),
         At(2028, 2, 29, 8, 30)},
        {"counted back before the 1st", 2026, all, 0, -40, 0, 0, At(2026, 3, 15), kNever},
        {"day 32", 2026, all, 0, 32, 0, 0, At(2026, 3, 15), kNever},
        {"second Tuesday", 2026, all, 1, 0, 1, 2, At(2026, 12, 1), At(2026, 12, 8, 8, 30)},
        {"last Friday", 2026, december, 1, 0, 9, 16, At(2026, 12, 1), At(2026, 12, 25, 8, 30)},
        // A passed candidate of the current month takes the entry's day of the next year:
        // the second Tuesday again, the last day of that year's February.
        {"second Tuesday a year on", 2026, december, 1, 0, 1, 2, At(2026, 12, 9),
         At(2027, 12, 14, 8, 30)},
        {"last day of February a year on", 2024, february, 0, 0, 0, 0, At(2024, 2, 29, 9),
         At(2025, 2, 28, 8, 30)},
    };
    for (const MonthlyCase& c : cases) {
        StorageItem entry(Monthly, 0);
        entry.startTime = At(c.startYear, 6, 18, 8, 30);
        entry.monthMask = c.monthMask;
        entry.monthlyMode = c.mode;
        entry.dayOfMonth = c.dayOfMonth;
        entry.weekIndex = c.weekIndex;
        entry.monthlyWeekday = c.weekday;
        EXPECT_INSTANT(c.expected, NextMonthly(entry, entry.startTime, c.reference)) << c.what;
        EXPECT_INSTANT(c.expected, NextOccurrence(entry, c.reference)) << c.what;
    }
}

TEST(NextYearly, CurrentYearThenNextAndTheStoredInstantFor29February) {
    struct Case {
        const char* what;
        FILETIME start;
        SYSTEMTIME now; // the reference is the same instant
        FILETIME expected;
    };
    const FILETIME leapDay = At(2024, 2, 29, 8, 0);
    const FILETIME july = At(2020, 7, 4, 12, 0);
    const Case cases[] = {
        {"this year and the next are common", leapDay, SystemTimeOf(2026, 5, 1), leapDay},
        {"the next year is a leap year", leapDay, SystemTimeOf(2027, 3, 1), At(2028, 2, 29, 8, 0)},
        {"this year is a leap year", leapDay, SystemTimeOf(2028, 1, 1), At(2028, 2, 29, 8, 0)},
        {"still to come this year", july, SystemTimeOf(2026, 5, 1), At(2026, 7, 4, 12, 0)},
        {"passed this year", july, SystemTimeOf(2026, 8, 1), At(2027, 7, 4, 12, 0)},
        {"equal to the reference", july, SystemTimeOf(2026, 7, 4, 12), At(2027, 7, 4, 12, 0)},
    };
    for (const Case& c : cases) {
        StorageItem entry(Yearly, 0);
        entry.startTime = c.start;
        FILETIME reference{};
        ASSERT_TRUE(CivilToInstant(c.now, &reference));
        EXPECT_INSTANT(c.expected, NextOccurrence(entry, reference, c.now)) << c.what;
    }
}

TEST(NextOccurrence, OneTimeAndUnknownKindsGiveTheStoredInstantPassedOrNot) {
    const FILETIME reference = At(2026, 12, 9, 10, 0);
    for (const int32_t kind : {int32_t{Once}, int32_t{Next24Hours}, 16, 0, -5, 64})
        for (const FILETIME& start : {At(2001, 1, 1, 7, 0), At(2031, 5, 6, 7, 0)}) {
            StorageItem entry(kind, 0);
            entry.startTime = start;
            EXPECT_INSTANT(start, NextOccurrence(entry, reference)) << "kind " << kind;
        }
}

TEST(NextOccurrence, WeeklyKindUsesTheWeekdayMask) {
    StorageItem entry(Weekly, 0);
    entry.startTime = At(2019, 3, 5, 9, 0);
    entry.weekdayMask = 1 | 16; // Monday, Friday
    EXPECT_INSTANT(At(2026, 12, 11, 9, 0), NextOccurrence(entry, At(2026, 12, 9, 10, 0)));
}

} // namespace
