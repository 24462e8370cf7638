#include "ui/model/CivilTime.h"

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int MonthLength(int year, int month) {
    static const int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kLengths[month - 1];
}

bool ValidCivilToFileTime(const SYSTEMTIME& time, FILETIME* out) {
    if (time.wDay < 1 || time.wDay > MonthLength(time.wYear, time.wMonth)) return false;
    return SystemTimeToFileTime(&time, out) != FALSE;
}
