// DozaraDLL: the engine calls TarvikEngineFunc when an entry fires; it runs the executor
// beside this library for the entry's action block and returns the executor's exit code.
#include "callback/ExecutorLaunch.h"
#include "contract/EngineContract.h"

#include <windows.h>

namespace {

HMODULE g_thisModule = nullptr;

// The start-up record that the phone's process creation takes: 68 bytes on the 32-bit device,
// checked by the 32-bit compile (tools/compile32.sh); wider here, where pointers are 8 bytes.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(STARTUPINFOW) == 68, "the start-up record has the device's size");
#endif

// The release build traces nothing; the calls stay so that a tracing build has its points.
void DebugTrace(const wchar_t*, ...) {}

int RunAndWait(const wchar_t* executorPath, wchar_t* commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(executorPath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return kExecutorNotStarted;
    DWORD exitCode = 0;
    const bool ended = WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    // The executor's codes are signed 32-bit values carried in the unsigned exit code.
    return ended ? static_cast<int>(exitCode) : kExecutorNotStarted;
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_thisModule = module;
    return TRUE;
}

extern "C" int TarvikEngineFunc(uintptr_t, uintptr_t, const unsigned char* actionBlock) {
    // Without an action block there is nothing to run; the engine's thread must not fault.
    if (!actionBlock) return kExecutorNotStarted;
    const uint16_t action = ActionBlockAction(actionBlock);
    const uint16_t options = ActionBlockOptions(actionBlock);

    wchar_t modulePath[MAX_PATH];
    const DWORD length = GetModuleFileNameW(g_thisModule, modulePath, MAX_PATH);
    // A path cut short at the buffer's end would name another directory.
    if (length == 0 || length >= MAX_PATH) return kExecutorNotStarted;
    wchar_t executorPath[MAX_PATH];
    if (!ExecutorPathBeside(modulePath, executorPath, MAX_PATH)) return kExecutorNotStarted;
    DebugTrace(L"Module name is %s", executorPath);

    // Room for the quoted path and the two tokens.
    wchar_t commandLine[MAX_PATH + 32];
    if (!BuildExecutorCommandLine(executorPath, action, options, commandLine, MAX_PATH + 32))
        return kExecutorNotStarted;
    return RunAndWait(executorPath, commandLine);
}
