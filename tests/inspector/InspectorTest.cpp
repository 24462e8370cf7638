// dzinspect on files that the model writes, and on files that the model refuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/FileIo.h"
#include "tests/common/CivilInstants.h"
#include "tools/inspector/Inspector.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"
#include "core/model/Firings.h"
#include "core/model/RunHistory.h"

namespace {

std::wstring Iso(const FILETIME& instant) {
    const std::string text = Show(instant);
    return std::wstring(text.begin(), text.end());
}

std::string ReadAll(FILE* file) {
    std::string text;
    rewind(file);
    int c;
    while ((c = fgetc(file)) != EOF)
        text += static_cast<char>(c);
    return text;
}

struct RunResult {
    int exit;
    std::string out, err;
};

class Inspector : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("dz-inspect-" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        std::filesystem::create_directories(folder);
        storage = Core(folder / "storage.dat");
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    static std::wstring Core(const std::filesystem::path& p) {
        std::wstring s = p.wstring();
        for (wchar_t& c : s)
            if (c == L'/') c = L'\\';
        return s;
    }

    RunResult Inspect(std::vector<std::wstring> args) {
        args.insert(args.begin(), L"dzinspect");
        std::vector<wchar_t*> argv;
        for (std::wstring& a : args)
            argv.push_back(&a[0]);
        FILE* out = tmpfile();
        FILE* err = tmpfile();
        RunResult run{RunInspector(static_cast<int>(argv.size()), argv.data(), out, err), "", ""};
        run.out = ReadAll(out);
        run.err = ReadAll(err);
        fclose(out);
        fclose(err);
        return run;
    }

    void WriteRaw(const std::vector<unsigned char>& bytes, const char* mode = "wb") {
        FILE* f = OpenFile(storage.c_str(), mode[0] == 'a' ? L"ab" : L"wb");
        ASSERT_NE(f, nullptr);
        if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }

    // Texts of section [Test] beside the storage file.
    void WriteTexts() {
        const std::wstring lines[] = {L"[Test]",
                                      L"DLG_PHONE_OFF, Phone off",
                                      L"DLG_PHONE_ON, Phone on",
                                      L"DLG_POWER_OFF, Power off",
                                      L"WEEKLY_TEXT, weekly",
                                      L"NEXT24H_TEXT, in 24h",
                                      L"SHORT_MONDAY, M",
                                      L"SHORT_FRIDAY, F"};
        FILE* f = OpenFile(Core(folder / "local.dat").c_str(), L"wb");
        ASSERT_NE(f, nullptr);
        fputc(0xFF, f);
        fputc(0xFE, f);
        for (const std::wstring& line : lines)
            for (wchar_t c : line + L"\r\n") {
                fputc(static_cast<int>(c) & 0xFF, f);
                fputc(static_cast<int>(c) >> 8, f);
            }
        fclose(f);
    }

    // Weekly Monday and Friday 07:00 power off, a once entry, an active weekly entry without
    // weekdays; saved by the model.
    void SaveEntries() {
        DZList list;
        wcscpy(list.path, storage.c_str());
        auto* once = new DZItem();
        once->kind = Once;
        once->startTime = At(2026, 12, 24, 18, 0);
        once->action = PhoneOn;
        auto* weekly = new DZItem();
        weekly->startTime = At(2020, 1, 1, 7, 0);
        weekly->weekdayMask = 1 | 16;
        weekly->action = PowerOff;
        auto* none = new DZItem();
        none->startTime = At(2020, 1, 1, 6, 0);
        none->weekdayMask = 0;
        none->active = 0;
        list.Append(once);
        list.Append(weekly);
        list.Append(none);
        ASSERT_TRUE(list.Save());
    }

    std::filesystem::path folder;
    std::wstring storage;
};

TEST_F(Inspector, ListsEntriesInDisplayOrderWithTextsAndNextOccurrence) {
    SaveEntries();
    WriteTexts();
    const RunResult run =
        Inspect({L"--language", L"Test", L"--at", L"2026-12-09 10:00:00", storage});
    EXPECT_EQ(run.exit, kInspectOk) << run.err;
    EXPECT_EQ(run.err, "");
    const size_t none = run.out.find("weekly   disabled start=2020-01-01 06:00:00 weekdays=0x00");
    const size_t weekly = run.out.find("weekly   active   start=2020-01-01 07:00:00 weekdays=0x11");
    const size_t once = run.out.find("once     active   start=2026-12-24 18:00:00 action=1");
    ASSERT_NE(none, std::string::npos) << run.out;
    ASSERT_NE(weekly, std::string::npos) << run.out;
    ASSERT_NE(once, std::string::npos) << run.out;
    EXPECT_LT(none, weekly); // weekly entries first, by time of day
    EXPECT_LT(weekly, once);
    EXPECT_NE(run.out.find("| Power off | "), std::string::npos) << run.out;
    // The missing days as middle dots, each letter apart by a thin blank, in UTF-8.
    const std::string days = "M\u2009\u00B7\u2009\u00B7\u2009\u00B7\u2009F\u2009\u00B7\u2009\u00B7";
    EXPECT_NE(run.out.find(", weekly: " + days + " | next=2026-12-11 07:00:00\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("next=never\n"), std::string::npos);
    EXPECT_NE(run.out.find("3 entries, next occurrences after 2026-12-09 10:00:00"),
              std::string::npos);
}

TEST_F(Inspector, JsonHasTheSameEntries) {
    SaveEntries();
    const RunResult run = Inspect({L"--json", L"--at", L"2027-01-01 00:00:00", storage});
    EXPECT_EQ(run.exit, kInspectOk);
    EXPECT_NE(run.err.find("texts show as <undefined>"), std::string::npos) << run.err;
    EXPECT_EQ(run.out.rfind("{\"file\": ", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\"state\": \"whole\""), std::string::npos);
    EXPECT_NE(run.out.find("\"next\": null"), std::string::npos);
    EXPECT_NE(run.out.find("\"kind\": \"once\", \"kindCode\": 2"), std::string::npos);
    EXPECT_NE(run.out.find("\"next\": null, \"passed\": true, \"neverRuns\": false}"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.substr(run.out.size() - 3), "]}\n");
}

// The list's mark, the inspector's list mode and the engine's rule give one answer for every
// kind, including entries that the older next-occurrence rule got wrong.
TEST_F(Inspector, ListModeMarksAndNextFiringAgree) {
    Schedule monthly{Monthly, At(2024, 1, 10, 10, 2, 30)};
    monthly.dayOfMonth = 10;
    Schedule dayThirtyOneOfFebruary{Monthly, At(2026, 1, 31, 8, 0)};
    dayThirtyOneOfFebruary.monthMask = 2;
    dayThirtyOneOfFebruary.dayOfMonth = 31;
    const struct {
        const char* what;
        Schedule when;
        int32_t active;
        FILETIME at, next;
        EntryMark mark;
        const char* shown; // the end of the inspector's line
    } rows[] = {
        {"monthly started years ago", monthly, 1, At(2026, 6, 1), At(2026, 6, 10, 10, 2, 30),
         EntryMark::None, "next=2026-06-10 10:02:30\n"},
        {"yearly on 29 February",
         {Yearly, At(2024, 2, 29, 7, 0)},
         1,
         At(2026, 12, 9),
         At(2028, 2, 29, 7, 0),
         EntryMark::None,
         "next=2028-02-29 07:00:00\n"},
        {"weekly without a weekday",
         {Weekly, At(2026, 1, 1, 7, 0), 0},
         1,
         At(2026, 12, 9),
         kNever,
         EntryMark::NeverRuns,
         "next=never (never runs)\n"},
        {"monthly on a day that never exists", dayThirtyOneOfFebruary, 1, At(2026, 12, 9), kNever,
         EntryMark::NeverRuns, "next=never (never runs)\n"},
        {"once, passed",
         {Once, At(2026, 12, 8, 7, 26)},
         1,
         At(2026, 12, 8, 7, 27),
         kNever,
         EntryMark::Past,
         "next=never (passed)\n"},
        {"once, at the instant itself",
         {Once, At(2026, 12, 8, 7, 26)},
         1,
         At(2026, 12, 8, 7, 26),
         kNever,
         EntryMark::Past,
         "next=never (passed)\n"},
        {"next 24 hours, ahead",
         {Next24Hours, At(2026, 12, 9, 6, 0)},
         1,
         At(2026, 12, 8, 7, 27),
         At(2026, 12, 9, 6, 0),
         EntryMark::None,
         "next=2026-12-09 06:00:00\n"},
        {"disabled weekly",
         {Weekly, At(2026, 1, 1, 7, 0)},
         0,
         At(2026, 12, 9),
         kNever,
         EntryMark::None,
         "next=never\n"},
    };
    for (const auto& row : rows) {
        DZList list;
        wcscpy(list.path, storage.c_str());
        auto* entry = new DZItem(row.when, {PhoneOff, 0}, row.active);
        list.Append(entry);
        ASSERT_TRUE(list.Save());
        EXPECT_INSTANT(row.next, NextFiring(*entry, row.at)) << row.what;
        EXPECT_EQ(MarkOf(*entry, row.at), row.mark) << row.what;
        // Only a pending one-time entry's mark changes with time, when its instant passes.
        const bool oneTime = row.when.kind == Once || row.when.kind == Next24Hours;
        EXPECT_INSTANT(oneTime ? row.next : kNever, NextMarkChange(list, row.at)) << row.what;
        const RunResult run = Inspect({L"--at", Iso(row.at), storage});
        EXPECT_NE(run.out.find(row.shown), std::string::npos) << row.what << "\n" << run.out;
    }
}

TEST_F(Inspector, UpcomingListsTheNextFiringsInTimeOrder) {
    SaveEntries();
    WriteTexts();
    const std::vector<std::wstring> at = {L"--language", L"Test", L"--at", L"2026-12-09 10:00:00"};
    std::vector<std::wstring> args = at;
    args.insert(args.end(), {L"--upcoming", L"4", storage});
    const RunResult text = Inspect(args);
    EXPECT_EQ(text.exit, kInspectOk) << text.err;
    EXPECT_EQ(text.out, "2026-12-11 07:00:00  weekly   active   start=2020-01-01 07:00:00 "
                        "weekdays=0x11 action=2 options=0 | Power off\n"
                        "2026-12-14 07:00:00  weekly   active   start=2020-01-01 07:00:00 "
                        "weekdays=0x11 action=2 options=0 | Power off\n"
                        "2026-12-18 07:00:00  weekly   active   start=2020-01-01 07:00:00 "
                        "weekdays=0x11 action=2 options=0 | Power off\n"
                        "2026-12-21 07:00:00  weekly   active   start=2020-01-01 07:00:00 "
                        "weekdays=0x11 action=2 options=0 | Power off\n");
    args = at;
    args.insert(args.end(), {L"--json", L"--upcoming", L"5", storage});
    const RunResult json = Inspect(args);
    EXPECT_EQ(json.out.rfind("[\n  {\"instant\": \"2026-12-11 07:00:00\", \"kind\": \"weekly\"", 0),
              0u)
        << json.out;
    EXPECT_NE(json.out.find("{\"instant\": \"2026-12-24 18:00:00\", \"kind\": \"once\""),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"action\": 1, \"options\": 0, \"actionText\": \"Phone on\"}\n]\n"),
              std::string::npos)
        << json.out;
    args = {L"--at", L"2027-06-01 00:00:00", L"--upcoming", L"0", storage};
    EXPECT_EQ(Inspect(args).out, "nothing scheduled\n");
    EXPECT_EQ(Inspect({L"--upcoming", L"x", storage}).exit, kInspectUsage);
}

TEST_F(Inspector, DamagedTailListsTheEntriesBeforeItAndSaysWhereLoadingStopped) {
    SaveEntries();
    WriteRaw({0x01, 0x00, 0x00}, "ab"); // a record cut short after 8 + 3 * 20 bytes
    const RunResult run = Inspect({storage});
    EXPECT_EQ(run.exit, kInspectDamaged);
    EXPECT_NE(run.out.find("3 entries"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("loading stopped at byte 68"), std::string::npos) << run.err;
}

TEST_F(Inspector, RefusedFilesAndBadArgumentsAreNamedWithANonZeroExit) {
    const struct {
        std::vector<unsigned char> bytes;
        int exit;
        const char* message;
    } cases[] = {
        {{}, kInspectRefused, "the file has 0 bytes"},
        {{0x34, 0x12, 0x02, 0x01, 0x01, 0, 0, 0}, kInspectRefused, "first word is 0x1234"},
        {{0x05, 0xCE, 0x01, 0x01, 0x01, 0, 0, 0}, kInspectRefused, "version word is 0x0101"},
        {{0x05, 0xCE, 0x02, 0x01, 0x00, 0, 1, 0}, kInspectRefused, "high half must be 0"},
        {{0x05, 0xCE, 0x02}, kInspectRefused, "cut short after 3 bytes"},
        {{0x00, 0xCE, 0x02, 0x01, 0xFF, 0xFF, 0, 0}, kInspectOk, ""}, // a plain list
    };
    for (const auto& c : cases) {
        WriteRaw(c.bytes);
        const RunResult run = Inspect({storage});
        EXPECT_EQ(run.exit, c.exit) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    std::filesystem::remove(folder / "storage.dat");
    EXPECT_EQ(Inspect({storage}).exit, kInspectMissing);
    EXPECT_EQ(Inspect({L"--at", L"2026-02-29 10:00:00", storage}).exit, kInspectUsage);
    EXPECT_EQ(Inspect({L"--bogus", storage}).exit, kInspectUsage);
    EXPECT_EQ(Inspect({}).exit, kInspectUsage);
}

TEST_F(Inspector, HistoryListsTheSealedRunsNewestFirstAsJson) {
    // Run 2 is a power-off by Run now that was cancelled; run 3's slot was cut off after its
    // body, so its seal does not match; run 1 found no cellular line.
    std::vector<unsigned char> bytes(kHistoryHeaderSize + 3 * kHistorySlotSize);
    EncodeHistoryHeader(bytes.data());
    RunRecord first;
    first.sequence = 1;
    first.instant = At(2026, 12, 7, 23, 0);
    first.action = PhoneOff;
    first.option = 1;
    first.finished = true;
    first.states[StepBluetooth] = first.states[StepTelephony] = StepMade;
    first.states[StepFindLine] = StepFailed;
    first.results[StepFindLine] = 2;
    RunRecord second = first;
    second.sequence = 2;
    second.action = PowerOff;
    second.requester = RequestedByRunNow;
    second.states[StepFindLine] = second.states[StepOpenLine] = second.states[StepExtension] =
        StepMade;
    second.results[StepFindLine] = 0;
    second.states[StepPowerOff] = StepCancelled;
    RunRecord third = first;
    third.sequence = 3;
    EncodeRunRecord(first, &bytes[HistorySlotOffset(1)]);
    EncodeRunRecord(second, &bytes[HistorySlotOffset(2)]);
    EncodeRunRecord(third, &bytes[HistorySlotOffset(3)]);
    bytes[HistorySlotOffset(3) + kHistorySealOffset] ^= 1;
    WriteRaw(bytes);

    const RunResult run = Inspect({L"--history", L"--json", storage});
    EXPECT_EQ(run.exit, kInspectOk) << run.err;
    const std::string steps = "\"telephony\": {\"state\": \"made\", \"result\": 0}, ";
    EXPECT_NE(run.out.find("\"runs\": [\n  {\"sequence\": 2, \"instant\": \"2026-12-07 "
                           "23:00:00\", \"requester\": \"runNow\", \"action\": 2, \"option\": 1, "
                           "\"exitCode\": 0, \"finished\": true, \"failed\": false, \"steps\": "
                           "{\"bluetooth\": {\"state\": \"made\", \"result\": 0}, " +
                           steps),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"powerOff\": {\"state\": \"cancelled\", \"result\": 0}}},\n  "
                           "{\"sequence\": 1, "),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"findLine\": {\"state\": \"failed\", \"result\": 2}"),
              std::string::npos);
    EXPECT_EQ(run.out.find("\"sequence\": 3"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.substr(run.out.size() - 6), "}}\n]}\n");

    const RunResult text = Inspect({L"--history", storage});
    EXPECT_NE(text.out.find(": 2 runs, newest first\n#2 2026-12-07 23:00:00 runNow action=2 "
                            "option=1 exit=0 cancelled | bluetooth=made(0)"),
              std::string::npos)
        << text.out;
    WriteRaw({'D', 'Z'});
    EXPECT_EQ(Inspect({L"--history", storage}).exit, kInspectRefused);
    std::filesystem::remove(folder / "storage.dat");
    EXPECT_EQ(Inspect({L"--history", L"--json", storage}).exit, kInspectMissing);
}

} // namespace
