#pragma once
// The main window: its softkey bar, the menu's state and the commands that change the entries.
#include <windows.h>

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool CreateMainMenuBar(HWND mainWindow);
void UpdateMenuState();
bool FillList();

void OnNewEntry();
void OnEditEntry();
void OnDeleteEntry();
void OnToggleActive();
