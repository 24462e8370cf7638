// The whole road under Wine: the installed engine, launched as the program launches it, reads
// the entries that the model saved, fires them through DozaraDLL and DozaraUtil into the
// simulated phone, follows changes to the file, and survives whatever it is given.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/EngineNames.h"
#include "platform/device/DeviceState.h"
#include "platform/device/PhoneApi.h"
#include "tests/common/FileHolder.h"
#include "tests/engine/EngineHarness.h"
#include "contract/EngineContract.h"
#include "core/model/Firings.h"
#include "core/model/RunHistory.h"

namespace {

constexpr DWORD kFiringWaitMs = 8000;
const wchar_t kReleaseExecutors[] = L"DozaraTestReleaseExecutors";

std::vector<std::wstring> CallsNamed(const std::vector<std::wstring>& journal,
                                     const std::wstring& prefix) {
    std::vector<std::wstring> calls;
    for (const std::wstring& line : journal)
        if (line.compare(0, prefix.size(), prefix) == 0) calls.push_back(line);
    return calls;
}

// "entry <n> " of the first count firings from `from` on that the coming-up list shows.
std::vector<std::string> ComingUp(const std::vector<EntrySpec>& entries, uint64_t from,
                                  size_t count) {
    DZList list;
    AppendEntries(entries, list);
    std::vector<std::string> listed;
    for (const UpcomingFiring& firing : UpcomingFirings(list, FromTicks(from), count)) {
        int number = 1;
        for (const StorageItem* e = list.head; e != firing.entry; e = e->next)
            ++number;
        listed.push_back("entry " + std::to_string(number) + " ");
    }
    return listed;
}

// The journal's firing and fired lines for the entries, each begun and ended before the next.
std::vector<std::string> OneAfterAnother(const std::vector<std::string>& entries) {
    std::vector<std::string> steps;
    for (const std::string& entry : entries) {
        steps.push_back("firing " + entry);
        steps.push_back("fired " + entry);
    }
    return steps;
}

// Moves a file of the program folder away for the lifetime of this object.
class FileAway {
  public:
    FileAway(const std::wstring& path) : path(path), away(path + L".away") {
        moved = MoveFileExW(path.c_str(), away.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    }
    ~FileAway() {
        if (moved) MoveFileExW(away.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    bool moved;

  private:
    std::wstring path, away;
};

class EngineRoad : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // An engine left running by someone else would answer in place of ours.
        StopRunningEngine();
        engine = new InstalledEngine();
        installFailure.clear();
        installed = engine->Install(installFailure);
    }
    static void TearDownTestSuite() {
        StopRunningEngine();
        if (!::testing::Test::HasFailure()) engine->Remove();
        delete engine;
        engine = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(installed) << std::string(installFailure.begin(), installFailure.end());
        ASSERT_TRUE(engine->Start());
        ASSERT_TRUE(ResetDevice());
        start = engine->JournalLines().size();
    }

    // Saves the entries, signals the engine and waits until it has read them.
    void Hand(const std::vector<EntrySpec>& entries) {
        ASSERT_TRUE(engine->WriteEntries(entries));
        Refresh();
    }
    void Refresh() {
        const size_t before = engine->JournalLines().size();
        ASSERT_TRUE(InstalledEngine::SignalRefresh());
        ASSERT_GE(engine->WaitForLine({"load "}, 3000, before), 0);
    }

    // The journal's firing and fired lines from index from on, as "firing entry <n> " and
    // "fired entry <n> ", in the journal's order.
    std::vector<std::string> FiringSteps(size_t from) const {
        const std::vector<std::string> journal = engine->JournalLines();
        std::vector<std::string> steps;
        for (size_t i = from; i < journal.size(); ++i) {
            for (const char* step : {" firing entry ", " fired entry "}) {
                const size_t at = journal[i].find(step);
                if (at != std::string::npos)
                    steps.push_back(journal[i].substr(at + 1, journal[i].find('(', at) - at - 1));
            }
        }
        return steps;
    }

    // Holds every thread of the engine, as a phone asleep would, or lets it go on.
    static bool HoldEngine(bool hold) {
        using ProcessCall = LONG(WINAPI*)(HANDLE);
        const auto call = reinterpret_cast<ProcessCall>(reinterpret_cast<void*>(GetProcAddress(
            GetModuleHandleW(L"ntdll.dll"), hold ? "NtSuspendProcess" : "NtResumeProcess")));
        return call && call(engine->Process()) == 0;
    }

    static InstalledEngine* engine;
    static bool installed;
    static std::wstring installFailure;
    size_t start = 0;
};

InstalledEngine* EngineRoad::engine = nullptr;
bool EngineRoad::installed = false;
std::wstring EngineRoad::installFailure;

TEST_F(EngineRoad, OnceEntryRunsItsActionOnTheDeviceExactlyOnce) {
    const uint64_t instant = NowPlus(2.5);
    Hand({{Once, instant, 1, PhoneOff, kOptionBluetooth},
          {Once, instant, 0, PhoneOn, kOptionBluetooth | kOptionDiscoverable},
          {Weekly, NowPlus(3 * 3600), 1, PowerOff, 0}});
    std::string fired;
    ASSERT_GE(engine->WaitForLine({"fired entry 1 ", "result=0"}, kFiringWaitMs, start, &fired), 0);
    Sleep(500); // room for anything that should not happen

    const std::vector<std::wstring> journal = ReadDeviceJournal();
    const std::vector<std::wstring> bluetooth = CallsNamed(journal, L"BthSetMode(");
    const std::vector<std::wstring> equipment = CallsNamed(journal, L"lineSetEquipmentState(");
    ASSERT_EQ(bluetooth.size(), 1u);
    EXPECT_EQ(bluetooth[0].compare(0, 13, L"BthSetMode(0)"), 0);
    ASSERT_EQ(equipment.size(), 1u);
    EXPECT_NE(equipment[0].find(L"state=1)"), std::wstring::npos);
    size_t bluetoothAt = 0, equipmentAt = 0;
    for (size_t i = 0; i < journal.size(); ++i) {
        if (journal[i] == bluetooth[0]) bluetoothAt = i;
        if (journal[i] == equipment[0]) equipmentAt = i;
    }
    EXPECT_LT(bluetoothAt, equipmentAt);
    EXPECT_TRUE(CallsNamed(journal, L"lineRegister(").empty());

    EXPECT_EQ(engine->CountLines({"firing "}, start), 1u);
    EXPECT_EQ(engine->CountLines({"firing entry 2 "}, start), 0u);
    // On time: never early, and late by no more than the wait's own slack.
    const double late =
        JournalMs(JournalField(fired, "actual=")) - JournalMs(JournalField(fired, "scheduled="));
    EXPECT_GE(late, 0) << fired;
    EXPECT_LT(late, 500) << fired;
    EXPECT_TRUE(engine->LaunchedRunning());
}

TEST_F(EngineRoad, AScheduledPowerOffShowsItsNoticeThenSwitchesOffAndIsRecorded) {
    const std::wstring history = engine->ProgramFolder() + L"\\" DZ_HISTORY_FILE;
    DeleteFileW(history.c_str());
    Hand({{Once, NowPlus(2), 1, PowerOff, 0}});
    // The executor that the engine started shows its notice for the one second that the tests
    // count down, then switches off.
    bool shown = false;
    for (int wait = 0; wait < 160 && !shown; ++wait) {
        shown = FindWindowW(L"DzPowerOffNotice", nullptr) != nullptr;
        if (!shown) Sleep(50);
    }
    EXPECT_TRUE(shown);
    ASSERT_GE(engine->WaitForLine({"fired entry 1 ", "result=0"}, kFiringWaitMs, start), 0);
    DeviceStatus status;
    ASSERT_TRUE(ReadDeviceStatus(status));
    EXPECT_EQ(status.powerState, POWER_STATE_OFF);
    const std::vector<RunRecord> runs = LoadRunHistory(history.c_str());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].action, PowerOff);
    EXPECT_EQ(runs[0].requester, RequestedByEngine);
    EXPECT_EQ(runs[0].states[StepPowerOff], StepMade);
    EXPECT_FALSE(RunFailed(runs[0]));
}

