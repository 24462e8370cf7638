#pragma once
// Start times of the entries that the program's tests and screenshot scenes write: the local
// time to the minute, moved by a number of days (negative for the past).
#include <windows.h>

#include "platform/core/Clock.h"

inline FILETIME LocalTimeFromNow(double days) {
    SYSTEMTIME now = LocalNowFields();
    now.wSecond = 0;
    now.wMilliseconds = 0;
    FILETIME time;
    SystemTimeToFileTime(&now, &time);
    ULARGE_INTEGER value{{time.dwLowDateTime, time.dwHighDateTime}};
    value.QuadPart += static_cast<LONGLONG>(days * 864000000000.0);
    return {value.LowPart, value.HighPart};
}
