#include "platform/shell/PhoneWindow.h"
#include "platform/shell/PhoneScreen.h"
#include "platform/shell/SmartphoneShell.h"
#include <algorithm>
#include <vector>

namespace {

// The windows this thread's shell layer serves, with the procedure each had before and what
// is asked of it. Under Wine a window property, and so the common controls' subclass chain
// that is built on properties, is a round trip to the window server (about 40 us): the main
// window's procedure runs for every notification of its list, and a table of our own costs
// nothing. Every service of a window goes through its one entry and one procedure, installed
// once and kept until the window is gone: a second subclass that came and went would put back
// the procedure it had found and drop any installed after it.
constexpr DWORD_PTR PhoneWindowAdopted = 0x100; // AdoptPhoneWindow took the window over

struct ServedWindow {
    HWND window;
    WNDPROC previous;
    DWORD_PTR flags;
    void (*onFirstShown)(HWND);
};
thread_local std::vector<ServedWindow> t_served;

ServedWindow* FindServed(HWND window) {
    for (ServedWindow& served : t_served)
        if (served.window == window) return &served;
    return nullptr;
}

void Forget(HWND window) {
    for (auto it = t_served.begin(); it != t_served.end(); ++it)
        if (it->window == window) {
            t_served.erase(it);
            return;
        }
}

LRESULT CALLBACK PhoneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The window's entry, made (and the procedure installed) on first use. Entries of windows
// that are gone without our procedure seeing them end are dropped here.
ServedWindow& Serve(HWND window) {
    if (ServedWindow* served = FindServed(window)) return *served;
    t_served.erase(std::remove_if(t_served.begin(), t_served.end(),
                                  [](const ServedWindow& s) { return !IsWindow(s.window); }),
                   t_served.end());
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    t_served.push_back({window, previous, 0, nullptr});
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PhoneWindowProc));
    return t_served.back();
}

RECT TargetRect(DWORD_PTR flags) {
    RECT area = PhoneWorkArea();
    if (flags & PhoneWindowNoBar) area.bottom = PhoneScreenRect().bottom;
    return area;
}

void PaintHeader(HWND window) {
    RECT bounds;
    GetWindowRect(window, &bounds);
    RECT header{0, 0, bounds.right - bounds.left, kDialogHeaderHeight};
    wchar_t title[260];
    int length = GetWindowTextW(window, title, ARRAYSIZE(title));

    HDC dc = GetWindowDC(window);
    FillColor(dc, header, RGB(255, 255, 255));
    FillColor(dc, {header.left, header.bottom - 2, header.right, header.bottom},
              kPhoneChromeEdgeColor);

    HFONT font = MakeShellFont(14, true);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kHeaderTextColor);
    RECT text{header.left + 6, header.top, header.right - 6, header.bottom - 2};
    DrawTextW(dc, title, length, &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    ReleaseDC(window, dc);
}

LRESULT ReserveHeader(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallWindowProcW(previous, window, message, wParam, lParam);
    // Both forms of the message start with the proposed client rectangle.
    RECT* client = reinterpret_cast<RECT*>(lParam);
    client->top = (client->top + kDialogHeaderHeight < client->bottom)
                      ? client->top + kDialogHeaderHeight
                      : client->bottom;
    return result;
}

// Full-screen windows do not move: whatever asks to move or size them (a maximize, the
// default placement of a new window) ends on the same rectangle.
void PinPosition(WINDOWPOS* pos, DWORD_PTR flags) {
    RECT target = TargetRect(flags);
    pos->x = target.left;
    pos->y = target.top;
    pos->cx = target.right - target.left;
    pos->cy = target.bottom - target.top;
    pos->flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
}

// The first showing runs its callback once, before the window is drawn.
void OnShowing(ServedWindow& served) {
    void (*onFirstShown)(HWND) = served.onFirstShown;
    served.onFirstShown = nullptr;
    if (onFirstShown) onFirstShown(served.window);
}

LRESULT CALLBACK PhoneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ServedWindow* served = FindServed(window);
    if (!served) return DefWindowProcW(window, message, wParam, lParam);
    // Copies: the table may change while the callbacks and the previous procedure run.
    const WNDPROC previous = served->previous;
    const DWORD_PTR flags = served->flags;
    const bool header = (flags & PhoneWindowHeader) != 0;
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam) OnShowing(*served);
        break;
    case WM_WINDOWPOSCHANGING:
        if (flags & PhoneWindowAdopted) PinPosition(reinterpret_cast<WINDOWPOS*>(lParam), flags);
        break;
    case WM_NCCALCSIZE:
        if (header) return ReserveHeader(previous, window, message, wParam, lParam);
        break;
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_SETTEXT:
        if (header) {
            LRESULT result = CallWindowProcW(previous, window, message, wParam, lParam);
            if (IsWindowVisible(window)) PaintHeader(window);
            return result;
        }
        break;
    case WM_NCDESTROY: {
        const LRESULT result = CallWindowProcW(previous, window, message, wParam, lParam);
        Forget(window);
        return result;
    }
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

void RemoveDesktopFrame(HWND window) {
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    style &= ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX |
                                    WS_MAXIMIZEBOX);
    SetWindowLongPtrW(window, GWL_STYLE, style);
    LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    exStyle &= ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE |
                                      WS_EX_STATICEDGE);
    SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle);
}

} // namespace

void AdoptPhoneWindow(HWND window, DWORD_PTR flags) {
    // A second call adds to the flags of the first.
    ServedWindow& served = Serve(window);
    served.flags |= flags | PhoneWindowAdopted;
    flags = served.flags;
    RemoveDesktopFrame(window);
    RECT target = TargetRect(flags);
    SetWindowPos(window, nullptr, target.left, target.top, target.right - target.left,
                 target.bottom - target.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CallWhenFirstShown(HWND window, void (*onFirstShown)(HWND)) {
    Serve(window).onFirstShown = onFirstShown;
}

size_t ShellWindowCount() {
    return t_served.size();
}
