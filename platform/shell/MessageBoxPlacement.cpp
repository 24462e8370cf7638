#include "platform/shell/PhoneScreen.h"
#include "platform/shell/PhoneWindow.h"
#include "platform/shell/SmartphoneShell.h"
#include <cwchar>

// On the phone a message box opens on the phone screen; the desktop would centre it on the
// whole display, far from the phone. A CBT hook of the thread sees every dialog as it is
// created and watches it until it is first shown: by then a message box has its size and its
// desktop place, and it is moved onto the phone before anything of it is drawn. Waiting for
// its activation instead would miss a box that comes up while another program is in front.
namespace {

thread_local HHOOK t_placementHook = nullptr;

bool IsDialog(HWND window) {
    wchar_t className[16] = L"";
    GetClassNameW(window, className, ARRAYSIZE(className));
    return wcscmp(className, L"#32770") == 0;
}

// A message box is a dialog whose procedure is the system's own, in user32: a program's
// dialogs have their procedures in the program. The text's static control (id 0xFFFF) alone
// would not tell them apart, since every unnamed label of a dialog template has that id too.
bool IsMessageBox(HWND window) {
    auto procedure = reinterpret_cast<LPCWSTR>(GetWindowLongPtrW(window, DWLP_DLGPROC));
    HMODULE owner = nullptr;
    if (!procedure || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                          procedure, &owner))
        return false;
    return owner == GetModuleHandleW(L"user32.dll");
}

// Centred on the work area; a side longer than the phone's starts at the phone's edge, so
// the box's beginning (its caption, the start of its lines) stays on the phone.
int PlaceOnPhone(int length, int areaStart, int areaEnd, int screenStart, int screenEnd) {
    if (length >= screenEnd - screenStart) return screenStart;
    int start = areaStart + (areaEnd - areaStart - length) / 2;
    if (start < screenStart) return screenStart;
    if (start + length > screenEnd) return screenEnd - length;
    return start;
}

void MoveOntoPhone(HWND box) {
    RECT bounds;
    if (!GetWindowRect(box, &bounds)) return;
    RECT area = PhoneWorkArea();
    RECT screen = PhoneScreenRect();
    int x =
        PlaceOnPhone(bounds.right - bounds.left, area.left, area.right, screen.left, screen.right);
    int y =
        PlaceOnPhone(bounds.bottom - bounds.top, area.top, area.bottom, screen.top, screen.bottom);
    if (x != bounds.left || y != bounds.top)
        SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceWhenShown(HWND window) {
    if (IsMessageBox(window)) MoveOntoPhone(window);
}

LRESULT CALLBACK PlacementHook(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && IsDialog(window)) CallWhenFirstShown(window, PlaceWhenShown);
    return CallNextHookEx(t_placementHook, code, wParam, lParam);
}

} // namespace

void PlaceMessageBoxesOnPhone() {
    if (!t_placementHook)
        t_placementHook = SetWindowsHookExW(WH_CBT, PlacementHook, nullptr, GetCurrentThreadId());
}

// On the device every message box of a program opens on the phone screen, also the first one,
// which may come before the program calls anything of the shell (a missing text file). The
// process's first thread, which runs the program's windows, places its boxes from the start.
static const bool g_firstThreadPlaces = (PlaceMessageBoxesOnPhone(), true);
