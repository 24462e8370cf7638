// The executor's power-off notice by keys: the executor's run, in this process, on the
// simulated phone; its history beside the test, as beside the installed executor.
#include "contract/EngineContract.h"
#include "executor/Executor.h"
#include "executor/PowerOffNotice.h"
#include "platform/device/DeviceState.h"
#include "platform/device/PhoneApi.h"
#include "tests/common/PhoneKeys.h"
#include "core/model/RunHistory.h"
#include "platform/core/ProgramDirectory.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool NoticeShown() {
    return FindWindowW(L"DzPowerOffNotice", nullptr) != nullptr;
}

TEST(PowerOffNoticeKeys, CancelStopsThePowerOffAndNowOrNoKeySwitchesOff) {
    struct Case {
        const char* what;
        const char* keys; // none: the countdown runs out
        const char* seconds;
        bool switchedOff;
        uint8_t recorded;
    } cases[] = {
        {"Cancel", "F1", "30", false, StepCancelled},
        {"Back", "Escape", "30", false, StepCancelled},
        {"Now", "F2", "30", true, StepMade},
        {"no key", nullptr, "1", true, StepMade},
    };
    wchar_t folder[MAX_PATH];
    ProgramDirectory(folder);
    const std::wstring history = std::wstring(folder) + DZ_HISTORY_FILE;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(ResetDevice());
        DeleteFileW(history.c_str());
        SetEnvironmentVariableA(kNoticeSecondsVariable, c.seconds);
        int code = -1;
        RunWithPhoneKeys(
            [&] {
                const wchar_t* argv[] = {L"DozaraUtil", L"2", L"0"};
                code = RunExecutor(3, argv);
            },
            [&](PhoneKeys& keys) {
                keys.WaitIdle();
                ASSERT_TRUE(NoticeShown());
                EXPECT_EQ(keys.Active(), FindWindowW(L"DzPowerOffNotice", nullptr));
                if (c.keys) keys.Press(c.keys);
                // Without a key the notice stays until its countdown has run out.
                for (int wait = 0; wait < 100 && NoticeShown(); ++wait)
                    Sleep(50);
                EXPECT_FALSE(NoticeShown());
            });
        EXPECT_EQ(code, kExecutorDone);
        DeviceStatus status;
        ASSERT_TRUE(ReadDeviceStatus(status));
        EXPECT_EQ(status.powerState, c.switchedOff ? POWER_STATE_OFF : POWER_STATE_ON);
        EXPECT_EQ(status.bluetoothMode, BTH_POWER_OFF); // Bluetooth goes before the notice
        bool powerCalled = false;
        for (const std::wstring& line : ReadDeviceJournal())
            powerCalled |= JournalCallName(line) == L"SetSystemPowerState";
        EXPECT_EQ(powerCalled, c.switchedOff);
        const std::vector<RunRecord> runs = LoadRunHistory(history.c_str());
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs.front().states[StepPowerOff], c.recorded);
        EXPECT_FALSE(RunFailed(runs.front())); // a cancelled power-off is what the user asked
        EXPECT_EQ(RunCancelled(runs.front()), !c.switchedOff);
    }
    SetEnvironmentVariableA(kNoticeSecondsVariable, nullptr);
}

TEST(PowerOffNoticeKeys, RadioActionsShowNoNotice) {
    ASSERT_TRUE(ResetDevice());
    SetEnvironmentVariableA(kNoticeSecondsVariable, "30");
    for (const wchar_t* action : {L"0", L"1"}) {
        const wchar_t* argv[] = {L"DozaraUtil", action, L"1"};
        // Nothing presses a key: a notice would hold the run for its thirty seconds, and the
        // check below would find the window.
        RunWithPhoneKeys([&] { EXPECT_EQ(RunExecutor(3, argv), kExecutorDone); },
                         [](PhoneKeys& keys) {
                             keys.WaitIdle();
                             EXPECT_FALSE(NoticeShown());
                         });
    }
    SetEnvironmentVariableA(kNoticeSecondsVariable, nullptr);
}

} // namespace
