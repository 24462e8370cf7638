// DozaraUtil: carries out one scheduled action and ends; its exit code is the result. It is a
// windowed-subsystem program without a window, so a start from the engine opens no console.
#include "executor/Executor.h"

#include <windows.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int code = RunExecutor(argc, argv);
    LocalFree(argv);
    return code;
}
