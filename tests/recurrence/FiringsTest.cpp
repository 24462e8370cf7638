// Successive firings of entries and the merged list of what comes up, against instants worked
// out by hand from a calendar.
#include <gtest/gtest.h>

#include <vector>

#include "tests/common/CivilInstants.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"
#include "core/model/Firings.h"

namespace {

constexpr int32_t kMon = 1, kWed = 4, kThu = 8, kFri = 16, kSat = 32, kSun = 64;

struct EntryRow {
    int32_t kind;
    FILETIME start;
    int32_t weekdays = 0;
    int32_t months = 0;
    int16_t mode = 0;
    int32_t day = 0, weekIndex = 0, weekday = 0;
    int32_t active = 1;
};

DZItem* Make(const EntryRow& s) {
    DZItem* item = new DZItem;
    item->kind = s.kind;
    item->startTime = s.start;
    item->weekdayMask = s.weekdays;
    item->monthMask = s.months;
    item->monthlyMode = s.mode;
    item->dayOfMonth = s.day;
    item->weekIndex = s.weekIndex;
    item->monthlyWeekday = s.weekday;
    item->active = s.active;
    return item;
}

std::vector<std::string> Firings(const StorageItem& entry, FILETIME after, int count) {
    std::vector<std::string> shown;
    for (int i = 0; i < count; ++i) {
        after = NextFiring(entry, after);
        if (IsNever(after)) break;
        shown.push_back(Show(after));
    }
    return shown;
}

TEST(NextFiring, SuccessiveFiringsOfEachKind) {
    const FILETIME friday = At(2026, 12, 11, 12, 0); // Wednesday is 9 December 2026
    const FILETIME wednesday10 = At(2026, 12, 9, 10, 0);
    struct Case {
        const char* what;
        EntryRow entry;
        FILETIME after;
        std::vector<std::string> expected;
    } cases[] = {
        {"weekly Sat, Sun, Mon across the week's end",
         {Weekly, At(2020, 1, 1, 23, 30), kSat | kSun | kMon},
         friday,
         {"2026-12-12 23:30:00", "2026-12-13 23:30:00", "2026-12-14 23:30:00",
          "2026-12-19 23:30:00"}},
        {"weekly, the occurrence exactly on the reference gives the week after",
         {Weekly, At(2020, 1, 1, 10, 0), kWed},
         wednesday10,
         {"2026-12-16 10:00:00", "2026-12-23 10:00:00", "2026-12-30 10:00:00",
          "2027-01-06 10:00:00"}},
        {"weekly, no day", {Weekly, At(2020, 1, 1, 10, 0), 0}, friday, {}},
        {"weekly, disabled", {Weekly, At(2020, 1, 1, 10, 0), 127, 0, 0, 0, 0, 0, 0}, friday, {}},
        {"monthly last day of February across leap years, started years before",
         {Monthly, At(2020, 1, 1, 8, 0), 0, 1 << 1, 0, 0},
         At(2027, 3, 1),
         {"2028-02-29 08:00:00", "2029-02-28 08:00:00", "2030-02-28 08:00:00",
          "2031-02-28 08:00:00"}},
        {"monthly on the 31st skips short months",
         {Monthly, At(2027, 1, 1, 6, 0), 0, kAllMonths, 0, 31},
         At(2027, 4, 1),
         {"2027-05-31 06:00:00", "2027-07-31 06:00:00", "2027-08-31 06:00:00",
          "2027-10-31 06:00:00"}},
        {"monthly on the 30th of February only: never",
         {Monthly, At(2027, 1, 1, 6, 0), 0, 1 << 1, 0, 30},
         At(2027, 1, 1),
         {}},
        {"monthly, the occurrence exactly on the reference gives next year's",
         {Monthly, At(2027, 1, 1, 6, 0), 0, 1 << 4, 0, 10},
         At(2027, 5, 10, 6, 0),
         {"2028-05-10 06:00:00", "2029-05-10 06:00:00", "2030-05-10 06:00:00",
          "2031-05-10 06:00:00"}},
        {"monthly on the last Friday",
         {Monthly, At(2027, 1, 1, 7, 15), 0, kAllMonths, 1, 0, 4, kFri},
         At(2027, 1, 1),
         {"2027-01-29 07:15:00", "2027-02-26 07:15:00", "2027-03-26 07:15:00",
          "2027-04-30 07:15:00"}},
        {"monthly, no month", {Monthly, At(2027, 1, 1, 6, 0), 0, 0, 0, 10}, At(2027, 1, 1), {}},
        {"yearly 29 February fires in leap years only",
         {Yearly, At(2024, 2, 29, 12, 0)},
         At(2026, 1, 1),
         {"2028-02-29 12:00:00", "2032-02-29 12:00:00", "2036-02-29 12:00:00",
          "2040-02-29 12:00:00"}},
        {"yearly exactly on the reference",
         {Yearly, At(2020, 3, 15, 9, 0)},
         At(2027, 3, 15, 9, 0),
         {"2028-03-15 09:00:00", "2029-03-15 09:00:00", "2030-03-15 09:00:00",
          "2031-03-15 09:00:00"}},
        {"once ahead fires once", {Once, At(2026, 12, 12, 7, 0)}, friday, {"2026-12-12 07:00:00"}},
        {"once exactly now never", {Once, friday}, friday, {}},
        {"once past never", {Once, At(2026, 12, 10, 7, 0)}, friday, {}},
        {"next 24 hours ahead",
         {Next24Hours, At(2026, 12, 12, 1, 0)},
         friday,
         {"2026-12-12 01:00:00"}},
        {"once, disabled", {Once, At(2026, 12, 12, 7, 0), 0, 0, 0, 0, 0, 0, 0}, friday, {}},
    };
    for (const Case& c : cases) {
        DZItem* entry = Make(c.entry);
        EXPECT_EQ(Firings(*entry, c.after, 4), c.expected) << c.what;
        delete entry;
    }
}

TEST(UpcomingFirings, TimeOrderWithTiesInDisplayOrder) {
    DZList list;
    const FILETIME start = At(2020, 1, 1, 8, 0);
    const EntryRow file[] = {
        {Once, At(2026, 12, 10, 8, 0)},         // 0: after the weekly ones
        {Weekly, start, kThu},                  // 1
        {Weekly, start, 127, 0, 0, 0, 0, 0, 0}, // 2: disabled
        {Weekly, start, kThu | kFri},           // 3
        {Weekly, At(2020, 1, 1, 7, 0), kThu},   // 4: earlier time of day
    };
    std::vector<const StorageItem*> entries;
    for (const EntryRow& s : file) {
        entries.push_back(Make(s));
        list.Append(const_cast<StorageItem*>(entries.back()));
    }

    const std::vector<UpcomingFiring> got = UpcomingFirings(list, At(2026, 12, 9, 10, 0), 6);
    const struct {
        const char* instant;
        int entry;
    } expected[] = {{"2026-12-10 07:00:00", 4}, {"2026-12-10 08:00:00", 1},
                    {"2026-12-10 08:00:00", 3}, {"2026-12-10 08:00:00", 0},
                    {"2026-12-11 08:00:00", 3}, {"2026-12-17 07:00:00", 4}};
    ASSERT_EQ(got.size(), 6u);
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(Show(got[i].instant), expected[i].instant) << i;
        EXPECT_EQ(got[i].entry, entries[expected[i].entry]) << i;
    }
    EXPECT_TRUE(UpcomingFirings(DZList(), At(2026, 12, 9), 10).empty());
}

