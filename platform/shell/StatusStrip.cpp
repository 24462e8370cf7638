#include "platform/shell/PhoneScreen.h"
#include <string>

// The slim strip at the top of the phone screen: the simulated phone's radio and Bluetooth
// state at the left, the time at the right. It never takes the activation and repaints
// itself every few seconds, which is all a clock and two states need.
namespace {

constexpr wchar_t StripClass[] = L"DzPhoneStatus";
constexpr UINT_PTR RefreshTimer = 1;
constexpr UINT RefreshMilliseconds = 5000;

HWND strip = nullptr;

std::wstring RadioText() {
    return L"Radio --";
}
std::wstring BluetoothText() {
    return L"BT --";
}

std::wstring TimeText() {
    wchar_t text[32] = L"";
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, text,
                    ARRAYSIZE(text));
    return text;
}

void PaintContent(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    HBRUSH background = CreateSolidBrush(PhoneChromeColor);
    FillRect(dc, &client, background);
    DeleteObject(background);
    RECT edge{client.left, client.bottom - 1, client.right, client.bottom};
    HBRUSH edgeBrush = CreateSolidBrush(PhoneChromeEdgeColor);
    FillRect(dc, &edge, edgeBrush);
    DeleteObject(edgeBrush);

    HFONT font = MakeShellFont(12, true);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, PhoneChromeTextColor);
    RECT text{client.left + 5, client.top, client.right - 5, client.bottom - 1};
    std::wstring states = RadioText() + L"   " + BluetoothText();
    DrawTextW(dc, states.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    DrawTextW(dc, TimeText().c_str(), -1, &text,
              DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

LRESULT CALLBACK StatusStripProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        PaintContent(window, dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_PRINTCLIENT: PaintContent(window, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_TIMER: InvalidateRect(window, nullptr, FALSE); return 0;
    case WM_DESTROY:
        KillTimer(window, RefreshTimer);
        if (strip == window) strip = nullptr;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

void EnsureStatusStrip() {
    if (strip && IsWindow(strip)) return;
    WNDCLASSW existing;
    if (!GetClassInfoW(ShellModule(), StripClass, &existing)) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = StatusStripProc;
        windowClass.hInstance = ShellModule();
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = StripClass;
        if (!RegisterClassW(&windowClass)) return;
    }
    RECT area = StatusStripRect();
    strip = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, StripClass, L"",
                            WS_POPUP | WS_VISIBLE, area.left, area.top, area.right - area.left,
                            area.bottom - area.top, nullptr, nullptr, ShellModule(), nullptr);
    if (strip) SetTimer(strip, RefreshTimer, RefreshMilliseconds, nullptr);
}
