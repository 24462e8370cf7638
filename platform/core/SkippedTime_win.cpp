#include "platform/core/SkippedTime.h"

namespace {

bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}

} // namespace

// A skipped local time has no UTC instant of its own: the conversion takes one of the two
// offsets, and the way back lands an hour off.
bool LocalTimeSkipped(const SYSTEMTIME& local) {
    SYSTEMTIME utc, back;
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &back))
        return false;
    return !SameTime(local, back);
}
