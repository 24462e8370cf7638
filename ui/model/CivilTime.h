#pragma once
// Calendar fields to an instant for the schedule rules. Wine's SystemTimeToFileTime accepts
// 29 February of a common year where Windows refuses it; the rules depend on the refusal, so
// every conversion of theirs goes through this check first.
#include "platform/core/Calendar.h"
#include "platform/core/Win32Core.h"

// SystemTimeToFileTime that also refuses a day beyond the month's length on every platform.
bool ValidCivilToFileTime(const SYSTEMTIME& time, FILETIME* out);
