// The list's display order: by kind, then by instant (one-time kinds) or time of day.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "tests/common/CivilInstants.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"
#include "core/model/Recurrence.h"

namespace {

std::unique_ptr<StorageItem> Entry(int32_t kind, const FILETIME& start) {
    auto entry = std::make_unique<DZItem>();
    entry->kind = kind;
    entry->startTime = start;
    return entry;
}

TEST(DisplayOrder, PairsCompareByKindThenInstantOrTimeOfDay) {
    struct Case {
        const char* what;
        int32_t kindA;
        FILETIME startA;
        int32_t kindB;
        FILETIME startB;
        int expected;
    };
    const Case cases[] = {
        {"weekly before yearly whatever the time", Weekly, At(2026, 1, 1, 23, 59), Yearly,
         At(2026, 1, 1, 0, 0), -1},
        {"yearly after weekly", Yearly, At(2026, 1, 1, 0, 0), Weekly, At(2026, 1, 1, 23, 59), 1},
        {"weekly 08:30 after 08:05", Weekly, At(2026, 1, 1, 8, 30), Weekly, At(2020, 5, 5, 8, 5),
         1},
        {"hour decides before minute", Monthly, At(2026, 1, 1, 7, 59), Monthly,
         At(2026, 1, 1, 8, 0), -1},
        {"seconds and date do not count", Yearly, At(2026, 1, 1, 8, 5, 59), Yearly,
         At(2030, 9, 9, 8, 5, 0), 0},
        {"once by stored instant", Once, At(2026, 1, 2, 8, 0), Once, At(2026, 1, 1, 9, 0), 1},
        {"next 24 hours by stored instant", Next24Hours, At(2026, 1, 1, 9, 0), Next24Hours,
         At(2026, 1, 1, 9, 1), -1},
        {"equal instants", Once, At(2026, 1, 1, 9, 0), Once, At(2026, 1, 1, 9, 0), 0},
        {"unknown kinds order as unsigned numbers", -1, At(2026, 1, 1), Yearly, At(2026, 1, 1), 1},
    };
    DZList list;
    for (const Case& c : cases) {
        const auto a = Entry(c.kindA, c.startA);
        const auto b = Entry(c.kindB, c.startB);
        EXPECT_EQ(list.Compare(a.get(), b.get()), c.expected) << c.what;
        EXPECT_EQ(list.Compare(b.get(), a.get()), -c.expected) << c.what << " (swapped)";
    }
}

TEST(DisplayOrder, SortedListRunsWeeklyOnceNext24HoursMonthlyYearly) {
    std::vector<std::unique_ptr<StorageItem>> entries;
    const int32_t kinds[] = {Yearly, Monthly, Next24Hours, Once, Weekly, Once, Weekly};
    const FILETIME starts[] = {At(2026, 1, 1, 1, 0), At(2026, 1, 1, 2, 0), At(2026, 1, 1, 3, 0),
                               At(2026, 3, 1, 4, 0), At(2026, 1, 1, 9, 0), At(2026, 2, 1, 6, 0),
                               At(2026, 1, 1, 7, 0)};
    for (size_t i = 0; i < 7; ++i)
        entries.push_back(Entry(kinds[i], starts[i]));
    StorageList list;
    std::stable_sort(entries.begin(), entries.end(), [&](const auto& a, const auto& b) {
        return list.Compare(a.get(), b.get()) < 0;
    });
    const int32_t wantKinds[] = {Weekly, Weekly, Once, Once, Next24Hours, Monthly, Yearly};
    const int wantHours[] = {7, 9, 6, 4, 3, 2, 1};
    for (size_t i = 0; i < 7; ++i) {
        SYSTEMTIME t{};
        FileTimeToSystemTime(&entries[i]->startTime, &t);
        EXPECT_EQ(entries[i]->kind, wantKinds[i]) << i;
        EXPECT_EQ(t.wHour, wantHours[i]) << i;
    }
}

TEST(DisplayOrder, CompareByNextOccurrencePutsEntriesWithoutOccurrenceLast) {
    StorageItem never(Weekly, 0), soon(Once, 0);
    never.weekdayMask = 0;
    soon.startTime = At(2031, 1, 1);
    EXPECT_EQ(CompareByNextOccurrence(soon, never), -1);
    EXPECT_EQ(CompareByNextOccurrence(never, soon), 1);
    EXPECT_EQ(CompareByNextOccurrence(never, never), 0);
}

} // namespace
