#pragma once
// Windows we draw ourselves paint WM_PAINT and WM_PRINTCLIENT through one function, so that a
// test renders them into a bitmap exactly as the screen shows them.
#include <windows.h>

using PaintFunction = void (*)(HWND window, HDC dc);

// Answers WM_PAINT and WM_PRINTCLIENT through paint; false for any other message.
inline bool PaintThrough(HWND window, UINT message, WPARAM wParam, PaintFunction paint) {
    if (message == WM_PRINTCLIENT) {
        paint(window, reinterpret_cast<HDC>(wParam));
        return true;
    }
    if (message != WM_PAINT) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    paint(window, dc);
    EndPaint(window, &ps);
    return true;
}

// The start of a page drawn as plain text: the whole client area (answered in client) cleared
// to the window colour, text in the window text colour on no box of its own, in font (null:
// the one selected). Answers the font it replaced, or null, for SelectObject afterwards.
inline HGDIOBJ ClearForText(HWND window, HDC dc, HFONT font, RECT* client) {
    GetClientRect(window, client);
    FillRect(dc, client, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return font ? SelectObject(dc, font) : nullptr;
}
