// DozaraUtil: carries out one scheduled action and ends; its exit code is the result. It is a
// windowed-subsystem program without a window, so a start from the engine opens no console.
// The command line is split by our own code with the phone's rule; the desktop's splitter
// lives in a library whose loading alone doubled the run time of an action.
#include "executor/ActionRequest.h"
#include "executor/Executor.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::vector<std::wstring> arguments = SplitCommandLine(GetCommandLineW());
    std::vector<const wchar_t*> argv;
    for (const std::wstring& argument : arguments)
        argv.push_back(argument.c_str());
    return RunExecutor(static_cast<int>(argv.size()), argv.data());
}
