#pragma once
// Instants and entries written as calendar dates, for the recurrence tables.
#include <ostream>
#include <string>

#include "ui/model/CivilTime.h"
#include "ui/model/StorageItem.h"

inline SYSTEMTIME Civil(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(y);
    t.wMonth = static_cast<WORD>(mo);
    t.wDay = static_cast<WORD>(d);
    t.wHour = static_cast<WORD>(h);
    t.wMinute = static_cast<WORD>(mi);
    t.wSecond = static_cast<WORD>(s);
    t.wMilliseconds = static_cast<WORD>(ms);
    return t;
}

// The instant of a date that exists; Never stands out in a failure message when it does not.
inline FILETIME At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    FILETIME f = kNever;
    ValidCivilToFileTime(Civil(y, mo, d, h, mi, s), &f);
    return f;
}

inline std::string Show(const FILETIME& f) {
    if (IsNever(f)) return "Never";
    SYSTEMTIME t{};
    if (!FileTimeToSystemTime(&f, &t)) return "(no date)";
    char text[40];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
             t.wMinute, t.wSecond);
    return text;
}

#define EXPECT_INSTANT(expected, actual) EXPECT_EQ(Show(expected), Show(actual))
