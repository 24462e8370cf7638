// One cold start of the engine as the program makes it: creates "TARVIKENGINEREADY", launches
// the engine given on the command line and prints the milliseconds until the event is set
// ("timeout" after 30 s). bench/engine/cold-start.sh runs it as the first program of a fresh
// Wine session, where the first window starts the desktop.
#include <cstdio>
#include <string>

#include <windows.h>

#include "contract/EngineContract.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: engine_ready_after_launch ENGINE.exe\n");
        return 2;
    }
    const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, DZ_ENGINE_READY_EVENT);
    std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        fprintf(stderr, "cannot start the engine (error %lu)\n", GetLastError());
        return 1;
    }
    const DWORD waited = WaitForSingleObject(ready, 30000);
    QueryPerformanceCounter(&end);
    if (waited == WAIT_OBJECT_0)
        printf("%.0f\n", 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) /
                             static_cast<double>(frequency.QuadPart));
    else
        printf("timeout\n");
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return 0;
}
