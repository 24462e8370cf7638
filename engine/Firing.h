#pragma once
// Running one occurrence: DozaraDLL's TarvikEngineFunc with the entry's action block, on a
// worker thread of its own, so that an executor that never ends holds up nothing else.
#include <string>

#include "engine/Journal.h"
#include "engine/FiringSchedule.h"

// "entry 2 (once 2024-05-01 12:00:05.000, action 0, options 1)"
std::string DescribeEntry(const Firing& firing);

// Starts the worker. It loads the library, calls it and journals the result; a library or
// export that cannot be found, or a worker that cannot be started, is journaled with -1.
void StartFiring(const Firing& firing, const std::wstring& libraryPath, Journal& journal);

// Firings whose callback has not returned yet.
long RunningFirings();
