// The calendar conversions of the platform seam: the same cases run against Win32 under Wine
// and against our own implementation natively, so both must agree.
#include <gtest/gtest.h>

#include "platform/core/SystemTimeFields.h"
#include "platform/core/Win32Core.h"

namespace {

uint64_t Ticks(const FILETIME& f) {
    return (static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
}

TEST(Calendar, EveryDayFrom1601To3000RoundTripsWithItsWeekday) {
    FILETIME f{};
    SYSTEMTIME first = SystemTimeOf(1601, 1, 1, 13, 45, 30, 250);
    ASSERT_TRUE(SystemTimeToFileTime(&first, &f));
    uint64_t ticks = Ticks(f);
    int weekday = 1; // 1 January 1601 was a Monday
    for (int y = 1601; y <= 3000; ++y) {
        const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        const int lengths[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= lengths[m - 1]; ++d) {
                SYSTEMTIME in = SystemTimeOf(y, m, d, 13, 45, 30, 250);
                FILETIME out{};
                ASSERT_TRUE(SystemTimeToFileTime(&in, &out)) << y << "-" << m << "-" << d;
                ASSERT_EQ(Ticks(out), ticks) << y << "-" << m << "-" << d;
                SYSTEMTIME back{};
                ASSERT_TRUE(FileTimeToSystemTime(&out, &back));
                ASSERT_EQ(back.wYear, y);
                ASSERT_EQ(back.wMonth, m);
                ASSERT_EQ(back.wDay, d);
                ASSERT_EQ(back.wDayOfWeek, weekday) << y << "-" << m << "-" << d;
                ASSERT_EQ(back.wHour, 13);
                ASSERT_EQ(back.wMinute, 45);
                ASSERT_EQ(back.wSecond, 30);
                ASSERT_EQ(back.wMilliseconds, 250);
                ticks += 864000000000ULL;
                weekday = (weekday + 1) % 7;
            }
        }
    }
}

// Wine 8 accepts 29 February of a common year, where Windows refuses it; the model checks
// that case itself (ValidCivilToFileTime), so it is left out here.
TEST(Calendar, DatesThatDoNotExistAreRefused) {
    const SYSTEMTIME refused[] = {
        SystemTimeOf(2026, 4, 31),
        SystemTimeOf(2026, 6, 31),
        SystemTimeOf(2026, 2, 30),
        SystemTimeOf(2026, 1, 0),
        SystemTimeOf(2026, 13, 1),
        SystemTimeOf(2026, 0, 1),
        SystemTimeOf(1600, 12, 31),
        SystemTimeOf(2026, 1, 1, 24),
        SystemTimeOf(2026, 1, 1, 0, 60),
        SystemTimeOf(2026, 1, 1, 0, 0, 60),
        SystemTimeOf(2026, 1, 1, 0, 0, 0, 1000),
    };
    for (const SYSTEMTIME& t : refused) {
        FILETIME f{};
        EXPECT_FALSE(SystemTimeToFileTime(&t, &f))
            << t.wYear << "-" << t.wMonth << "-" << t.wDay << " " << t.wHour << ":" << t.wMinute;
    }
    const SYSTEMTIME accepted[] = {SystemTimeOf(2000, 2, 29), SystemTimeOf(2400, 2, 29),
                                   SystemTimeOf(2024, 2, 29),
                                   SystemTimeOf(30827, 12, 31, 23, 59, 59, 999)};
    for (const SYSTEMTIME& t : accepted) {
        FILETIME f{};
        EXPECT_TRUE(SystemTimeToFileTime(&t, &f)) << t.wYear;
    }
}

TEST(Calendar, KnownInstantsToThe100Nanoseconds) {
    struct Case {
        SYSTEMTIME time;
        uint64_t ticks;
    };
    const Case cases[] = {
        {SystemTimeOf(1601, 1, 1), 0},
        {SystemTimeOf(1970, 1, 1), 116444736000000000ULL},
        {SystemTimeOf(2026, 12, 7, 8, 25, 59, 123), 134411055591230000ULL},
    };
    for (const Case& c : cases) {
        FILETIME f{};
        ASSERT_TRUE(SystemTimeToFileTime(&c.time, &f));
        EXPECT_EQ(Ticks(f), c.ticks) << c.time.wYear;
    }
}

TEST(Calendar, FileTimesWithTheHighBitSetAreRefused) {
    FILETIME never{0xFFFFFFFFu, 0x7FFFFFFFu};
    SYSTEMTIME t{};
    EXPECT_TRUE(FileTimeToSystemTime(&never, &t)); // Never itself still converts
    FILETIME negative{0, 0x80000000u};
    EXPECT_FALSE(FileTimeToSystemTime(&negative, &t));
}

} // namespace
