#include "engine/ClockWatch.h"

#include "ui/model/ScheduleTypes.h"

namespace {

const wchar_t kClockWindowClass[] = L"DozaraEngineClock";
// Waits end a little early or late and the tick count is coarse; only a larger step of the
// local clock against the ticks is a change.
constexpr int64_t kToleranceTicks = 2 * static_cast<int64_t>(kTicksPerSecond);

} // namespace

ClockWatch::~ClockWatch() {
    if (window) DestroyWindow(window);
}

bool ClockWatch::Start(HINSTANCE instance, uint64_t localNow) {
    Rebase(localNow);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClockWindowClass;
    RegisterClassW(&windowClass);
    window = CreateWindowExW(WS_EX_TOOLWINDOW, kClockWindowClass, L"", WS_POPUP, 0, 0, 0, 0,
                             nullptr, nullptr, instance, nullptr);
    if (!window) return false;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

LRESULT CALLBACK ClockWatch::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMECHANGE) {
        if (auto* watch = reinterpret_cast<ClockWatch*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            watch->announced = true;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void ClockWatch::PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

void ClockWatch::Rebase(uint64_t localNow) {
    baseLocal = localNow;
    baseTickMs = GetTickCount64();
}

bool ClockWatch::Changed(uint64_t localNow, int64_t& shift) {
    const uint64_t expected = baseLocal + (GetTickCount64() - baseTickMs) * kTicksPerMs;
    shift = static_cast<int64_t>(localNow - expected);
    const bool stepped = shift > kToleranceTicks || shift < -kToleranceTicks;
    if (!stepped) shift = 0;
    const bool changed = stepped || announced;
    announced = false;
    Rebase(localNow);
    return changed;
}
