#pragma once
// Noticing that the local clock moved other than by the passing of time: the clock was set,
// the time zone changed, daylight saving began or ended.
//
// Two sources. Windows announces a change by broadcasting WM_TIMECHANGE to top-level windows
// (a message-only window would never see it), so the watch keeps a hidden one. Wine announces
// nothing when the host clock is set, so the watch also compares the local clock with the tick
// count at every wake of the engine; the engine wakes at least once a minute while an entry
// waits, which bounds how late it notices.
#include <cstdint>

#include <windows.h>

class ClockWatch {
  public:
    ~ClockWatch();
    // false when the hidden window could not be made; the comparison works all the same.
    bool Start(HINSTANCE instance, uint64_t localNow);
    // Dispatches the window's pending messages.
    void PumpMessages();
    // Whether the clock changed since the last call, and by how much (ticks of 100 ns, the
    // local clock against the time that passed; 0 when only announced).
    bool Changed(uint64_t localNow, int64_t& shift);

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Rebase(uint64_t localNow);

    HWND window = nullptr;
    bool announced = false;
    uint64_t baseLocal = 0;
    ULONGLONG baseTickMs = 0;
};
