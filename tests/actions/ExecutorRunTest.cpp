// DozaraUtil run as a real process with real command lines, against the simulated phone:
// exit codes, the calls in the device journal and the state they leave.
#include "platform/device/DeviceState.h"
#include "platform/device/PhoneApi.h"
#include "tests/actions/TestSupport.h"
#include "contract/EngineContract.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One expected journal line: its function, and a piece of text it must contain.
struct Call {
    const wchar_t* name;
    const wchar_t* fragment;
};
using Calls = std::vector<Call>;

Calls operator+(Calls first, const Calls& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const Calls kInitialize = {{L"lineInitializeEx", L"name=\"DozaraUtil\", apiVersion=0x00020000"}};
const Calls kShutdown = {{L"lineShutdown", L"-> 0"}};

// Examining one device that holds the name: version, the fixed record, then the whole one.
Calls Examine(const wchar_t* device) {
    return {{L"lineNegotiateAPIVersion", device},
            {L"lineGetDevCaps", L"totalSize=292"},
            {L"lineGetDevCaps", device}};
}

Calls OpenAndNegotiate(const wchar_t* device) {
    return {{L"lineOpen", device},
            {L"lineNegotiateExtVersion", L"low=0x00010000, high=0x00010000"}};
}

Calls Act(int action) {
    switch (action) {
    case 0: return {{L"lineSetEquipmentState", L"state=1"}};
    case 1: return {{L"lineSetEquipmentState", L"state=5"}, {L"lineRegister", L"mode=1"}};
    default: return {{L"SetSystemPowerState", L"flags=0x00020000, options=0"}};
    }
}

// The whole telephony step on a phone with one cellular line.
Calls Telephony(int action) {
    return kInitialize + Examine(L"device=0") + OpenAndNegotiate(L"device=0") + Act(action) +
           Calls{{L"lineClose", L"-> 0"}} + kShutdown;
}

Calls Bluetooth(DWORD mode) {
    static const wchar_t* const kLines[] = {L"BthSetMode(0) -> 0", L"BthSetMode(1) -> 0",
                                            L"BthSetMode(2) -> 0"};
    return {{L"BthSetMode", kLines[mode]}};
}

std::wstring JournalText() {
    std::wstring text;
    for (const std::wstring& line : ReadDeviceJournal())
        text += L"  " + line + L"\n";
    return text;
}

void ExpectJournal(const Calls& expected) {
    const std::vector<std::wstring> journal = ReadDeviceJournal();
    SCOPED_TRACE(testing::Message() << "journal:\n" << JournalText());
    ASSERT_EQ(journal.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(JournalCallName(journal[i]), expected[i].name) << "line " << i;
        EXPECT_NE(journal[i].find(expected[i].fragment), std::wstring::npos) << "line " << i;
    }
}

class ExecutorRun : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ResetDevice());
        // Bluetooth on and the radio off, so that every change and every omission shows.
        ASSERT_TRUE(
            WriteDeviceStatus({BTH_CONNECTABLE, LINEEQUIPSTATE_MINIMUM, 0, POWER_STATE_ON}));
    }

    // The program's quoted path, then the given tail of the command line.
    static int Run(const std::wstring& tail) {
        return static_cast<int>(
            RunProcess(ExecutorProgram(), L"\"" + ExecutorProgram() + L"\"" + tail));
    }

    static void Configure(std::vector<LineDevice> lines, bool telephonyFails = false) {
        DeviceConfig config;
        config.lines = lines;
        config.telephonyFails = telephonyFails;
        ASSERT_TRUE(ConfigureDevice(config));
    }
};

