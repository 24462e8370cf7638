#include "platform/device/DeviceState.h"
#include "platform/device/PhoneApi.h"
#include "platform/shell/PaintThrough.h"
#include "platform/shell/PhoneScreen.h"
#include "platform/shell/StatusStripTexts.h"
#include <string>

// The slim strip at the top of the phone screen: the simulated phone's radio and Bluetooth
// state at the left, the time at the right. It never takes the activation and repaints
// itself every few seconds, which is all a clock and two states need.
namespace {

constexpr wchar_t kStripClass[] = L"DzPhoneStatus";
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMilliseconds = 5000;

HWND g_strip = nullptr;
StatusStripTexts g_texts = {L"Radio on", L"Radio off", L"Radio part", L"Radio --",
                            L"BT off",   L"BT on",     L"BT visible", L"BT --"};

const wchar_t* RadioText(const DeviceStatus& status) {
    switch (status.equipmentState) {
    case LINEEQUIPSTATE_FULL: return g_texts.radioOn;
    case LINEEQUIPSTATE_MINIMUM: return g_texts.radioOff;
    default: return g_texts.radioPart;
    }
}

const wchar_t* BluetoothText(const DeviceStatus& status) {
    switch (status.bluetoothMode) {
    case BTH_POWER_OFF: return g_texts.bluetoothOff;
    case BTH_CONNECTABLE: return g_texts.bluetoothOn;
    case BTH_DISCOVERABLE: return g_texts.bluetoothVisible;
    default: return g_texts.bluetoothUnknown;
    }
}

// The simulated phone's state, read afresh at every paint.
std::wstring StatesText() {
    DeviceStatus status{};
    if (!ReadDeviceStatus(status))
        return std::wstring(g_texts.radioUnknown) + L"   " + g_texts.bluetoothUnknown;
    return std::wstring(RadioText(status)) + L"   " + BluetoothText(status);
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
    FillColor(dc, client, kPhoneChromeColor);
    FillColor(dc, {client.left, client.bottom - 1, client.right, client.bottom},
              kPhoneChromeEdgeColor);

    HFONT font = MakeShellFont(12, true);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kPhoneChromeTextColor);
    RECT text{client.left + 5, client.top, client.right - 5, client.bottom - 1};
    // The time keeps its place at the right; the states give way to it and end with "…".
    const std::wstring time = TimeText();
    RECT timeArea = text;
    DrawTextW(dc, time.c_str(), -1, &timeArea,
              DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    const int timeWidth = timeArea.right - timeArea.left;
    DrawTextW(dc, time.c_str(), -1, &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    RECT states{text.left, text.top, text.right - timeWidth - 6, text.bottom};
    DrawTextW(dc, StatesText().c_str(), -1, &states,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

LRESULT CALLBACK StatusStripProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (PaintThrough(window, message, wParam, PaintContent)) return 0;
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_TIMER: InvalidateRect(window, nullptr, FALSE); return 0;
    case WM_DESTROY:
        KillTimer(window, kRefreshTimer);
        if (g_strip == window) g_strip = nullptr;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

void SetStatusStripTexts(const StatusStripTexts& newTexts) {
    g_texts = newTexts;
    if (g_strip) InvalidateRect(g_strip, nullptr, FALSE);
}

void EnsureStatusStrip() {
    if (g_strip && IsWindow(g_strip)) return;
    WNDCLASSW existing;
    if (!GetClassInfoW(ShellModule(), kStripClass, &existing)) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = StatusStripProc;
        windowClass.hInstance = ShellModule();
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kStripClass;
        if (!RegisterClassW(&windowClass)) return;
    }
    RECT area = StatusStripRect();
    g_strip = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kStripClass, L"",
                              WS_POPUP | WS_VISIBLE, area.left, area.top, area.right - area.left,
                              area.bottom - area.top, nullptr, nullptr, ShellModule(), nullptr);
    if (g_strip) SetTimer(g_strip, kRefreshTimer, kRefreshMilliseconds, nullptr);
}
