// The platform's time functions natively: the calendar's own conversions with the Win32
// contracts, and the local time of the C library.
#include "platform/core/Calendar.h"
#include "platform/core/Win32Posix.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

BOOL SystemTimeToFileTime(const SYSTEMTIME* st, FILETIME* ft) {
    uint64_t ticks;
    if (!CivilToTicks(*st, &ticks)) return FALSE;
    ft->dwLowDateTime = static_cast<DWORD>(ticks);
    ft->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* ft, SYSTEMTIME* st) {
    const uint64_t ticks = (static_cast<uint64_t>(ft->dwHighDateTime) << 32) | ft->dwLowDateTime;
    return TicksToCivil(ticks, st);
}

void GetLocalTime(SYSTEMTIME* st) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    st->wYear = static_cast<WORD>(local.tm_year + 1900);
    st->wMonth = static_cast<WORD>(local.tm_mon + 1);
    st->wDayOfWeek = static_cast<WORD>(local.tm_wday);
    st->wDay = static_cast<WORD>(local.tm_mday);
    st->wHour = static_cast<WORD>(local.tm_hour);
    st->wMinute = static_cast<WORD>(local.tm_min);
    st->wSecond = static_cast<WORD>(local.tm_sec > 59 ? 59 : local.tm_sec);
    st->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

LONG CompareFileTime(const FILETIME* a, const FILETIME* b) {
    const uint64_t x = (static_cast<uint64_t>(a->dwHighDateTime) << 32) | a->dwLowDateTime;
    const uint64_t y = (static_cast<uint64_t>(b->dwHighDateTime) << 32) | b->dwLowDateTime;
    return x < y ? -1 : x > y ? 1 : 0;
}

DWORD GetEnvironmentVariableA(const char* name, char* buffer, DWORD size) {
    const char* value = getenv(name);
    if (!value) return 0;
    const size_t length = strlen(value);
    if (length + 1 > size) return static_cast<DWORD>(length + 1);
    memcpy(buffer, value, length + 1);
    return static_cast<DWORD>(length);
}

BOOL SetEnvironmentVariableA(const char* name, const char* value) {
    return (value ? setenv(name, value, 1) : unsetenv(name)) == 0;
}
