#pragma once
// Small operations on a dialog's controls by identifier. A template may leave controls out:
// every operation on a control that the dialog lacks does nothing (readers report "none").
// Vertical positions are pixels in the dialog's content: from the origin that the dialog
// places its controls against, as if it were not scrolled.
#include <windows.h>

#include <cstdint>

namespace DialogControls {

// Geometry
int TopOf(HWND dialog, int id);  // 0 when the control is missing
int LeftOf(HWND dialog, int id); // 0 when the control is missing
// Moves a control's top to y, keeping its left edge and size; no repaint at once.
void MoveTop(HWND dialog, int id, int y);
// Places a control at (x, y) with the size of another control (model).
void MoveLike(HWND dialog, int id, int model, int x, int y);
void MoveTo(HWND dialog, int id, int x, int y);
void Show(HWND dialog, int id, bool visible);
void SetFont(HWND dialog, int id, HFONT font);
void SetText(HWND dialog, int id, const wchar_t* text);

// Spinner lists (one-line list boxes)
void AddItem(HWND dialog, int id, const wchar_t* text, LRESULT data);
// Selects the item at index, or none when index lies outside the list.
void SelectIndex(HWND dialog, int id, int index);
// Selects the first item whose data equals data, or none when no item does.
void SelectData(HWND dialog, int id, LRESULT data);
// The selected item's index or data; false when nothing is selected (or the list is missing).
bool SelectedIndex(HWND dialog, int id, int* index);
bool SelectedData(HWND dialog, int id, LRESULT* data);

// Check boxes
void Check(HWND dialog, int id, bool checked);
bool IsChecked(HWND dialog, int id);
void Enable(HWND dialog, int id, bool enabled);

// Date-time pickers
void SetPickerFormat(HWND dialog, int id, const wchar_t* picture);
void SetPickerTime(HWND dialog, int id, const SYSTEMTIME& time);
// False when the picker is missing or holds no valid value.
bool PickerTime(HWND dialog, int id, SYSTEMTIME* time);

} // namespace DialogControls
