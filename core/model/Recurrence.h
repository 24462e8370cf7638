#pragma once
// Calendar rules of the schedule model: next occurrence of an entry after a reference
// instant, the list's display order, and the small date functions they use.
#include "core/model/Schedule.h"

HRESULT AddSeconds(SYSTEMTIME* time, int32_t seconds);
int NthWeekdayOfMonth(const SYSTEMTIME& reference, int month, int32_t weekIndex,
                      int32_t weekdayBit);

FILETIME NextWeekly(const FILETIME& startTime, const FILETIME& reference, int32_t weekdayMask);
FILETIME NextMonthly(const Schedule& entry, const FILETIME& startTime, const FILETIME& reference);
FILETIME NextOccurrence(const Schedule& entry, const FILETIME& reference);
// The same with the current local time given: the yearly rule takes the current year from it.
FILETIME NextOccurrence(const Schedule& entry, const FILETIME& reference, const SYSTEMTIME& now);
int CompareByNextOccurrence(const Schedule& a, const Schedule& b);

// The display order shared by every list: by kind, then by instant or time of day.
int CompareDisplayOrder(const Schedule& a, const Schedule& b);
