#include "platform/shell/SpinnerList.h"

#include <commctrl.h>

#include <string>

#include "platform/shell/PaintThrough.h"
#include "platform/shell/PhoneScreen.h"

namespace {

constexpr UINT_PTR kSpinnerSubclassId = 0x5350;
constexpr int kTextMargin = 2;

void NotifySelectionChange(HWND list) {
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

// One step through the items, wrapping around; from no selection the first step lands on the
// first item (forward) or the last (backward).
void Step(HWND list, int delta) {
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    if (count <= 0) return;
    int current = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
    int next = current < 0 ? (delta > 0 ? 0 : count - 1) : (current + delta + count) % count;
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(next), 0);
    NotifySelectionChange(list);
}

// The box shows its item in the selection colour only while it has the focus, so the user
// sees where the focus is; a text too long for the box ends with an ellipsis.
void PaintContent(HWND list, HDC dc) {
    RECT client;
    GetClientRect(list, &client);
    const bool focused = GetFocus() == list;
    FillRect(dc, &client, GetSysColorBrush(focused ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    const LRESULT length = selected < 0 ? LB_ERR : SendMessageW(list, LB_GETTEXTLEN, selected, 0);
    if (length <= 0) return;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, selected, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(!IsWindowEnabled(list) ? COLOR_GRAYTEXT
                                 : focused              ? COLOR_HIGHLIGHTTEXT
                                                        : COLOR_WINDOWTEXT));
    RECT textRect = client;
    InflateRect(&textRect, -kTextMargin, 0);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
}

LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                          DWORD_PTR) {
    if (PaintThrough(list, message, wParam, PaintContent)) return 0;
    switch (message) {
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_LEFT: Step(list, -1); return 0;
        case VK_RIGHT: Step(list, 1); return 0;
        }
        break;
    case WM_ERASEBKGND: return 1; // the paint fills the whole box
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE: {
        const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
        InvalidateRect(list, nullptr, FALSE);
        return result;
    }
    case WM_NCDESTROY: RemoveWindowSubclass(list, ListProc, id); break;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

// The arrows step from the list's own selection over exactly its items; a step that changed
// the selection is told to the dialog.
LRESULT CALLBACK ArrowsProc(HWND arrows, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                            DWORD_PTR listHandle) {
    HWND list = reinterpret_cast<HWND>(listHandle);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(arrows, ArrowsProc, id);
        return DefSubclassProc(arrows, message, wParam, lParam);
    }
    LRESULT before = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (message == WM_LBUTTONDOWN) {
        LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        DefSubclassProc(arrows, UDM_SETRANGE32, 0, count > 0 ? count - 1 : 0);
        if (before >= 0) DefSubclassProc(arrows, UDM_SETPOS32, 0, before);
    }
    LRESULT result = DefSubclassProc(arrows, message, wParam, lParam);
    if (SendMessageW(list, LB_GETCURSEL, 0, 0) != before) NotifySelectionChange(list);
    return result;
}

BOOL CALLBACK AttachOne(HWND child, LPARAM) {
    if (!HasWindowClass(child, UPDOWN_CLASSW)) return TRUE;
    HWND buddy = reinterpret_cast<HWND>(SendMessageW(child, UDM_GETBUDDY, 0, 0));
    if (!buddy || !HasWindowClass(buddy, L"ListBox")) return TRUE;
    // One item fills the box, so no part of the next one shows below it.
    RECT client;
    GetClientRect(buddy, &client);
    if (client.bottom > 0) SendMessageW(buddy, LB_SETITEMHEIGHT, 0, client.bottom);
    SetWindowSubclass(buddy, ListProc, kSpinnerSubclassId, 0);
    SetWindowSubclass(child, ArrowsProc, kSpinnerSubclassId, reinterpret_cast<DWORD_PTR>(buddy));
    return TRUE;
}

} // namespace

void AttachSpinnerLists(HWND dialog) {
    EnumChildWindows(dialog, AttachOne, 0);
}
