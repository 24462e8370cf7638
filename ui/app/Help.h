#pragma once
// The help page, shown full screen in the HTML viewer, and the About box.
#include <windows.h>

// Returns the dialog's end code: 1 closed by the softkey, 2 cancelled; the program ignores it.
INT_PTR ShowHelp(HWND owner);
// Runs procedure modally over owner on the help screen's template, an empty dialog that the
// procedure makes full screen and titles; other full-screen views share the frame.
INT_PTR RunInHelpFrame(HWND owner, DLGPROC procedure);
INT_PTR CALLBACK HelpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
bool InitHelpDialog();
void ShowAbout(HWND owner);
