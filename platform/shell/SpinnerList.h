#pragma once
// The phone's spinner list: a one-line list box with a horizontal up-down control that took it
// as its buddy. On the phone the pair handles its own keys; on desktop Win32 the up-down only
// knows the up and down keys and changes the list without a notification. This gives the pair
// the phone's behaviour: left and right step through the items, wrapping around at both ends
// (up and down move the focus, as everywhere in a full-screen dialog: DialogKeys.h); every
// step, by key or by a tap on the arrows, reaches the dialog as the list's LBN_SELCHANGE, as a
// selection by the user does. The box shows exactly one item, in the selection colour only
// while it has the focus.
#include <windows.h>

// Gives every spinner list of the dialog that behaviour; call once, before the user acts.
void AttachSpinnerLists(HWND dialog);