TEST_F(EngineRoad, FiresInTheOrderTheComingUpListShows) {
    const uint64_t now = ToTicks(LocalNow());
    const std::vector<EntrySpec> entries = {
        {Next24Hours, now + 55 * kTicksPerSecond / 10, 1, PhoneOn, 0},
        {Weekly, now + 35 * kTicksPerSecond / 10, 1, PhoneOff, 0},
        {Once, now + 25 * kTicksPerSecond / 10, 1, PhoneOn, kOptionBluetooth},
        {Once, now + 30 * kTicksPerSecond / 10, 0, PowerOff, 0},
        {Weekly, now + 45 * kTicksPerSecond / 10, 1, PhoneOff, kOptionBluetooth, 0},
    };
    const std::vector<std::string> listed = ComingUp(entries, now, 3);
    ASSERT_EQ(listed.size(), 3u);
    Hand(entries);
    ASSERT_GE(engine->WaitForLine({"fired entry 1 "}, kFiringWaitMs, start), 0);
    EXPECT_EQ(FiringSteps(start), OneAfterAnother(listed));
}

// Firings due together run one after another in firing order, so the phone ends in the state
// of the entry that comes last: entries at one instant in the coming-up list's order (which is
// not the file's), and entries whose instants the engine slept through (the phone woke, the
// clock moved on) earliest first.
TEST_F(EngineRoad, FiringsDueTogetherRunOneAfterAnotherAndTheLastDecides) {
    constexpr uint64_t kSecond = kTicksPerSecond;
    struct Case {
        const char* what;
        std::vector<EntrySpec> entries; // starts from now
        bool asleep;                    // the engine is held while every instant passes
        uint32_t equipment, bluetooth;  // the phone's state at the end
    } cases[] = {
        {"one instant",
         {{Once, 3 * kSecond, 1, PhoneOn, kOptionsDiscoverable},
          {Next24Hours, 3 * kSecond, 1, PhoneOff, 0},
          {Weekly, 3 * kSecond, 1, PhoneOn, kOptionBluetooth}},
         false,
         LINEEQUIPSTATE_MINIMUM,
         BTH_POWER_OFF},
        {"slept through three instants",
         {{Once, 4 * kSecond, 1, PhoneOn, kOptionBluetooth},
          {Weekly, 35 * kSecond / 10, 1, PhoneOff, 0},
          {Once, 3 * kSecond, 1, PhoneOn, kOptionsDiscoverable}},
         true,
         LINEEQUIPSTATE_FULL,
         BTH_CONNECTABLE},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(ResetDevice());
        const size_t from = engine->JournalLines().size();
        const uint64_t now = ToTicks(LocalNow());
        uint64_t last = 0;
        for (EntrySpec& entry : c.entries) {
            entry.start += now;
            last = std::max(last, entry.start);
        }
        const std::vector<std::string> listed = ComingUp(c.entries, now, 3);
        Hand(c.entries);
        if (c.asleep) {
            ASSERT_TRUE(HoldEngine(true));
            Sleep(static_cast<DWORD>((last - now) / kTicksPerMs) + 1000);
            ASSERT_TRUE(HoldEngine(false));
        }
        ASSERT_GE(engine->WaitForLine({"fired " + listed.back()}, kFiringWaitMs, from), 0);
        EXPECT_EQ(FiringSteps(from), OneAfterAnother(listed));
        DeviceStatus phone{};
        ASSERT_TRUE(ReadDeviceStatus(phone));
        EXPECT_EQ(phone.equipmentState, c.equipment);
        EXPECT_EQ(phone.bluetoothMode, c.bluetooth);
        if (!c.asleep) continue;
        // All three were due at the wake: the first began after the last instant.
        std::string first;
        ASSERT_GE(engine->WaitForLine({"firing " + listed.front()}, 0, from, &first), 0);
        EXPECT_GE(JournalMs(JournalField(first, "actual=")), last / kTicksPerMs) << first;
    }
}

