// The executor's history.dat, written by the real program beside a copy of itself: what each
// run records, a run cut off after every single write, and a history that cannot be written.
#include "contract/EngineContract.h"
#include "executor/HistoryWriter.h"
#include "platform/core/Clock.h"
#include "platform/device/DeviceState.h"
#include "platform/device/PhoneApi.h"
#include "tests/actions/TestSupport.h"
#include "core/model/RunHistory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> ReadBytes(const std::wstring& path) {
    std::vector<unsigned char> bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return bytes;
    int c;
    while ((c = fgetc(file)) != EOF)
        bytes.push_back(static_cast<unsigned char>(c));
    fclose(file);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes) {
    return WriteTextFile(path, std::string(bytes.begin(), bytes.end()));
}

// States of the eight steps, written as one character each: '.' not reached, 'm' made,
// 'f' failed, 'c' cancelled.
std::string StatesOf(const RunRecord& record) {
    std::string states;
    for (uint8_t state : record.states)
        states += ".mfc"[state & 3];
    return states;
}

class HistoryRun : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ResetDevice());
        executor = folder.File(DZ_EXECUTOR_FILE);
        ASSERT_TRUE(CopyFileW(ExecutorProgram().c_str(), executor.c_str(), FALSE));
        history = folder.File(DZ_HISTORY_FILE);
    }
    void TearDown() override {
        SetEnvironmentVariableA(kHistoryStopVariable, nullptr);
        SetEnvironmentVariableW(DZ_RUN_NOW_VARIABLE, nullptr);
    }
    int Run(const std::wstring& tail) {
        return static_cast<int>(RunProcess(executor, L"\"" + executor + L"\"" + tail));
    }

    ScratchFolder folder;
    std::wstring executor, history;
};

TEST_F(HistoryRun, EveryRunIsRecordedWithTheOutcomeOfEachStep) {
    const wchar_t cellular[] = L"Cellular Line";
    struct Case {
        const wchar_t* tail;
        std::vector<LineDevice> lines;
        bool telephonyFails, runNow;
        int code;
        uint16_t action;
        const char* states; // Bluetooth, telephony, line found, open, extension, equipment,
                            // register, power off
    } cases[] = {
        {L" 1 3", {{cellular}}, false, false, 0, PhoneOn, "mmmmmmm."},
        {L" 0 1", {{cellular}}, false, true, 0, PhoneOff, "mmmmmm.."},
        {L" 1 2", {{cellular}}, false, false, 0, PhoneOn, ".mmmmmm."},
        {L" 2 0", {{cellular}}, false, true, 0, PowerOff, "mmmmm..m"},
        {L" 0 0", {{L"Modem"}}, false, false, 0, PhoneOff, "mmf....."},
        {L" 1 1", {{cellular}}, true, false, 0, PhoneOn, "mf......"},
        {L" 1 1", {{cellular, LineFault::OpenFails}}, false, false, 0, PhoneOn, "mmmf...."},
        {L" 1 1", {{cellular, LineFault::ExtVersionFails}}, false, false, 0, PhoneOn, "mmmmf..."},
        {L" 1 1", {{cellular, LineFault::DevCapsRaises}}, false, false, -3, PhoneOn, "mm......"},
        {L" 3 1", {{cellular}}, false, false, -9, kNoAction, "........"},
        {L" 1", {{cellular}}, false, false, -10, kNoAction, "........"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "command line tail [" << c.tail << "]");
        DeviceConfig config;
        config.lines = c.lines;
        config.telephonyFails = c.telephonyFails;
        ASSERT_TRUE(ConfigureDevice(config));
        SetEnvironmentVariableW(DZ_RUN_NOW_VARIABLE, c.runNow ? L"1" : nullptr);
        EXPECT_EQ(Run(c.tail), c.code);
        const std::vector<RunRecord> records = LoadRunHistory(history.c_str());
        ASSERT_FALSE(records.empty());
        const RunRecord& newest = records.front();
        EXPECT_EQ(newest.sequence, static_cast<uint32_t>(&c - cases + 1));
        EXPECT_EQ(newest.action, c.action);
        EXPECT_EQ(newest.requester, c.runNow ? RequestedByRunNow : RequestedByEngine);
        EXPECT_EQ(newest.exitCode, c.code);
        EXPECT_TRUE(newest.finished);
        EXPECT_EQ(StatesOf(newest), c.states);
        EXPECT_EQ(RunFailed(newest),
                  c.code != 0 || std::string(c.states).find('f') != std::string::npos);
    }
    // The executor reads the clock that it inherits from the test: the same instant, give or
    // take the run's own time and the rounding of the handed-on clock.
    const FILETIME at = LoadRunHistory(history.c_str()).front().instant;
    const FILETIME now = LocalNow();
    const double seconds =
        (static_cast<double>(now.dwHighDateTime) - at.dwHighDateTime) * 429.4967296 +
        (static_cast<double>(now.dwLowDateTime) - at.dwLowDateTime) / 1e7;
    EXPECT_LT(std::abs(seconds), 60.0);
}

