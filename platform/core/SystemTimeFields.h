#pragma once
// Calendar fields written as numbers, for code that names a date in its source. The fields are
// taken as given: whether the date exists is decided by the conversion that uses them.
#include "platform/core/Win32Core.h"

inline SYSTEMTIME SystemTimeOf(int year, int month, int day, int hour = 0, int minute = 0,
                               int second = 0, int millisecond = 0) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    t.wMilliseconds = static_cast<WORD>(millisecond);
    return t;
}
