#pragma once
// When an entry runs, as a value: its kind, its start and the fields of its recurrence. The
// rules of core/model/Recurrence.h and Firings.h take a Schedule and an instant; the entry carries
// its schedule as its base, so the engine's entry key, the editor's scratch copy and the tests'
// builders all copy and compare this one definition.
#include <cstdint>

#include "core/model/ScheduleTypes.h"

struct Schedule {
    int32_t kind = Weekly;
    FILETIME startTime{};
    int32_t weekdayMask = kAllWeekdays;
    int32_t monthMask = kAllMonths;
    int16_t monthlyMode = 0;
    int32_t dayOfMonth = 1;
    int32_t weekIndex = 0;
    int32_t monthlyWeekday = 0;
};

bool operator==(const Schedule& a, const Schedule& b);
inline bool operator!=(const Schedule& a, const Schedule& b) {
    return !(a == b);
}
bool operator<(const Schedule& a, const Schedule& b);

// What an action entry does: the action code and its option bits, as the action block carries
// them to the callback.
struct ActionChoice {
    uint16_t action = 0;
    uint16_t options = 0;
};

bool operator==(const ActionChoice& a, const ActionChoice& b);
bool operator<(const ActionChoice& a, const ActionChoice& b);
