// Native calendar conversions with the Win32 contracts: serial day numbers after Howard
// Hinnant's days_from_civil / civil_from_days, counted from 1 January 1601.
#include "platform/core/Calendar.h"
#include "platform/core/Win32Posix.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

// days_from_civil(1601, 1, 1): the FILETIME epoch as a day number counted from 1970-01-01.
constexpr int64_t kEpoch1601 = -134774;

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);                // [0, 399]
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1; // [0, 365]
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;           // [0, 146096]
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t* year, unsigned* month, unsigned* day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);                   // [0, 146096]
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365; // [0, 399]
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);               // [0, 365]
    const unsigned mp = (5 * doy + 2) / 153;                                    // [0, 11]
    *day = doy - (153 * mp + 2) / 5 + 1;                                        // [1, 31]
    *month = mp < 10 ? mp + 3 : mp - 9;                                         // [1, 12]
    *year = static_cast<int64_t>(yoe) + era * 400 + (*month <= 2);
}

} // namespace

BOOL SystemTimeToFileTime(const SYSTEMTIME* st, FILETIME* ft) {
    // As Win32: a date that does not exist (31 April, 29 February of a common year, day 0,
    // month 13) or a field out of range is refused; the day of week is not read.
    if (st->wYear < kFirstValidYear || st->wYear > kLastValidYear || st->wDay < 1 ||
        st->wDay > MonthLength(st->wYear, st->wMonth) || st->wHour > 23 || st->wMinute > 59 ||
        st->wSecond > 59 || st->wMilliseconds > 999)
        return FALSE;
    const int64_t days = DaysFromCivil(st->wYear, st->wMonth, st->wDay) - kEpoch1601;
    const int64_t ms =
        ((static_cast<int64_t>(st->wHour) * 60 + st->wMinute) * 60 + st->wSecond) * 1000 +
        st->wMilliseconds;
    const auto ticks =
        static_cast<uint64_t>(days) * kTicksPerDay + static_cast<uint64_t>(ms) * kTicksPerMs;
    ft->dwLowDateTime = static_cast<DWORD>(ticks);
    ft->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* ft, SYSTEMTIME* st) {
    const uint64_t ticks = (static_cast<uint64_t>(ft->dwHighDateTime) << 32) | ft->dwLowDateTime;
    if (ticks >= 0x8000000000000000ULL) return FALSE; // as Win32: negative values are refused
    const auto days = static_cast<int64_t>(ticks / kTicksPerDay);
    const auto msOfDay = static_cast<int64_t>((ticks % kTicksPerDay) / kTicksPerMs);
    int64_t year;
    unsigned month, day;
    CivilFromDays(days + kEpoch1601, &year, &month, &day);
    st->wYear = static_cast<WORD>(year);
    st->wMonth = static_cast<WORD>(month);
    st->wDay = static_cast<WORD>(day);
    st->wDayOfWeek = static_cast<WORD>((days + 1) % 7); // 1 January 1601 was a Monday
    st->wHour = static_cast<WORD>(msOfDay / 3600000);
    st->wMinute = static_cast<WORD>(msOfDay / 60000 % 60);
    st->wSecond = static_cast<WORD>(msOfDay / 1000 % 60);
    st->wMilliseconds = static_cast<WORD>(msOfDay % 1000);
    return TRUE;
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
