#pragma once
// Noticing that the local clock moved other than by the passing of time: the clock was set,
// the time zone changed, daylight saving began or ended.
//
// Two sources. Windows announces a change by broadcasting WM_TIMECHANGE to top-level windows
// (a message-only window would never see it), so the watch keeps a hidden one. Wine announces
// nothing when the host clock is set, so the watch also compares the local clock with the tick
// count at every wake of the engine; the engine wakes at least once a minute while an entry
// waits, which bounds how late it notices.
//
// The hidden window lives on a thread of its own. The first window of a fresh Wine session
// starts the desktop, which has been seen to stall for about ten seconds; on its own thread
// that stall holds up neither the ready signal nor refreshes nor firings.
#include <cstdint>
#include <functional>
#include <memory>

#include <windows.h>

class ClockWatch {
  public:
    ~ClockWatch();
    // Starts the window's thread and returns at once; false when the thread cannot start (the
    // comparison works all the same). noWindow is called on that thread, with the error, when
    // the window cannot be made; never after the watch is destroyed.
    bool Start(HINSTANCE instance, uint64_t localNow, std::function<void(DWORD error)> noWindow);
    // Takes the wake-up messages that an announcement posts to the engine's thread.
    void PumpMessages();
    // Whether the clock changed since the last call, and by how much (ticks of 100 ns, the
    // local clock against the time that passed; 0 when only announced).
    bool Changed(uint64_t localNow, int64_t& shift);

    struct Shared; // what the window's thread and the watch both hold

  private:
    void Rebase(uint64_t localNow);

    std::shared_ptr<Shared> shared;
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    uint64_t baseLocal = 0;
    ULONGLONG baseTickMs = 0;
};