bool DifferentAction(const StorageItem& a, const StorageItem& b) {
    return static_cast<const DZItem&>(a).action != static_cast<const DZItem&>(b).action;
}

TEST(FindClash, SameMinuteWithinTheWindowAndADifferentAction) {
    const FILETIME from = At(2026, 12, 9, 10, 0);
    DZList list;
    DZItem* sameAction = Make({Weekly, At(2020, 1, 1, 22, 0, 30), kFri});
    DZItem* other = Make({Once, At(2026, 12, 11, 22, 0, 50)});
    other->action = PhoneOn;
    DZItem* late = Make({Once, At(2026, 12, 17, 6, 0)}); // beyond seven days
    late->action = PowerOff;
    list.Append(sameAction);
    list.Append(other);
    list.Append(late);

    DZItem edited; // weekly, Friday at 22:00:10, phone radio off
    edited.startTime = At(2020, 1, 1, 22, 0, 10);
    edited.weekdayMask = kFri | kThu;
    Clash clash{};
    ASSERT_TRUE(FindClash(edited, list, nullptr, from, 7, DifferentAction, &clash));
    EXPECT_EQ(clash.other, other);
    EXPECT_EQ(Show(clash.instant), "2026-12-11 22:00:50");
    // The entry being edited is not a clash with itself; a disabled one clashes with nothing.
    EXPECT_FALSE(FindClash(edited, list, other, from, 7, DifferentAction, &clash));
    edited.active = 0;
    EXPECT_FALSE(FindClash(edited, list, nullptr, from, 7, DifferentAction, &clash));
    edited.active = 1;
    edited.startTime = At(2020, 1, 1, 6, 0);
    edited.weekdayMask = kThu;
    EXPECT_FALSE(FindClash(edited, list, nullptr, from, 7, DifferentAction, &clash));
}

} // namespace
