#pragma once
#include "executor/HistoryWriter.h"

// Switches the phone radio off (PhoneOff) or on (PhoneOn), or powers the device off (PowerOff),
// through the cellular line. Every failure on the way ends the step silently; whatever it obtained
// is released on every way out, an exception included. Each call's outcome goes to the history.
void RunTelephonyStep(int action, HistoryWriter& history);
