// The calendar's conversions, the same code on both builds, checked against known instants
// and, for every day from 1601 to 3000, against the platform's own conversion (Win32 under
// Wine, our seam natively).
#include <gtest/gtest.h>

#include <string>

#include "platform/core/Calendar.h"
#include "platform/core/Clock.h"
#include "platform/core/SystemTimeFields.h"

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
                uint64_t out = 0;
                ASSERT_TRUE(CivilToTicks(in, &out)) << y << "-" << m << "-" << d;
                ASSERT_EQ(out, ticks) << y << "-" << m << "-" << d;
                FILETIME platform{};
                ASSERT_TRUE(SystemTimeToFileTime(&in, &platform));
                ASSERT_EQ(Ticks(platform), ticks) << y << "-" << m << "-" << d;
                SYSTEMTIME back{};
                ASSERT_TRUE(TicksToCivil(out, &back));
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

// Wine 8 accepts 29 February of a common year, where Windows refuses it; the calendar's own
// conversion refuses it on every platform.
TEST(Calendar, DatesThatDoNotExistAreRefused) {
    const SYSTEMTIME refused[] = {
        SystemTimeOf(2026, 2, 29),
        SystemTimeOf(2100, 2, 29),
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
        uint64_t ticks = 0;
        EXPECT_FALSE(CivilToTicks(t, &ticks))
            << t.wYear << "-" << t.wMonth << "-" << t.wDay << " " << t.wHour << ":" << t.wMinute;
    }
    const SYSTEMTIME accepted[] = {SystemTimeOf(2000, 2, 29), SystemTimeOf(2400, 2, 29),
                                   SystemTimeOf(2024, 2, 29),
                                   SystemTimeOf(30827, 12, 31, 23, 59, 59, 999)};
    for (const SYSTEMTIME& t : accepted) {
        uint64_t ticks = 0;
        EXPECT_TRUE(CivilToTicks(t, &ticks)) << t.wYear;
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
        uint64_t ticks = 0;
        ASSERT_TRUE(CivilToTicks(c.time, &ticks));
        EXPECT_EQ(ticks, c.ticks) << c.time.wYear;
    }
}

TEST(Calendar, FileTimesWithTheHighBitSetAreRefused) {
    SYSTEMTIME t{};
    EXPECT_TRUE(TicksToCivil(0x7FFFFFFFFFFFFFFFULL, &t)); // Never itself still converts
    EXPECT_EQ(t.wYear, kLastValidYear + 1);
    EXPECT_FALSE(TicksToCivil(0x8000000000000000ULL, &t));
}

} // namespace

namespace {

// The clock's text as the test command and tools set it: a whole local time, nothing else.
TEST(Clock, TextSetsAnInstantOnlyWhenWholeAndReal) {
    const struct {
        const char* text;
        bool accepted;
    } rows[] = {
        {"2026-12-08 07:30:00", true},
        {"2028-02-29 23:59:30", true},
        {"2026-02-29 07:30:00", false},
        {"2026-12-08 24:00:00", false},
        {"2026-12-08 07:30:00x", false},
        {"2026-12-08", false},
        {"", false},
        {"offset 12", false},
    };
    for (const auto& row : rows) {
        FILETIME instant{};
        EXPECT_EQ(ParseClockText(row.text, &instant), row.accepted) << row.text;
    }
}

// Every test runs on the clock that the test command sets, never on the wall clock; setting it
// moves every later reading, and the programs started afterwards inherit it.
TEST(Clock, ReadsTheInstantSetAndRunsOnFromIt) {
    FILETIME set{};
    ASSERT_TRUE(ParseClockText("2031-01-02 03:04:05", &set));
    SetLocalNow(set);
    const uint64_t read = Ticks(LocalNow());
    EXPECT_GE(read, Ticks(set));
    EXPECT_LT(read, Ticks(set) + 60 * kTicksPerSecond);
    char passed[64] = "";
    ASSERT_GT(GetEnvironmentVariableA(kClockVariable, passed, sizeof passed), 0u);
    EXPECT_EQ(std::string(passed).rfind("offset ", 0), 0u) << passed;
}

} // namespace
