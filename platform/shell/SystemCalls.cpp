#include "platform/shell/PhoneScreen.h"
#include "platform/shell/SmartphoneShell.h"
#include <shlobj.h>
// shlobj.h maps the name onto the wide function; here it names our own wrapper.
#undef SHGetSpecialFolderPath

BOOL EventModify(HANDLE event, DWORD function) {
    switch (function) {
    case EVENT_SET: return SetEvent(event);
    case EVENT_RESET: return ResetEvent(event);
    case EVENT_PULSE: return PulseEvent(event);
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

// Desktop windows keep the windows they own above themselves, so the plain handle brings both.
BOOL PhoneSetForegroundWindow(HWND handle) {
    const auto bits = reinterpret_cast<ULONG_PTR>(handle) & ~ULONG_PTR(1);
    return SetForegroundWindow(reinterpret_cast<HWND>(bits));
}

// A program asks for its folders before it has any window, and may have to tell the user of a
// failure then: that message box belongs on the phone too.
BOOL SHGetSpecialFolderPath(HWND owner, LPWSTR path, int folder, BOOL create) {
    PlaceMessageBoxesOnPhone();
    return SHGetSpecialFolderPathW(owner, path, folder, create);
}
