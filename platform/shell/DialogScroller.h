#pragma once
// Scrolling of the editor's full-screen dialog. Its rows can reach below the phone screen (the
// weekly rows end far under it), so the dialog scrolls as the phone scrolls such a dialog: the
// control that gets the keyboard focus is brought into view, and the scroll bar and the wheel
// move the page. Positions of controls are then counted in the dialog's content, which
// DialogScrollPosition turns into client positions and back.
#include <windows.h>

// Starts scrolling for the dialog; it ends with the dialog.
void AttachDialogScroller(HWND dialog);
// Fits the scroll range to the visible controls after they were laid out anew.
void UpdateDialogScrollRange(HWND dialog);
// How far the content is scrolled up, in pixels (0 for a dialog that does not scroll).
int DialogScrollPosition(HWND dialog);
