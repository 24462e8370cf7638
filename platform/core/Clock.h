#pragma once
// The one clock that the program, the engine and the tools read: the local time now. Nothing
// else asks the platform for the time, so a test that sets this clock sets it for all of them.
// Once set, the clock runs on from the instant set at the platform clock's pace.
#include "platform/core/Win32Core.h"

FILETIME LocalNow();
SYSTEMTIME LocalNowFields();

// From now on the clock reads `instant` and runs on from there.
void SetLocalNow(const FILETIME& instant);

// The environment variable that sets the clock of a program at its start, as
// "yyyy-mm-dd hh:mm:ss" local time (the test command sets it for every test). The program
// writes it back in a form that the programs it starts read as the same clock.
constexpr char kClockVariable[] = "DZ_CLOCK";

// "yyyy-mm-dd hh:mm:ss" as an instant; false for anything else or a date that does not exist.
bool ParseClockText(const char* text, FILETIME* instant);
