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

BOOL SHGetSpecialFolderPath(HWND owner, LPWSTR path, int folder, BOOL create) {
    return SHGetSpecialFolderPathW(owner, path, folder, create);
}
