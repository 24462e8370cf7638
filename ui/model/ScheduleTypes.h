#pragma once
// Values shared by the whole schedule model: recurrence kinds, weekday and month bits,
// the 64-bit view of a FILETIME and the instant that stands for "no occurrence".
#include <cstdint>

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

// Texts of entries are built in fixed buffers of this many characters (terminator included).
constexpr size_t kEntryTextSize = 260;
constexpr size_t kDayPhraseSize = 32;

constexpr uint64_t kTicksPerSecond = 10000000ULL;
constexpr uint64_t kTicksPerDay = 864000000000ULL;

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

// The current local time as a FILETIME.
FILETIME LocalNow();
