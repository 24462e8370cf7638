#include "platform/shell/DialogKeys.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/shell/PhoneScreen.h"
#include "platform/shell/PickerKeys.h"

namespace {

// A message hook of the thread sees the keys before the dialog manager turns Return into the
// default button and the arrows into moves through a group. It stays for the thread's life.
thread_local HHOOK t_keyHook = nullptr;
thread_local std::vector<HWND> t_dialogs;

constexpr UINT_PTR kColorSubclassId = 0x4443;

enum class Field { None, List, Button, Picker };

// The controls that the phone's keys move between; any other control (a viewer, a label)
// keeps the keys it asks for.
Field FieldOf(HWND control) {
    if (HasWindowClass(control, L"ListBox")) return Field::List;
    if (HasWindowClass(control, L"Button")) {
        const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
        return type == BS_GROUPBOX ? Field::None : Field::Button;
    }
    if (HasWindowClass(control, DATETIMEPICK_CLASSW)) return Field::Picker;
    return Field::None;
}

int TopOf(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    return rect.top;
}

int LeftOf(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    return rect.left;
}

// The dialog's input controls in the order they stand on the screen.
std::vector<HWND> FocusStops(HWND dialog) {
    std::vector<HWND> stops;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child) && IsWindowEnabled(child) && FieldOf(child) != Field::None)
            stops.push_back(child);
    std::stable_sort(stops.begin(), stops.end(), [](HWND a, HWND b) {
        const int aTop = TopOf(a), bTop = TopOf(b);
        return aTop != bTop ? aTop < bTop : LeftOf(a) < LeftOf(b);
    });
    return stops;
}

// From a window that is no stop (the dialog itself) the first step lands on the first stop
// (forward) or the last (backward).
void MoveFocus(HWND dialog, HWND from, bool forward) {
    const std::vector<HWND> stops = FocusStops(dialog);
    if (stops.empty()) return;
    const int count = static_cast<int>(stops.size());
    const auto found = std::find(stops.begin(), stops.end(), from);
    int next = forward ? 0 : count - 1;
    if (found != stops.end()) {
        const int index = static_cast<int>(found - stops.begin());
        next = (index + (forward ? 1 : count - 1)) % count;
    }
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(stops[next]), TRUE);
    // A box draws its colours anew only when its state changes.
    if (from != dialog) InvalidateRect(from, nullptr, TRUE);
    InvalidateRect(stops[next], nullptr, TRUE);
}

// True when the key was handled here and goes no further.
bool OnKey(HWND dialog, HWND focus, WPARAM key) {
    const Field field = focus == dialog ? Field::None : FieldOf(focus);
    const bool adjusting = PickerAdjusting(focus);
    switch (key) {
    case VK_UP:
    case VK_DOWN:
        if (adjusting || (field == Field::None && focus != dialog)) return false;
        MoveFocus(dialog, focus, key == VK_DOWN);
        return true;
    case VK_LEFT:
    case VK_RIGHT: return field == Field::Button || focus == dialog;
    case VK_RETURN:
        // A control of the program's own that asks for the action key (a list that it closes)
        // gets it.
        if (field == Field::None && focus != dialog &&
            (SendMessageW(focus, WM_GETDLGCODE, VK_RETURN, 0) & DLGC_WANTMESSAGE))
            return false;
        if (field == Field::Button) SendMessageW(focus, BM_CLICK, 0, 0);
        if (field == Field::Picker) SetPickerAdjusting(focus, !adjusting);
        return true;
    case VK_ESCAPE:
        if (!adjusting) return false;
        SetPickerAdjusting(focus, false);
        return true;
    }
    return false;
}

HWND FullScreenDialogOf(HWND window) {
    t_dialogs.erase(std::remove_if(t_dialogs.begin(), t_dialogs.end(),
                                   [](HWND dialog) { return !IsWindow(dialog); }),
                    t_dialogs.end());
    HWND root = GetAncestor(window, GA_ROOT);
    return std::find(t_dialogs.begin(), t_dialogs.end(), root) != t_dialogs.end() ? root : nullptr;
}

LRESULT CALLBACK DialogKeyHook(int code, WPARAM removal, LPARAM lParam) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE && msg->message == WM_KEYDOWN && msg->hwnd) {
        HWND dialog = FullScreenDialogOf(msg->hwnd);
        if (dialog && OnKey(dialog, msg->hwnd, msg->wParam)) msg->message = WM_NULL;
    }
    return CallNextHookEx(t_keyHook, code, removal, lParam);
}

// Only the focused control shows the selection colour, a check box too.
LRESULT CALLBACK DialogColorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR id, DWORD_PTR) {
    HWND control = reinterpret_cast<HWND>(lParam);
    if (message == WM_CTLCOLORSTATIC && control == GetFocus() &&
        FieldOf(control) == Field::Button) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(dialog, DialogColorProc, id);
    return DefSubclassProc(dialog, message, wParam, lParam);
}

} // namespace

void AttachDialogKeys(HWND dialog) {
    if (!t_keyHook)
        t_keyHook = SetWindowsHookExW(WH_GETMESSAGE, DialogKeyHook, nullptr, GetCurrentThreadId());
    if (FullScreenDialogOf(dialog)) return;
    t_dialogs.push_back(dialog);
    SetWindowSubclass(dialog, DialogColorProc, kColorSubclassId, 0);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (FieldOf(child) == Field::Picker) AttachPickerKeys(child);
}
