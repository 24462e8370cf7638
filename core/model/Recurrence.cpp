#include "core/model/Recurrence.h"

namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kSecondsPerWeek = 604800;

int Compare64(uint64_t a, uint64_t b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

// The day of a monthly entry in the given year and month, or 0 when that date does not exist
// (day 31 of a 30-day month, a count back past the month's start, a weekday index outside the
// month). monthFields carries the year and month; its other fields do not matter.
int MonthlyDay(const Schedule& entry, const SYSTEMTIME& monthFields) {
    const int month = monthFields.wMonth;
    int day;
    if (entry.monthlyMode == 0)
        day = entry.dayOfMonth > 0 ? entry.dayOfMonth
                                   : MonthLength(monthFields.wYear, month) + entry.dayOfMonth;
    else
        day = NthWeekdayOfMonth(monthFields, month, entry.weekIndex, entry.monthlyWeekday);
    return day >= 1 && day <= MonthLength(monthFields.wYear, month) ? day : 0;
}

// The monthly candidate in one year and month at the time of day of start; false when the
// day does not exist there.
bool MonthlyCandidate(const Schedule& entry, const SYSTEMTIME& start, int year, int month,
                      uint64_t* ticks) {
    if (year > kLastValidYear) return false;
    SYSTEMTIME candidate = start;
    candidate.wYear = static_cast<WORD>(year);
    candidate.wMonth = static_cast<WORD>(month);
    candidate.wDay = 1;
    const int day = MonthlyDay(entry, candidate);
    if (day == 0) return false;
    candidate.wDay = static_cast<WORD>(day);
    return CivilToTicks(candidate, ticks);
}

// Stored instant of the given year, or the stored startTime when that date does not exist
// there (29 February in a common year).
uint64_t YearlyCandidate(const SYSTEMTIME& start, int year, const FILETIME& startTime) {
    SYSTEMTIME candidate = start;
    candidate.wYear = static_cast<WORD>(year);
    uint64_t ticks;
    return year <= kLastValidYear && CivilToTicks(candidate, &ticks) ? ticks : ToTicks(startTime);
}

FILETIME NextYearly(const FILETIME& startTime, const FILETIME& reference, int currentYear) {
    SYSTEMTIME start;
    if (!TicksToCivil(ToTicks(startTime), &start)) return startTime;
    const uint64_t thisYear = YearlyCandidate(start, currentYear, startTime);
    if (thisYear > ToTicks(reference)) return FromTicks(thisYear);
    return FromTicks(YearlyCandidate(start, currentYear + 1, startTime));
}

} // namespace

HRESULT AddSeconds(SYSTEMTIME* time, int32_t seconds) {
    uint64_t ticks;
    if (!CivilToTicks(*time, &ticks)) return E_FAIL;
    // A result before 1601 wraps to a value with the high bit set, which the conversion back
    // refuses.
    const uint64_t moved = ticks + static_cast<uint64_t>(static_cast<int64_t>(seconds) *
                                                         static_cast<int64_t>(kTicksPerSecond));
    SYSTEMTIME result;
    if (!TicksToCivil(moved, &result)) return E_FAIL;
    *time = result;
    return S_OK;
}

int NthWeekdayOfMonth(const SYSTEMTIME& reference, int month, int32_t weekIndex,
                      int32_t weekdayBit) {
    const int length = MonthLength(reference.wYear, month);
    if (length == 0) return 0;
    if (reference.wYear < kFirstValidYear || reference.wYear > kLastValidYear) return 0;
    const int firstWeekday = DayOfWeekOfDays(DaysFromCivil(reference.wYear, month, 1));   // [0, 6]
    const int firstMatch = 1 + (SundayFirstDayOfWeek(weekdayBit) - firstWeekday + 7) % 7; // [1, 7]
    if (weekIndex >= 0 && weekIndex <= 3) {
        const int day = firstMatch + 7 * weekIndex;
        return day <= length ? day : 0;
    }
    // Any other index is the last such weekday of the month: the fifth when there are five.
    return firstMatch + 7 * ((length - firstMatch) / 7);
}

