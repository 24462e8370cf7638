#include "engine/Firing.h"

#include <cstdio>

#include <windows.h>
#include <tlhelp32.h>

#include "engine/EngineNames.h"
#include "engine/Journal.h"
#include "contract/EngineContract.h"

namespace {

constexpr int kCallbackUnavailable = -1;
// After the executors were ended the callback's wait returns at once; under Wine the end of a
// process reaches its waiters within milliseconds. A callback still inside after this is
// hung itself.
constexpr DWORD kEndedReturnWaitMs = 2000;

volatile LONG g_running = 0;

std::string KindText(int32_t kind) {
    switch (kind) {
    case Weekly: return "weekly";
    case Once: return "once";
    case Next24Hours: return "next24hours";
    case Monthly: return "monthly";
    case Yearly: return "yearly";
    default: return "kind " + std::to_string(kind);
    }
}

// What the call's thread owns: it unloads the library when the callback returns, so a
// callback left to run on its own keeps its code loaded.
struct Call {
    HMODULE library;
    TarvikEngineFuncType callback;
    unsigned char block[kActionBlockSize];
    uint16_t action;
};

DWORD WINAPI CallThread(void* parameter) {
    Call* call = static_cast<Call*>(parameter);
    // The block is the call's own and outlives it; the callback only reads it.
    const int result = call->callback(0, 0, call->block);
    const HMODULE library = call->library;
    delete call;
    InterlockedDecrement(&g_running);
    FreeLibraryAndExitThread(library, static_cast<DWORD>(result));
}

// Ends the executors that callbacks started in the engine: processes of the executor's file
// name whose parent is the engine. Not every child is one: under Wine the engine's first window
// starts the desktop's process as its child. The parent's id alone could also be that of an
// ended process whose id the engine got again, so an executor must be younger than the engine.
int EndExecutors() {
    FILETIME engineStart, unused;
    GetProcessTimes(GetCurrentProcess(), &engineStart, &unused, &unused, &unused);
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    int ended = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID != GetCurrentProcessId() ||
            _wcsicmp(entry.szExeFile, DZ_EXECUTOR_FILE) != 0)
            continue;
        const HANDLE child = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION,
                                         FALSE, entry.th32ProcessID);
        if (!child) continue;
        FILETIME started;
        if (GetProcessTimes(child, &started, &unused, &unused, &unused) &&
            CompareFileTime(&started, &engineStart) >= 0 &&
            TerminateProcess(child, static_cast<UINT>(kExecutorEndedAtLimit)))
            ++ended;
        CloseHandle(child);
    }
    CloseHandle(snapshot);
    return ended;
}

// A power-off's run waits for the user's notice first: its limit is that much longer, or the
// engine would end every scheduled power-off while its notice still counts down.
DWORD LimitMsOf(const Call& call) {
    return call.action == PowerOff ? kFiringLimitMs + kPowerOffNoticeSeconds * 1000
                                   : kFiringLimitMs;
}

FiringOutcome CallWithLimit(Call* call) {
    const DWORD limitMs = LimitMsOf(*call);
    InterlockedIncrement(&g_running);
    const HANDLE thread = CreateThread(nullptr, 0, CallThread, call, 0, nullptr);
    if (!thread) {
        const DWORD error = GetLastError();
        InterlockedDecrement(&g_running);
        FreeLibrary(call->library);
        delete call;
        return {kCallbackUnavailable,
                "no thread for the callback (error " + std::to_string(error) + ")"};
    }
    FiringOutcome outcome{kExecutorEndedAtLimit, ""};
    if (WaitForSingleObject(thread, limitMs) == WAIT_TIMEOUT) {
        const int ended = EndExecutors();
        outcome.note = "no result after " + std::to_string(limitMs) +
                       " ms; executors ended: " + std::to_string(ended);
        if (WaitForSingleObject(thread, kEndedReturnWaitMs) == WAIT_TIMEOUT) {
            outcome.note += "; the callback has not returned and is left to run on its own";
            CloseHandle(thread);
            return outcome;
        }
    }
    DWORD code;
    if (GetExitCodeThread(thread, &code)) outcome.result = static_cast<int>(code);
    CloseHandle(thread);
    return outcome;
}

} // namespace

std::string DescribeEntry(const Firing& firing) {
    char text[160];
    snprintf(text, sizeof text, "entry %d (%s %s, action %u, options %u)", firing.entryNumber,
             KindText(firing.key.when.kind).c_str(),
             FormatInstant(ToTicks(firing.key.when.startTime)).c_str(), firing.key.what.action,
             firing.key.what.options);
    return text;
}

FiringOutcome CallCallback(const Firing& firing, const std::wstring& libraryPath) {
    const HMODULE library = LoadLibraryW(libraryPath.c_str());
    if (!library) {
        const DWORD error = GetLastError();
        return {kCallbackUnavailable, "callback library \"" + Utf8(libraryPath) +
                                          "\" not loaded (error " + std::to_string(error) + ")"};
    }
    const auto callback = reinterpret_cast<TarvikEngineFuncType>(
        reinterpret_cast<void*>(GetProcAddress(library, DZ_CALLBACK_EXPORT)));
    if (!callback) {
        FreeLibrary(library);
        return {kCallbackUnavailable, std::string("callback library has no ") + DZ_CALLBACK_EXPORT};
    }
    Call* call = new Call{library, callback, {}, firing.key.what.action};
    memcpy(call->block, firing.block, sizeof call->block);
    return CallWithLimit(call);
}

long RunningCallbacks() {
    return g_running;
}
