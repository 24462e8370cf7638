#include "platform/shell/PhoneWindow.h"
#include "platform/shell/PhoneScreen.h"
#include "platform/shell/SmartphoneShell.h"
#include <vector>

namespace {

// The windows taken over on this thread, with the procedure each had before. Under Wine a
// window property, and so the common controls' subclass chain that is built on properties, is
// a round trip to the window server (about 40 us): the main window's procedure runs for every
// notification of its list, and a table of our own costs nothing.
struct AdoptedWindow {
    HWND window;
    WNDPROC previous;
    DWORD_PTR flags;
};
thread_local std::vector<AdoptedWindow> t_adopted;

AdoptedWindow* FindAdopted(HWND window) {
    for (AdoptedWindow& adopted : t_adopted)
        if (adopted.window == window) return &adopted;
    return nullptr;
}

RECT TargetRect(DWORD_PTR flags) {
    RECT area = PhoneWorkArea();
    if (flags & PhoneWindowNoBar) area.bottom = PhoneScreenRect().bottom;
    return area;
}

void PaintHeader(HWND window) {
    RECT bounds;
    GetWindowRect(window, &bounds);
    RECT header{0, 0, bounds.right - bounds.left, DialogHeaderHeight};
    wchar_t title[260];
    int length = GetWindowTextW(window, title, ARRAYSIZE(title));

    HDC dc = GetWindowDC(window);
    FillColor(dc, header, RGB(255, 255, 255));
    FillColor(dc, {header.left, header.bottom - 2, header.right, header.bottom},
              PhoneChromeEdgeColor);

    HFONT font = MakeShellFont(14, true);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, HeaderTextColor);
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
    client->top = (client->top + DialogHeaderHeight < client->bottom)
                      ? client->top + DialogHeaderHeight
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

LRESULT CALLBACK PhoneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const AdoptedWindow* adopted = FindAdopted(window);
    if (!adopted) return DefWindowProcW(window, message, wParam, lParam);
    // Copies: the table may grow while the previous procedure runs.
    const WNDPROC previous = adopted->previous;
    const DWORD_PTR flags = adopted->flags;
    const bool header = (flags & PhoneWindowHeader) != 0;
    switch (message) {
    case WM_WINDOWPOSCHANGING: PinPosition(reinterpret_cast<WINDOWPOS*>(lParam), flags); break;
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
        for (auto it = t_adopted.begin(); it != t_adopted.end(); ++it)
            if (it->window == window) {
                t_adopted.erase(it);
                break;
            }
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
    if (AdoptedWindow* adopted = FindAdopted(window)) {
        adopted->flags |= flags;
        flags = adopted->flags;
    } else {
        const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
        t_adopted.push_back({window, previous, flags});
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PhoneWindowProc));
    }
    RemoveDesktopFrame(window);
    RECT target = TargetRect(flags);
    SetWindowPos(window, nullptr, target.left, target.top, target.right - target.left,
                 target.bottom - target.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}
