#include "ui/model/CivilTime.h"

bool ValidCivilToFileTime(const SYSTEMTIME& time, FILETIME* out) {
    if (time.wDay < 1 || time.wDay > MonthLength(time.wYear, time.wMonth)) return false;
    return SystemTimeToFileTime(&time, out) != FALSE;
}
