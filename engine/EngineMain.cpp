// tarvikengine.exe: our stand-in for the scheduling engine. No window, no console.
//   tarvikengine.exe         run (a second one ends at once)
//   tarvikengine.exe /stop   end the running engine and wait until it has ended
#include <cwchar>

#include <windows.h>

#include "engine/Engine.h"

namespace {

bool AskedToStop(const wchar_t* commandLine) {
    while (*commandLine == L' ' || *commandLine == L'\t')
        ++commandLine;
    return _wcsnicmp(commandLine, L"/stop", 5) == 0 &&
           (commandLine[5] == L'\0' || commandLine[5] == L' ' || commandLine[5] == L'\t');
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    if (AskedToStop(commandLine)) return StopRunningEngine();
    return RunEngine(instance);
}
