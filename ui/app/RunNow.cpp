// Run now takes the engine's road: DozaraDLL from the program folder, TarvikEngineFunc with the
// entry's 4-byte action block. The callback blocks until the executor has ended, so it runs on
// a worker thread while this thread keeps pumping messages: the screen keeps painting under the
// wait cursor, and the program takes no input until the result is told. Exit while it runs
// waits for the action: a process whose window went while its worker still ran stayed behind
// for good (29 MB each time), since the wait took the quit message off the queue.
#include "ui/app/RunNow.h"

#include <cstddef>

#include "contract/EngineContract.h"
#include "platform/shell/SoftkeyBar.h"
#include "ui/app/AppState.h"
#include "core/model/DZItem.h"
#include "platform/core/BoundedText.h"
#include "platform/core/ProgramDirectory.h"
#include "core/text/TextKeys.h"
#include "core/text/TextTable.h"
#include "ui/app/LastRuns.h"

namespace {

// The results that have words of their own, in the order of kRunResultKeys.
constexpr int kRunResultCodes[] = {kExecutorDone, kExecutorNotStarted, kExecutorException,
                                   kExecutorUnknownAction, kExecutorTooFewArguments};
static_assert(sizeof kRunResultCodes / sizeof kRunResultCodes[0] ==
                  sizeof kRunResultKeys / sizeof kRunResultKeys[0],
              "one text per result code");

struct RunJob {
    unsigned char block[kActionBlockSize];
    wchar_t library[MAX_PATH];
    bool libraryFound = false;
    int result = kExecutorNotStarted;
};

DWORD WINAPI RunAction(void* parameter) {
    RunJob* job = static_cast<RunJob*>(parameter);
    const HMODULE library = LoadLibraryW(job->library);
    if (!library) return 0;
    const auto callback = reinterpret_cast<TarvikEngineFuncType>(
        reinterpret_cast<void*>(GetProcAddress(library, DZ_CALLBACK_EXPORT)));
    if (callback) {
        job->libraryFound = true;
        // The executor inherits the program's environment through the callback: its history
        // tells this run from the engine's by this variable alone.
        SetEnvironmentVariableW(DZ_RUN_NOW_VARIABLE, L"1");
        job->result = callback(0, 0, job->block);
        SetEnvironmentVariableW(DZ_RUN_NOW_VARIABLE, nullptr);
    }
    FreeLibrary(library);
    return 0;
}

bool g_running = false;
bool g_exitAfterRun = false;

// Keys, taps and softkey presses made while the action runs are dropped: disabling the main
// window alone let the softkey open the menu (an entry was disabled mid-run), and a key kept
// for later would answer the result box before it was read. The softkey filter has already
// turned F1 and F2 into WM_PRESS_SOFTKEY by the time the message is taken.
bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) ||
           message == WM_PRESS_SOFTKEY;
}

// Runs the job on a worker thread and pumps this thread's messages until it has ended. A quit
// message taken meanwhile is remembered and ends the program afterwards.
void RunOnWorker(RunJob& job) {
    const HANDLE worker = CreateThread(nullptr, 0, RunAction, &job, 0, nullptr);
    if (!worker) return; // told as a library that could not be loaded
    const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    EnableWindow(g_mainWindow, FALSE);
    g_running = true;
    while (MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                g_exitAfterRun = true;
                continue;
            }
            if (IsInput(message.message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    }
    g_running = false;
    CloseHandle(worker);
    EnableWindow(g_mainWindow, TRUE);
    SetCursor(previous);
}

const DZItem* SelectedAction() {
    if (g_scheduleList.GetRowCount() == 0) return nullptr;
    const int row = g_scheduleList.GetSelectedRow();
    // A DZList makes nothing but DZItems.
    return row < 0 ? nullptr : static_cast<const DZItem*>(g_scheduleList.GetRowEntry(row));
}

} // namespace

bool RunNowRunning() {
    return g_running;
}

void ExitAfterRun() {
    g_exitAfterRun = true;
}

void RunResultText(bool libraryFound, int result, wchar_t* buffer, size_t size) {
    BoundedText text(buffer, size);
    if (!libraryFound) {
        text.Add(Text(L"MSG_RUN_NO_LIBRARY"));
        return;
    }
    for (size_t i = 0; i < sizeof kRunResultCodes / sizeof kRunResultCodes[0]; ++i)
        if (kRunResultCodes[i] == result) {
            text.Add(Text(kRunResultKeys[i]));
            return;
        }
    // The format comes from local.dat, so it is only trusted with the one number it names.
    text.AddWithNumber(Text(L"MSG_RUN_OTHER"), result);
}

void OnRunNow() {
    const DZItem* entry = SelectedAction();
    if (!entry) return;
    const HWND list = g_scheduleList.ListWindow();
    const wchar_t* question =
        Text(entry->action == PowerOff ? L"MSG_RUN_NOW_POWER_OFF" : L"MSG_RUN_NOW_ASK");
    // No is the default: running switches the radio, the power or Bluetooth off, and the
    // action key pressed twice (once for the menu item) must not do that by itself.
    if (MessageBoxW(list, question, g_textTable.AppName(),
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        SetFocus(list);
        return;
    }
    RunJob job;
    WriteActionBlock(entry->action, entry->options, job.block);
    wchar_t folder[MAX_PATH];
    ProgramDirectory(folder);
    if (!BoundedText(job.library, MAX_PATH).Add(folder).Add(DZ_CALLBACK_LIBRARY).Cut())
        RunOnWorker(job);
    if (g_exitAfterRun) {
        g_exitAfterRun = false;
        if (!IsWindow(g_mainWindow) || !DestroyWindow(g_mainWindow)) PostQuitMessage(0);
        return;
    }
    ReloadRunHistory();
    wchar_t told[kEntryTextSize];
    RunResultText(job.libraryFound, job.result, told, kEntryTextSize);
    MessageBoxW(list, told, g_textTable.AppName(),
                MB_OK | (job.libraryFound && job.result == kExecutorDone ? MB_ICONINFORMATION
                                                                         : MB_ICONERROR));
    SetFocus(list);
}
