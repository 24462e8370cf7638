#pragma once
// Running one occurrence: DozaraDLL's TarvikEngineFunc with the entry's action block, on a
// thread of its own so that the call can be given a time limit. The callback runs the executor
// and waits for it; an executor still running at the limit is ended, and so the callback
// returns and the next firing can run.
#include <string>

#include "engine/FiringSchedule.h"

// "entry 2 (once 2024-05-01 12:00:05.000, action 0, options 1)"
std::string DescribeEntry(const Firing& firing);

struct FiringOutcome {
    int result;       // the callback's; -1 when it could not be called
    std::string note; // empty, or what a person should know about the call
};

// Loads the library, calls it with the firing's block, waits at most kFiringLimitMs for it to
// return and unloads it. A library or export that cannot be found is -1. At the limit the
// engine's executors are ended (the callback then returns their exit code
// kExecutorEndedAtLimit); a callback that still does not return is left to run on its own
// and the outcome is kExecutorEndedAtLimit.
FiringOutcome CallCallback(const Firing& firing, const std::wstring& libraryPath);

// Callbacks that have not returned yet, those left to run on their own included.
long RunningCallbacks();
