// Run now on the simulated phone: asked, answered with the phone's keys, run by the engine's
// road (DozaraDLL and DozaraUtil beside the program) and told in words.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "contract/EngineContract.h"
#include "platform/device/DeviceState.h"
#include "tests/common/PhoneKeys.h"
#include "tests/upcoming/StorageOf.h"
#include "ui/app/AppState.h"
#include "ui/resources/resource.h"

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
        keys.Press("Return"); // Yes
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

} // namespace
