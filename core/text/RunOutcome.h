#pragma once
// A run of the history in words, as the Last runs screen shows it.
#include "core/model/RunHistory.h"

// The key of what became of the run: done, the first step that failed, cancelled by the user,
// never finished, or the executor's own failure.
const wchar_t* RunOutcomeKey(const RunRecord& run);
