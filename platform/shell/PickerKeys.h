#pragma once
// A date or time picker of a full-screen dialog as the phone's keys use it (DialogKeys.h): the
// first field is the current one when the picker gets the focus; in adjust mode the picker
// wears a frame in the selection colour and Up and Down change the current field, AM/PM
// included (it moves the time by twelve hours); losing the focus ends adjust mode.
#include <windows.h>

// Once per picker.
void AttachPickerKeys(HWND picker);
bool PickerAdjusting(HWND picker);
void SetPickerAdjusting(HWND picker, bool adjusting);
