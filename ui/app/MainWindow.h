#pragma once
// The main window: its softkey bar, the menu's state and the commands that change the entries.
#include <windows.h>

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool CreateMainMenuBar(HWND mainWindow);
// Greys the entry commands without a selected row and names Activate or Disable for it; run as
// the menu opens (WM_INITMENUPOPUP).
void UpdateMenuState();
bool FillList();
// While "storage.dat" exists but cannot be read, it is read again now and then (the list
// cannot be saved over it meanwhile).
void RereadWhileUnreadable();

void OnNewEntry();
void OnEditEntry();
void OnDeleteEntry();
void OnToggleActive();
