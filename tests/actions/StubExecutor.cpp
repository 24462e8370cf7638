// Stands in for DozaraUtil in the callback tests: records the command line it was given in
// "received.txt" beside itself and exits with the number in "exitcode.txt" there (0 without).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

std::wstring OwnDirectory() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text(path, length);
    return text.substr(0, text.rfind(L'\\') + 1);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring directory = OwnDirectory();
    const wchar_t* commandLine = GetCommandLineW();
    if (FILE* received = _wfopen((directory + L"received.txt").c_str(), L"wb")) {
        fwrite(commandLine, sizeof(wchar_t), wcslen(commandLine), received);
        fclose(received);
    }
    int code = 0;
    if (FILE* exitCode = _wfopen((directory + L"exitcode.txt").c_str(), L"rb")) {
        char text[32] = {};
        fread(text, 1, sizeof(text) - 1, exitCode);
        fclose(exitCode);
        code = atoi(text);
    }
    return code;
}
