#pragma once
// What every window with a softkey bar does to set it up: make the bar from a menu resource
// and put its own texts on the softkeys.
#include <windows.h>

// The bar of menu resource `menu` below owner, or nullptr when it could not be made.
HWND CreateSoftkeyBar(HWND owner, UINT menu, HINSTANCE resources);
// The caption of the softkey that sends command; false when the bar has no such softkey.
bool SetSoftkeyCaption(HWND bar, UINT command, const wchar_t* text);
