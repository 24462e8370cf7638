// The engine's choice of what fires when, with the clock given by the test.
#include <gtest/gtest.h>

#include <memory>

#include "engine/FiringSchedule.h"
#include "platform/core/SystemTimeFields.h"
#include "tests/engine/EngineHarness.h"

namespace {

uint64_t At(int year, int month, int day, int hour, int minute, int second = 0, int ms = 0) {
    const SYSTEMTIME time = SystemTimeOf(year, month, day, hour, minute, second, ms);
    FILETIME instant{};
    SystemTimeToFileTime(&time, &instant);
    return ToTicks(instant);
}

constexpr uint64_t kSecond = kTicksPerSecond;
constexpr int32_t kWednesday = 4;
// Wednesday 9 December 2026, 10:00.
const uint64_t kWednesday10 = At(2026, 12, 9, 10, 0);

std::unique_ptr<DZList> ListOf(const std::vector<EntrySpec>& specs) {
    auto list = std::make_unique<DZList>();
    AppendEntries(specs, *list);
    return list;
}

std::vector<int> Numbers(const std::vector<Firing>& firings) {
    std::vector<int> numbers;
    for (const Firing& firing : firings)
        numbers.push_back(firing.entryNumber);
    return numbers;
}

TEST(EngineSchedule, WhatWaitsAfterTheEngineLearnsOfAnEntry) {
    const uint64_t now = kWednesday10;
    struct Case {
        const char* what;
        EntrySpec entry;
        uint64_t waitsFor; // kNoInstant: nothing ever fires
    } cases[] = {
        {"once, ahead", {Once, now + 5 * kSecond}, now + 5 * kSecond},
        {"once, already past", {Once, now - kSecond}, kNoInstant},
        {"once, exactly now", {Once, now}, kNoInstant},
        {"next 24 hours, ahead", {Next24Hours, now + kSecond}, now + kSecond},
        {"next 24 hours, past", {Next24Hours, now - 60 * kSecond}, kNoInstant},
        {"once, disabled", {Once, now + 5 * kSecond, 0}, kNoInstant},
        {"weekly, disabled", {Weekly, At(2026, 1, 1, 11, 0), 0}, kNoInstant},
        {"weekly, later today",
         {Weekly, At(2026, 1, 1, 11, 0), 1, 0, 0, kWednesday},
         At(2026, 12, 9, 11, 0)},
        {"weekly, earlier today",
         {Weekly, At(2026, 1, 1, 9, 0), 1, 0, 0, kWednesday},
         At(2026, 12, 16, 9, 0)},
        {"weekly, no day", {Weekly, At(2026, 1, 1, 11, 0), 1, 0, 0, 0}, kNoInstant},
        {"unknown kind keeps its instant", {16, now + kSecond}, now + kSecond},
    };
    for (const Case& c : cases) {
        FiringSchedule schedule;
        schedule.TakeUp(ListOf({c.entry}), now);
        EXPECT_EQ(schedule.NextInstant(), c.waitsFor) << c.what;
        EXPECT_EQ(schedule.TakeDue(now + 14 * 24 * 3600 * kSecond).size(),
                  c.waitsFor == kNoInstant ? 0u : 1u)
            << c.what;
    }
}

TEST(EngineSchedule, OneTimeEntryFiresOnceWhenItsInstantArrives) {
    FiringSchedule schedule;
    const uint64_t instant = kWednesday10 + 3 * kSecond;
    schedule.TakeUp(ListOf({{Once, instant, 1, PhoneOn, 3}}), kWednesday10);
    EXPECT_TRUE(schedule.TakeDue(instant - 1).empty());
    const std::vector<Firing> due = schedule.TakeDue(instant);
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].scheduled, instant);
    const unsigned char block[] = {1, 0, 3, 0};
    EXPECT_EQ(0, memcmp(due[0].block, block, sizeof block));
    EXPECT_TRUE(schedule.TakeDue(instant + kSecond).empty());
    EXPECT_EQ(schedule.NextInstant(), kNoInstant);
}

TEST(EngineSchedule, WeeklyEntryFiresAtEachOccurrence) {
    FiringSchedule schedule;
    schedule.TakeUp(ListOf({{Weekly, At(2026, 1, 1, 11, 0), 1, 0, 0, kWednesday}}), kWednesday10);
    EXPECT_EQ(schedule.TakeDue(At(2026, 12, 9, 11, 0, 0, 2)).size(), 1u);
    EXPECT_EQ(schedule.NextInstant(), At(2026, 12, 16, 11, 0));
    EXPECT_TRUE(schedule.TakeDue(At(2026, 12, 16, 10, 59, 59)).empty());
    EXPECT_EQ(schedule.TakeDue(At(2026, 12, 16, 11, 0)).size(), 1u);
}

