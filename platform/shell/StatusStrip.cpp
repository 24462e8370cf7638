#include "platform/device/DeviceState.h"
#include "platform/device/PhoneApi.h"
#include "platform/shell/PhoneScreen.h"
#include "platform/shell/StatusStripTexts.h"
#include <string>

// The slim strip at the top of the phone screen: the simulated phone's radio and Bluetooth
// state at the left, the time at the right. It never takes the activation and repaints
// itself every few seconds, which is all a clock and two states need.
namespace {

constexpr wchar_t StripClass[] = L"DzPhoneStatus";
constexpr UINT_PTR RefreshTimer = 1;
constexpr UINT RefreshMilliseconds = 5000;

HWND strip = nullptr;
StatusStripTexts texts = {L"Radio on", L"Radio off", L"Radio part", L"Radio --",
                          L"BT off",   L"BT on",     L"BT visible", L"BT --"};

const wchar_t* RadioText(const DeviceStatus& status) {
    switch (status.equipmentState) {
    case LINEEQUIPSTATE_FULL: return texts.radioOn;
    case LINEEQUIPSTATE_MINIMUM: return texts.radioOff;
    default: return texts.radioPart;
    }
}

const wchar_t* BluetoothText(const DeviceStatus& status) {
    switch (status.bluetoothMode) {
    case BTH_POWER_OFF: return texts.bluetoothOff;
    case BTH_CONNECTABLE: return texts.bluetoothOn;
    case BTH_DISCOVERABLE: return texts.bluetoothVisible;
    default: return texts.bluetoothUnknown;
    }
}

// The simulated phone's state, read afresh at every paint.
std::wstring StatesText() {
    DeviceStatus status{};
    if (!ReadDeviceStatus(status))
        return std::wstring(texts.radioUnknown) + L"   " + texts.bluetoothUnknown;
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
    FillColor(dc, client, PhoneChromeColor);
    FillColor(dc, {client.left, client.bottom - 1, client.right, client.bottom},
              PhoneChromeEdgeColor);

    HFONT font = MakeShellFont(12, true);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, PhoneChromeTextColor);
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

void SetStatusStripTexts(const StatusStripTexts& newTexts) {
    texts = newTexts;
    if (strip) InvalidateRect(strip, nullptr, FALSE);
}

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