TEST_F(EngineRoad, FollowsTheFileAfterEachRefresh) {
    const EntrySpec moved{Once, NowPlus(30), 1, PhoneOn, 0};
    const EntrySpec deleted{Once, NowPlus(2), 1, PowerOff, 0};
    const EntrySpec kept{Once, NowPlus(40), 1, PhoneOff, 0};
    Hand({moved, deleted, kept});
    EntrySpec movedEarlier = moved;
    movedEarlier.start = NowPlus(1.5);
    Hand({kept, movedEarlier});

    ASSERT_GE(engine->WaitForLine({"fired entry 2 (once", "action 1"}, kFiringWaitMs, start), 0);
    const int64_t untilDeleted = static_cast<int64_t>(deleted.start - ToTicks(LocalNow()));
    Sleep(static_cast<DWORD>(std::max<int64_t>(untilDeleted / 10000, 0)) + 300);
    EXPECT_EQ(engine->CountLines({"firing "}, start), 1u);
    EXPECT_TRUE(CallsNamed(ReadDeviceJournal(), L"SetSystemPowerState(").empty());

    // The same file read again fires nothing that has fired already.
    Refresh();
    Sleep(300);
    EXPECT_EQ(engine->CountLines({"firing "}, start), 1u);
}

TEST_F(EngineRoad, SurvivesBadEntryFiles) {
    std::string whole("\x05\xCE\x02\x01\x01\x00\x00\x00", 8);
    std::string record(20, '\0');
    const uint64_t soon = NowPlus(1.5);
    record[0] = Once;
    for (int i = 0; i < 8; ++i)
        record[4 + i] = static_cast<char>(soon >> (8 * i));
    record[12] = 127;
    record[13] = 1;
    record[14] = 4;
    struct Case {
        const char* what;
        bool present;
        std::string bytes;
        std::vector<std::string> load;
    } cases[] = {
        {"missing", false, "", {"state=missing", "entries=0"}},
        {"empty", true, "", {"state=refused", "entries=0"}},
        {"a plain list's file",
         true,
         std::string("\x00\xCE", 2) + whole.substr(2),
         {"state=refused", "entries=0"}},
        {"a header cut short", true, whole.substr(0, 5), {"state=refused"}},
        {"damaged after one entry",
         true,
         whole + record + record.substr(0, 9),
         {"state=damaged stopped-at=28", "entries=1"}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.present ? engine->WriteBytes(c.bytes) : engine->DeleteEntries()) << c.what;
        const size_t before = engine->JournalLines().size();
        ASSERT_TRUE(InstalledEngine::SignalRefresh());
        std::vector<std::string> parts{"load "};
        parts.insert(parts.end(), c.load.begin(), c.load.end());
        EXPECT_GE(engine->WaitForLine(parts, 3000, before), 0) << c.what;
        EXPECT_TRUE(engine->LaunchedRunning()) << c.what;
    }
    // The entry before the damage still fires.
    EXPECT_GE(engine->WaitForLine({"fired entry 1 ", "result=0"}, kFiringWaitMs, start), 0);
}

