#include "platform/shell/DialogKeys.h"
#include "platform/shell/PhoneScreen.h"
#include "platform/shell/PhoneWindow.h"
#include "platform/shell/SmartphoneShell.h"

// A full-screen dialog covers the work area like the main window, with its title in a
// header strip at the top, as the device shows it, and takes the phone's keys as the device's
// dialogs do. There is no input panel to lower.
BOOL SHInitDialog(SHINITDLGINFO* info) {
    if (!info || !IsWindow(info->hDlg)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    PlaceMessageBoxesOnPhone();
    if (!(info->dwMask & SHIDIM_FLAGS)) return TRUE;
    DWORD sizing = SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR;
    if (info->dwFlags & sizing) {
        DWORD_PTR flags = PhoneWindowHeader;
        if (info->dwFlags & SHIDIF_FULLSCREENNOMENUBAR) flags |= PhoneWindowNoBar;
        AdoptPhoneWindow(info->hDlg, flags);
        EnsureStatusStrip();
        AttachDialogKeys(info->hDlg);
    }
    return TRUE;
}
