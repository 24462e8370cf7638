#pragma once
// Values shared by the whole schedule model: recurrence kinds, weekday and month bits,
// the 64-bit view of a FILETIME and the instant that stands for "no occurrence".
#include <cstdint>

#include "platform/core/Calendar.h"
#include "platform/core/Clock.h"
#include "platform/core/Win32Core.h"

enum ScheduleKind : int32_t {
    Weekly = 1,
    Once = 2,
    Next24Hours = 4,
    Monthly = 8,
    Yearly = 32,
};

constexpr int32_t kAllWeekdays = 127; // bit 0 Monday ... bit 6 Sunday
constexpr int32_t kAllMonths = 4095;  // bit 0 January ... bit 11 December

// A single weekday bit as an index from Monday 0 to Sunday 6, the order of the bits and of the
// weekday key tables; -1 for any value that is not a single weekday bit.
inline int MondayFirstIndex(int32_t weekdayBit) {
    for (int i = 0; i < 7; ++i)
        if (weekdayBit == (1 << i)) return i;
    return -1;
}

// The calendar's day of week (Sunday 0 ... Saturday 6) as the index of its weekday bit, from
// Monday 0 to Sunday 6.
inline int MondayFirstIndexOfDay(int dayOfWeek) {
    return (dayOfWeek + 6) % 7;
}

// A single weekday bit as the calendar's day of week, from Sunday 0 to Saturday 6
// (SYSTEMTIME::wDayOfWeek). Any other value counts as Sunday, as the monthly rule always had it.
inline int SundayFirstDayOfWeek(int32_t weekdayBit) {
    const int index = MondayFirstIndex(weekdayBit);
    return index < 0 ? 0 : (index + 1) % 7;
}

// Texts of entries are built in fixed buffers of this many characters (terminator included).
constexpr size_t kEntryTextSize = 260;
constexpr size_t kDayPhraseSize = 32;

inline uint64_t ToTicks(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

inline FILETIME FromTicks(uint64_t ticks) {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

// No occurrence: later than every real instant when compared as unsigned 64-bit numbers.
constexpr FILETIME kNever = {0xFFFFFFFFu, 0x7FFFFFFFu};

inline bool IsNever(const FILETIME& time) {
    return ToTicks(time) == ToTicks(kNever);
}

// Calendar fields as an instant by the calendar's own conversion; false (nothing written) for a
// date that does not exist.
inline bool CivilToInstant(const SYSTEMTIME& time, FILETIME* instant) {
    uint64_t ticks;
    if (!CivilToTicks(time, &ticks)) return false;
    *instant = FromTicks(ticks);
    return true;
}