TEST(EngineSchedule, RefreshKeepsWhatUnchangedEntriesWaitForAndFollowsChanges) {
    const uint64_t now = kWednesday10;
    const EntrySpec unchanged{Once, now + 10 * kSecond, 1, PhoneOff, 1};
    const EntrySpec movedBefore{Once, now + 20 * kSecond, 1, PhoneOn, 0};
    const EntrySpec movedAfter{Once, now + 5 * kSecond, 1, PhoneOn, 0};
    const EntrySpec deleted{Once, now + 7 * kSecond, 1, PowerOff, 0};
    FiringSchedule schedule;
    schedule.TakeUp(ListOf({unchanged, movedBefore, deleted}), now);

    // The unchanged entry's instant passes while the file is being read again: it was known
    // before its instant, so it still fires.
    schedule.TakeUp(ListOf({movedAfter, unchanged}), now + 12 * kSecond);
    EXPECT_EQ(Numbers(schedule.TakeDue(now + 12 * kSecond)), std::vector<int>{2});
    // The moved entry was learned anew after its new instant had passed.
    EXPECT_EQ(schedule.NextInstant(), kNoInstant);

    // After it fired, reading the same file again fires nothing more.
    schedule.TakeUp(ListOf({movedAfter, unchanged}), now + 13 * kSecond);
    EXPECT_TRUE(schedule.TakeDue(now + 60 * kSecond).empty());
}

TEST(EngineSchedule, NoOccurrenceFiresTwice) {
    const EntrySpec weekly{Weekly, At(2026, 1, 1, 11, 0), 1, PhoneOff, 1, kWednesday};
    FiringSchedule schedule;
    schedule.TakeUp(ListOf({weekly, weekly}), kWednesday10);
    // Two identical entries share their occurrence: the action runs once.
    EXPECT_EQ(schedule.TakeDue(At(2026, 12, 9, 11, 0)).size(), 1u);

    // The clock is set back half an hour after the firing, and the file is read again: the
    // occurrence at 11:00 is not repeated; next week's is the next.
    const uint64_t setBack = At(2026, 12, 9, 10, 30);
    schedule.ClockChanged(setBack);
    schedule.TakeUp(ListOf({weekly, weekly}), setBack);
    EXPECT_EQ(schedule.NextInstant(), At(2026, 12, 16, 11, 0));
    EXPECT_TRUE(schedule.TakeDue(At(2026, 12, 9, 11, 0, 1)).empty());
}

TEST(EngineSchedule, ClockChangesMoveRecurringEntriesOnly) {
    FiringSchedule schedule;
    const uint64_t onceAt = At(2026, 12, 9, 12, 0);
    schedule.TakeUp(
        ListOf({{Weekly, At(2026, 1, 1, 11, 0), 1, 0, 0, kWednesday | 2}, {Once, onceAt}}),
        kWednesday10);
    // Set back to Tuesday 10:00: Tuesday's 11:00 now comes first; the one-time instant stays.
    const uint64_t tuesday = At(2026, 12, 8, 10, 0);
    schedule.ClockChanged(tuesday);
    EXPECT_EQ(schedule.NextInstant(), At(2026, 12, 8, 11, 0));
    // Set forward past both: what was waiting is late but fires, once.
    const uint64_t thursday = At(2026, 12, 10, 10, 0);
    schedule.ClockChanged(thursday);
    EXPECT_EQ(Numbers(schedule.TakeDue(thursday)), (std::vector<int>{1, 2}));
    EXPECT_TRUE(schedule.TakeDue(thursday).empty());
}

// Occurrences due together come in firing order, whatever the file's order: the earliest
// first, and those at one instant as the coming-up list shows them (here by kind).
TEST(EngineSchedule, DueOccurrencesComeInFiringOrder) {
    const uint64_t soon = kWednesday10 + 5 * kSecond;
    const uint64_t thursday = At(2026, 12, 10, 10, 0);
    struct Case {
        const char* what;
        std::vector<EntrySpec> entries;
        uint64_t now;
        std::vector<int> order;
    } cases[] = {
        {"one instant", {{Next24Hours, soon}, {Once, soon}, {Weekly, soon}}, soon, {3, 2, 1}},
        {"clock set forward over three",
         {{Once, At(2026, 12, 10, 9, 0)},
          {Weekly, At(2026, 1, 1, 11, 0), 1, 0, 0, kWednesday},
          {Once, At(2026, 12, 9, 12, 0)}},
         thursday,
         {2, 3, 1}},
    };
    for (const Case& c : cases) {
        FiringSchedule schedule;
        schedule.TakeUp(ListOf(c.entries), kWednesday10);
        schedule.ClockChanged(c.now); // moves nothing at one instant
        EXPECT_EQ(Numbers(schedule.TakeDue(c.now)), c.order) << c.what;
    }
}

} // namespace