TEST_F(ExecutorRun, ArgumentsDecideTheBluetoothModeAndTheAction) {
    struct Case {
        const wchar_t* tail;
        int code;
        Calls journal;
        DeviceStatus after;
    } cases[] = {
        {L"", kExecutorTooFewArguments, {}, {1, 1, 0, POWER_STATE_ON}},
        {L" 1", kExecutorTooFewArguments, {}, {1, 1, 0, POWER_STATE_ON}},
        {L" 3 1", kExecutorUnknownAction, {}, {1, 1, 0, POWER_STATE_ON}},
        {L" \"1 \" 3", kExecutorUnknownAction, {}, {1, 1, 0, POWER_STATE_ON}},
        {L" 0 0", kExecutorDone, Bluetooth(0) + Telephony(0), {0, 1, 0, POWER_STATE_ON}},
        {L" 0 1", kExecutorDone, Bluetooth(0) + Telephony(0), {0, 1, 0, POWER_STATE_ON}},
        {L" 1 0", kExecutorDone, Bluetooth(0) + Telephony(1), {0, 5, 1, POWER_STATE_ON}},
        {L" 1 1", kExecutorDone, Bluetooth(1) + Telephony(1), {1, 5, 1, POWER_STATE_ON}},
        {L" 1 3", kExecutorDone, Bluetooth(2) + Telephony(1), {2, 5, 1, POWER_STATE_ON}},
        {L" 1 2", kExecutorDone, Telephony(1), {1, 5, 1, POWER_STATE_ON}},
        {L" 1 7", kExecutorDone, Telephony(1), {1, 5, 1, POWER_STATE_ON}},
        {L" 1 x", kExecutorDone, Bluetooth(0) + Telephony(1), {0, 5, 1, POWER_STATE_ON}},
        {L" \"1\" 3", kExecutorDone, Bluetooth(2) + Telephony(1), {2, 5, 1, POWER_STATE_ON}},
        {L" 1 3 9", kExecutorDone, Bluetooth(2) + Telephony(1), {2, 5, 1, POWER_STATE_ON}},
        {L"  2   0 ", kExecutorDone, Bluetooth(0) + Telephony(2), {0, 1, 0, POWER_STATE_OFF}},
    };
    for (const Case& c : cases) {
        SetUp();
        SCOPED_TRACE(testing::Message() << "command line tail [" << c.tail << "]");
        EXPECT_EQ(Run(c.tail), c.code);
        ExpectJournal(c.journal);
        DeviceStatus status;
        ASSERT_TRUE(ReadDeviceStatus(status));
        EXPECT_EQ(status.bluetoothMode, c.after.bluetoothMode);
        EXPECT_EQ(status.equipmentState, c.after.equipmentState);
        EXPECT_EQ(status.registration, c.after.registration);
        EXPECT_EQ(status.powerState, c.after.powerState);
    }
}

TEST_F(ExecutorRun, ACommandLineWithoutTheProgramNameIsTooShort) {
    // What the phone's engine passed: the tokens alone. The first token is taken as the
    // program name here, which is why the callback puts the executor's path in front.
    EXPECT_EQ(static_cast<int>(RunProcess(ExecutorProgram(), L"1 3")), kExecutorTooFewArguments);
    ExpectJournal({});
}

TEST_F(ExecutorRun, LineDevicesDecideWhichLineIsUsed) {
    const wchar_t cellular[] = L"Cellular Line";
    struct Case {
        const char* what;
        std::vector<LineDevice> lines;
        Calls telephony;
    } cases[] = {
        {"no line devices", {}, kInitialize + kShutdown},
        {"no cellular line",
         {{L"Other Line"}, {L"Cellular Line 2"}},
         kInitialize + Examine(L"device=0") + Examine(L"device=1") + kShutdown},
        {"two cellular lines: the later one",
         {{cellular}, {L"Modem"}, {cellular}},
         kInitialize + Examine(L"device=0") + Examine(L"device=1") + Examine(L"device=2") +
             OpenAndNegotiate(L"device=2") + Act(0) + Calls{{L"lineClose", L""}} + kShutdown},
        {"opening fails",
         {{cellular, LineFault::OpenFails}},
         kInitialize + Examine(L"device=0") + Calls{{L"lineOpen", L"-> 0x8000004B"}} + kShutdown},
        {"extension version refused",
         {{cellular, LineFault::ExtVersionFails}},
         kInitialize + Examine(L"device=0") +
             Calls{{L"lineOpen", L"-> 0"},
                   {L"lineNegotiateExtVersion", L"-> 0x8000000D"},
                   {L"lineClose", L"-> 0"}} +
             kShutdown},
        {"version refused by the later cellular line",
         {{cellular}, {cellular, LineFault::ApiVersionFails}},
         kInitialize + Examine(L"device=0") +
             Calls{{L"lineNegotiateAPIVersion", L"-> 0x8000000C"}} + OpenAndNegotiate(L"device=0") +
             Act(0) + Calls{{L"lineClose", L""}} + kShutdown},
        {"capabilities fail",
         {{cellular, LineFault::DevCapsFails}},
         kInitialize +
             Calls{{L"lineNegotiateAPIVersion", L"-> 0"}, {L"lineGetDevCaps", L"-> 0x80000048"}} +
             kShutdown},
        {"name beyond the filled bytes",
         {{cellular}, {cellular, LineFault::NameNotFilled}},
         kInitialize + Examine(L"device=0") + Examine(L"device=1") + OpenAndNegotiate(L"device=0") +
             Act(0) + Calls{{L"lineClose", L""}} + kShutdown},
        {"name beyond the record",
         {{cellular, LineFault::NameBeyondRecord}},
         kInitialize + Examine(L"device=0") + kShutdown},
    };
    for (const Case& c : cases) {
        SetUp();
        SCOPED_TRACE(c.what);
        Configure(c.lines);
        EXPECT_EQ(Run(L" 0 0"), kExecutorDone);
        ExpectJournal(Bluetooth(0) + c.telephony);
    }
}

