// Costs of the schedule rules on 100,000 entries, per entry, next to the cost of one calendar
// conversion: the unit that every rule is made of.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "common/RatioTable.h"
#include "tests/common/CivilInstants.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"
#include "core/model/Recurrence.h"
#include "core/text/TextTable.h"

namespace {

constexpr int kEntries = 100000;

// A list as users build it: mostly weekly and one-time entries, some monthly and yearly,
// spread over times of day, days and masks. Deterministic, so runs compare.
std::vector<std::unique_ptr<DZItem>> MakeEntries(bool weeklyOnly) {
    std::vector<std::unique_ptr<DZItem>> entries;
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % range);
    };
    static const int32_t kKinds[] = {Weekly, Weekly,      Weekly,  Weekly,  Once,
                                     Once,   Next24Hours, Monthly, Monthly, Yearly};
    for (int i = 0; i < kEntries; ++i) {
        auto e = std::make_unique<DZItem>();
        e->kind = weeklyOnly ? Weekly : kKinds[next(10)];
        e->startTime = At(2025 + next(3), 1 + next(12), 1 + next(28), next(24), next(60));
        e->weekdayMask = 1 + next(127);
        e->monthMask = 1 + next(4095);
        e->monthlyMode = static_cast<int16_t>(next(2));
        e->dayOfMonth = next(35) - 3;
        e->weekIndex = next(5);
        e->monthlyWeekday = 1 << next(7);
        e->action = static_cast<uint16_t>(next(3));
        e->options = static_cast<uint16_t>(next(4));
        entries.push_back(std::move(e));
    }
    return entries;
}

void ConvertOneFileTime(benchmark::State& state) {
    uint64_t ticks = ToTicks(At(2026, 12, 7, 8, 5));
    SYSTEMTIME t;
    for (auto _ : state) {
        const FILETIME f = FromTicks(ticks);
        benchmark::DoNotOptimize(FileTimeToSystemTime(&f, &t));
        benchmark::DoNotOptimize(t);
        ticks += kTicksPerDay + kTicksPerSecond; // a day and a second on: no cached answer
    }
}

void NextOccurrenceOf(benchmark::State& state, bool weeklyOnly) {
    const auto entries = MakeEntries(weeklyOnly);
    const FILETIME reference = At(2026, 12, 9, 10, 0);
    SYSTEMTIME now;
    FileTimeToSystemTime(&reference, &now);
    for (auto _ : state)
        for (const auto& e : entries)
            benchmark::DoNotOptimize(NextOccurrence(*e, reference, now));
    state.SetItemsProcessed(state.iterations() * kEntries);
}

void NextOccurrenceMixed(benchmark::State& state) {
    NextOccurrenceOf(state, false);
}
void NextOccurrenceWeekly(benchmark::State& state) {
    NextOccurrenceOf(state, true);
}

void SortByCompare(benchmark::State& state) {
    const auto entries = MakeEntries(false);
    DZList list;
    std::vector<const StorageItem*> order;
    for (auto _ : state) {
        state.PauseTiming();
        order.clear();
        for (const auto& e : entries)
            order.push_back(e.get());
        state.ResumeTiming();
        std::sort(order.begin(), order.end(), [&list](const StorageItem* a, const StorageItem* b) {
            return list.Compare(a, b) < 0;
        });
        benchmark::DoNotOptimize(order.data());
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

void FormatScheduleOfEach(benchmark::State& state) {
    g_textTable.LoadFrom(L"" DZ_LOCAL_DAT, L"[English]");
    const auto entries = MakeEntries(false);
    wchar_t text[kEntryTextSize];
    for (auto _ : state)
        for (const auto& e : entries) {
            e->FormatSchedule(text, kEntryTextSize);
            benchmark::DoNotOptimize(text);
        }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

BENCHMARK(ConvertOneFileTime);
BENCHMARK(NextOccurrenceMixed)->Unit(benchmark::kMillisecond);
BENCHMARK(NextOccurrenceWeekly)->Unit(benchmark::kMillisecond);
BENCHMARK(SortByCompare)->Unit(benchmark::kMillisecond);
BENCHMARK(FormatScheduleOfEach)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const double perEntry = kEntries;
    return RunWithRatioTable(
        argc, argv, "Per entry of 100,000, in conversions (FILETIME to SYSTEMTIME) of time",
        {
            {"NextOccurrenceMixed", "ConvertOneFileTime", "next occurrence, mixed kinds", perEntry},
            {"NextOccurrenceWeekly", "ConvertOneFileTime", "next occurrence, weekly (< 1 us)",
             perEntry},
            {"SortByCompare", "ConvertOneFileTime", "sorting, per entry (n log n compares)",
             perEntry},
            {"FormatScheduleOfEach", "ConvertOneFileTime", "schedule summary of one entry",
             perEntry},
        });
}
