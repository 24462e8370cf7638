#pragma once
// The last word before a power-off: a full-screen notice on top of whatever the phone shows,
// "The phone switches off in 30 s" counting down, with the softkeys Cancel and Now. Back is
// Cancel. The executor shows it itself, since the program need not be running.
#include <windows.h>

constexpr int kPowerOffNoticeSeconds = 30;
// Test seam: DZ_POWER_OFF_NOTICE_SECONDS=N counts down from N seconds (1 to 30) instead.
constexpr char kNoticeSecondsVariable[] = "DZ_POWER_OFF_NOTICE_SECONDS";

// True to switch off (Now, or the countdown ran out, or the notice could not be shown),
// false when the user cancelled.
bool PowerOffConfirmed();
