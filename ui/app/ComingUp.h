#pragma once
// The coming-up screen: the next firings of all entries, as the engine will make them.
#include <windows.h>

// Shows the screen modally over owner until Done, the action key or Back closes it.
INT_PTR ShowComingUp(HWND owner);
