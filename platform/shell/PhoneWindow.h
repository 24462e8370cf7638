#pragma once
// Full-screen windows of the phone: a top-level window taken over by the shell loses its
// desktop frame and stays on the work area (or on the whole screen below the status strip
// when it has no softkey bar); a dialog can show its title in a header strip at its top.
#include <windows.h>

enum PhoneWindowFlags : DWORD_PTR {
    PhoneWindowPlain = 0,
    PhoneWindowHeader = 1,
    PhoneWindowNoBar = 2,
};

// Adds flags to those the window already has and places it; safe to call more than once.
void AdoptPhoneWindow(HWND window, DWORD_PTR flags);

// Calls onFirstShown once, when the window is first shown and before it is drawn. It shares
// the window's one procedure of the shell layer with AdoptPhoneWindow.
void CallWhenFirstShown(HWND window, void (*onFirstShown)(HWND));

// The windows of this thread that the shell layer serves; each leaves with its window.
size_t ShellWindowCount();
