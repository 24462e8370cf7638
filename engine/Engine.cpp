#include "engine/Engine.h"

#include <algorithm>
#include <memory>
#include <string>

#include "engine/ClockWatch.h"
#include "engine/EngineNames.h"
#include "engine/Firing.h"
#include "engine/FiringSeries.h"
#include "engine/Journal.h"
#include "engine/Registration.h"
#include "engine/FiringSchedule.h"
#include "contract/EngineContract.h"

namespace {

// While an entry waits the engine wakes at least this often, to notice a change of the clock
// that nobody announced (see ClockWatch.h). With nothing waiting it sleeps until signalled.
constexpr DWORD kLongestWaitMs = 60000;
// A file that exists but cannot be read (another program holds it without sharing) is read
// again after this, the wait doubling up to the longest; a 4 s hold is over by the fifth try.
constexpr DWORD kFirstRetryMs = 250;
constexpr DWORD kLongestRetryMs = 8000;

const char* StateName(LoadReport::State state) {
    switch (state) {
    case LoadReport::Missing: return "missing";
    case LoadReport::Refused: return "refused";
    case LoadReport::Whole: return "whole";
    case LoadReport::DamagedTail: return "damaged";
    case LoadReport::Unreadable: return "unreadable";
    }
    return "unknown";
}

DWORD WaitMs(uint64_t next, uint64_t now) {
    if (next == kNoInstant) return INFINITE;
    if (next <= now) return 0;
    // Rounded up: a wait that ends before the instant only costs one more short wait.
    const uint64_t ms = (next - now + kTicksPerMs - 1) / kTicksPerMs;
    return static_cast<DWORD>(std::min<uint64_t>(ms, kLongestWaitMs));
}

class Engine {
  public:
    explicit Engine(HINSTANCE instance) : instance(instance) {}
    ~Engine();
    int Run();

  private:
    bool FindFiles();
    bool MakeEvents();
    void Load();
    void RetryLoadWhenDue(uint64_t now);
    DWORD NextWaitMs(uint64_t now) const;
    void FireDue(uint64_t now);
    void Loop();

    HINSTANCE instance;
    Journal journal;
    ClockWatch clock;
    FiringSchedule schedule;
    FiringSeries series{journal}; // after the journal: it ends before the journal closes
    std::wstring storagePath;
    std::wstring libraryPath;
    HANDLE instanceMutex = nullptr;
    HANDLE stopEvent = nullptr;
    HANDLE readyEvent = nullptr;
    HANDLE refreshEvent = nullptr;
    DWORD retryMs = 0;    // while the file cannot be read: the wait before the next try
    uint64_t retryAt = 0; // and its instant
};

Engine::~Engine() {
    if (readyEvent) {
        // Whoever still holds the event must not take a stopped engine for a ready one.
        ResetEvent(readyEvent);
        CloseHandle(readyEvent);
    }
    if (refreshEvent) CloseHandle(refreshEvent);
    if (stopEvent) CloseHandle(stopEvent);
    if (instanceMutex) {
        ReleaseMutex(instanceMutex);
        CloseHandle(instanceMutex);
    }
}

bool Engine::FindFiles() {
    const std::wstring own = OwnFolder();
    const std::wstring registration = own + L"\\" DZ_ENGINE_REGISTRATION_FILE;
    std::wstring folder;
    const bool registered = ReadRegistration(registration, folder);
    if (!registered) {
        journal.Write("note registration \"%s\" missing or without %s; using the engine's folder",
                      Utf8(registration).c_str(), Utf8(DZ_REGISTRATION_PROGRAM_FOLDER).c_str());
        folder = own;
    }
    storagePath = folder + L"\\" DZ_STORAGE_FILE;
    libraryPath = folder + L"\\" DZ_CALLBACK_LIBRARY;
    journal.Write("start pid=%lu folder=\"%s\"", GetCurrentProcessId(), Utf8(folder).c_str());
    if (storagePath.size() >= MAX_PATH) {
        journal.Write("note the path of the entry file is too long: \"%s\"",
                      Utf8(storagePath).c_str());
        return false;
    }
    return true;
}

bool Engine::MakeEvents() {
    stopEvent = CreateEventW(nullptr, TRUE, FALSE, DZ_ENGINE_STOP_EVENT);
    // The program may have made the ready event already before launching us; then this opens
    // it. Manual reset: it stays set for every later look while the engine runs.
    readyEvent = CreateEventW(nullptr, TRUE, FALSE, DZ_ENGINE_READY_EVENT);
    refreshEvent = CreateEventW(nullptr, FALSE, FALSE, DZ_ENGINE_REFRESH_EVENT);
    if (stopEvent && readyEvent && refreshEvent) return true;
    journal.Write("note the named events could not be made (error %lu); the engine ends",
                  GetLastError());
    return false;
}

void Engine::Load() {
    LARGE_INTEGER frequency, started, finished;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&started);
    auto list = std::make_unique<DZList>();
    wcsncpy(list->path, storagePath.c_str(), MAX_PATH - 1);
    list->path[MAX_PATH - 1] = L'\0';
    list->Load();
    const LoadReport report = list->LastLoad();
    // A file that cannot be read now says nothing about the entries: the schedule stays as it
    // is until a read succeeds. Only a file that is gone empties it.
    const bool unreadable = report.state == LoadReport::Unreadable;
    const uint64_t now = ToTicks(LocalNow());
    if (unreadable) {
        retryMs = retryMs == 0 ? kFirstRetryMs : std::min(2 * retryMs, kLongestRetryMs);
        retryAt = now + retryMs * kTicksPerMs;
    } else {
        retryMs = 0;
        schedule.TakeUp(std::move(list), now);
    }
    QueryPerformanceCounter(&finished);
    const double ms = 1000.0 * static_cast<double>(finished.QuadPart - started.QuadPart) /
                      static_cast<double>(frequency.QuadPart);
    char detail[48] = "";
    if (report.state == LoadReport::DamagedTail)
        snprintf(detail, sizeof detail, " stopped-at=%ld", report.stoppedAt);
    if (unreadable) snprintf(detail, sizeof detail, " retry-ms=%lu", retryMs);
    journal.Write("load file=\"%s\" state=%s%s entries=%ld waiting=%lu ms=%.3f",
                  Utf8(storagePath).c_str(), StateName(report.state), detail, report.entries,
                  static_cast<unsigned long>(schedule.WaitingCount()), ms);
}

