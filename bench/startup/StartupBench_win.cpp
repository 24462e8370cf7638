// Start-up of Dozara under Wine until its list is painted and the program waits for input,
// with 0, 100, 1,000 and 1,000,000 entries in "storage.dat", against an empty Win32 program that
// shows one window, in the same run. Then Activate/Disable in a list of 1,000 entries until the
// list is painted again (the rows are made afresh from the entries, the list saved), against the
// same in a list of one entry. The program finds the engine's ready event set here, as when the
// engine runs, and is closed after each start.
//   startup_bench.exe <Dozara.exe> <local.dat> <empty window program> [runs]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/WineTiming.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"
#include "contract/EngineContract.h"
#include "ui/resources/resource.h"

namespace {

struct Started {
    PROCESS_INFORMATION process{};
    bool ok = false;
};

// Starts the program and waits until it has painted and waits for input; false on failure.
bool StartUntilIdle(const std::wstring& program, Started& started) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &started.process))
        return false;
    started.ok = WaitForInputIdle(started.process.hProcess, 30000) == 0;
    return started.ok;
}

BOOL CALLBACK FindListView(HWND window, LPARAM found) {
    wchar_t name[64];
    if (GetClassNameW(window, name, 64) && wcscmp(name, WC_LISTVIEWW) == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindListViewOfTopWindow(HWND window, LPARAM found) {
    EnumChildWindows(window, FindListView, found);
    return *reinterpret_cast<HWND*>(found) == nullptr;
}

// Rows in the started program's list, or -1 when it shows none.
long ListRows(const Started& started) {
    HWND list = nullptr;
    EnumThreadWindows(started.process.dwThreadId, FindListViewOfTopWindow,
                      reinterpret_cast<LPARAM>(&list));
    return list ? static_cast<long>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

BOOL CALLBACK CloseTopWindow(HWND window, LPARAM) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

void Close(Started& started) {
    EnumThreadWindows(started.process.dwThreadId, CloseTopWindow, 0);
    if (WaitForSingleObject(started.process.hProcess, 5000) != WAIT_OBJECT_0)
        TerminateProcess(started.process.hProcess, 1);
    CloseHandle(started.process.hProcess);
    CloseHandle(started.process.hThread);
}

// One start: the seconds until idle, or -1 when the program did not come up showing rows
// rows (rows < 0: no list to check).
double TimedStart(const std::wstring& program, long rows) {
    Started started;
    const double seconds = TimeIt([&] { return StartUntilIdle(program, started); });
    const bool shown = seconds >= 0 && (rows < 0 || ListRows(started) == rows);
    if (started.process.hProcess) Close(started);
    return shown ? seconds : -1;
}

// Activate/Disable sent to the started program's main window, and the list painted afresh:
// seconds, or -1 without a list.
double TimedToggle(const Started& started) {
    HWND list = nullptr;
    EnumThreadWindows(started.process.dwThreadId, FindListViewOfTopWindow,
                      reinterpret_cast<LPARAM>(&list));
    if (!list) return -1;
    return TimeIt([&] {
        SendMessageW(GetParent(list), WM_COMMAND, IDM_TOGGLE_ACTIVE, 0);
        return UpdateWindow(list) != FALSE;
    });
}

// The median of runs Activate/Disable commands in one start of the program.
double MedianToggle(const std::wstring& program, long rows, int runs) {
    Started started;
    double seconds = -1;
    if (StartUntilIdle(program, started) && ListRows(started) == rows)
        seconds = MedianSeconds(runs, [&] { return TimedToggle(started); });
    if (started.process.hProcess) Close(started);
    return seconds;
}

// A folder with the program, its texts and a list of n entries.
std::wstring Install(const std::wstring& base, const wchar_t* program, const wchar_t* texts,
                     int n) {
    const std::wstring folder = base + L"\\entries-" + std::to_wstring(n);
    CreateDirectoryW(folder.c_str(), nullptr);
    CopyFileW(program, (folder + L"\\Dozara.exe").c_str(), FALSE);
    CopyFileW(texts, (folder + L"\\local.dat").c_str(), FALSE);
    DZList list;
    swprintf(list.path, 260, L"%ls\\%ls", folder.c_str(), DZ_STORAGE_FILE);
    const int32_t kinds[] = {Weekly, Once, Next24Hours};
    for (int i = 0; i < n; ++i) {
        auto* e = new DZItem();
        e->kind = kinds[i % 3];
        e->action = static_cast<uint16_t>(i % 3);
        e->options = static_cast<uint16_t>(i % 4);
        list.Append(e);
    }
    list.Save();
    return folder;
}

void RemoveFolder(const std::wstring& folder) {
    for (const wchar_t* name : {L"Dozara.exe", L"local.dat", DZ_STORAGE_FILE})
        DeleteFileW((folder + L"\\" + name).c_str());
    // The copies that a list past the program's limit leaves beside it.
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\storage.dat.*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
        DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    RemoveDirectoryW(folder.c_str());
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: startup_bench <Dozara.exe> <local.dat> <empty window> [runs]\n");
        return 2;
    }
    const int runs = argc > 4 ? _wtoi(argv[4]) : 9;
    // As when the engine runs: the program finds the ready event set and launches nothing.
    HANDLE ready = CreateEventW(nullptr, TRUE, TRUE, DZ_ENGINE_READY_EVENT);

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base =
        std::wstring(temp) + L"dz-bench-startup-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(base.c_str(), nullptr);

    const double empty = MedianSeconds(runs, [&] { return TimedStart(argv[3], -1); });
    PrintRatioHeader("Start-up under Wine until the first painted list (median of each)");
    // A million entries (20 MB) is past the program's limit: it shows the first 1,000 and tells
    // that the rest could not be read.
    for (int n : {0, 100, 1000, 1000000}) {
        const std::wstring folder = Install(base, argv[1], argv[2], n);
        const long shown = n < 1000 ? n : 1000;
        const double seconds =
            MedianSeconds(runs, [&] { return TimedStart(folder + L"\\Dozara.exe", shown); });
        const std::string figure = "Dozara, " + std::to_string(n) + " entries";
        PrintRatioRow(figure.c_str(), seconds, "empty Win32 window", empty,
                      n == 1000 ? "target 1.5x" : "");
        RemoveFolder(folder);
    }
    double toggle[2] = {};
    for (int i : {0, 1}) {
        const int n = i == 0 ? 1 : 1000;
        const std::wstring folder = Install(base, argv[1], argv[2], n);
        toggle[i] = MedianToggle(folder + L"\\Dozara.exe", n, runs);
        RemoveFolder(folder);
    }
    PrintRatioRow("Activate/Disable, 1,000 entries", toggle[1], "the same, 1 entry", toggle[0], "");
    RemoveDirectoryW(base.c_str());
    CloseHandle(ready);
    return 0;
}
