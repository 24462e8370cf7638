// Run now on the simulated phone: asked, answered with the phone's keys, run by the engine's
// road (DozaraDLL and DozaraUtil beside the program) and told in words.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "contract/EngineContract.h"
#include "platform/device/DeviceState.h"
#include "platform/shell/SoftkeyBar.h"
#include "tests/common/PhoneKeys.h"
#include "tests/upcoming/StorageOf.h"
#include "ui/app/AppState.h"
#include "ui/resources/resource.h"
#include "platform/core/ProgramDirectory.h"

namespace {

// The text of the message box that is open now, or "" after timeoutMs without one.
std::wstring MessageBoxText(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        if (HWND box = FindWindowW(L"#32770", L"Dozara")) {
            wchar_t text[256] = L"";
            GetDlgItemTextW(box, 0xFFFF, text, 256);
            if (*text) return text;
        }
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return L"";
}

std::vector<std::wstring> CallNames() {
    std::vector<std::wstring> names;
    for (const std::wstring& line : ReadDeviceJournal())
        names.push_back(line.substr(0, line.find(L'(')));
    return names;
}

TEST(RunNowKeys, AskedFirstThenRunsTheActionOnThePhoneAndTellsTheResult) {
    ASSERT_TRUE(ResetDevice());
    PhoneProgram program(StorageOf({{Weekly, PhoneOff, kOptionBluetooth}}));
    program.Run([](PhoneKeys& keys) {
        PostMessageW(g_mainWindow, WM_COMMAND, IDM_RUN_NOW, 0);
        keys.WaitIdle();
        EXPECT_EQ(MessageBoxText(3000), L"Run this action now?");
        keys.Press("Escape"); // No
        EXPECT_TRUE(CallNames().empty());

        PostMessageW(g_mainWindow, WM_COMMAND, IDM_RUN_NOW, 0);
        keys.WaitIdle();
        keys.Press("Left Return"); // Yes: No is the default
        EXPECT_EQ(MessageBoxText(15000), L"The action was carried\nout.");
        keys.Press("Return");
        // The history read after the run has it as the user's, and the mark of a Run now is
        // gone again, so that nothing started later counts as one.
        ASSERT_FALSE(g_runHistory.empty());
        EXPECT_EQ(g_runHistory.front().requester, RequestedByRunNow);
        EXPECT_EQ(g_runHistory.front().action, PhoneOff);
        EXPECT_EQ(GetEnvironmentVariableW(DZ_RUN_NOW_VARIABLE, nullptr, 0), 0u);
    });
    // Bluetooth off first, then the radio to its minimum: the executor's calls for phone off.
    const std::vector<std::wstring> calls = CallNames();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), L"BthSetMode");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), L"lineSetEquipmentState"), 1);
    EXPECT_FALSE(program.TakeRefresh());
}

TEST(RunNowKeys, PowerOffSaysThePhoneWillSwitchOff) {
    ASSERT_TRUE(ResetDevice());
    PhoneProgram program(StorageOf({{Weekly, PowerOff, 0}}));
    program.Run([](PhoneKeys& keys) {
        PostMessageW(g_mainWindow, WM_COMMAND, IDM_RUN_NOW, 0);
        keys.WaitIdle();
        EXPECT_EQ(MessageBoxText(3000), L"Run it now? The phone\nwill switch off.");
        keys.Press("Escape");
    });
    EXPECT_TRUE(CallNames().empty());
}

// The executor beside the program replaced by one that runs until the test lets it end.
class SlowExecutor {
  public:
    SlowExecutor() : release(CreateEventW(nullptr, TRUE, FALSE, L"DozaraTestReleaseExecutors")) {
        ProgramDirectory(util);
        wcscat(util, L"DozaraUtil.exe");
        swprintf(kept, MAX_PATH + 8, L"%ls.kept", util);
        EXPECT_TRUE(MoveFileExW(util, kept, MOVEFILE_REPLACE_EXISTING));
        EXPECT_TRUE(CopyFileW(DZ_HANGING_EXECUTOR_PATH, util, FALSE));
    }
    ~SlowExecutor() {
        SetEvent(release);
        CloseHandle(release);
        MoveFileExW(kept, util, MOVEFILE_REPLACE_EXISTING);
    }
    void LetEnd() { SetEvent(release); }

  private:
    HANDLE release;
    wchar_t util[MAX_PATH + 8];
    wchar_t kept[MAX_PATH + 16];
};

// While the action runs the program takes no keys (the menu stays shut, no editor opens); Exit
// then waits for the action and ends the program, with no result box.
TEST(RunNowKeys, KeysWaitWhileTheActionRunsAndExitEndsTheProgramAfterIt) {
    const std::string stored = StorageOf({{Weekly, PhoneOn, 0}});
    PhoneProgram program(stored);
    SlowExecutor executor;
    const int exitCode = program.Run([&executor](PhoneKeys& keys) {
        PostMessageW(g_mainWindow, WM_COMMAND, IDM_RUN_NOW, 0);
        keys.WaitIdle();
        keys.Press("Left Return"); // Yes: No is marked first
        ASSERT_TRUE(IsWindow(g_mainWindow));
        EXPECT_FALSE(IsWindowEnabled(g_mainWindow)) << "the action runs";
        keys.Press("F2");
        EXPECT_FALSE(SoftkeyMenuOpen(g_menuBar));
        keys.Press("F1");
        EXPECT_EQ(keys.Active(), g_mainWindow) << "no editor";
        PostMessageW(g_mainWindow, WM_COMMAND, IDM_EXIT, 0);
        Sleep(500);
        EXPECT_TRUE(IsWindow(g_mainWindow)) << "Exit waits for the action";
        executor.LetEnd();
        const DWORD start = GetTickCount();
        while (IsWindow(g_mainWindow) && GetTickCount() - start < 10000)
            Sleep(50);
        EXPECT_FALSE(IsWindow(g_mainWindow)) << "the program ended by itself, untold";
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(IsWindow(g_mainWindow));
    EXPECT_EQ(program.StorageBytes(), stored);
    EXPECT_FALSE(program.TakeRefresh());
}

} // namespace
