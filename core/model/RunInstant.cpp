#include "core/model/RunInstant.h"

#include "platform/core/Calendar.h"
#include "platform/core/SkippedTime.h"
#include "core/model/ScheduleTypes.h"

namespace {

// Clocks go forward by an hour, in a few zones by half an hour or two hours: a skipped time
// ends within this many minutes.
constexpr int kLongestGapMinutes = 3 * 60;

bool Skipped(uint64_t ticks) {
    SYSTEMTIME fields;
    return TicksToCivil(ticks, &fields) && LocalTimeSkipped(fields);
}

} // namespace

FILETIME RunInstant(const FILETIME& due) {
    const uint64_t dueTicks = ToTicks(due);
    if (IsNever(due) || !Skipped(dueTicks)) return due;
    uint64_t minute = dueTicks - dueTicks % kTicksPerMinute;
    for (int step = 0; step < kLongestGapMinutes; ++step) {
        minute += kTicksPerMinute;
        if (!Skipped(minute)) return FromTicks(minute);
    }
    return due; // no end found: the instant as it was asked for
}
