#include "callback/ExecutorLaunch.h"

#include "contract/EngineContract.h"

#include <cwchar>

uint16_t OptionToken(uint16_t options) {
    return OptionTokenOf(options);
}

bool ExecutorPathBeside(const wchar_t* modulePath, wchar_t* path, size_t size) {
    const wchar_t* lastSlash = wcsrchr(modulePath, L'\\');
    if (!lastSlash) return false;
    const int directoryLength = static_cast<int>(lastSlash - modulePath);
    int written =
        swprintf(path, size, L"%.*ls\\%ls", directoryLength, modulePath, DZ_EXECUTOR_FILE);
    return written > 0 && static_cast<size_t>(written) < size;
}

bool BuildExecutorCommandLine(const wchar_t* executorPath, uint16_t action, uint16_t options,
                              wchar_t* commandLine, size_t size) {
    // On the phone the executor received the two tokens alone. A desktop program takes its
    // arguments after its own name in the command line, so the quoted executor path comes
    // first here; the tokens themselves are unchanged. An action code without a token of its
    // own goes out in decimal, and the executor rejects it with kExecutorUnknownAction.
    int written =
        swprintf(commandLine, size, L"\"%ls\" %u %u", executorPath, static_cast<unsigned>(action),
                 static_cast<unsigned>(OptionToken(options)));
    return written > 0 && static_cast<size_t>(written) < size;
}
