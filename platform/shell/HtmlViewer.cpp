#include "platform/shell/SmartphoneShell.h"

static LRESULT CALLBACK HtmlViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == DTM_NAVIGATE) return FALSE;
    return DefWindowProcW(window, message, wParam, lParam);
}

BOOL InitHTMLControl(HINSTANCE instance) {
    WNDCLASSW existing;
    if (GetClassInfoW(instance, DISPLAYCLASS, &existing)) return TRUE;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = HtmlViewerProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = DISPLAYCLASS;
    return RegisterClassW(&windowClass) != 0;
}
