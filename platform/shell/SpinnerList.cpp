#include "platform/shell/SpinnerList.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kSpinnerSubclassId = 0x5350;

bool HasClass(HWND window, const wchar_t* name) {
    wchar_t className[32];
    return GetClassNameW(window, className, ARRAYSIZE(className)) &&
           lstrcmpiW(className, name) == 0;
}

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

LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                          DWORD_PTR) {
    switch (message) {
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_LEFT: Step(list, -1); return 0;
        case VK_RIGHT: Step(list, 1); return 0;
        case VK_UP:
        case VK_DOWN:
            SendMessageW(GetParent(list), WM_NEXTDLGCTL, wParam == VK_UP, FALSE);
            return 0;
        }
        break;
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
    if (!HasClass(child, UPDOWN_CLASSW)) return TRUE;
    HWND buddy = reinterpret_cast<HWND>(SendMessageW(child, UDM_GETBUDDY, 0, 0));
    if (!buddy || !HasClass(buddy, L"ListBox")) return TRUE;
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