TEST_F(ExecutorRun, PowerOffNeedsTheCellularLine) {
    Configure({{L"Other Line"}});
    EXPECT_EQ(Run(L" 2 3"), kExecutorDone);
    ExpectJournal(Bluetooth(2) + kInitialize + Examine(L"device=0") + kShutdown);
    DeviceStatus status;
    ASSERT_TRUE(ReadDeviceStatus(status));
    EXPECT_EQ(status.powerState, POWER_STATE_ON);
}

TEST_F(ExecutorRun, FailedTelephonyStillLeavesBluetoothDone) {
    Configure({{L"Cellular Line"}}, true);
    EXPECT_EQ(Run(L" 1 1"), kExecutorDone);
    ExpectJournal(Bluetooth(1) + Calls{{L"lineInitializeEx", L"-> 0x80000043"}});
}

TEST_F(ExecutorRun, ADriverExceptionGivesMinusThreeAfterTheRelease) {
    Configure({{L"Cellular Line", LineFault::DevCapsRaises}});
    EXPECT_EQ(Run(L" 1 1"), kExecutorException);
    ExpectJournal(Bluetooth(1) + kInitialize +
                  Calls{{L"lineNegotiateAPIVersion", L"-> 0"}, {L"lineGetDevCaps", L"-> raised"}} +
                  kShutdown);
}

TEST_F(ExecutorRun, TwoRunsStartedTogetherKeepAWholeJournal) {
    std::wstring commandLine = L"\"" + ExecutorProgram() + L"\" 1 3";
    PROCESS_INFORMATION runs[2] = {};
    for (PROCESS_INFORMATION& run : runs) {
        std::wstring buffer = commandLine;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        ASSERT_TRUE(CreateProcessW(ExecutorProgram().c_str(), &buffer[0], nullptr, nullptr, FALSE,
                                   0, nullptr, nullptr, &startup, &run));
    }
    for (PROCESS_INFORMATION& run : runs) {
        WaitForSingleObject(run.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(run.hProcess, &code);
        EXPECT_EQ(code, 0u);
        CloseHandle(run.hProcess);
        CloseHandle(run.hThread);
    }
    // Every call of both runs is there, each run closes its own line before its shutdown.
    const Calls one = Bluetooth(2) + Telephony(1);
    const std::vector<std::wstring> journal = ReadDeviceJournal();
    SCOPED_TRACE(testing::Message() << "journal:\n" << JournalText());
    ASSERT_EQ(journal.size(), 2 * one.size());
    for (const Call& call : one) {
        size_t once = 0, seen = 0;
        for (const Call& other : one)
            once += std::wstring(other.name) == call.name;
        for (const std::wstring& line : journal)
            seen += JournalCallName(line) == call.name;
        EXPECT_EQ(seen, 2 * once) << call.name;
    }
}

} // namespace
