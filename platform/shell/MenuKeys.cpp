#include "platform/shell/MenuKeys.h"

// The menu's modal loop hands every message to the thread's message filters before it acts
// on it: Up and Down are answered here and never reach the loop's own stepping.
namespace {

thread_local HHOOK t_filter = nullptr;
thread_local HWND t_owner = nullptr;
thread_local HMENU t_popup = nullptr;

bool Choosable(HMENU menu, int index) {
    const UINT state = GetMenuState(menu, static_cast<UINT>(index), MF_BYPOSITION);
    return state != static_cast<UINT>(-1) &&
           (state & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)) == 0;
}

int HighlightedItem(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int index = 0; index < count; ++index)
        if (GetMenuState(menu, static_cast<UINT>(index), MF_BYPOSITION) & MF_HILITE) return index;
    return -1;
}

LRESULT CALLBACK MenuKeyFilter(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_MENU && msg->message == WM_KEYDOWN &&
        (msg->wParam == VK_UP || msg->wParam == VK_DOWN)) {
        const int next =
            NextChoosableItem(t_popup, HighlightedItem(t_popup), msg->wParam == VK_DOWN);
        if (next >= 0)
            HiliteMenuItem(t_owner, t_popup, static_cast<UINT>(next), MF_BYPOSITION | MF_HILITE);
        return TRUE; // with nothing to choose the highlight stays where it is
    }
    return CallNextHookEx(t_filter, code, wParam, lParam);
}

} // namespace

int NextChoosableItem(HMENU menu, int from, bool down) {
    const int count = GetMenuItemCount(menu);
    for (int step = 1; step <= count; ++step) {
        const int index = from < 0 ? (down ? step - 1 : count - step)
                                   : (from + (down ? step : count - step)) % count;
        if (Choosable(menu, index)) return index;
    }
    return -1;
}

MenuKeysScope::MenuKeysScope(HWND owner, HMENU popup) {
    t_owner = owner;
    t_popup = popup;
    if (!t_filter)
        t_filter = SetWindowsHookExW(WH_MSGFILTER, MenuKeyFilter, nullptr, GetCurrentThreadId());
}

MenuKeysScope::~MenuKeysScope() {
    if (t_filter) UnhookWindowsHookEx(t_filter);
    t_filter = nullptr;
    t_owner = nullptr;
    t_popup = nullptr;
}
