// The callback's round trip, TarvikEngineFunc until the executor has ended, against a bare
// CreateProcessW of an empty program and the wait for it, in the same run:
//   - an action code the executor refuses at once (the cost of the road itself);
//   - phone radio off with Bluetooth off against the simulated phone (the whole action);
//   - the same with the executor's history kept from being written (a folder in the file's
//     place), against the run that writes it: the cost of the history's flushed writes.
//   callback_bench.exe <DozaraDLL.dll> <DozaraUtil.exe> <empty program> [runs]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "common/WineTiming.h"
#include "contract/EngineContract.h"

namespace {

bool RunEmpty(const std::wstring& program) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring commandLine = L"\"" + program + L"\" 0 0";
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi))
        return false;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return code == 0;
}

// The library and the executor side by side in a fresh temporary folder, as installed.
std::wstring InstallSideBySide(const wchar_t* library, const wchar_t* executor) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"dz-bench-callback-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    CopyFileW(library, (folder + L"\\" DZ_CALLBACK_LIBRARY).c_str(), FALSE);
    CopyFileW(executor, (folder + L"\\" DZ_EXECUTOR_FILE).c_str(), FALSE);
    return folder;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        fprintf(stderr,
                "usage: callback_bench <DozaraDLL.dll> <DozaraUtil.exe> <empty program> [runs]\n");
        return 2;
    }
    const int runs = argc > 4 ? _wtoi(argv[4]) : 31;
    const std::wstring folder = InstallSideBySide(argv[1], argv[2]);
    const std::wstring library = folder + L"\\" DZ_CALLBACK_LIBRARY;
    HMODULE module = LoadLibraryW(library.c_str());
    auto engineFunc = module ? reinterpret_cast<TarvikEngineFuncType>(reinterpret_cast<void*>(
                                   GetProcAddress(module, DZ_CALLBACK_EXPORT)))
                             : nullptr;
    if (!engineFunc) {
        fprintf(stderr, "callback_bench: cannot load %ls\n", library.c_str());
        return 1;
    }
    const std::wstring empty = argv[3];
    const unsigned char refused[kActionBlockSize] = {3, 0, 0, 0};
    const unsigned char phoneOff[kActionBlockSize] = {0, 0, 1, 0};

    // The history is moved aside and a folder takes its place for the run without it.
    const std::wstring history = folder + L"\\" DZ_HISTORY_FILE;
    const std::wstring aside = history + L".aside";
    const auto withoutHistory = [&] {
        MoveFileExW(history.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING);
        CreateDirectoryW(history.c_str(), nullptr);
        const double seconds = TimeIt([&] { return engineFunc(0, 0, phoneOff) == kExecutorDone; });
        RemoveDirectoryW(history.c_str());
        MoveFileExW(aside.c_str(), history.c_str(), MOVEFILE_REPLACE_EXISTING);
        return seconds;
    };
    const std::vector<SampleSummary> s = InterleavedSamples(
        runs,
        {[&] { return TimeIt([&] { return RunEmpty(empty); }); },
         [&] {
             return TimeIt([&] { return engineFunc(0, 0, refused) == kExecutorUnknownAction; });
         },
         [&] { return TimeIt([&] { return engineFunc(0, 0, phoneOff) == kExecutorDone; }); },
         withoutHistory});

    PrintRatioHeader("Callback round trip under Wine (samples taken in turns)");
    PrintRatioRow("refused action, median", s[1].median, "empty program, median", s[0].median,
                  "the road alone; target 1.2x");
    PrintRatioRow("refused action, fastest", s[1].fastest, "empty program, fastest", s[0].fastest,
                  "the same without Wine's waiting");
    PrintRatioRow("phone off + BT, median", s[2].median, "empty program, median", s[0].median,
                  "the whole action on the simulated phone");
    PrintRatioRow("phone off + BT, fastest", s[2].fastest, "empty program, fastest", s[0].fastest,
                  "the same without Wine's waiting");
    PrintRatioRow("phone off + BT, median", s[2].median, "without history, median", s[3].median,
                  "the history's writes");
    PrintRatioRow("phone off + BT, fastest", s[2].fastest, "without history, fastest", s[3].fastest,
                  "the same without Wine's waiting");

    FreeLibrary(module);
    DeleteFileW(history.c_str());
    DeleteFileW(library.c_str());
    DeleteFileW((folder + L"\\" DZ_EXECUTOR_FILE).c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
