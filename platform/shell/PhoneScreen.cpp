#include "platform/shell/PhoneScreen.h"
#include "platform/shell/SmartphoneShell.h"

// The phone screen sits at a fixed place, the top-left corner of the desktop, so that
// screenshots and tests always find it at the same pixels.
RECT PhoneScreenRect() {
    return RECT{0, 0, kPhoneScreenWidth, kPhoneScreenHeight};
}

RECT PhoneWorkArea() {
    RECT screen = PhoneScreenRect();
    return RECT{screen.left, screen.top + kStatusStripHeight, screen.right,
                screen.bottom - kSoftkeyBarHeight};
}

RECT StatusStripRect() {
    RECT screen = PhoneScreenRect();
    return RECT{screen.left, screen.top, screen.right, screen.top + kStatusStripHeight};
}

RECT SoftkeyBarRect() {
    RECT screen = PhoneScreenRect();
    return RECT{screen.left, screen.bottom - kSoftkeyBarHeight, screen.right, screen.bottom};
}

HINSTANCE ShellModule() {
    return GetModuleHandleW(nullptr);
}

bool HasWindowClass(HWND window, const wchar_t* name) {
    wchar_t className[64];
    return GetClassNameW(window, className, ARRAYSIZE(className)) &&
           lstrcmpiW(className, name) == 0;
}

void FillColor(HDC dc, const RECT& area, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

HFONT MakeShellFont(int pixelHeight, bool bold, bool italic) {
    return CreateFontW(-pixelHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}
