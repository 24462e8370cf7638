#pragma once
// The Last runs screen: the executor's history, newest first, each run with its action's bitmap
// and phrase, when it ran and "done" or what failed; and the history that the schedule list
// marks its entries by.
#include <windows.h>

// Reads history.dat from the program folder into g_runHistory (empty when there is none) and
// redraws the schedule list.
void ReloadRunHistory();

// Shows the screen modally over owner until Done, the action key or Back closes it.
INT_PTR ShowLastRuns(HWND owner);
