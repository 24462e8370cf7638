#pragma once

// Switches the phone radio off (0) or on (1), or powers the device off (2), through the
// cellular line. Every failure on the way ends the step silently; whatever it obtained is
// released on every way out, an exception included.
void RunTelephonyStep(int action);
