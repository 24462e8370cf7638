#pragma once
// One running program per program folder: two would each save their own list and lose the
// other's changes. A second start brings the running one forward as it stands (the dialog or
// box open over its window stays on top and keeps the keys) and ends.
#include <windows.h>

// true when this process is the one instance (again true on later calls); false when another
// instance runs, whose window has then been brought to the front.
bool TakeInstance();
// Marks the main window so that a second start finds it.
void MarkInstanceWindow(HWND window);
// Before the main window goes: its mark and the instance are given up.
void ReleaseInstance(HWND window);
// The window that holds the keys for the main window: the enabled window it owns (directly or
// through an owned dialog) that is open over it, or the main window itself.
HWND WindowInCharge(HWND mainWindow);
