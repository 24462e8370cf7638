#pragma once
// The engine's run: start-up, the wait for the next occurrence or a signal, firing, reloading
// on the refresh signal, and the end on the stop signal.
#include <windows.h>

// Runs until the stop event is set; returns the process exit code.
int RunEngine(HINSTANCE instance);

// "tarvikengine.exe /stop": sets the stop event of the running engine and waits until it has
// ended; returns the process exit code.
int StopRunningEngine();