// The executor is ended after its first, second, ... write, on a new history and on a full
// ring whose oldest record the run replaces. Each time every other record is still there,
// byte for byte, and the run itself is either missing or a sealed record of how far it came.
TEST_F(HistoryRun, ARunCutOffAfterAnyWriteLeavesTheOtherRecordsWhole) {
    std::vector<unsigned char> fullRing(kHistoryFileSize);
    EncodeHistoryHeader(fullRing.data());
    for (uint32_t sequence = 1; sequence <= kHistorySlots; ++sequence) {
        RunRecord record;
        record.sequence = sequence;
        record.action = PhoneOff;
        record.finished = true;
        record.states[StepBluetooth] = StepMade;
        EncodeRunRecord(record, fullRing.data() + HistorySlotOffset(sequence));
    }
    struct Start {
        const char* what;
        std::vector<unsigned char> bytes; // none: no history file yet
        uint32_t newSequence;
    } starts[] = {{"no history yet", {}, 1}, {"a full ring", fullRing, kHistorySlots + 1}};
    for (const Start& start : starts) {
        SCOPED_TRACE(start.what);
        for (int stopAfter = 1;; ++stopAfter) {
            SCOPED_TRACE(testing::Message() << "ended after write " << stopAfter);
            DeleteFileW(history.c_str());
            if (!start.bytes.empty()) {
                ASSERT_TRUE(WriteBytes(history, start.bytes));
            }
            SetEnvironmentVariableA(kHistoryStopVariable, std::to_string(stopAfter).c_str());
            const DWORD code = RunProcess(executor, L"\"" + executor + L"\" 1 3");
            const std::vector<unsigned char> after = ReadBytes(history);
            const std::vector<RunRecord> records = ParseRunHistory(after.data(), after.size());

            // Every slot but the run's own is as it was.
            const size_t own = HistorySlotOffset(start.newSequence);
            ASSERT_GE(after.size(), start.bytes.size());
            for (size_t at = kHistoryHeaderSize; at < start.bytes.size(); at += kHistorySlotSize) {
                if (at == own) continue;
                ASSERT_TRUE(std::equal(start.bytes.begin() + at,
                                       start.bytes.begin() + at + kHistorySlotSize,
                                       after.begin() + at))
                    << "slot at " << at;
            }
            const size_t older = start.bytes.empty() ? 0 : kHistorySlots - 1;
            ASSERT_GE(records.size(), older);
            ASSERT_LE(records.size(), older + 1);
            if (records.size() == older + 1) {
                // The run's record, as far as it came: its steps are made in their order.
                EXPECT_EQ(records.front().sequence, start.newSequence);
                const std::string states = StatesOf(records.front());
                EXPECT_EQ(states.substr(0, states.find('.')) +
                              std::string(8 - states.find('.'), '.'),
                          states);
            }
            if (code != kHistoryStopExitCode) {
                // The seam was never reached: the whole run, ended and recorded.
                EXPECT_EQ(code, 0u);
                ASSERT_EQ(records.size(), older + 1);
                EXPECT_TRUE(records.front().finished);
                EXPECT_EQ(StatesOf(records.front()), "mmmmmmm.");
                EXPECT_GT(stopAfter, 10);
                break;
            }
            ASSERT_LT(stopAfter, 40) << "the run never ends";
        }
    }
}

TEST_F(HistoryRun, AHistoryThatCannotBeWrittenChangesNothingTheRunDoes) {
    // A folder where the file should be: neither opened nor written.
    ASSERT_TRUE(CreateDirectoryW(history.c_str(), nullptr));
    EXPECT_EQ(Run(L" 1 3"), 0);
    DeviceStatus status;
    ASSERT_TRUE(ReadDeviceStatus(status));
    EXPECT_EQ(status.bluetoothMode, BTH_DISCOVERABLE);
    EXPECT_EQ(status.registration, LINEREGMODE_AUTOMATIC);
    EXPECT_EQ(Run(L" 3 1"), kExecutorUnknownAction);
    RemoveDirectoryW(history.c_str());
}

} // namespace
