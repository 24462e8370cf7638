#pragma once
// Runs the real program inside the test process: its files beside the test executable (the
// program's own directory), the engine's events made by the test, message boxes and dialogs
// answered by a hook as a user would, and the message queue pumped between steps.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/common/FileBytes.h"
#include "tests/common/StartTimes.h"
#include "core/model/DZItem.h"

// Texts of the test's local.dat: short and unmistakable.
#define TEST_APP_NAME L"DozaraTest"

std::wstring ProgramFile(const wchar_t* name);
// Every value padded with "x" to valueLength characters when it is shorter.
void WriteTestTexts(size_t valueLength = 0);
void RemoveProgramFile(const wchar_t* name);

// One entry of a storage.dat written by a test.
struct EntrySpec {
    int32_t kind;
    ActionCode action;
    int32_t active;
    double daysFromNow; // start time relative to now
};
void WriteStorage(const std::vector<EntrySpec>& entries);
// What storage.dat holds now: the entries' actions and active flags, in file order.
struct StoredEntry {
    uint16_t action;
    int32_t active;
};
std::vector<StoredEntry> ReadStorage();

// Dispatches what is queued now; a quit message is taken out and remembered.
void PumpPending();
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// A message box or dialog that appeared while the answerer was installed.
struct DialogSeen {
    bool isMessageBox;
    std::wstring caption;
    std::wstring text; // message boxes only
    HWND owner;
    std::vector<int> buttons; // the standard buttons present, by id
    RECT bounds;              // where it was last put, in screen coordinates
};

// Answers message boxes with the queued answers (IDOK when none is queued) and hands every
// other dialog to onDialog, or cancels it when there is none.
class DialogAnswerer {
  public:
    DialogAnswerer();
    ~DialogAnswerer();
    std::vector<int> answers;
    std::vector<DialogSeen> seen;
    std::function<void(HWND)> onDialog;
    // Every DTM_NAVIGATE sent while installed: the URL asked for.
    std::vector<std::wstring> navigations;

  private:
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CallHook(int code, WPARAM wParam, LPARAM lParam);
    void OnActivate(HWND window);
    void OnMoved(HWND window);
    HHOOK cbt;
    HHOOK calls;
    std::vector<HWND> handled;
};

// Runs program (this test program, or a copy of it) in its child mode "--start": the program
// starts there as a second start would. Gives 0 when it ended at once having shown exactly the
// message expected ("-" for none), 1 when it started, 2 for another message, -1 when it did not
// run.
int StartAsChild(const std::wstring& program, const wchar_t* expected);

// The engine's events as a running engine holds them.
HANDLE OpenNamedEvent(const wchar_t* name);
bool EventIsSet(HANDLE event);

// Base of the tests that start the program: the test's texts beside the executable, the
// engine "running" (its ready event exists) and its refresh event created, as the engine
// would. TearDown closes the program as Exit would and removes what the test left.
class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // InitInstance of the program, then the queue pumped; the answerer sees any box.
    bool Start();
    // Closes the program as Exit would, if it still runs, so that it can start again.
    void EndProgram();
    // The refresh signal since the last call (and resets it).
    bool TakeRefresh();

    DialogAnswerer answerer;
    HANDLE ready = nullptr;
    HANDLE refresh = nullptr;
    wchar_t savedPath[260];
};

HWND ListWindow();
int SelectedRow();
int RowCount();
const StorageItem* RowEntry(int row);
std::wstring MenuCaption(UINT command);
bool MenuItemGrayed(UINT command);
