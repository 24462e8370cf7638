#include "platform/shell/DialogScroller.h"

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr UINT_PTR kScrollerSubclassId = 0x5343;
constexpr UINT kBringIntoView = WM_APP + 0x5C1;
constexpr int kLinePixels = 16;

HWND g_scrolledDialog = nullptr; // one editor runs at a time
HHOOK g_focusHook = nullptr;

SCROLLINFO ScrollInfo(UINT mask) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    return info;
}

int ClientHeight(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    return client.bottom - client.top;
}

// Moves the content so that it is scrolled up by position (clamped to the range).
void ScrollTo(HWND dialog, int position) {
    SCROLLINFO info = ScrollInfo(SIF_RANGE | SIF_PAGE | SIF_POS);
    GetScrollInfo(dialog, SB_VERT, &info);
    int last = std::max(0, info.nMax - static_cast<int>(info.nPage) + 1);
    position = std::clamp(position, 0, last);
    if (position == info.nPos) return;
    ScrollWindowEx(dialog, 0, info.nPos - position, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    SetScrollPos(dialog, SB_VERT, position, TRUE);
}

void OnVScroll(HWND dialog, WPARAM request) {
    SCROLLINFO info = ScrollInfo(SIF_ALL);
    GetScrollInfo(dialog, SB_VERT, &info);
    int position = info.nPos;
    switch (LOWORD(request)) {
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = info.nMax; break;
    case SB_LINEUP: position -= kLinePixels; break;
    case SB_LINEDOWN: position += kLinePixels; break;
    case SB_PAGEUP: position -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: position += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    }
    ScrollTo(dialog, position);
}

// A focused control that lies partly outside the client area is scrolled into it, with one
// control height of room so the label above a field comes along. When the rest of the content
// below it fits on the screen together with it, the rest comes along too: no key can focus
// what is written under the last field (the editor's two-line next-run line), so it must show
// with that field.
void BringIntoView(HWND dialog, HWND control) {
    if (!IsWindow(control) || !IsChild(dialog, control)) return;
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    int room = rect.bottom - rect.top;
    int position = DialogScrollPosition(dialog);
    SCROLLINFO info = ScrollInfo(SIF_RANGE);
    GetScrollInfo(dialog, SB_VERT, &info);
    const int contentEnd = info.nMax + 1 - position; // in client coordinates
    int bottom = rect.bottom + room;
    if (contentEnd - (rect.top - room) <= ClientHeight(dialog))
        bottom = std::max(bottom, contentEnd);
    if (rect.top - room < 0) {
        ScrollTo(dialog, position + rect.top - room);
    } else if (bottom > ClientHeight(dialog)) {
        ScrollTo(dialog, position + bottom - ClientHeight(dialog));
    }
}

LRESULT CALLBACK FocusHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SETFOCUS && g_scrolledDialog &&
        IsChild(g_scrolledDialog, reinterpret_cast<HWND>(wParam)))
        PostMessageW(g_scrolledDialog, kBringIntoView, wParam, 0);
    return CallNextHookEx(g_focusHook, code, wParam, lParam);
}

LRESULT CALLBACK ScrollerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                              DWORD_PTR) {
    switch (message) {
    case WM_VSCROLL: OnVScroll(dialog, wParam); return 0;
    case WM_MOUSEWHEEL:
        ScrollTo(dialog, DialogScrollPosition(dialog) -
                             GET_WHEEL_DELTA_WPARAM(wParam) * 3 * kLinePixels / WHEEL_DELTA);
        return 0;
    case kBringIntoView: BringIntoView(dialog, reinterpret_cast<HWND>(wParam)); return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(dialog, ScrollerProc, id);
        if (dialog == g_scrolledDialog) {
            UnhookWindowsHookEx(g_focusHook);
            g_focusHook = nullptr;
            g_scrolledDialog = nullptr;
        }
        break;
    }
    return DefSubclassProc(dialog, message, wParam, lParam);
}

struct ContentBottom {
    HWND dialog;
    int bottom; // in client coordinates
};

// Layout may run before the dialog is shown, so a control counts by its own visible style.
BOOL CALLBACK ExtendToChild(HWND child, LPARAM data) {
    auto* content = reinterpret_cast<ContentBottom*>(data);
    if (GetParent(child) != content->dialog || !(GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE))
        return TRUE;
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, content->dialog, reinterpret_cast<POINT*>(&rect), 2);
    content->bottom = std::max(content->bottom, static_cast<int>(rect.bottom));
    return TRUE;
}

} // namespace

void AttachDialogScroller(HWND dialog) {
    SetWindowSubclass(dialog, ScrollerProc, kScrollerSubclassId, 0);
    if (!g_focusHook)
        g_focusHook = SetWindowsHookExW(WH_CBT, FocusHook, nullptr, GetCurrentThreadId());
    g_scrolledDialog = dialog;
}

void UpdateDialogScrollRange(HWND dialog) {
    const int before = DialogScrollPosition(dialog);
    ContentBottom content{dialog, 0};
    EnumChildWindows(dialog, ExtendToChild, reinterpret_cast<LPARAM>(&content));
    const int contentHeight = content.bottom + before + kLinePixels / 2;
    const int page = ClientHeight(dialog);
    SCROLLINFO info = ScrollInfo(SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL);
    info.nMin = 0;
    info.nMax = contentHeight - 1;
    info.nPage = static_cast<UINT>(page);
    // Shorter content may no longer reach down to the old position: the controls follow.
    info.nPos = std::clamp(before, 0, std::max(0, contentHeight - page));
    SetScrollInfo(dialog, SB_VERT, &info, TRUE);
    if (info.nPos != before)
        ScrollWindowEx(dialog, 0, before - info.nPos, nullptr, nullptr, nullptr, nullptr,
                       SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

int DialogScrollPosition(HWND dialog) {
    SCROLLINFO info = ScrollInfo(SIF_POS);
    return GetScrollInfo(dialog, SB_VERT, &info) ? info.nPos : 0;
}
