#include "ui/model/ScheduleTypes.h"

SYSTEMTIME LocalNowFields() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

FILETIME LocalNow() {
    const SYSTEMTIME now = LocalNowFields();
    FILETIME time{};
    SystemTimeToFileTime(&now, &time);
    return time;
}
