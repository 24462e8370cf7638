#pragma once
// The softkey bar window behind SHCreateMenuBar, and the F1/F2 keys that press its softkeys.
#include <windows.h>

enum Softkey { LeftSoftkey = 0, RightSoftkey = 1 };

// Posted to a bar: press softkey wParam (a Softkey), as a tap or the key would.
constexpr UINT WM_PRESS_SOFTKEY = WM_APP + 0x5F1;

// The bar of the top-level window that holds window, or null.
HWND SoftkeyBarOf(HWND window);
// While a bar's popup is open the softkey keys close it instead of pressing again.
bool SoftkeyMenuOpen(HWND bar);

// The F1/F2 filter runs on every thread that has a softkey bar.
void HoldSoftkeyKeys();
void ReleaseSoftkeyKeys();
