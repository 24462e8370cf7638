#pragma once
// The last word before a power-off: a full-screen notice on top of whatever the phone shows,
// "The phone switches off in 30 s" counting down, with the softkeys Cancel and Now. Back is
// Cancel. The executor shows it itself, since the program need not be running. The notice's
// windows live in a library of their own (DozaraNotice.dll) that the executor loads only for a
// power-off: linking the window system into the executor doubled the start of every run under
// Wine (an empty program 47 ms, the same importing USER32 102 ms, fastest of 31).
#include <windows.h>

#include "contract/EngineContract.h" // kPowerOffNoticeSeconds
// Test seam: DZ_POWER_OFF_NOTICE_SECONDS=N counts down from N seconds (1 to 30) instead.
constexpr char kNoticeSecondsVariable[] = "DZ_POWER_OFF_NOTICE_SECONDS";

// True to switch off (Now, or the countdown ran out, or the notice could not be shown or its
// library not loaded), false when the user cancelled.
bool PowerOffConfirmed();

// The notice itself, in DozaraNotice.dll.
extern "C" __declspec(dllexport) int DozaraPowerOffNotice();
