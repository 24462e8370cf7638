#pragma once

// Switches the phone radio off (PhoneOff) or on (PhoneOn), or powers the device off (PowerOff),
// through the cellular line. Every failure on the way ends the step silently; whatever it obtained
// is released on every way out, an exception included.
void RunTelephonyStep(int action);
