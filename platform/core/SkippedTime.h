#pragma once
// Local times that the clock skips: where the clocks go forward the local times of the
// skipped hour never come (Europe/Berlin, 29 March 2026: 02:00 becomes 03:00). Every time in
// the system is local wall-clock time, so only here does the time zone matter.
#include "platform/core/Win32Core.h"

// True when the user's time zone skips the local time `local` (its date and time to the
// second); an hour that comes twice when the clocks go back is not skipped.
bool LocalTimeSkipped(const SYSTEMTIME& local);