// A refresh while another program holds the file open without sharing says nothing about the
// entries: the engine keeps what it waits for and reads again until it can. A file that is
// really gone empties the schedule.
TEST_F(EngineRoad, KeepsItsScheduleWhileTheFileCannotBeRead) {
    struct Case {
        const char* what;
        bool gone;
        const char* state;
        bool fires;
    } cases[] = {
        {"held without sharing", false, "state=unreadable", true},
        {"gone", true, "state=missing", false},
    };
    const std::wstring file = engine->ProgramFolder() + L"\\" DZ_STORAGE_FILE;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const EntrySpec due{Once, NowPlus(4), 1, PhoneOn, 0};
        Hand({due});
        const size_t from = engine->JournalLines().size();
        if (c.gone) {
            ASSERT_TRUE(engine->DeleteEntries());
            Refresh();
        } else {
            FileHolder holder(file, 0);
            ASSERT_TRUE(holder.Held());
            ASSERT_TRUE(InstalledEngine::SignalRefresh());
            ASSERT_GE(engine->WaitForLine({"load ", "retry-ms="}, 5000, from), 0);
            Sleep(1500); // more tries while the file stays held
        }
        EXPECT_GE(engine->WaitForLine({"load ", c.state, "entries=0"}, 100, from), 0);
        const int fired =
            engine->WaitForLine({"fired entry 1 "}, c.fires ? kFiringWaitMs : 5000, from);
        EXPECT_EQ(fired >= 0, c.fires);
        if (c.fires) {
            EXPECT_GE(engine->WaitForLine({"load ", "state=whole"}, 100, from), 0);
        }
    }
}

TEST_F(EngineRoad, MissingLibraryOrExecutorIsJournaledAsMinusOne) {
    for (const wchar_t* name : {DZ_CALLBACK_LIBRARY, DZ_EXECUTOR_FILE}) {
        FileAway away(engine->ProgramFolder() + L"\\" + name);
        ASSERT_TRUE(away.moved);
        const size_t before = engine->JournalLines().size();
        Hand({{Once, NowPlus(1), 1, PhoneOff, 0}});
        EXPECT_GE(engine->WaitForLine({"fired entry 1 ", "result=-1"}, kFiringWaitMs, before), 0);
        EXPECT_TRUE(engine->LaunchedRunning());
    }
    EXPECT_TRUE(ReadDeviceJournal().empty());
}

