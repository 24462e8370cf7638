#pragma once
// Run now: the selected entry's action at once, by the engine's own road.
#include <cstddef>

// Asks first, runs the action without blocking the screen and tells the result in words.
void OnRunNow();
// Whether an action started by Run now is still running.
bool RunNowRunning();
// Exit while the action runs: the program ends as soon as the action has ended, untold.
void ExitAfterRun();

// The text that tells a result of TarvikEngineFunc: done, or the step that failed.
// libraryFound is false when DozaraDLL or its export could not be loaded.
void RunResultText(bool libraryFound, int result, wchar_t* buffer, size_t size);
