#pragma once
// A full-screen view of a scrolling list in the help screen's frame (coming up, last runs):
// rows of one height that the view draws, Up and Down scroll by a row, the action key closes
// the view as Done does. One such view at a time: the views are modal.
#include <windows.h>

#include <cstddef>

struct RowListView {
    size_t count = 0;
    int rowHeight = 0;
    HFONT font = nullptr;           // for the empty list's text
    const wchar_t* emptyText = L""; // shown centred when count is 0
    void (*drawRow)(HDC dc, const RECT& row, size_t index) = nullptr;
};

// Shows the view modally over owner in the help screen's frame, titled, with the softkey Done;
// Done, the action key and Back close it. Gives the dialog's end code.
INT_PTR RunRowListScreen(HWND owner, const wchar_t* title, const RowListView& view);
