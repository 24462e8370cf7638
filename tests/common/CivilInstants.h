#pragma once
// Instants written as calendar dates, and shown as dates when a comparison fails.
#include <cstdio>
#include <string>

#include "platform/core/SystemTimeFields.h"
#include "core/model/ScheduleTypes.h"

// The instant of a date that exists; Never stands out in a failure message when it does not.
inline FILETIME At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    FILETIME f = kNever;
    CivilToInstant(SystemTimeOf(y, mo, d, h, mi, s), &f);
    return f;
}

inline std::string Show(const FILETIME& f) {
    if (IsNever(f)) return "Never";
    SYSTEMTIME t{};
    if (!TicksToCivil(ToTicks(f), &t)) return "(no date)";
    char text[40];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
             t.wMinute, t.wSecond);
    return text;
}

#define EXPECT_INSTANT(expected, actual) EXPECT_EQ(Show(expected), Show(actual))
