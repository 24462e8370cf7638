#include "platform/core/Clock.h"

#include <atomic>
#include <cinttypes>
#include <cstdio>

#include "platform/core/Calendar.h"
#include "platform/core/SystemTimeFields.h"

namespace {

int64_t PlatformTicks() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME time{};
    SystemTimeToFileTime(&now, &time);
    return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                                time.dwLowDateTime);
}

int64_t AsTicks(const FILETIME& time) {
    return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                                time.dwLowDateTime);
}

// The variable's second form, written back by a process that read or set the clock: the ticks
// added to the platform clock. Programs that this one starts inherit it and so read the very
// same clock, not one started again at their own start.
constexpr char kOffsetForm[] = "offset %" SCNd64 "%c";

void PassOn(int64_t offset) {
    char text[40];
    std::snprintf(text, sizeof text, "offset %" PRId64, offset);
    SetEnvironmentVariableA(kClockVariable, text);
}

int64_t OffsetFromEnvironment() {
    char text[64];
    const DWORD length = GetEnvironmentVariableA(kClockVariable, text, sizeof text);
    if (length == 0 || length >= sizeof text) return 0;
    int64_t offset;
    char end;
    if (std::sscanf(text, kOffsetForm, &offset, &end) == 1) return offset;
    FILETIME instant;
    if (!ParseClockText(text, &instant)) return 0;
    offset = AsTicks(instant) - PlatformTicks();
    PassOn(offset);
    return offset;
}

// Ticks added to the platform clock: 0 unless a test or the environment set the clock. The
// environment is read once, on the first reading of the clock.
std::atomic<int64_t>& Offset() {
    static std::atomic<int64_t> offset{OffsetFromEnvironment()};
    return offset;
}

} // namespace

FILETIME LocalNow() {
    // The offset first: its first reading reads the platform clock itself, and a platform time
    // taken before that put the first reading behind the instant set (07:29:59.992 for a clock
    // set to 07:30:00, so that entries made at the start fell in the minute before).
    const int64_t offset = Offset().load();
    const auto ticks = static_cast<uint64_t>(PlatformTicks() + offset);
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

SYSTEMTIME LocalNowFields() {
    const FILETIME now = LocalNow();
    SYSTEMTIME fields{};
    FileTimeToSystemTime(&now, &fields);
    return fields;
}

void SetLocalNow(const FILETIME& instant) {
    const int64_t offset = AsTicks(instant) - PlatformTicks();
    Offset().store(offset);
    PassOn(offset);
}

bool ParseClockText(const char* text, FILETIME* instant) {
    int year, month, day, hour, minute, second;
    char end;
    if (std::sscanf(text, "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day, &hour, &minute, &second,
                    &end) != 6)
        return false;
    // At most four digits for the year and two for the others: a field out of range or a date
    // that does not exist is refused by the calendar's conversion.
    uint64_t ticks;
    if (!CivilToTicks(SystemTimeOf(year, month, day, hour, minute, second), &ticks)) return false;
    *instant = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    return true;
}
