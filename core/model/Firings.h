#pragma once
// When entries fire: the one rule that the engine follows and that every screen and tool shows
// ahead of time, so that what is listed as coming up is exactly what the engine will do.
#include <cstddef>
#include <vector>

#include "core/model/StorageList.h"

// The first instant strictly after `after` at which the entry fires; kNever when none.
// Disabled entries never fire. A one-time or next-24-hours entry fires at its stored instant
// when that lies ahead. Weekly, monthly and yearly entries fire at every occurrence of their
// rule, for ever: given one occurrence as `after`, this gives the one after it.
FILETIME NextFiring(const StorageItem& entry, const FILETIME& after);
// The same for a schedule alone, as if its entry were active.
FILETIME NextFiring(const Schedule& entry, const FILETIME& after);

// What the list marks on an entry, by the rule above at `now`: an active entry that will not
// fire again has passed (a one-time entry whose instant is behind) or can never run (a
// recurring entry whose rule gives no instant: no weekday, no month, a date that never exists).
// Disabled entries carry their own mark.
enum class EntryMark { None, Past, NeverRuns };
EntryMark MarkOf(const StorageItem& entry, const FILETIME& now);

// The first instant after `now` at which the mark of an entry of the list changes (a pending
// one-time entry passes); kNever when no mark will change.
FILETIME NextMarkChange(const StorageList& list, const FILETIME& now);

struct UpcomingFiring {
    FILETIME instant;
    const StorageItem* entry;
};

// The first `count` firings of the list's entries strictly after `from`, earliest first;
// firings at the same instant in the list's display order (entries equal in that order
// keep their order in the file).
std::vector<UpcomingFiring> UpcomingFirings(const StorageList& list, const FILETIME& from,
                                            size_t count);

// The first firing of `entry` strictly after `from` and before `from` + `days` days that
// falls in the same minute as a firing of another entry of the list (not `entry` itself and
// not `skip`) for which `differs(entry, other)` holds. Both must fire: disabled entries never
// clash. false when there is none.
struct Clash {
    FILETIME instant; // the other entry's firing
    const StorageItem* other;
};
bool FindClash(const StorageItem& entry, const StorageList& list, const StorageItem* skip,
               const FILETIME& from, int days,
               bool (*differs)(const StorageItem& entry, const StorageItem& other), Clash* clash);
