#include "platform/core/SkippedTime.h"

#include <ctime>

// mktime moves a skipped local time on by the size of the gap (02:30 becomes 03:30); a time
// that exists comes back as it was.
bool LocalTimeSkipped(const SYSTEMTIME& local) {
    std::tm asked{};
    asked.tm_year = local.wYear - 1900;
    asked.tm_mon = local.wMonth - 1;
    asked.tm_mday = local.wDay;
    asked.tm_hour = local.wHour;
    asked.tm_min = local.wMinute;
    asked.tm_sec = local.wSecond;
    asked.tm_isdst = -1;
    std::tm made = asked;
    if (std::mktime(&made) == static_cast<std::time_t>(-1)) return false;
    return made.tm_mday != asked.tm_mday || made.tm_hour != asked.tm_hour ||
           made.tm_min != asked.tm_min || made.tm_sec != asked.tm_sec;
}
