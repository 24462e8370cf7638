#include "platform/shell/SoftkeyCaptions.h"

#include "platform/shell/SmartphoneShell.h"

HWND CreateSoftkeyBar(HWND owner, UINT menu, HINSTANCE resources) {
    SHMENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    bar.hwndParent = owner;
    bar.dwFlags = SHCMBF_HMENU;
    bar.nToolBarId = menu;
    bar.hInstRes = resources;
    return SHCreateMenuBar(&bar) ? bar.hwndMB : nullptr;
}

bool SetSoftkeyCaption(HWND bar, UINT command, const wchar_t* text) {
    TBBUTTONINFOW button{};
    button.cbSize = sizeof button;
    button.dwMask = TBIF_TEXT;
    button.pszText = const_cast<wchar_t*>(text);
    return SendMessageW(bar, TB_SETBUTTONINFOW, command, reinterpret_cast<LPARAM>(&button)) != 0;
}
