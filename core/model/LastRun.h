#pragma once
// Which run of the history an entry's firing made: the schedule list marks an entry whose last
// run failed.
#include <vector>

#include "core/model/DZItem.h"
#include "core/model/RunHistory.h"

// The engine fires on time and the executor records its start at once (about 50 ms after the
// firing here); a run that began later than this after a firing is not that firing's.
constexpr int kRunMatchSeconds = 60;

// The newest run that a firing of entry made: the same action and option token as the entry's
// action block, begun at most kRunMatchSeconds after one of the entry's firings. Null when
// there is none. runs are newest first, as ParseRunHistory gives them.
const RunRecord* LastRunOf(const DZItem& entry, const std::vector<RunRecord>& runs);
