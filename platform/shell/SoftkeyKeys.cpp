#include "platform/shell/SoftkeyBar.h"

// The device's softkeys are hardware keys; desktop keyboards give F1 and F2 for them. A
// message hook of the thread sees them before any window or dialog does, whichever control
// has the focus, and hands them to the bar of the window they were meant for.
namespace {

thread_local HHOOK t_keyHook = nullptr;
thread_local int t_barsOnThread = 0;

bool IsFirstPress(const MSG& msg) {
    constexpr LPARAM kWasDown = LPARAM(1) << 30;
    return msg.message == WM_KEYDOWN && (msg.wParam == VK_F1 || msg.wParam == VK_F2) &&
           (msg.lParam & kWasDown) == 0;
}

LRESULT CALLBACK SoftkeyKeyHook(int code, WPARAM removal, LPARAM lParam) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE && IsFirstPress(*msg)) {
        HWND bar = SoftkeyBarOf(msg->hwnd ? msg->hwnd : GetActiveWindow());
        if (bar) {
            if (SoftkeyMenuOpen(bar))
                EndMenu();
            else
                PostMessageW(bar, WM_PRESS_SOFTKEY,
                             msg->wParam == VK_F1 ? LeftSoftkey : RightSoftkey, 0);
            msg->message = WM_NULL;
        }
    }
    return CallNextHookEx(t_keyHook, code, removal, lParam);
}

} // namespace

void HoldSoftkeyKeys() {
    if (t_barsOnThread++ == 0)
        t_keyHook = SetWindowsHookExW(WH_GETMESSAGE, SoftkeyKeyHook, nullptr, GetCurrentThreadId());
}

void ReleaseSoftkeyKeys() {
    if (--t_barsOnThread == 0 && t_keyHook) {
        UnhookWindowsHookEx(t_keyHook);
        t_keyHook = nullptr;
    }
}
