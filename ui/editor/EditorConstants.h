#pragma once
// Counts and codes that the editor's controls share with the entry's fields.
constexpr int kWeekdayCount = 7;  // boxes 2501-2507, bits 0-6 of weekdayMask
constexpr int kMonthCount = 12;   // boxes 2611-2622 and names 2623-2634, bits 0-11 of monthMask
constexpr int kLastDayIndex = 31; // the month-day list's "last day" item, after days 1-31
constexpr int kMondayBit = 1;     // monthlyWeekday of Monday

// monthlyMode and the items of the monthly type list
constexpr int kMonthlyByDay = 0;
constexpr int kMonthlyByWeekday = 1;