// Firings run one after another, so a hung executor holds up the next firing only until the
// time limit: then it is ended, its firing journaled with the ended executor's code, and the
// next one runs.
TEST_F(EngineRoad, HungExecutorIsEndedAtTheLimitAndTheNextFiringRuns) {
    const std::wstring executor = engine->ProgramFolder() + L"\\" DZ_EXECUTOR_FILE;
    FileAway away(executor);
    ASSERT_TRUE(CopyFileW(BuiltFile(DZ_HANGING_EXECUTOR_PATH).c_str(), executor.c_str(), FALSE));
    const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, kReleaseExecutors);
    Hand({{Once, NowPlus(1), 1, PhoneOff, 0}, {Once, NowPlus(1.5), 1, PhoneOn, 0}});

    std::string ended;
    ASSERT_GE(
        engine->WaitForLine({"fired entry 1 ", "result=" + std::to_string(kExecutorEndedAtLimit)},
                            kFiringLimitMs + kFiringWaitMs, start, &ended),
        0);
    EXPECT_GE(JournalMs(JournalStamp(ended)) - JournalMs(JournalField(ended, "actual=")),
              kFiringLimitMs)
        << ended;
    EXPECT_GE(engine->WaitForLine({"note entry 1 ", "executors ended: 1"}, 0, start), 0);
    SetEvent(release);
    EXPECT_GE(engine->WaitForLine({"fired entry 2 ", "result=0"}, kFiringWaitMs, start), 0);
    EXPECT_EQ(FiringSteps(start), OneAfterAnother({"entry 1 ", "entry 2 "}));
    CloseHandle(release);
    DeleteFileW(executor.c_str());
}

TEST_F(EngineRoad, AnnouncedClockChangeIsNoticed) {
    Hand({{Once, NowPlus(600), 1, PhoneOff, 0}});
    DWORD_PTR answer;
    SendMessageTimeoutW(HWND_BROADCAST, WM_TIMECHANGE, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
    EXPECT_GE(engine->WaitForLine({"clock changed"}, 3000, start), 0);
}

TEST_F(EngineRoad, SecondEngineEndsAtOnceAndStopEndsTheFirst) {
    EXPECT_EQ(engine->RunEngine(L"", 5000), kEngineExitAlreadyRunning);
    EXPECT_GE(engine->WaitForLine({"second engine"}, 1000, start), 0);
    // The first goes on as before.
    Hand({{Once, NowPlus(1), 1, PhoneOff, 0}});
    EXPECT_GE(engine->WaitForLine({"fired entry 1 ", "result=0"}, kFiringWaitMs, start), 0);

    EXPECT_EQ(engine->RunEngine(L"/stop", 15000), kEngineExitStopped);
    EXPECT_EQ(WaitForSingleObject(engine->Process(), 2000), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeProcess(engine->Process(), &exitCode);
    EXPECT_EQ(exitCode, static_cast<DWORD>(kEngineExitStopped));
    EXPECT_GE(engine->WaitForLine({"stop "}, 1000, start), 0);
    EXPECT_EQ(engine->RunEngine(L"/stop", 5000), kEngineExitNoEngine);
    // As the program would, the next start launches a fresh engine.
    EXPECT_TRUE(engine->Start());
    EXPECT_TRUE(engine->LaunchedRunning());
}

// The first window of a fresh Wine session can wait about ten seconds for the desktop. A hook
// that holds up every window the engine makes stands in for such a desktop: the engine is
// ready within the time the program waits all the same, and takes refreshes and fires.
TEST_F(EngineRoad, ReadyAndWorkingWhileItsWindowIsHeldUp) {
    StopRunningEngine();
    const HMODULE library = LoadLibraryW(BuiltFile(DZ_HOLD_UP_WINDOWS_PATH).c_str());
    ASSERT_NE(library, nullptr);
    const auto holdUp = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(library, "HoldUpEngineWindows")));
    const HHOOK hook = SetWindowsHookExW(WH_CBT, holdUp, library, 0);
    ASSERT_NE(hook, nullptr);
    const bool ready = engine->Start();
    const size_t after = engine->JournalLines().size();
    if (ready) {
        Hand({{Once, NowPlus(1), 1, PhoneOff, 0}});
        EXPECT_GE(engine->WaitForLine({"fired entry 1 ", "result=0"}, kFiringWaitMs, after), 0);
    }
    UnhookWindowsHookEx(hook);
    FreeLibrary(library);
    EXPECT_TRUE(ready) << "ready within the program's wait";
}

} // namespace