FILETIME NextWeekly(const FILETIME& startTime, const FILETIME& reference, int32_t weekdayMask) {
    SYSTEMTIME start, today;
    if (!TicksToCivil(ToTicks(startTime), &start) || !TicksToCivil(ToTicks(reference), &today))
        return kNever;
    // Today's date at the entry's time of day.
    today.wHour = start.wHour;
    today.wMinute = start.wMinute;
    today.wSecond = start.wSecond;
    today.wMilliseconds = start.wMilliseconds;
    uint64_t base;
    if (!CivilToTicks(today, &base)) return kNever;
    const int todayIndex = MondayFirstIndexOfDay(today.wDayOfWeek); // [0, 6]
    const uint64_t after = ToTicks(reference);
    uint64_t best = ToTicks(kNever);
    for (int day = 0; day < 7; ++day) { // weekday bit index, Monday 0
        if (!(weekdayMask & (1 << day))) continue;
        int64_t seconds = (day - todayIndex) * kSecondsPerDay; // [-6, 6] days
        if (day < todayIndex) seconds += kSecondsPerWeek;      // [0, 6] days
        uint64_t candidate = base + static_cast<uint64_t>(seconds) * kTicksPerSecond;
        // Today's candidate moves on a week only when it lies strictly before the reference:
        // one equal to the reference is neither moved nor chosen.
        if (day == todayIndex && candidate < after) candidate += kSecondsPerWeek * kTicksPerSecond;
        if (candidate > after && candidate < best) best = candidate;
    }
    return FromTicks(best);
}

FILETIME NextMonthly(const Schedule& entry, const FILETIME& startTime, const FILETIME& reference) {
    SYSTEMTIME start, now;
    if (!TicksToCivil(ToTicks(startTime), &start) || !TicksToCivil(ToTicks(reference), &now))
        return kNever;
    const uint64_t after = ToTicks(reference);
    uint64_t best = ToTicks(kNever);
    for (int month = 1; month <= 12; ++month) {
        if (!(entry.monthMask & (1 << (month - 1)))) continue;
        // The year comes from the entry's startTime; months before the reference's month fall
        // into the year after it.
        const int year = start.wYear + (month < now.wMonth ? 1 : 0);
        uint64_t candidate;
        if (!MonthlyCandidate(entry, start, year, month, &candidate)) continue;
        // A passed candidate of the reference's month moves to the same rule a year later;
        // the day is worked out again for that year (the last day of February, the n-th
        // weekday), so it always falls on the entry's day.
        if (month == now.wMonth && candidate < after &&
            !MonthlyCandidate(entry, start, year + 1, month, &candidate))
            continue;
        if (candidate > after && candidate < best) best = candidate;
    }
    return FromTicks(best);
}

FILETIME NextOccurrence(const Schedule& entry, const FILETIME& reference, const SYSTEMTIME& now) {
    switch (entry.kind) {
    case Weekly: return NextWeekly(entry.startTime, reference, entry.weekdayMask);
    case Monthly: return NextMonthly(entry, entry.startTime, reference);
    case Yearly: return NextYearly(entry.startTime, reference, now.wYear);
    default: return entry.startTime; // Once, Next24Hours and unknown kinds: the stored instant
    }
}

FILETIME NextOccurrence(const Schedule& entry, const FILETIME& reference) {
    return NextOccurrence(entry, reference, LocalNowFields());
}

int CompareByNextOccurrence(const Schedule& a, const Schedule& b) {
    const SYSTEMTIME now = LocalNowFields();
    const FILETIME reference = LocalNow();
    return Compare64(ToTicks(NextOccurrence(a, reference, now)),
                     ToTicks(NextOccurrence(b, reference, now)));
}

int CompareDisplayOrder(const Schedule& a, const Schedule& b) {
    if (a.kind != b.kind)
        return static_cast<uint32_t>(a.kind) > static_cast<uint32_t>(b.kind) ? 1 : -1;
    if (a.kind == Once || a.kind == Next24Hours) return CompareByNextOccurrence(a, b);
    // Time of day only: hour, then minute. An instant that does not convert counts as 00:00.
    SYSTEMTIME x{}, y{};
    TicksToCivil(ToTicks(a.startTime), &x);
    TicksToCivil(ToTicks(b.startTime), &y);
    const int byHour = Compare64(x.wHour, y.wHour);
    return byHour != 0 ? byHour : Compare64(x.wMinute, y.wMinute);
}