void Engine::RetryLoadWhenDue(uint64_t now) {
    if (retryMs != 0 && now >= retryAt) Load();
}

DWORD Engine::NextWaitMs(uint64_t now) const {
    const DWORD wait = WaitMs(schedule.NextInstant(), now);
    return retryMs == 0 ? wait : std::min(wait, WaitMs(retryAt, now));
}

void Engine::FireDue(uint64_t now) {
    series.Add(schedule.TakeDue(now));
}

void Engine::Loop() {
    const HANDLE signals[] = {stopEvent, refreshEvent};
    for (;;) {
        // The clock is read afresh after every wake: a wait ends a little early or late, and
        // the clock itself may have been set meanwhile.
        const uint64_t now = ToTicks(LocalNow());
        int64_t shift;
        if (clock.Changed(now, shift)) {
            journal.Write("clock changed by %+.3f s", static_cast<double>(shift) / kTicksPerSecond);
            schedule.ClockChanged(now);
        }
        RetryLoadWhenDue(now);
        FireDue(now);
        const DWORD wait = NextWaitMs(now);
        const DWORD woke =
            MsgWaitForMultipleObjectsEx(2, signals, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) return;
        if (woke == WAIT_OBJECT_0 + 1) {
            journal.Write("refresh");
            Load();
        } else if (woke == WAIT_OBJECT_0 + 2) {
            clock.PumpMessages();
        }
    }
}

int Engine::Run() {
    journal.Open(OwnFolder() + L"\\" DZ_ENGINE_JOURNAL_FILE);
    instanceMutex = CreateMutexW(nullptr, TRUE, DZ_ENGINE_INSTANCE_MUTEX);
    if (!instanceMutex || GetLastError() == ERROR_ALREADY_EXISTS) {
        // Leave everything to the engine that runs: its events, its file, its firings.
        journal.Write("second engine pid=%lu ends at once: another engine runs",
                      GetCurrentProcessId());
        if (instanceMutex) CloseHandle(instanceMutex);
        instanceMutex = nullptr;
        return kEngineExitAlreadyRunning;
    }
    const bool found = FindFiles();
    if (!MakeEvents()) return kEngineExitStartFailed;
    if (found && !series.Start(libraryPath)) {
        journal.Write("note no thread for the firings (error %lu); the engine ends",
                      GetLastError());
        return kEngineExitStartFailed;
    }
    // The refresh event exists before the first load: a save made meanwhile is either in this
    // load or signalled after it.
    if (found) Load();
    // Ready as soon as refreshes can be taken: nothing below may hold the signal up.
    SetEvent(readyEvent);
    const auto noWindow = [this](DWORD error) {
        journal.Write("note no window for time change messages (error %lu); the clock is "
                      "checked at every wake",
                      error);
    };
    if (!clock.Start(instance, ToTicks(LocalNow()), noWindow)) noWindow(GetLastError());
    if (found)
        Loop();
    else
        WaitForSingleObject(stopEvent, INFINITE);
    journal.Write("stop (firings still running: %ld, waiting: %lu)", RunningCallbacks(),
                  static_cast<unsigned long>(series.Waiting()));
    return kEngineExitStopped;
}

} // namespace

int RunEngine(HINSTANCE instance) {
    Engine engine(instance);
    return engine.Run();
}

int StopRunningEngine() {
    const HANDLE running = OpenMutexW(SYNCHRONIZE, FALSE, DZ_ENGINE_INSTANCE_MUTEX);
    if (!running) return kEngineExitNoEngine;
    // The engine makes its stop event right after the mutex: until then it is asked again.
    const ULONGLONG deadline = GetTickCount64() + kEngineStopTimeoutMs;
    int result = kEngineExitStopTimedOut;
    for (;;) {
        if (const HANDLE stop = OpenEventW(EVENT_MODIFY_STATE, FALSE, DZ_ENGINE_STOP_EVENT)) {
            SetEvent(stop);
            CloseHandle(stop);
        }
        const DWORD ended = WaitForSingleObject(running, 100);
        if (ended == WAIT_OBJECT_0 || ended == WAIT_ABANDONED) {
            ReleaseMutex(running);
            result = kEngineExitStopped;
            break;
        }
        if (GetTickCount64() >= deadline) break;
    }
    CloseHandle(running);
    return result;
}
