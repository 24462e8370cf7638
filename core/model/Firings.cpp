#include "core/model/Firings.h"

#include <algorithm>

#include "core/model/Recurrence.h"

namespace {

// A yearly 29 February waits at most eight years for its next leap year (1896 to 1904).
constexpr int kYearsToLeapDay = 8;

// The weekly and monthly rules keep a candidate that lies exactly on the reference (it is not
// before it) without choosing it (it is not after it): when that was the only candidate they
// find none. A reference one tick later moves that candidate on to its next turn.
FILETIME NextOnRule(const Schedule& entry, const FILETIME& startTime, uint64_t after) {
    const FILETIME next = entry.kind == Weekly
                              ? NextWeekly(startTime, FromTicks(after), entry.weekdayMask)
                              : NextMonthly(entry, startTime, FromTicks(after));
    if (!IsNever(next)) return next;
    return entry.kind == Weekly ? NextWeekly(startTime, FromTicks(after + 1), entry.weekdayMask)
                                : NextMonthly(entry, startTime, FromTicks(after + 1));
}

// The entry's stored start and the instant `after` as calendar fields.
bool StartAndReference(const Schedule& entry, uint64_t after, SYSTEMTIME* start,
                       SYSTEMTIME* reference) {
    return TicksToCivil(ToTicks(entry.startTime), start) && TicksToCivil(after, reference);
}

// The monthly rule takes its candidates' year from the stored start: an entry started in an
// earlier year than `after` would find only passed candidates and never fire again. Its
// start is taken into the year of `after` first; a start in a later year keeps its year.
FILETIME NextMonthlyFiring(const Schedule& entry, uint64_t after) {
    SYSTEMTIME start, reference;
    if (!StartAndReference(entry, after, &start, &reference)) return kNever;
    if (start.wYear < reference.wYear) {
        start.wYear = reference.wYear;
        start.wDay = 1; // every month has a first day; the rule sets its own day
    }
    uint64_t startTicks;
    if (!CivilToTicks(start, &startTicks)) return kNever;
    return NextOnRule(entry, FromTicks(startTicks), after);
}

// The stored month, day and time of day in the first year where that date exists and lies
// after `after`. The model's own yearly rule stands the stored instant in for a 29 February
// of a common year; a firing must fall on the date that the entry names, so such years are
// skipped here.
FILETIME NextYearlyFiring(const Schedule& entry, uint64_t after) {
    SYSTEMTIME start, reference;
    if (!StartAndReference(entry, after, &start, &reference)) return kNever;
    for (int year = reference.wYear; year <= reference.wYear + kYearsToLeapDay; ++year) {
        if (year > kLastValidYear) break;
        SYSTEMTIME candidate = start;
        candidate.wYear = static_cast<WORD>(year);
        uint64_t instant;
        if (CivilToTicks(candidate, &instant) && instant > after) return FromTicks(instant);
    }
    return kNever;
}

} // namespace

FILETIME NextFiring(const StorageItem& entry, const FILETIME& after) {
    return entry.active ? NextFiring(entry.When(), after) : kNever;
}

FILETIME NextFiring(const Schedule& entry, const FILETIME& after) {
    const uint64_t ticks = ToTicks(after);
    switch (entry.kind) {
    case Weekly: return NextOnRule(entry, entry.startTime, ticks);
    case Monthly: return NextMonthlyFiring(entry, ticks);
    case Yearly: return NextYearlyFiring(entry, ticks);
    default:
        // Once, Next24Hours and kinds unknown to the model: the stored instant, when ahead.
        return ToTicks(entry.startTime) > ticks ? entry.startTime : kNever;
    }
}

EntryMark MarkOf(const StorageItem& entry, const FILETIME& now) {
    if (!entry.active || !IsNever(NextFiring(entry, now))) return EntryMark::None;
    return entry.kind == Weekly || entry.kind == Monthly || entry.kind == Yearly
               ? EntryMark::NeverRuns
               : EntryMark::Past;
}

FILETIME NextMarkChange(const StorageList& list, const FILETIME& now) {
    // Only a one-time entry's mark moves with time: a recurring rule that gives an instant
    // gives one for ever after.
    uint64_t first = ToTicks(kNever);
    for (const StorageItem* entry = list.head; entry; entry = entry->next) {
        if (entry->kind == Weekly || entry->kind == Monthly || entry->kind == Yearly) continue;
        first = std::min(first, ToTicks(NextFiring(*entry, now)));
    }
    return FromTicks(first);
}

std::vector<UpcomingFiring> UpcomingFirings(const StorageList& list, const FILETIME& from,
                                            size_t count) {
    std::vector<UpcomingFiring> next; // each entry's next firing, in display order
    for (const StorageItem* entry = list.head; entry; entry = entry->next)
        next.push_back({NextFiring(*entry, from), entry});
    std::stable_sort(next.begin(), next.end(),
                     [&](const UpcomingFiring& a, const UpcomingFiring& b) {
                         return list.Compare(a.entry, b.entry) < 0;
                     });
    std::vector<UpcomingFiring> firings;
    while (firings.size() < count) {
        // The earliest, and of equal ones the first in display order.
        auto earliest = std::min_element(next.begin(), next.end(),
                                         [](const UpcomingFiring& a, const UpcomingFiring& b) {
                                             return ToTicks(a.instant) < ToTicks(b.instant);
                                         });
        if (earliest == next.end() || IsNever(earliest->instant)) break;
        firings.push_back(*earliest);
        earliest->instant = NextFiring(*earliest->entry, earliest->instant);
    }
    return firings;
}

bool FindClash(const StorageItem& entry, const StorageList& list, const StorageItem* skip,
               const FILETIME& from, int days,
               bool (*differs)(const StorageItem& entry, const StorageItem& other), Clash* clash) {
    const uint64_t end = ToTicks(from) + static_cast<uint64_t>(days) * kTicksPerDay;
    for (FILETIME own = NextFiring(entry, from); !IsNever(own) && ToTicks(own) < end;
         own = NextFiring(entry, own)) {
        const uint64_t minute = ToTicks(own) / kTicksPerMinute * kTicksPerMinute;
        for (const StorageItem* other = list.head; other; other = other->next) {
            if (other == &entry || other == skip || !differs(entry, *other)) continue;
            // The other entry's first firing from the start of that minute on.
            const FILETIME theirs = NextFiring(*other, FromTicks(minute - 1));
            if (!IsNever(theirs) && ToTicks(theirs) < minute + kTicksPerMinute) {
                *clash = {theirs, other};
                return true;
            }
        }
    }
    return false;
}
