#pragma once
// The phone's keys in a full-screen dialog; SHInitDialog gives them to every one.
//   Up, Down      the previous or next control that takes input, in the order the controls
//                 stand on the screen (top to bottom, then left to right), wrapping at the ends;
//                 labels, hidden and disabled controls are passed over
//   Left, Right   a spinner list steps through its items, a date or time picker moves between
//                 its fields; elsewhere nothing (the desktop dialog manager would move through
//                 a group of boxes)
//   action key    a check box or button is pressed; a picker enters or leaves adjust mode, in
//                 which Up and Down change its current field (AM/PM too); never the dialog's
//                 default button: Done is the left softkey; a control of the program's own gets it
//                 when it asks for it (WM_GETDLGCODE with VK_RETURN answers DLGC_WANTMESSAGE)
//   Back          leaves adjust mode; otherwise the dialog is cancelled
//   digits        type into a picker's current field
// A key handled here never reaches the dialog manager or the control.
#include <windows.h>

void AttachDialogKeys(HWND dialog);
